#include "cli/jsonwriter.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <string>
#include <vector>

namespace {

std::string written(double value) {
    char text[cli::jsonNumberCapacity];
    return {text, cli::jsonNumber(value, text)};
}

// The text sightform wrote before its writer was made fast (QJsonDocument's),
// by its rule and with no shortcut: whole numbers up to 2^53 as integers, the
// others as the shortest text that reads back, with to_chars's choice of
// form; a whole number past 2^53 written out has its shortest digits padded
// with zeros, not its exact ones. Checked against QJsonDocument itself on
// this sweep and on millions of random bit patterns.
std::string writtenBefore(double value) {
    if (!std::isfinite(value)) {
        return "null";
    }
    char text[64];
    if (std::floor(value) == value && std::fabs(value) <= 0x1p53) {
        return {text,
                std::to_chars(text, text + sizeof text, static_cast<std::int64_t>(value)).ptr};
    }
    const std::string shortest(text, std::to_chars(text, text + sizeof text, value).ptr);
    if (std::floor(value) != value || shortest.find('e') != std::string::npos) {
        return shortest;
    }
    const std::string scientific(
        text, std::to_chars(text, text + sizeof text, value, std::chars_format::scientific).ptr);
    std::string digits = value < 0 ? "-" : "";
    for (const char c : scientific.substr(0, scientific.find('e'))) {
        if (c != '.' && c != '-') {
            digits += c;
        }
    }
    return digits + std::string(shortest.size() - digits.size(), '0');
}

// Doubles of every kind a record holds and then some: whole numbers, tenths
// and hundredths, thirds of a degree, tiny and huge magnitudes, the edges of
// exact whole numbers.
std::vector<double> sweep() {
    std::vector<double> values{0.0,
                               -0.0,
                               1e-4,
                               -1e-4,
                               1.5e-4,
                               1e-5,
                               0.0001666666666666666,
                               100000,
                               100000.5,
                               1e15,
                               1e16,
                               1e21,
                               1e22,
                               9007199254740992.0,
                               9007199254740994.0,
                               -9007199254740996.0,
                               123456789012345680.0,
                               5e-324,
                               std::numeric_limits<double>::max(),
                               std::numeric_limits<double>::min(),
                               473.96000000000004,
                               29376.66};
    std::mt19937_64 random(53);
    for (int i = 0; i < 200000; ++i) {
        const double mantissa = std::uniform_real_distribution<double>(-1, 1)(random);
        const int exponent = std::uniform_int_distribution<int>(-12, 25)(random);
        double value = mantissa * std::pow(10.0, exponent);
        switch (i % 4) {
        case 0:
            value = std::round(value);
            break;
        case 1:
            value = std::round(value * 100) / 100;
            break;
        case 2:
            value = std::round(value * 60) / 60 + 0.1;
            break;
        default:
            break;
        }
        values.push_back(value);
    }
    return values;
}

TEST(JsonNumber, SameTextAsBeforeAndReadsBackToTheSameDouble) {
    for (const double value : sweep()) {
        const std::string text = written(value);
        ASSERT_EQ(text, writtenBefore(value)) << value;
        double back = 0;
        const auto read = std::from_chars(text.data(), text.data() + text.size(), back);
        ASSERT_EQ(read.ec, std::errc()) << text;
        ASSERT_EQ(read.ptr, text.data() + text.size()) << text;
        ASSERT_EQ(back, value == 0 ? 0.0 : value) << text;
    }
}

TEST(JsonNumber, NotFiniteIsNull) {
    for (const double value :
         {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(),
          -std::numeric_limits<double>::infinity()}) {
        EXPECT_EQ(written(value), "null");
        cli::JsonBuffer buffer;
        cli::JsonWriter writer(buffer);
        cli::writeNumber(writer, value);
        EXPECT_STREQ(buffer.GetString(), "null");
    }
}

} // namespace

namespace {

// Strings are copied whole unless they need an escape; whichever way, the
// text must be what RapidJSON's own escaping writes. Every character that
// needs an escape, and a few that do not, at every place in texts shorter
// and longer than the eight bytes tested at once.
TEST(JsonText, SameAsTheWritersOwnEscaping) {
    const std::string specials{'"', '\\', '\0', '\x01', '\x1F', '\n', ' ', '\x7F', 'a'};
    for (std::size_t length = 1; length <= 19; ++length) {
        for (std::size_t at = 0; at < length; ++at) {
            for (const char special : specials + "\xC2\xB0") {
                std::string text(length, 'x');
                text[at] = special;
                cli::JsonBuffer ours;
                cli::JsonWriter writer(ours);
                writer.StartArray();
                writer.text(text);
                writer.EndArray();
                rapidjson::StringBuffer theirs;
                rapidjson::Writer<rapidjson::StringBuffer> plain(theirs);
                plain.StartArray();
                plain.String(text.data(), static_cast<rapidjson::SizeType>(text.size()));
                plain.EndArray();
                ASSERT_STREQ(ours.GetString(), theirs.GetString()) << length << " " << at;
            }
        }
    }
}

} // namespace
