#include "reduction/calculate.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

#include "entry/textvalue.h"
#include "reduction/steps.h"

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

// The failures, kept out of line: the steps that may throw stay small enough
// to be inlined, with no message built on the way of a reduction that works.
[[noreturn, gnu::cold, gnu::noinline]] void failTooLarge(const char* what, double x) {
    throw StepFailure{std::string(what) + " degrees " + number(x) + " are too large"};
}

[[noreturn, gnu::cold, gnu::noinline]] void failNotFinite(const char* what) {
    throw StepFailure{std::string(what) + " is not a finite number"};
}

[[noreturn, gnu::cold, gnu::noinline]] void failSplit(const char* what, double angleDeg) {
    throw StepFailure{std::string(what) + " = " + number(angleDeg) +
                      " degrees does not fit whole degrees"};
}

[[noreturn, gnu::cold, gnu::noinline]] void failTable(const char* what, double angleDeg) {
    throw StepFailure{"the table has no value for " + std::string(what) + " = " + number(angleDeg) +
                      " (outside 0 to 180 degrees)"};
}

[[noreturn, gnu::cold, gnu::noinline]] void failAngle(const char* what, double tableValue) {
    throw StepFailure{"the table has no angle for " + std::string(what) + " = " +
                      number(tableValue) + " (below 0)"};
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
        failTooLarge(what, x);
    return static_cast<std::int16_t>(r);
}

double finite(double x, const char* what) {
    if (!std::isfinite(x))
        failNotFinite(what);
    return x;
}

DegMin split(double angleDeg, double rounding, const char* what) {
    const auto pair = splitDegMin(angleDeg, rounding);
    if (!pair)
        failSplit(what, angleDeg);
    return *pair;
}

double tableValue(double angleDeg, Method method, const char* what) {
    const double q = Q(angleDeg, method);
    if (std::isnan(q))
        failTable(what, angleDeg);
    return q;
}

double angleOf(double tableValue, Method method, const char* what) {
    const double angle = invQ(tableValue, method);
    if (std::isnan(angle))
        failAngle(what, tableValue);
    return angle;
}

void store(std::int16_t& deg, double& min, DegMin pair) {
    deg = pair.deg;
    min = pair.min;
}

