#include "entry/readdecimal.h"

#include <bit>
#include <cfloat>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

// Run the strtod reading and std::from_chars on the same text: the same end,
// the same error and the same bits, including the value left untouched on an
// error.
void expectSameReading(const std::string& text) {
    constexpr double untouched = -7.25;
    double standard = untouched;
    double fallback = untouched;
    const char* first = text.data();
    const char* last = text.data() + text.size();
    const auto s = std::from_chars(first, last, standard);
    const auto f = readDecimalByStrtod(first, last, fallback);
    ASSERT_EQ(f.ec, s.ec) << '"' << text << '"';
    ASSERT_EQ(f.ptr - first, s.ptr - first) << '"' << text << '"';
    ASSERT_EQ(std::bit_cast<std::uint64_t>(fallback), std::bit_cast<std::uint64_t>(standard))
        << '"' << text << "\": " << fallback << " against " << standard;
}

// The ends of the double range and the forms that only one of the two calls
// could be expected to take.
TEST(ReadDecimalByStrtod, EdgeTextsReadAsFromChars) {
    const std::vector<std::string> texts{
        "", "-", ".", "-.", "+1", " 1", "\t1", "1 ", "5.", ".5", "-.5", "1.2.3", "00007", "-0",
        "-0.0e5", "0e999999999999999999", "1e", "1e+", "1E-", "1e+5", "1E5x", "1e5e5", "1d5",
        "0x1p3", "0X10", "1,5",
        // Overflow: the largest double, the half-way point above it, and past it.
        "1.7976931348623157e308", "1.797693134862315708e308", "1.7976931348623158e308",
        "1.7976931348623159e308", "-1.7976931348623159e308", "1e309", "1" + std::string(309, '0'),
        // Underflow: the least normal, the least subnormal, half of it (a tie
        // that rounds to zero) and just above the half.
        "2.2250738585072014e-308", "2.2250738585072011e-308", "4.9406564584124654e-324",
        "2.4703282292062327e-324", "2.4703282292062328e-324", "-2.4703282292062328e-324", "3e-324",
        "1e-400", "-1e-400", "0." + std::string(400, '0') + "1",
        // Ties between neighbouring doubles, which both must break to even.
        "9007199254740993", "9007199254740995", "9007199254740993.0000000000000000000001",
        "0.1000000000000000055511151231257827", "2.675", "95.05", "59.9",
        // Mantissas far longer than any buffer inside either reader.
        std::string(800, '9'), "0." + std::string(800, '3'), "1." + std::string(790, '0') + "1",
        "10e9223372036854775807", "1000e-9223372036854775808", "1e99999999999999999999999"};
    for (const std::string& text : texts)
        expectSameReading(text);
}

// Every text of a random double as the programs write it: shortest, to 17
// digits, in scientific form to any precision, in fixed form.
TEST(ReadDecimalByStrtod, WrittenDoublesReadAsFromChars) {
    std::mt19937_64 random(20240615);
    std::uniform_int_distribution<int> precision(0, 25);
    for (int i = 0; i < 200000; ++i) {
        double value = std::bit_cast<double>(random());
        if (!std::isfinite(value))
            continue;
        // Half of them in the angles' and table values' range.
        if (i % 2 == 0)
            value = std::ldexp(value, -std::ilogb(value)) * static_cast<double>(random() % 40000);
        char buffer[400];
        const auto write = [&](auto... format) {
            const auto end = std::to_chars(buffer, buffer + sizeof buffer, value, format...).ptr;
            expectSameReading(std::string(buffer, end));
        };
        write();
        write(std::chars_format::general, 17);
        write(std::chars_format::scientific, precision(random));
        if (std::fabs(value) < 1e30)
            write(std::chars_format::fixed, precision(random));
        if (HasFatalFailure())
            return;
    }
}

// Field texts as a paste could bring them, over the characters a number can
// be made of and some that end one.
TEST(ReadDecimalByStrtod, RandomTextsReadAsFromChars) {
    const std::string alphabet = "0123456789012345678901234567890123456789..--+eEeEdD \t&Hx,";
    std::mt19937 random(15);
    std::uniform_int_distribution<std::size_t> length(0, 30);
    std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
    for (int i = 0; i < 300000; ++i) {
        std::string text(length(random), ' ');
        for (char& c : text)
            c = alphabet[pick(random)];
        expectSameReading(text);
        if (HasFatalFailure())
            return;
    }
}

// The fuzzer's seeds, read from each position on.
TEST(ReadDecimalByStrtod, FuzzSeedsReadAsFromChars) {
    int seeds = 0;
    for (const auto& entry : std::filesystem::directory_iterator(SIGHT_TEXTVALUE_CORPUS)) {
        std::ifstream file(entry.path(), std::ios::binary);
        const std::string text{std::istreambuf_iterator<char>(file), {}};
        for (std::size_t start = 0; start <= text.size(); ++start)
            expectSameReading(text.substr(start));
        ++seeds;
    }
    EXPECT_GT(seeds, 10);
}

} // namespace
