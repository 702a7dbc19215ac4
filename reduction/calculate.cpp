#include "reduction/calculate.h"

#include <cmath>
#include <cstdio>
#include <limits>

#include "entry/textvalue.h"

namespace reduction {

namespace {

// A step of the calculation had no result. Thrown only inside
// calculateReduction and caught there, so the steps read as a straight line.
struct StepFailure {
    std::string reason;
};

std::string number(double x) {
    // Enough digits to tell the failing value apart, few enough for one line.
    char text[32];
    std::snprintf(text, sizeof text, "%.10g", x);
    return text;
}

bool fitsInt16(double x) {
    // Written so that a NaN compares false and does not fit.
    return x >= std::numeric_limits<std::int16_t>::min() &&
           x <= std::numeric_limits<std::int16_t>::max();
}

// The reading of a whole-degree field into 16 bits: round to nearest, ties to
// even, as a typed "40.5" in a pasted field reads 40.
std::int16_t wholeDegrees(double x, const char* what) {
    double r = std::floor(x);
    const double fraction = x - r;
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(r, 2) != 0))
        r += 1;
    if (!fitsInt16(r)) // also false for NaN and the infinities
        throw StepFailure{std::string(what) + " degrees " + number(x) + " are too large"};
    return static_cast<std::int16_t>(r);
}

double finite(double x, const char* what) {
    if (!std::isfinite(x))
        throw StepFailure{std::string(what) + " is not a finite number"};
    return x;
}

DegMin split(double angleDeg, double rounding, const char* what) {
    const auto pair = splitDegMin(angleDeg, rounding);
    if (!pair)
        throw StepFailure{std::string(what) + " = " + number(angleDeg) +
                          " degrees does not fit whole degrees"};
    return *pair;
}

double tableValue(double angleDeg, Method method, const char* what) {
    const double q = Q(angleDeg, method);
    if (std::isnan(q))
        throw StepFailure{"the table has no value for " + std::string(what) + " = " +
                          number(angleDeg) + " (outside 0 to 180 degrees)"};
    return q;
}

double angleOf(double tableValue, Method method, const char* what) {
    const double angle = invQ(tableValue, method);
    if (std::isnan(angle))
        throw StepFailure{"the table has no angle for " + std::string(what) + " = " +
                          number(tableValue) + " (below 0)"};
    return angle;
}

double roundTenth(double x) { return std::floor(x * 10 + 0.5) / 10; }