// The steps of the work form, in order. Each value goes into the record as
// soon as it is known, so a stop leaves exactly the fields reached.
Outcome work(const ReductionInput& in, ReductionRecord& r) {
    const Method m = in.method;

    r.tOver90 = false;
    r.uOver90 = false;

    r.GHA = finite(TextValue(in.ghaDeg) + TextValue(in.ghaMin) / 60, "GHA");

    r.Lo = finite(TextValue(in.loDeg) + TextValue(in.loMin) / 60, "the longitude");
    if (in.loName == WestEast::E)
        r.Lo = -r.Lo;

    r.LHA = localHourAngle(r.GHA, r.Lo);

    store(r.LHADeg, r.LHAMin, split(r.LHA, hourAngleRounding, "LHA"));

    r.t = meridianAngle(r.LHA);
    store(r.tDeg, r.tMin, split(r.t, hourAngleRounding, "t"));

    r.tUsed = r.t;
    if (tRuleApplies(r.t)) {
        r.tUsed = 180 - r.t;
        r.tOver90 = true;
    }
    store(r.tUsedDeg, r.tUsedMin, split(r.tUsed, hourAngleRounding, "t"));

    r.LatDeg = wholeDegrees(TextValue(in.latDeg), "latitude");
    r.LatMin = finite(TextValue(in.latMin), "the latitude minutes");
    r.DecDeg = wholeDegrees(TextValue(in.decDeg), "declination");
    r.DecMin = finite(TextValue(in.decMin), "the declination minutes");
    r.Lat = r.LatMin / 60 + r.LatDeg;
    r.Dec = r.DecMin / 60 + r.DecDeg;

    const DegMin coDec = split(std::fabs(90 - r.Dec), angleRounding, "90 - dec");
    store(r.coDecDeg, r.coDecMin, coDec);
    r.coDec = rebuiltAngle(coDec);

    r.Qv = tableValue(r.tUsed, m, "t") + tableValue(r.coDec, m, "90 - dec");
    r.v = angleOf(r.Qv, m, "Qv");
    const DegMin v = split(r.v, angleRounding, "v");
    store(r.vDeg, r.vMin, v);

    r.coV = complementOf(v);
    store(r.coVDeg, r.coVMin, split(r.coV, angleRounding, "90 - v"));

    r.Qw = tableValue(r.Dec, m, "dec") - tableValue(r.coV, m, "90 - v");
    r.w = angleOf(r.Qw, m, "Qw");
    store(r.wDeg, r.wMin, split(r.w, angleRounding, "w"));

    r.wUsed = r.w;
    if (r.tOver90)
        r.wUsed = 180 - r.w;
    store(r.wUsedDeg, r.wUsedMin, split(r.wUsed, angleRounding, "w"));

    r.sameNames = in.latName == in.decName;
    r.u = uFormula(r.wUsed, r.Lat, r.sameNames);

    if (r.u < 0)
        return Outcome::CheckData;

    store(r.uDeg, r.uMin, split(r.u, angleRounding, "u"));
    r.uUsed = r.u;
    if (uRuleApplies(r.u)) {
        r.uUsed = 180 - r.u;
        r.uOver90 = true;
    }
    store(r.uUsedDeg, r.uUsedMin, split(r.uUsed, angleRounding, "u"));

    r.QHc = tableValue(r.uUsed, m, "u") + tableValue(r.coV, m, "90 - v");
    r.Hc = angleOf(r.QHc, m, "QHc");
    const DegMin Hc = split(r.Hc, angleRounding, "Hc");
    store(r.HcDeg, r.HcMin, Hc);

    r.coHc = complementOf(Hc);
    store(r.coHcDeg, r.coHcMin, split(r.coHc, angleRounding, "90 - Hc"));

    r.QZ = tableValue(r.v, m, "v") - tableValue(r.coHc, m, "90 - Hc");
    r.Z = angleOf(r.QZ, m, "QZ");

    r.ZUsed = r.Z;
    if (zRuleApplies(r.sameNames, r.uOver90))
        r.ZUsed = 180 - r.Z;

    // The unrounded LHA and ZUsed decide.
    r.Zn = trueAzimuth(r.ZUsed, in.latName, r.LHA);

    r.ZUsed = roundTenth(r.ZUsed);
    r.Zn = roundTenth(r.Zn);
    return Outcome::Complete;
}

} // namespace

std::optional<NorthSouth> northSouthFromText(std::string_view text) {
    if (text == "N")
        return NorthSouth::N;
    if (text == "S")
        return NorthSouth::S;
    return std::nullopt;
}

std::optional<WestEast> westEastFromText(std::string_view text) {
    if (text == "W")
        return WestEast::W;
    if (text == "E")
        return WestEast::E;
    return std::nullopt;
}

std::string_view nameText(NorthSouth name) {
    return name == NorthSouth::N ? "N" : "S";
}

std::string_view nameText(WestEast name) {
    return name == WestEast::W ? "W" : "E";
}

std::string arithmeticFailureText(std::string_view reason) {
    std::string text(arithmeticFailureMessage);
    if (reason.empty())
        return text;
    std::string line(reason);
    const std::string_view first = reason.substr(0, reason.find(' '));
    const bool plainWord = first.size() > 1 && std::all_of(first.begin(), first.end(), [](char c) {
                               return c >= 'a' && c <= 'z';
                           });
    if (plainWord)
        line[0] = static_cast<char>(line[0] - 'a' + 'A');
    if (line.back() != '.')
        line += '.';
    return text + '\n' + line;
}

std::optional<DegMin> splitDegMin(double angleDeg, double rounding) {
    const double whole = std::floor(angleDeg);
    if (!fitsInt16(whole))
        return std::nullopt;
    DegMin pair;
    pair.deg = static_cast<std::int16_t>(whole);
    // whole is pair.deg exactly; taking it spares a conversion back.
    double min = (angleDeg - whole) * 60;
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
