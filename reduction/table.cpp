#include "reduction/table.h"

#include <cmath>

namespace reduction {

const double pi = 4.0 * std::atan(1.0);

namespace {

// Both ends of the tables are made finite by never taking the sine of 0 or
// the angle of a table value of 0: ln(sin 0) is minus infinity, and a table
// value of 0 would make the arcsine's square root exactly 0.
constexpr double zeroSubstitute = 1E-11;

constexpr double qScale = -1000;
const double qqScale = 10000.0 / 5840.0;

// Int(value × k + 0.5) / k, where Int rounds down: the tables' rounding.
double roundTo(double value, double k) {
    return std::floor(value * k + 0.5) / k;
}

} // namespace

double unroundedQ(double angleDeg, Method method) {
    // The sine is positive a little past 180 and negative angles have
    // positive sines too, but the table only goes from 0 to 180: anything
    // else means an earlier step went wrong, and must not print as a result.
    if (!(angleDeg >= 0 && angleDeg <= 180))
        return NAN;
    double x = angleDeg;
    if (x == 0)
        x = zeroSubstitute;
    const double s = std::sin(x * pi / 180);
    if (!(s > 0))
        return NAN;
    double value = 0;
    switch (method) {
    case Method::Q:
        value = std::log(s) * qScale;
        break;
    case Method::QQ:
        value = (std::log(s) * qScale) * qqScale;
        break;
    }
    return value;
}

double Q(double angleDeg, Method method) {
    return roundTo(unroundedQ(angleDeg, method), 100);
}

double unroundedInvQ(double tableValue, Method method) {
    if (!(tableValue >= 0) || !std::isfinite(tableValue))
        return NAN;
    double q = tableValue;
    if (q == 0)
        q = zeroSubstitute;
    double s = 0;
    switch (method) {
    case Method::Q:
        s = std::exp(-q / 1000);
        break;
    case Method::QQ:
        s = std::exp((-q * 5840) / 10000000);
        break;
    }
    const double root = std::sqrt(1 - s * s);
    if (!(root > 0))
        return NAN; // a division by zero in the arcsine
    const double a = std::atan(s / root);
    return a * 180 / pi;
}

double invQ(double tableValue, Method method) {
    return roundTo(unroundedInvQ(tableValue, method), 100);
}

} // namespace reduction
