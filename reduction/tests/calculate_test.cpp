#include "reduction/calculate.h"

#include <cmath>
#include <optional>
#include <ostream>

#include <gtest/gtest.h>

#include "testing/entries.h"

namespace {

using reduction::calculateReduction;
using reduction::CalculationResult;
using reduction::Method;
using reduction::Outcome;
using reduction::ReductionInput;
using reduction::ReductionRecord;
using testentries::entries;

// An angle as the work form shows it: whole degrees and minutes to a tenth.
struct Angle {
    int deg;
    double min;
};

void expectPair(const char* what, std::int16_t deg, double min, Angle expected) {
    EXPECT_EQ(deg, expected.deg) << what;
    EXPECT_EQ(min, expected.min) << what;
}

// Sums and differences of table values are not rounded again, so they may lie
// an ulp or two from the decimal the form prints.
constexpr double sumTolerance = 1e-9;

struct Example {
    const char* name;
    ReductionInput input;
    Angle LHA, t, tUsed, coDec, v, coV, w, wUsed, u, uUsed, Hc, coHc;
    bool tOver90, uOver90;
    double Qv, Qw, QHc, QZ, Z, ZUsed, Zn;
};

void PrintTo(const Example& e, std::ostream* os) {
    *os << e.name;
}

class WorkedExamples : public testing::TestWithParam<Example> {};

TEST_P(WorkedExamples, EveryRecordValue) {
    const Example& e = GetParam();
    ReductionRecord r;
    const CalculationResult result = calculateReduction(e.input, r);
    ASSERT_EQ(result.outcome, Outcome::Complete) << result.reason;

    expectPair("LHA", r.LHADeg, r.LHAMin, e.LHA);
    expectPair("t", r.tDeg, r.tMin, e.t);
    expectPair("tUsed", r.tUsedDeg, r.tUsedMin, e.tUsed);
    expectPair("coDec", r.coDecDeg, r.coDecMin, e.coDec);
    expectPair("v", r.vDeg, r.vMin, e.v);
    expectPair("coV", r.coVDeg, r.coVMin, e.coV);
    expectPair("w", r.wDeg, r.wMin, e.w);
    expectPair("wUsed", r.wUsedDeg, r.wUsedMin, e.wUsed);
    expectPair("u", r.uDeg, r.uMin, e.u);
    expectPair("uUsed", r.uUsedDeg, r.uUsedMin, e.uUsed);
    expectPair("Hc", r.HcDeg, r.HcMin, e.Hc);
    expectPair("coHc", r.coHcDeg, r.coHcMin, e.coHc);
    EXPECT_EQ(r.tOver90, e.tOver90);
    EXPECT_EQ(r.uOver90, e.uOver90);
    EXPECT_NEAR(r.Qv, e.Qv, sumTolerance);
    EXPECT_NEAR(r.Qw, e.Qw, sumTolerance);
    EXPECT_NEAR(r.QHc, e.QHc, sumTolerance);
    EXPECT_NEAR(r.QZ, e.QZ, sumTolerance);
    EXPECT_EQ(std::round(r.Z * 100) / 100, e.Z);
    EXPECT_EQ(r.ZUsed, e.ZUsed);
    EXPECT_EQ(r.Zn, e.Zn);
}

// The first example under the QQ(x) method: the same angles, only the four
// table values scaled.
Example inQQ(Example e, const char* name, double Qv, double Qw, double QHc, double QZ) {
    e.name = name;
    e.input.method = Method::QQ;
    e.Qv = Qv;
    e.Qw = Qw;
    e.QHc = QHc;
    e.QZ = QZ;
    return e;
}

// Values from the hand-worked forms of the two methods. Each row: name,
// entries; LHA, t, tUsed, coDec, v, coV, w, wUsed, u, uUsed, Hc, coHc;
// tOver90, uOver90; Qv, Qw, QHc, QZ, Z, ZUsed, Zn.
// clang-format off
const Example sameNameUOver90{"SameNameUOver90_Q", testentries::firstExample(Method::Q),
    {344, 12.3}, {15, 47.7}, {15, 47.7}, {69, 45.0}, {14, 48.0}, {75, 12.0},
    {20, 58.8}, {20, 58.8}, {109, 1.2}, {70, 58.8}, {66, 4.2}, {23, 55.8},
    false, true, 1365.03, 1027.24, 89.88, 462.41, 39.03, 141.0, 141.0};

INSTANTIATE_TEST_SUITE_P(
    Forms, WorkedExamples,
    testing::Values(
        sameNameUOver90,
        inQQ(sameNameUOver90, "SameNameUOver90_QQ", 2337.39, 1758.97, 153.90, 791.79),
        Example{"ContraryNames_Q", testentries::contraryExample(Method::Q),
                {290, 0.0}, {70, 0.0}, {70, 0.0}, {85, 0.0}, {69, 24.6}, {20, 35.4},
                {14, 21.0}, {14, 21.0}, {25, 39.0}, {25, 39.0}, {8, 45.6}, {81, 14.4},
                false, false, 66.01, 1395.02, 1882.35, 54.28, 71.29, 108.7, 71.3},
        Example{"TOver90EastLongitude_QQ", testentries::secondExample(Method::QQ),
                {260, 30.0}, {99, 30.0}, {80, 30.0}, {75, 0.0}, {72, 18.0}, {17, 42.0},
                {58, 21.0}, {121, 39.0}, {23, 21.0}, {23, 21.0}, {6, 55.2}, {83, 4.8},
                true, false, 83.01, 275.70, 3623.43, 70.52, 73.67, 73.7, 73.7},
        // Every field empty: t is 0, taken as 1E-11 in the table.
        Example{"AllEmpty_Q", entries(Method::Q, "", "", "N", "", "", "N", "", "", "W", "", ""),
                {0, 0.0}, {0, 0.0}, {0, 0.0}, {90, 0.0}, {0, 0.0}, {90, 0.0},
                {0, 0.0}, {0, 0.0}, {90, 0.0}, {90, 0.0}, {90, 0.0}, {0, 0.0},
                false, false, 29376.66, 29376.66, 0, 0, 90, 90.0, 270.0},
        // Lower transit: Hc = lat + dec - 90, the body due north, Zn not folded to 0.
        Example{"LHA180ZnIs360_Q", entries(Method::Q, "180", "", "N", "80", "", "N", "40", "", "W", "", ""),
                {180, 0.0}, {180, 0.0}, {0, 0.0}, {10, 0.0}, {0, 0.0}, {90, 0.0},
                {80, 0.0}, {100, 0.0}, {30, 0.0}, {30, 0.0}, {30, 0.0}, {60, 0.0},
                true, false, 31127.38, 15.31, 693.15, 29232.82, 0, 0.0, 360.0}),
    [](const testing::TestParamInfo<Example>& info) { return info.param.name; });
// clang-format on

struct Wrap {
    const char* name;
    ReductionInput input;
    Angle LHA;
};

void PrintTo(const Wrap& w, std::ostream* os) {
    *os << w.name;
}

class LocalHourAngle : public testing::TestWithParam<Wrap> {};

TEST_P(LocalHourAngle, WrapsOnceIntoTheCircle) {
    ReductionRecord r;
    calculateReduction(GetParam().input, r);
    expectPair("LHA", r.LHADeg, r.LHAMin, GetParam().LHA);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LocalHourAngle,
    testing::Values(Wrap{"EastPast360",
                         entries(Method::Q, "350", "", "N", "", "", "N", "", "", "E", "20", ""),
                         {10, 0.0}},
                    Wrap{"WestBeyondGHA",
                         entries(Method::Q, "10", "", "N", "", "", "N", "", "", "W", "20", ""),
                         {350, 0.0}},
                    Wrap{"EastExactly360",
                         entries(Method::Q, "300", "", "N", "", "", "N", "", "", "E", "60", ""),
                         {0, 0.0}},
                    Wrap{"MinutesCarryTo360",
                         entries(Method::Q, "359", "59.99", "N", "", "", "N", "", "", "W", "", ""),
                         {360, 0.0}},
                    Wrap{"HundredthsOnAHalfRoundUp",
                         entries(Method::Q, "10", "12.25", "N", "", "", "N", "", "", "W", "", ""),
                         {10, 12.3}}),
    [](const testing::TestParamInfo<Wrap>& info) { return info.param.name; });

TEST(SplitDegMin, CarriesSixtyMinutesIntoTheDegrees) {
    const auto pair = reduction::splitDegMin(29.9995, reduction::angleRounding);
    ASSERT_TRUE(pair);
    EXPECT_EQ(pair->deg, 30);
    EXPECT_EQ(pair->min, 0.0);
}

TEST(SplitDegMin, RefusesDegreesBeyond16Bits) {
    EXPECT_FALSE(reduction::splitDegMin(32768.0, reduction::angleRounding));
    EXPECT_FALSE(reduction::splitDegMin(-32769.0, reduction::angleRounding));
    EXPECT_FALSE(reduction::splitDegMin(NAN, reduction::angleRounding));
    EXPECT_TRUE(reduction::splitDegMin(32767.0, reduction::angleRounding));
}

TEST(CalculateReduction, StopsWhenUIsBelowZero) {
    // t = 160 makes w = 180 - w; with both names south u comes out negative.
    ReductionRecord r;
    const auto in =
        entries(Method::Q, "200", "00.0", "S", "10", "00.0", "S", "30", "00.0", "W", "0", "");
    const CalculationResult result = calculateReduction(in, r);
    EXPECT_EQ(result.outcome, Outcome::CheckData);
    EXPECT_TRUE(r.tOver90);
    expectPair("tUsed", r.tUsedDeg, r.tUsedMin, {20, 0.0});
    expectPair("w", r.wDeg, r.wMin, {10, 37.8});
    expectPair("wUsed", r.wUsedDeg, r.wUsedMin, {169, 22.2});
    EXPECT_LT(r.u, 0);
}

TEST(CalculateReduction, AStoppedCalculationLeavesLaterFieldsFromThePreviousOne) {
    ReductionRecord r;
    calculateReduction(
        entries(Method::Q, "54", "12.3", "N", "20", "15.0", "N", "40", "00.0", "W", "70", "00.0"),
        r);
    const ReductionRecord complete = r;
    const auto stop =
        entries(Method::Q, "200", "00.0", "S", "10", "00.0", "S", "30", "00.0", "W", "0", "");
    ASSERT_EQ(calculateReduction(stop, r).outcome, Outcome::CheckData);

    EXPECT_NE(r.u, complete.u);
    EXPECT_NE(r.wUsed, complete.wUsed);
    EXPECT_EQ(r.uDeg, complete.uDeg);
    EXPECT_EQ(r.uMin, complete.uMin);
    EXPECT_EQ(r.uUsed, complete.uUsed);
    EXPECT_EQ(r.Hc, complete.Hc);
    EXPECT_EQ(r.QZ, complete.QZ);
    EXPECT_EQ(r.Zn, complete.Zn);
    EXPECT_FALSE(r.uOver90) << "the flags belong to the new calculation";

    // The next complete calculation leaves nothing of the earlier ones behind.
    ReductionRecord fresh;
    calculateReduction(
        entries(Method::Q, "300", "00.0", "N", "5", "00.0", "S", "50", "00.0", "W", "10", "00.0"),
        fresh);
    calculateReduction(
        entries(Method::Q, "300", "00.0", "N", "5", "00.0", "S", "50", "00.0", "W", "10", "00.0"),
        r);
    EXPECT_EQ(r, fresh);
}

TEST(CalculateReduction, RecordStartsWithZeros) {
    const ReductionRecord r;
    EXPECT_EQ(r.Zn, 0);
    EXPECT_FALSE(r.tOver90);
    EXPECT_FALSE(r.uOver90);
}

struct Failure {
    const char* name;
    ReductionInput input;
    bool reachedQv; // whether the failing step lies after Qv was written
};

void PrintTo(const Failure& f, std::ostream* os) {
    *os << f.name;
}

class ArithmeticFailures : public testing::TestWithParam<Failure> {};

TEST_P(ArithmeticFailures, EndTheCalculationWithoutAResult) {
    ReductionRecord r;
    r.Qv = -1; // a sentinel no calculation writes
    r.Zn = -1;
    const CalculationResult result = calculateReduction(GetParam().input, r);
    EXPECT_EQ(result.outcome, Outcome::ArithmeticFailure);
    EXPECT_FALSE(result.reason.empty());
    EXPECT_EQ(r.Zn, -1) << "no later field may be written";
    EXPECT_EQ(r.Qv != -1, GetParam().reachedQv);
}

INSTANTIATE_TEST_SUITE_P(
    Inputs, ArithmeticFailures,
    testing::Values(
        // t exactly 90: the rounded table values leave Qw at -0.75.
        Failure{"QwSlightlyBelowZero",
                entries(Method::Q, "90", "", "N", "2", "13.3", "N", "10", "", "W", "", ""), true},
        // LHA stays above 360 after one subtraction, so t is negative.
        Failure{"GhaPlusEastLongitudePast720",
                entries(Method::Q, "719", "59.9", "N", "", "", "N", "", "", "E", "1", ""), false},
        // A latitude of 90°59.9' makes u exceed 180, so the u used is negative.
        Failure{"DegreeFieldAtItsBoundWithMinutes",
                entries(Method::Q, "", "", "N", "", "", "N", "90", "59.9", "W", "", ""), true},
        Failure{"PastedHugeGHA",
                entries(Method::Q, "9E9", "", "N", "", "", "N", "", "", "W", "", ""), false},
        Failure{"PastedHugeLatitudeDegrees",
                entries(Method::Q, "", "", "N", "", "", "N", "9E9", "", "W", "", ""), false},
        Failure{"InfiniteMinutes",
                entries(Method::QQ, "", "1E999", "N", "", "", "N", "", "", "W", "", ""), false}),
    [](const testing::TestParamInfo<Failure>& info) { return info.param.name; });

TEST(ArithmeticFailureText, MakesTheReasonASentenceOnASecondLine) {
    const struct {
        const char* reason;
        const char* text;
    } rows[] = {
        {"the table has no angle for Qw = -0.75 (below 0)",
         "These entries cannot be reduced.\nThe table has no angle for Qw = -0.75 (below 0)."},
        // A symbol keeps its case, and a full stop is not doubled.
        {"t = -1 is negative.", "These entries cannot be reduced.\nt = -1 is negative."},
        {"Qw is not a finite number",
         "These entries cannot be reduced.\nQw is not a finite number."},
        {"", "These entries cannot be reduced."},
    };
    for (const auto& row : rows)
        EXPECT_EQ(reduction::arithmeticFailureText(row.reason), row.text) << row.reason;
}

} // namespace
