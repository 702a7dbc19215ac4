#include "printout/patterns.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>

namespace {

using printout::Pattern;

struct PatternCase {
    const char* name;
    double value;
    Pattern pattern;
    const char* expected;
};

class FormatNumberTest : public testing::TestWithParam<PatternCase> {};

TEST_P(FormatNumberTest, PrintsThePatternText) {
    const PatternCase& c = GetParam();
    EXPECT_EQ(printout::formatNumber(c.value, c.pattern), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Patterns, FormatNumberTest,
    testing::Values(
        // Halves: the double nearest to each lies below the half, but its
        // 15-digit decimal form is the half itself, which rounds away from 0.
        PatternCase{"NearestTo95_05RoundsUp", 95.05, Pattern::Tenths, "95.1"},
        PatternCase{"NearestTo2_675RoundsUp", 2.675, Pattern::Hundredths, "2.68"},
        PatternCase{"NearestTo1_005RoundsUp", 1.005, Pattern::Hundredths, "1.01"},
        PatternCase{"NegativeHalfRoundsAwayFromZero", -2.675, Pattern::Hundredths, "-2.68"},
        PatternCase{"ExactBinaryHalfRoundsUp", 0.125, Pattern::Hundredths, "0.13"},
        PatternCase{"WholeHalfRoundsUp", 2.5, Pattern::Whole, "3"},
        PatternCase{"NegativeWholeHalf", -2.5, Pattern::Whole, "-3"},
        PatternCase{"JustBelowHalfAt15DigitsRoundsDown", 0.00499999999999, Pattern::Hundredths,
                    "0.00"},
        PatternCase{"TinyValueIsZero", 1e-20, Pattern::Hundredths, "0.00"},
        PatternCase{"MinutesGetLeadingZero", 7.2, Pattern::TwoDigitTenths, "07.2"},
        PatternCase{"MinutesTwoDigitsUnchanged", 45.6, Pattern::TwoDigitTenths, "45.6"},
        PatternCase{"ZeroMinutes", 0.0, Pattern::TwoDigitTenths, "00.0"},
        PatternCase{"ShortMinutesNoLeadingZero", 3.2, Pattern::Tenths, "3.2"},
        PatternCase{"WholeMinutesGetDecimal", 5.0, Pattern::Tenths, "5.0"},
        PatternCase{"AzimuthGetsDecimal", 95.0, Pattern::Tenths, "95.0"},
        PatternCase{"TableValuePadsDecimals", 62.2, Pattern::Hundredths, "62.20"},
        PatternCase{"FiveDigitTableValue", 29376.66, Pattern::Hundredths, "29376.66"},
        PatternCase{"CarryIntoNewDigit", 99.95, Pattern::Tenths, "100.0"},
        PatternCase{"CarryIntoTwoDigitMinutes", 9.96, Pattern::TwoDigitTenths, "10.0"},
        PatternCase{"NegativeMinutesKeepSign", -5.0, Pattern::TwoDigitTenths, "-05.0"},
        PatternCase{"NegativeRoundingToZeroKeepsSign", -0.04, Pattern::Tenths, "-0.0"},
        PatternCase{"WholePattern", 236.0, Pattern::Whole, "236"},
        PatternCase{"LargeValueBeyond15Digits", 1e20, Pattern::Tenths, "100000000000000000000.0"},
        PatternCase{"SixteenthDigitIgnored", 0.30000000000000004, Pattern::Hundredths, "0.30"}),
    [](const testing::TestParamInfo<PatternCase>& info) { return std::string(info.param.name); });

TEST(FormatNumber, NonFiniteValuesPrintAsWords) {
    EXPECT_EQ(printout::formatNumber(std::numeric_limits<double>::quiet_NaN(), Pattern::Tenths),
              "nan");
    EXPECT_EQ(printout::formatNumber(-std::numeric_limits<double>::infinity(), Pattern::Tenths),
              "-inf");
}

TEST(AngleText, DegreesDegreeSignAndMinutesInTheirPattern) {
    EXPECT_EQ(printout::angleText(5, 7.2, Pattern::TwoDigitTenths), "5\u00B007.2");
    EXPECT_EQ(printout::angleText(4, 3.2, Pattern::Tenths), "4\u00B03.2");
    EXPECT_EQ(printout::angleText(236, 0.0, Pattern::TwoDigitTenths), "236\u00B000.0");
}

TEST(DegreesWidth, DigitsOfTheMagnitudePlusOne) {
    EXPECT_EQ(printout::degreesWidth(0), 2);
    EXPECT_EQ(printout::degreesWidth(9), 2);
    EXPECT_EQ(printout::degreesWidth(10), 3);
    EXPECT_EQ(printout::degreesWidth(99), 3);
    EXPECT_EQ(printout::degreesWidth(236), 4);
    EXPECT_EQ(printout::degreesWidth(-5), 2);
    EXPECT_EQ(printout::degreesWidth(-32768), 6);
}

TEST(ColumnCount, DegreeSignTakesOneColumn) {
    EXPECT_EQ(printout::columnCount("5\u00B007.2'"), 7);
    EXPECT_EQ(printout::columnCount(""), 0);
}

} // namespace
