#pragma once

// The sight worked exactly by spherical trigonometry, as the reference the
// table methods are held against in the tests.

#include <algorithm>
#include <cmath>

namespace testexact {

struct Exact {
    double Hc; // degrees
    double Zn; // degrees from north through east, [0, 360)
};

// Latitude and declination signed, south negative; all in degrees.
inline Exact exactSight(double lhaDeg, double latDeg, double decDeg) {
    const double k = std::acos(-1.0) / 180;
    const double L = latDeg * k, d = decDeg * k, h = lhaDeg * k;
    const double sinHc = std::sin(L) * std::sin(d) + std::cos(L) * std::cos(d) * std::cos(h);
    const double east = -std::cos(d) * std::sin(h);
    const double north = std::sin(d) * std::cos(L) - std::cos(d) * std::sin(L) * std::cos(h);
    double zn = std::atan2(east, north) / k;
    if (zn < 0)
        zn += 360;
    return {std::asin(std::clamp(sinHc, -1.0, 1.0)) / k, zn};
}

// The smaller way round from b to a, in (-180, 180].
inline double azimuthDifference(double a, double b) {
    return std::remainder(a - b, 360.0);
}

} // namespace testexact
