#include "reduction/exactsolution.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

reduction::ReductionRecord sight(double latDeg, double decDeg, double lhaDeg) {
    reduction::ReductionRecord r;
    r.Lat = latDeg;
    r.Dec = decDeg;
    r.LHA = lhaDeg;
    return r;
}

TEST(ExactSolution, LatitudeAndDeclination45AtLHA90) {
    // sin Hc = sin²45 = 1/2, so Hc = 30 exactly. The azimuth is
    // atan2(-cos 45, sin 45 cos 45) = -atan(√2), the "magic angle"
    // 54.7356103172453°, west of north: Zn = 305.2643896827547.
    reduction::ReductionRecord r = sight(45, 45, 90);
    r.HcDeg = 30;
    r.HcMin = 0;
    r.Zn = 305.3;
    const reduction::ExactSolution exact = reduction::exactSolution(r, false, false);
    EXPECT_NEAR(exact.Hc, 30.0, 1e-12);
    EXPECT_NEAR(exact.Zn, 305.2643896827547, 1e-10);
    EXPECT_NEAR(exact.dHcArcmin, 0.0, 1e-9);
    EXPECT_NEAR(exact.dZnDeg, 305.3 - 305.2643896827547, 1e-10);
}

TEST(ExactSolution, OnTheMeridianHcIs90MinusZenithDistance) {
    // North latitude 40, declination N 20: the body culminates due south at
    // 90 - (40 - 20) = 70 degrees.
    reduction::ReductionRecord r = sight(40, 20, 0);
    r.HcDeg = 70;
    r.HcMin = 1.2;
    r.Zn = 180;
    const reduction::ExactSolution exact = reduction::exactSolution(r, false, false);
    EXPECT_NEAR(exact.Hc, 70.0, 1e-12);
    EXPECT_NEAR(exact.Zn, 180.0, 1e-12);
    EXPECT_NEAR(exact.dHcArcmin, 1.2, 1e-9);
}

TEST(ExactSolution, SouthernNamesAreNegative) {
    // Latitude S 40, declination S 20 on the meridian: the body is due north.
    const reduction::ExactSolution exact = reduction::exactSolution(sight(40, 20, 0), true, true);
    EXPECT_NEAR(exact.Hc, 70.0, 1e-12);
    EXPECT_EQ(exact.Zn, 0.0);
    EXPECT_FALSE(std::signbit(exact.Zn));
    // Contrary names: latitude N 30, declination S 30 on the meridian, 30 above
    // the horizon due south.
    const reduction::ExactSolution contrary =
        reduction::exactSolution(sight(30, 30, 0), false, true);
    EXPECT_NEAR(contrary.Hc, 30.0, 1e-12);
    EXPECT_NEAR(contrary.Zn, 180.0, 1e-12);
}

TEST(ExactSolution, AzimuthDifferenceWrapsAroundNorth) {
    // Body north of the observer, just west of the meridian: Zn a little
    // under 360, while the table printed 0.0.
    reduction::ReductionRecord r = sight(40, 60, 0.05);
    r.Zn = 0.0;
    const reduction::ExactSolution exact = reduction::exactSolution(r, false, false);
    ASSERT_GT(exact.Zn, 359.9);
    EXPECT_NEAR(exact.dZnDeg, 360.0 - exact.Zn, 1e-9);
}

TEST(ExactSolution, AzimuthIsUndefinedAtTheZenith) {
    // Latitude and declination N 20 on the meridian: the body is overhead.
    reduction::ReductionRecord r = sight(20, 20, 0);
    r.HcDeg = 90;
    r.Zn = 270;
    const reduction::ExactSolution exact = reduction::exactSolution(r, false, false);
    EXPECT_NEAR(exact.Hc, 90.0, 1e-6);
    EXPECT_TRUE(std::isnan(exact.Zn));
    EXPECT_TRUE(std::isnan(exact.dZnDeg));
}

} // namespace
