#pragma once

#include "reduction/calculate.h"

// How far the table method may stray from the exact solution, derived from
// the method itself rather than measured.
//
// The work form rounds in three places: every table value to 0.01 (at most
// 0.005 off the exact -S ln sin x), every angle that invQ returns to 0.01
// degree (at most 0.005 degree off), and the rebuilt angles 90 - dec, 90 - v
// and 90 - Hc, like the printed Hc, to 0.1 minute (at most 0.05 minute off).
// Carrying each quantity of the form as an interval that widens by exactly
// these amounts at every step, through the same formulas and special rules,
// gives for each sight the set of values any such rounding could produce.
// The exact solution is the path with no rounding at all, so it lies inside;
// the table method's own values lie inside too. Their difference is therefore
// bounded by the width of the interval, sight by sight. The width is small
// where the tables are well conditioned and grows where an inverse is steep:
// a meridian angle near 90 (Q(w) near 0), a body near the zenith (Q(Hc) near
// 0) and an azimuth angle near 90 (Q(Z) near 0).
//
// The intervals ignore that one rounding enters several steps (coV feeds
// both Q(w) and Q(Hc)), which can only widen them: the bound stays a bound.

namespace sweep {

struct Interval {
    double lo = 0;
    double hi = 0;

    double width() const { return hi - lo; }
    bool contains(double x, double slack) const { return x >= lo - slack && x <= hi + slack; }
};

// An azimuth interval may reach past 0 or 360; x and x ± 360 are the same
// direction.
bool containsAzimuth(const Interval& zn, double x, double slack);

// Everything the table method may give for one sight. Angles in degrees; Hc
// as printed (degrees and minutes to a tenth); Qw and QZ in table units.
struct Envelope {
    Interval v, Qw, w, u, Hc, QZ, Zn;
};

// The sight as entered: LHA from 0 to 360, latitude and declination from 0
// to 90 with their names. The meridian angle and its rule, and same or
// contrary names, are worked out here again from these, not taken from the
// calculation under test.
struct EnvelopeInput {
    double LHA = 0;
    double Lat = 0;
    double Dec = 0;
    reduction::NorthSouth latName = reduction::NorthSouth::N;
    reduction::NorthSouth decName = reduction::NorthSouth::N;
    reduction::Method method = reduction::Method::Q;
};

Envelope envelopeOf(const EnvelopeInput& in);

} // namespace sweep