// The steps of the work form, in order. Each value goes into the record as
// soon as it is known, so a stop leaves exactly the fields reached.
Outcome work(const ReductionInput& in, ReductionRecord& r) {
    const Method m = in.method;

    r.tOver90 = false;
    r.uOver90 = false;

    r.GHA = finite(TextValue(in.ghaDeg) + TextValue(in.ghaMin) / 60, "GHA");

    r.Lo = finite(TextValue(in.loDeg) + TextValue(in.loMin) / 60, "the longitude");
    if (in.loName == "E")
        r.Lo = -r.Lo;

    r.LHA = r.GHA - r.Lo;
    if (r.LHA >= 360)
        r.LHA = r.LHA - 360;
    if (r.LHA < 0)
        r.LHA = r.LHA + 360;

    const DegMin lha = split(r.LHA, hourAngleRounding, "LHA");
    r.LHADeg = lha.deg;
    r.LHAMin = lha.min;

    r.t = r.LHA <= 180 ? r.LHA : 360 - r.LHA;
    const DegMin t = split(r.t, hourAngleRounding, "t");
    r.tDeg = t.deg;
    r.tMin = t.min;

    r.tUsed = r.t;
    if (r.t > 90) {
        r.tUsed = 180 - r.t;
        r.tOver90 = true;
    }
    const DegMin tUsed = split(r.tUsed, hourAngleRounding, "t");
    r.tUsedDeg = tUsed.deg;
    r.tUsedMin = tUsed.min;

    r.LatDeg = wholeDegrees(TextValue(in.latDeg), "latitude");
    r.LatMin = finite(TextValue(in.latMin), "the latitude minutes");
    r.DecDeg = wholeDegrees(TextValue(in.decDeg), "declination");
    r.DecMin = finite(TextValue(in.decMin), "the declination minutes");
    r.Lat = r.LatMin / 60 + r.LatDeg;
    r.Dec = r.DecMin / 60 + r.DecDeg;

    const DegMin coDec = split(std::fabs(90 - r.Dec), angleRounding, "90 - dec");
    r.coDecDeg = coDec.deg;
    r.coDecMin = coDec.min;
    r.coDec = r.coDecMin / 60 + r.coDecDeg;

    r.Qv = tableValue(r.tUsed, m, "t") + tableValue(r.coDec, m, "90 - dec");
    r.v = angleOf(r.Qv, m, "Qv");
    const DegMin v = split(r.v, angleRounding, "v");
    r.vDeg = v.deg;
    r.vMin = v.min;

    r.coV = 90 - (r.vMin / 60 + r.vDeg);
    const DegMin coV = split(r.coV, angleRounding, "90 - v");
    r.coVDeg = coV.deg;
    r.coVMin = coV.min;

    r.Qw = tableValue(r.Dec, m, "dec") - tableValue(r.coV, m, "90 - v");
    r.w = angleOf(r.Qw, m, "Qw");
    const DegMin w = split(r.w, angleRounding, "w");
    r.wDeg = w.deg;
    r.wMin = w.min;

    r.wUsed = r.w;
    if (r.tOver90)
        r.wUsed = 180 - r.w;
    const DegMin wUsed = split(r.wUsed, angleRounding, "w");
    r.wUsedDeg = wUsed.deg;
    r.wUsedMin = wUsed.min;

    const bool sameNames = in.latName == in.decName;
    r.u = sameNames ? (90 - r.wUsed) + r.Lat : (90 - r.wUsed) - r.Lat;

    if (r.u < 0)
        return Outcome::CheckData;

    const DegMin u = split(r.u, angleRounding, "u");
    r.uDeg = u.deg;
    r.uMin = u.min;
    r.uUsed = r.u;
    if (r.u > 90) {
        r.uUsed = 180 - r.u;
        r.uOver90 = true;
    }
    const DegMin uUsed = split(r.uUsed, angleRounding, "u");
    r.uUsedDeg = uUsed.deg;
    r.uUsedMin = uUsed.min;

    r.QHc = tableValue(r.uUsed, m, "u") + tableValue(r.coV, m, "90 - v");
    r.Hc = angleOf(r.QHc, m, "QHc");
    const DegMin hc = split(r.Hc, angleRounding, "Hc");
    r.HcDeg = hc.deg;
    r.HcMin = hc.min;

    r.coHc = 90 - (r.HcMin / 60 + r.HcDeg);
    const DegMin coHc = split(r.coHc, angleRounding, "90 - Hc");
    r.coHcDeg = coHc.deg;
    r.coHcMin = coHc.min;

    r.QZ = tableValue(r.v, m, "v") - tableValue(r.coHc, m, "90 - Hc");
    r.Z = angleOf(r.QZ, m, "QZ");

    r.ZUsed = r.Z;
    if (!sameNames || r.uOver90)
        r.ZUsed = 180 - r.Z;

    // East of the meridian (LHA above 180) the azimuth is measured the other
    // way round; the unrounded LHA decides.
    if (in.latName == "N")
        r.Zn = r.LHA > 180 ? r.ZUsed : 360 - r.ZUsed;
    if (in.latName == "S")
        r.Zn = r.LHA > 180 ? 180 - r.ZUsed : 180 + r.ZUsed;

    r.ZUsed = roundTenth(r.ZUsed);
    r.Zn = roundTenth(r.Zn);
    return Outcome::Complete;
}

} // namespace

std::optional<DegMin> splitDegMin(double angleDeg, double rounding) {
    const double whole = std::floor(angleDeg);
    if (!fitsInt16(whole))
        return std::nullopt;
    DegMin pair;
    pair.deg = static_cast<std::int16_t>(whole);
    double min = (angleDeg - pair.deg) * 60;
    min = std::floor(min * 10 + rounding) / 10;
    if (min == 60.0) {
        min = 0;
        if (pair.deg == std::numeric_limits<std::int16_t>::max())
            return std::nullopt;
        pair.deg = static_cast<std::int16_t>(pair.deg + 1);
    }
    pair.min = min;
    return pair;
}

CalculationResult calculateReduction(const ReductionInput& input, ReductionRecord& record) {
    try {
        return {work(input, record), {}};
    } catch (const StepFailure& failure) {
        return {Outcome::ArithmeticFailure, failure.reason};
    } catch (const std::exception& e) {
        return {Outcome::ArithmeticFailure, e.what()};
    }
}

} // namespace reduction
