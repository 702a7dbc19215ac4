#include "entry/textvalue.h"

#include <algorithm>
#include <charconv>
#include <clocale>
#include <cmath>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

struct Reading {
    const char* name;
    std::string text;
    double value;
};

class TextValueReads : public testing::TestWithParam<Reading> {};

TEST_P(TextValueReads, LeadingNumber) {
    const Reading& r = GetParam();
    EXPECT_EQ(TextValue(r.text), r.value) << "text: \"" << r.text << '"';
}

// Expected values are the doubles nearest the decimal numbers written here.
INSTANTIATE_TEST_SUITE_P(
    Texts, TextValueReads,
    testing::Values(
        Reading{"Empty", "", 0}, Reading{"TrailingLetters", "12ab", 12},
        Reading{"TrailingPoint", "5.", 5}, Reading{"LeadingPoint", ".5", 0.5},
        Reading{"SecondPointEnds", "1.2.3", 1.2}, Reading{"BlanksDropped", "0 0 7", 7},
        Reading{"TabsAndLineFeedsDropped", "1\t2\n.5", 12.5}, Reading{"MinuteBound", "59.9", 59.9},
        Reading{"LonePoint", ".", 0}, Reading{"LetterFirst", "a12", 0},
        Reading{"Minus", "-2.5", -2.5}, Reading{"Plus", "+7", 7}, Reading{"LoneSign", "-", 0},
        Reading{"SignThenPoint", "-.", 0}, Reading{"Exponent", "9E9", 9e9},
        Reading{"LowerExponent", "2e3", 2000}, Reading{"DExponent", "1D2", 100},
        Reading{"DExponentWithSign", "1d+2", 100}, Reading{"PlusSignedExponent", "2E+1", 20},
        Reading{"SignedExponent", "5E-1", 0.5}, Reading{"ExponentWithoutDigit", "1E", 1},
        Reading{"ExponentSignWithoutDigit", "3D-", 3}, Reading{"ExponentThenJunk", "2E1x", 20},
        Reading{"Hexadecimal", "&H1F", 31}, Reading{"HexLowerCase", "&hff", 255},
        Reading{"HexStopsAtNonDigit", "&H1G", 1}, Reading{"HexWithoutDigit", "&H", 0},
        Reading{"Octal", "&O17", 15}, Reading{"OctalLowerCase", "&o7", 7},
        Reading{"OctalStopsAtEight", "&O18", 1}, Reading{"AmpersandAlone", "&", 0},
        Reading{"CommaIsNotAPoint", "1,5", 1}, Reading{"Overflow", "1E400", HUGE_VAL},
        Reading{"NegativeOverflow", "-1E400", -HUGE_VAL}, Reading{"Underflow", "1E-400", 0},
        Reading{"PlusOverflowWithD", "+1D+400", HUGE_VAL},
        Reading{"BlankInsideExponent", "1 E 2", 100},
        Reading{"LongMantissaOverflow", std::string("1") + std::string(400, '0'), HUGE_VAL},
        // Exponents at and past the ends of a 64-bit integer.
        Reading{"ExponentAtLongLongMax", "10e9223372036854775807", HUGE_VAL},
        Reading{"NegativeExponentAtLongLongMax", "-10e9223372036854775807", -HUGE_VAL},
        Reading{"ExponentPastLongLong", "1e99999999999999999999999", HUGE_VAL},
        Reading{"ExponentAtLongLongMin", "1000e-9223372036854775808", 0},
        Reading{"NegativeExponentPastLongLong", "0.01e-99999999999999999999", 0},
        Reading{"SmallMantissaHugeExponent", "0.000001D+9223372036854775807", HUGE_VAL}),
    [](const testing::TestParamInfo<Reading>& info) { return info.param.name; });

TEST(TextValue, PointIsTheDecimalMarkWhateverTheLocale) {
    // A desktop session may run under a locale whose decimal mark is a comma.
    const std::string before = std::setlocale(LC_NUMERIC, nullptr);
    const char* comma = nullptr;
    for (const char* name : {"de_DE.UTF-8", "fr_FR.UTF-8", "nl_NL.UTF-8", "de_DE", "fr_FR"}) {
        if (std::setlocale(LC_NUMERIC, name) != nullptr &&
            std::string(std::localeconv()->decimal_point) == ",") {
            comma = name;
            break;
        }
    }
    if (comma == nullptr) {
        std::setlocale(LC_NUMERIC, before.c_str());
        GTEST_SKIP() << "no locale with a decimal comma is installed (locales, locale-gen)";
    }
    EXPECT_EQ(TextValue("12.5"), 12.5) << comma;
    EXPECT_EQ(TextValue("12,5"), 12) << comma;
    EXPECT_EQ(TextValue("1.5E1"), 15) << comma;
    std::setlocale(LC_NUMERIC, before.c_str());
}

} // namespace

namespace {

// The reference reading of a text of digits and points: from_chars on its
// leading number.
double referenceValue(const std::string& text) {
    std::size_t end = text.find('.');
    end = end == std::string::npos ? text.size() : text.find('.', end + 1);
    end = std::min(end, text.size());
    double value = 0;
    if (text.substr(0, end).find_first_of("0123456789") == std::string::npos)
        return 0;
    std::from_chars(text.data(), text.data() + end, value);
    return value;
}

// Every text a field can hold by typing (digits and points, up to four
// characters), and longer ones of up to twenty, read as the double nearest to
// their leading number.
TEST(TextValue, EveryTypedTextReadsAsTheNearestDouble) {
    std::vector<std::string> texts{""};
    for (std::size_t length = 1; length <= 4; ++length) {
        std::vector<std::string> longer;
        for (const std::string& text : texts)
            if (text.size() == length - 1)
                for (const char c : std::string("0123456789."))
                    longer.push_back(text + c);
        texts.insert(texts.end(), longer.begin(), longer.end());
    }
    std::mt19937 random(15);
    for (int i = 0; i < 100000; ++i) {
        std::string text(std::uniform_int_distribution<std::size_t>(5, 20)(random), '0');
        for (char& c : text)
            c = "0123456789"[std::uniform_int_distribution<int>(0, 9)(random)];
        text[std::uniform_int_distribution<std::size_t>(0, text.size() - 1)(random)] = '.';
        texts.push_back(text);
    }
    for (const std::string& text : texts)
        ASSERT_EQ(TextValue(text), referenceValue(text)) << '"' << text << '"';
}

} // namespace
