#pragma once

#include <cmath>

#include "reduction/calculate.h"

// The rules of the work form's steps, each written once on the values it is
// worked from. calculateReduction works the right form with them; the
// checker works a navigator's form on from the navigator's own numbers with
// the same rules, so both agree to the last bit wherever the numbers do.

namespace reduction {

// GHA - Lo (Lo west positive), with 360 subtracted once when it reaches 360
// and then added once when it is below 0. Only GHA + an east longitude past
// 720 stays above 360.
inline double localHourAngle(double GHA, double Lo) {
    double LHA = GHA - Lo;
    if (LHA >= 360)
        LHA = LHA - 360;
    if (LHA < 0)
        LHA = LHA + 360;
    return LHA;
}

// t from 0 to 180: west of the meridian LHA itself, east of it 360 - LHA.
inline double meridianAngle(double LHA) {
    return LHA <= 180 ? LHA : 360 - LHA;
}

// The rule "if t > 90 use t = 180 - t", which also calls for w = 180 - w.
inline bool tRuleApplies(double t) {
    return t > 90;
}

// The rule "if u > 90 use u = 180 - u".
inline bool uRuleApplies(double u) {
    return u > 90;
}

// The rule "for contrary names or same name with original u > 90 use
// Z = 180 - Z".
inline bool zRuleApplies(bool sameNames, bool uOver90) {
    return !sameNames || uOver90;
}

// u = 90 - w + Lat for same names, 90 - w - Lat for contrary names.
inline double uFormula(double wUsed, double Lat, bool sameNames) {
    return sameNames ? (90 - wUsed) + Lat : (90 - wUsed) - Lat;
}

// The angle of a degree and minute pair, as the form rebuilds 90 - dec.
inline double rebuiltAngle(DegMin pair) {
    return pair.min / 60 + pair.deg;
}

// 90 less the angle of a rounded pair: 90 - v and 90 - Hc.
inline double complementOf(DegMin pair) {
    return 90 - (pair.min / 60 + pair.deg);
}

// Zn from Z after its rule, by the latitude's name and the side of the
// meridian (east when LHA is above 180).
inline double trueAzimuth(double ZUsed, NorthSouth latName, double LHA) {
    if (latName == NorthSouth::N)
        return LHA > 180 ? ZUsed : 360 - ZUsed;
    return LHA > 180 ? 180 - ZUsed : 180 + ZUsed;
}

// The azimuths' rounding to a tenth of a degree.
inline double roundTenth(double x) {
    return std::floor(x * 10 + 0.5) / 10;
}

} // namespace reduction
