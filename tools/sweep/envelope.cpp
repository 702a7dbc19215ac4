#include "tools/sweep/envelope.h"

#include <algorithm>
#include <cmath>

namespace sweep {
namespace {

using reduction::Method;
using reduction::NorthSouth;

// Half a step of each rounding of the work form, each with a hair more for
// the double arithmetic that computes the rounded value (a table value near
// 29376 carries about 1e-8 of it).
constexpr double tableHalfStep = 0.005 + 1e-7;        // table values, to 0.01
constexpr double angleHalfStep = 0.005 + 1e-9;        // invQ angles, to 0.01 degree
constexpr double minuteHalfStep = (0.05 + 1e-9) / 60; // degree-minute pairs, to 0.1'
constexpr double azimuthHalfStep = 0.05 + 1e-9;       // Zn, to 0.1 degree

// The table function's own end: Q(0) is computed as Q(1E-11).
constexpr double smallestAngle = 1E-11;

double scaleOf(Method method) {
    return method == Method::Q ? 1000.0 : 1000.0 * 10000.0 / 5840.0;
}

double radians(double deg) {
    return deg * reduction::pi / 180;
}

// The exact, unrounded table function for an angle from 0 to 90.
double exactTable(double angleDeg, double scale) {
    return -scale * std::log(std::sin(radians(std::max(angleDeg, smallestAngle))));
}

// The exact inverse; a table value at or below 0 is 90 degrees.
double exactAngle(double tableValue, double scale) {
    if (tableValue <= 0)
        return 90;
    return std::asin(std::exp(-tableValue / scale)) * 180 / reduction::pi;
}

Interval widened(Interval i, double by) {
    return {i.lo - by, i.hi + by};
}

Interval point(double x) {
    return {x, x};
}

Interval plus(Interval a, Interval b) {
    return {a.lo + b.lo, a.hi + b.hi};
}

Interval minus(Interval a, Interval b) {
    return {a.lo - b.hi, a.hi - b.lo};
}

Interval complement(Interval a, double of) {
    return {of - a.hi, of - a.lo};
}

// x and 180 - x have the same sine: the angle that sine belongs to, as
// "if x > 90 use 180 - x" makes it.
Interval foldAt90(Interval a) {
    if (a.hi <= 90)
        return a;
    if (a.lo > 90)
        return complement(a, 180);
    return {std::min(a.lo, 180 - a.hi), 90};
}

// Q of every angle in a (which may reach below 0 or past 90 through the
// widening): Q falls from 0 to 90 and rises again beyond.
Interval tableOf(Interval a, double scale) {
    const Interval folded = foldAt90({std::max(a.lo, 0.0), std::max(a.hi, 0.0)});
    return {exactTable(folded.hi, scale), exactTable(folded.lo, scale)};
}

// The rounded Q of an angle in a: the exact values, half a step either way.
Interval roundedTableOf(Interval a, double scale) {
    return widened(tableOf(a, scale), tableHalfStep);
}

// invQ of every table value in q, rounded as invQ rounds; from 0 to 90.
Interval roundedAngleOf(Interval q, double scale) {
    const Interval exact{exactAngle(q.hi, scale), exactAngle(q.lo, scale)};
    return {std::max(exact.lo - angleHalfStep, 0.0), std::min(exact.hi + angleHalfStep, 90.0)};
}

} // namespace

bool containsAzimuth(const Interval& zn, double x, double slack) {
    for (const double turn : {-360.0, 0.0, 360.0})
        if (zn.contains(x + turn, slack))
            return true;
    return false;
}

Envelope envelopeOf(const EnvelopeInput& in) {
    const double scale = scaleOf(in.method);
    const bool sameNames = in.latName == in.decName;
    Envelope e;

    // The meridian angle and its rule, from the LHA as entered.
    const double t = in.LHA <= 180 ? in.LHA : 360 - in.LHA;
    const bool tOver90 = t > 90;
    const double tUsed = tOver90 ? 180 - t : t;

    // v: Q(v) = Q(90 - dec) + Q(t), 90 - dec rebuilt from its rounded pair.
    Interval coDec = widened(point(std::fabs(90 - in.Dec)), minuteHalfStep);
    coDec.lo = std::max(coDec.lo, 0.0);
    e.v = roundedAngleOf(plus(roundedTableOf(coDec, scale), roundedTableOf(point(tUsed), scale)),
                         scale);

    // w: Q(w) = Q(dec) - Q(90 - v), 90 - v rebuilt from the rounded pair of v.
    Interval coV = widened(complement(e.v, 90), minuteHalfStep);
    coV.lo = std::max(coV.lo, 0.0);
    e.Qw = minus(roundedTableOf(point(in.Dec), scale), roundedTableOf(coV, scale));
    e.w = roundedAngleOf(e.Qw, scale);

    // u = 90 - w ± Lat, w taken as 180 - w past t = 90.
    const Interval wUsed = tOver90 ? complement(e.w, 180) : e.w;
    const Interval ninetyMinusW = complement(wUsed, 90);
    e.u = sameNames ? plus(ninetyMinusW, point(in.Lat)) : minus(ninetyMinusW, point(in.Lat));
    const Interval uUsed = foldAt90(e.u);

    // Hc: Q(Hc) = Q(u) + Q(90 - v). Where u may be below 0 the body may be
    // below the horizon, by no more than u itself (sin Hc = cos v sin u).
    const Interval positiveU{std::max(uUsed.lo, 0.0), std::max(uUsed.hi, 0.0)};
    Interval hc =
        roundedAngleOf(plus(roundedTableOf(positiveU, scale), roundedTableOf(coV, scale)), scale);
    if (uUsed.lo < 0)
        hc.lo = uUsed.lo - angleHalfStep;
    e.Hc = widened(hc, minuteHalfStep);

    // Z: Q(Z) = Q(v) - Q(90 - Hc), 90 - Hc from the printed Hc.
    Interval coHc = complement(e.Hc, 90);
    coHc.lo = std::max(coHc.lo, 0.0);
    e.QZ = minus(roundedTableOf(e.v, scale), roundedTableOf(coHc, scale));
    const Interval z = roundedAngleOf(e.QZ, scale);

    // The Z rule; where u may lie on either side of 90 (a body near the
    // prime vertical, Z near 90) either choice is possible.
    Interval zUsed = z;
    if (!sameNames || e.u.lo > 90)
        zUsed = complement(z, 180);
    else if (e.u.hi > 90)
        zUsed = {z.lo, 180 - z.lo};

    // Zn from Z by the latitude's name and the side of the meridian.
    const bool east = in.LHA > 180;
    if (in.latName == NorthSouth::N)
        e.Zn = east ? zUsed : complement(zUsed, 360);
    else
        e.Zn = east ? complement(zUsed, 180) : plus(zUsed, point(180));
    e.Zn = widened(e.Zn, azimuthHalfStep);
    return e;
}

} // namespace sweep
