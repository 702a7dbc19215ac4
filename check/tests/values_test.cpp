// Reading the navigator's values: each column in its own unit, blanks as a
// value not given, everything else a problem that names the column.

#include <gtest/gtest.h>

#include <string>

#include "check/values.h"

namespace {

using check::ValueId;

struct ReadCase {
    const char* name;
    ValueId id;
    const char* text;
    double value;        // when read
    const char* problem; // a part of the problem, or nullptr when read or not given
};

constexpr double notGiven = -1;

class ReadValue : public testing::TestWithParam<ReadCase> {};

TEST_P(ReadValue, ReadsOrNamesTheProblem) {
    const ReadCase& c = GetParam();
    const check::ReadValue read = check::readValue(c.id, c.text);
    if (c.problem != nullptr) {
        EXPECT_FALSE(read.value);
        EXPECT_NE(read.problem.find(c.problem), std::string::npos) << read.problem;
        EXPECT_EQ(read.problem.rfind(std::string(check::valueLabel(c.id)) + " takes", 0), 0u)
            << read.problem;
    } else if (c.value == notGiven) {
        EXPECT_FALSE(read.value);
        EXPECT_EQ(read.problem, "");
    } else {
        ASSERT_TRUE(read.value) << read.problem;
        EXPECT_EQ(*read.value, c.value);
    }
}

const ReadCase readCases[] = {
    {"DegreeSignAndMinuteMark", ValueId::t, "15\u00B047.7'", 47.7 / 60 + 15, nullptr},
    {"BlankBetween", ValueId::t, "15 47.7", 47.7 / 60 + 15, nullptr},
    {"BlanksAround", ValueId::t, "  15 \t 47.7  ", 47.7 / 60 + 15, nullptr},
    {"DegreeSignWithoutMark", ValueId::LHA, "344\u00B012.3", 12.3 / 60 + 344, nullptr},
    {"PrimeAsMinuteMark", ValueId::v, "14\u00B048.0\u2032", 48.0 / 60 + 14, nullptr},
    {"WholeMinutes", ValueId::Hc, "66\u00B004'", 4.0 / 60 + 66, nullptr},
    // What a keyboard or a word processor puts for the signs and the point.
    {"RightQuoteAsMinuteMark", ValueId::Hc, "66\u00B004.2\u2019", 4.2 / 60 + 66, nullptr},
    {"OrdinalAsDegreeSign", ValueId::coHc, "23\u00BA55.8'", 55.8 / 60 + 23, nullptr},
    {"OrdinalAfterAnAzimuth", ValueId::Zn, "141.0\u00BA", 141.0, nullptr},
    {"DecimalCommaTableValue", ValueId::Q_tUsed, "1301,23", 1301.23, nullptr},
    {"DecimalCommaMinutes", ValueId::t, "15\u00B047,7'", 47.7 / 60 + 15, nullptr},
    {"DecimalCommaAzimuth", ValueId::Zn, "141,5", 141.5, nullptr},
    {"ZeroAngle", ValueId::w, "0 0", 0, nullptr},
    {"Empty", ValueId::u, "", notGiven, nullptr},
    {"BlanksOnly", ValueId::Zn, "   ", notGiven, nullptr},
    {"Azimuth", ValueId::Zn, "141.0", 141.0, nullptr},
    {"AzimuthWhole", ValueId::Z, "39", 39.0, nullptr},
    {"AzimuthWithItsSign", ValueId::ZUsed, "141.0\u00B0", 141.0, nullptr},
    {"TableValue", ValueId::Qv, "1365.03", 1365.03, nullptr},
    {"TableValueWhole", ValueId::Q_coDec, "64", 64.0, nullptr},
    {"TableValueOneDecimal", ValueId::QHc, "89.9", 89.9, nullptr},
    {"NegativeDifference", ValueId::Qw, "-0.25", -0.25, nullptr},
    // A value in another column's unit.
    {"DecimalDegreesInAnAngleColumn", ValueId::LHA, "344.2", 0, "degrees and minutes"},
    {"WholeNumberInAnAngleColumn", ValueId::t, "15", 0, "degrees and minutes"},
    {"AngleInAnAzimuthColumn", ValueId::Zn, "141\u00B000.0'", 0, "degrees to a tenth"},
    {"AngleInATableColumn", ValueId::Q_v, "14 48.0", 0, "table value"},
    {"AzimuthHundredths", ValueId::Zn, "141.05", 0, "degrees to a tenth"},
    // Malformed cells.
    {"MinutesOf60", ValueId::t, "15 60.0", 0, "minutes below 60"},
    {"MinutesHundredths", ValueId::t, "15 47.75", 0, "degrees and minutes"},
    {"MinutesThreeDigits", ValueId::t, "15 147", 0, "degrees and minutes"},
    {"FractionalDegrees", ValueId::t, "15.5 30", 0, "degrees and minutes"},
    {"FourDigitDegrees", ValueId::LHA, "1344 12.3", 0, "degrees and minutes"},
    {"NegativeAngle", ValueId::u, "-5 30.0", 0, "degrees and minutes"},
    {"TextAfterTheAngle", ValueId::t, "15 47.7'x", 0, "degrees and minutes"},
    {"ThreeParts", ValueId::t, "15 47 7", 0, "degrees and minutes"},
    {"Letters", ValueId::Qv, "abc", 0, "table value"},
    {"TableThreeDecimals", ValueId::Qv, "1365.031", 0, "table value"},
    {"Exponent", ValueId::Qv, "1e3", 0, "table value"},
    {"ThousandsSeparator", ValueId::Qv, "1,365", 0, "table value"},
    {"ThousandsSeparatorAndPoint", ValueId::Qv, "1,365.03", 0, "table value"},
    {"PointAndComma", ValueId::Qv, "1.365,03", 0, "table value"},
    {"CommaInTheDegrees", ValueId::t, "15,5 30", 0, "degrees and minutes"},
    {"PointOnly", ValueId::Qv, ".", 0, "table value"},
    {"NegativeAzimuth", ValueId::Zn, "-5.0", 0, "degrees to a tenth"},
    {"MarkWithoutMinutes", ValueId::t, "15\u00B0", 0, "degrees and minutes"},
};

INSTANTIATE_TEST_SUITE_P(Check, ReadValue, testing::ValuesIn(readCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ValueText, PrintsAndReadsBackEveryKindAtItsLastDigit) {
    // Each kind's text reads back as the value it prints, over a sweep that
    // crosses the carry of 59.95 minutes and the halves of the last digit.
    for (int step = 0; step < 20000; ++step) {
        const double x = step * 0.0123456;
        for (const ValueId id : check::allValues()) {
            const std::string text = check::valueText(id, x);
            const check::ReadValue read = check::readValue(id, text);
            ASSERT_TRUE(read.value) << check::valueName(id) << " " << text << ": " << read.problem;
            ASSERT_EQ(check::printedUnits(id, *read.value), check::printedUnits(id, x))
                << check::valueName(id) << " " << text;
            ASSERT_EQ(*read.value, check::writtenValue(id, x))
                << check::valueName(id) << " " << text;
        }
    }
}

} // namespace
