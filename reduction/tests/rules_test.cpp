// The special rules at their exact boundaries, the roundings that only show
// on some inputs, and the whole method held against spherical trigonometry
// over a grid of sights in every quadrant and with every pair of names.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>

#include <gtest/gtest.h>

#include "reduction/calculate.h"
#include "testing/entries.h"
#include "testing/exactsight.h"

namespace {

using reduction::calculateReduction;
using reduction::Method;
using reduction::Outcome;
using reduction::ReductionInput;
using reduction::ReductionRecord;
using testentries::entries;
using testexact::exactSight;

const char* const nameOf[] = {"N", "S"};

// The table methods round every table value to two decimals and every angle
// to a hundredth of a degree. Over the whole-degree grid below, with the
// meridian angle under 85 degrees and the exact altitude under 75 degrees,
// the largest differences found were 0.07 degree in Hc and 1.4 degrees in
// Zn; the bounds leave room for that and still catch a wrong quadrant, a
// wrong name rule or a swapped sign, which are off by many degrees.
constexpr double hcBoundDeg = 0.1;
constexpr double znBoundDeg = 2.0;

TEST(AgainstTheExactSolution, EveryQuadrantNamePairAndMethod) {
    int compared = 0;
    for (Method method : {Method::Q, Method::QQ})
        for (int lha = 0; lha < 360; lha += 3)
            for (int dec = 0; dec <= 85; dec += 5)
                for (int lat = 0; lat <= 85; lat += 5)
                    for (int names = 0; names < 4; ++names) {
                        const int decSouth = names & 1, latSouth = names >> 1;
                        const ReductionInput in =
                            entries(method, std::to_string(lha).c_str(), "", nameOf[decSouth],
                                    std::to_string(dec).c_str(), "", nameOf[latSouth],
                                    std::to_string(lat).c_str(), "", "W", "", "");
                        ReductionRecord r;
                        const Outcome outcome = calculateReduction(in, r).outcome;
                        const testexact::Exact exact =
                            exactSight(lha, latSouth ? -lat : lat, decSouth ? -dec : dec);
                        const std::string where = "LHA " + std::to_string(lha) + " dec " +
                                                  nameOf[decSouth] + std::to_string(dec) + " lat " +
                                                  nameOf[latSouth] + std::to_string(lat);
                        // "Check your data." exactly when the body is below
                        // the horizon (within the table's own error).
                        if (outcome == Outcome::CheckData) {
                            EXPECT_LT(exact.Hc, 0.05) << where;
                            continue;
                        }
                        if (outcome != Outcome::Complete)
                            continue;
                        EXPECT_GT(exact.Hc, -0.05) << where;
                        const double t = lha <= 180 ? lha : 360 - lha;
                        if (t >= 85 || exact.Hc > 75)
                            continue;
                        ++compared;
                        EXPECT_NEAR(r.HcDeg + r.HcMin / 60, exact.Hc, hcBoundDeg) << where;
                        EXPECT_LT(std::fabs(testexact::azimuthDifference(r.Zn, exact.Zn)),
                                  znBoundDeg)
                            << where << ": Zn " << r.Zn << ", exact " << exact.Zn;
                        if (::testing::Test::HasFailure())
                            return; // one sight tells; thousands would bury it
                    }
    EXPECT_GT(compared, 50000);
}

// Table values and the angles from them are rounded to the nearest hundredth,
// halves up: never more than half a hundredth from the unrounded value.
TEST(TableRounding, NearestHundredthOverTheWholeTable) {
    const double k = std::acos(-1.0) / 180;
    for (int hundredths = 1; hundredths <= 9000; ++hundredths) {
        const double x = hundredths / 100.0;
        const double q = -1000 * std::log(std::sin(x * k));
        EXPECT_LE(std::fabs(reduction::Q(x, Method::Q) - q), 0.005 + 1e-9) << x;
        EXPECT_LE(std::fabs(reduction::Q(x, Method::QQ) - q * 10000 / 5840), 0.005 + 1e-9) << x;
        // Table values from 0.37 to 3330, angles from about 2 to 90 degrees.
        const double table = hundredths * 0.37;
        const double angle = std::asin(std::exp(-table / 1000)) / k;
        EXPECT_LE(std::fabs(reduction::invQ(table, Method::Q) - angle), 0.005 + 1e-9) << table;
        if (::testing::Test::HasFailure())
            return;
    }
}

// An angle that the work form rebuilds from its printed degrees and minutes
// lies on the grid of tenths of a minute.
bool onTenthMinuteGrid(double angleDeg) {
    const double tenths = angleDeg * 600;
    return std::fabs(tenths - std::round(tenths)) < 1e-6;
}

TEST(RebuiltAngles, NinetyMinusDecVAndHcComeFromTheirPrintedPairs) {
    // Minutes in hundredths, which the pair rounds to tenths.
    for (const char* decMin : {"0.05", "7.25", "12.34", "33.37", "59.94"})
        for (const char* gha : {"20", "75", "301"}) {
            ReductionRecord r;
            const auto in =
                entries(Method::Q, gha, "", "N", "23", decMin, "N", "41", "17.77", "W", "", "");
            ASSERT_EQ(calculateReduction(in, r).outcome, Outcome::Complete);
            EXPECT_TRUE(onTenthMinuteGrid(r.coDec)) << decMin << " coDec " << r.coDec;
            EXPECT_TRUE(onTenthMinuteGrid(r.coV)) << decMin << " coV " << r.coV;
            EXPECT_TRUE(onTenthMinuteGrid(r.coHc)) << decMin << " coHc " << r.coHc;
        }
}

// The hour angles round their minutes half up, as typed: 2.25 minutes show
// as 2.3 although the double of the angle lies a hair below. Expected values
// by integer arithmetic in hundredths of a minute.
struct Tenths {
    long long deg, tenths;
};

Tenths roundHalfUp(long long hundredthsOfMinute) {
    const long long tenths = (hundredthsOfMinute + 5) / 10;
    return {tenths / 600, tenths % 600};
}

void expectPair(std::int16_t deg, double min, Tenths expected, const std::string& what) {
    EXPECT_EQ(deg, expected.deg) << what;
    EXPECT_EQ(std::lround(min * 10), expected.tenths) << what;
}

TEST(HourAngleRounding, HalvesOfATenthRoundUpInLhaTAndTheTUsed) {
    constexpr long long fullCircle = 360LL * 6000;
    for (int deg = 0; deg < 720; ++deg)
        for (int hundredths = 5; hundredths < 6000; hundredths += 30) {
            char minutes[16];
            std::snprintf(minutes, sizeof minutes, "%d.%02d", hundredths / 100, hundredths % 100);
            ReductionRecord r;
            calculateReduction(entries(Method::Q, std::to_string(deg).c_str(), minutes, "N", "", "",
                                       "N", "", "", "W", "", ""),
                               r);
            const long long lha = (deg * 6000LL + hundredths) % fullCircle;
            const long long t = lha <= fullCircle / 2 ? lha : fullCircle - lha;
            const long long tUsed = t > fullCircle / 4 ? fullCircle / 2 - t : t;
            const std::string what = std::to_string(deg) + " " + minutes;
            expectPair(r.LHADeg, r.LHAMin, roundHalfUp(lha), "LHA " + what);
            expectPair(r.tDeg, r.tMin, roundHalfUp(t), "t " + what);
            expectPair(r.tUsedDeg, r.tUsedMin, roundHalfUp(tUsed), "t used " + what);
            if (::testing::Test::HasFailure())
                return;
        }
}

// A whole-degree field holding a fraction (pasted) reads to the nearest
// whole degree, ties to the even one.
struct DegreeReading {
    const char* text;
    int degrees;
};

TEST(WholeDegreeFields, ReadToNearestTiesToEven) {
    for (const DegreeReading& row :
         {DegreeReading{".5", 0}, DegreeReading{"1.5", 2}, DegreeReading{"2.5", 2},
          DegreeReading{"40.5", 40}, DegreeReading{"41.5", 42}, DegreeReading{"2.4999", 2},
          DegreeReading{"2.5001", 3}, DegreeReading{"7", 7}}) {
        ReductionRecord r;
        calculateReduction(
            entries(Method::Q, "", "", "N", row.text, "", "S", row.text, "", "W", "", ""), r);
        EXPECT_EQ(r.DecDeg, row.degrees) << row.text;
        EXPECT_EQ(r.LatDeg, row.degrees) << row.text;
    }
}

// The rules at exactly their boundary values.
TEST(SpecialRules, TExactly90IsNotOver90) {
    for (const char* gha : {"90", "270"})
        for (int dec = 0; dec <= 89; ++dec) {
            ReductionRecord r;
            calculateReduction(entries(Method::Q, gha, "", "N", std::to_string(dec).c_str(), "",
                                       "N", "30", "", "W", "", ""),
                               r);
            EXPECT_FALSE(r.tOver90) << gha << " dec " << dec;
            EXPECT_EQ(r.tUsed, 90) << gha << " dec " << dec;
        }
}

TEST(SpecialRules, UExactlyZeroIsStillReduced) {
    // On the meridian w is the declination, so contrary names with
    // latitude + declination = 90 give u = 0: the body on the horizon.
    for (int dec = 10; dec <= 80; dec += 10) {
        ReductionRecord r;
        const auto in = entries(Method::Q, "", "", "N", std::to_string(dec).c_str(), "", "S",
                                std::to_string(90 - dec).c_str(), "", "W", "", "");
        ASSERT_EQ(calculateReduction(in, r).outcome, Outcome::Complete) << dec;
        EXPECT_EQ(r.u, 0) << dec;
        EXPECT_FALSE(r.uOver90);
        EXPECT_EQ(r.HcDeg, 0) << dec;
        EXPECT_EQ(r.HcMin, 0) << dec;
    }
}

TEST(SpecialRules, LhaExactly180TakesTheWestRowsOfTheAzimuthRule) {
    // A body at the pole seen from that pole: Hc 90 and Z 90, so only the
    // rows of the azimuth rule for an LHA of 180 or less give Zn 270.
    for (const char* name : {"N", "S"}) {
        ReductionRecord r;
        const auto in = entries(Method::Q, "180", "", name, "90", "", name, "90", "", "W", "", "");
        ASSERT_EQ(calculateReduction(in, r).outcome, Outcome::Complete) << name;
        EXPECT_EQ(r.ZUsed, 90) << name;
        EXPECT_EQ(r.Zn, 270) << name;
    }
}

TEST(SpecialRules, LhaOf360FromGhaPlusEastLongitudeIsReducedAsT0) {
    ReductionRecord r;
    const auto in = entries(Method::QQ, "540", "", "N", "20", "", "N", "40", "", "E", "180", "");
    ASSERT_EQ(calculateReduction(in, r).outcome, Outcome::Complete);
    EXPECT_EQ(r.LHADeg, 360);
    EXPECT_EQ(r.LHAMin, 0);
    EXPECT_EQ(r.t, 0);
    // The body on the meridian south of the observer.
    EXPECT_EQ(r.HcDeg, 70);
    EXPECT_EQ(r.Zn, 180);
}

} // namespace
