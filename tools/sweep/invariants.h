#pragma once

#include <string>
#include <vector>

#include "reduction/calculate.h"
#include "tools/sweep/envelope.h"
#include "tools/sweep/sights.h"

// What must hold for every sight a user can enter, checked by the whole-domain
// sweep and by the fuzzing harness alike: one place, so the two cannot drift.
//
// For every sight: the outcome is one of the three, and a complete sight
// prints fifteen lines, each of the shape the worked form gives it, every
// number in its print pattern (no "nan", no "inf", no minutes of 60.0), the
// "=" signs of the right-hand column in column 55 and those of the left in
// column 6, the right-aligned degree signs in their columns.
//
// For a sight within the entry fields' ranges, against the envelope of what
// the table method's roundings allow (envelope.h): the table's v, w and u and
// its printed Hc and Zn lie inside it, and so do the exact Hc and Zn; "Check
// your data." comes only where u may be below 0, and a sight that cannot be
// reduced fails only where the roundings can make Q(w) or Q(Z) negative, or
// where GHA plus an east longitude passes 720 degrees.

namespace sweep {

// Where a sight that cannot be reduced stopped.
enum class FailurePlace {
    None,
    QwBelowZero, // a meridian angle near 90
    QZBelowZero, // a body near the zenith
    LHAPast360,  // GHA plus an east longitude past 720 degrees
    Other,
};

struct SightReport {
    reduction::Outcome outcome = reduction::Outcome::Complete;
    FailurePlace failurePlace = FailurePlace::None;
    bool inRange = false;  // every field within its entry range
    bool compared = false; // complete, in range: the exact solution and bounds below are set
    double t = 0;          // the meridian angle as the table enters it (0 to 90)
    double dec = 0;        // the declination as read, degrees
    double tableHc = 0;    // printed Hc, degrees
    double exactHc = 0;    // degrees
    double dHcArcmin = 0;  // printed Hc minus exact, minutes of arc
    double dZnDeg = 0;     // printed Zn minus exact, degrees; NaN where no azimuth exists
    double hcBoundArcmin = 0;
    double znBoundDeg = 0;
    std::vector<std::string> violations;
};

// Reduces the sight from a fresh record, builds and renders its worked form
// when complete, and checks all of the above.
SightReport reduceAndCheck(const reduction::ReductionInput& input);

// What is wrong with the printed lines of a complete form, one text per
// fault; empty when nothing is.
std::vector<std::string> formViolations(const std::vector<std::string>& lines,
                                        const reduction::ReductionInput& input,
                                        const reduction::ReductionRecord& record,
                                        bool entriesInRange);

} // namespace sweep
