#include "check/chain.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "reduction/steps.h"
#include "reduction/table.h"

namespace check {
namespace {

using reduction::angleRounding;
using reduction::DegMin;
using reduction::hourAngleRounding;
using reduction::Method;
using V = ValueId;

constexpr double none = std::numeric_limits<double>::quiet_NaN();

// The rounding units of the steps, as the slip "rounded the other way"
// sees them: the tables' two decimals, a tenth of a minute, a tenth of a
// degree.
constexpr double tableUnit = 0.01;
constexpr double tenthOfMinute = 1.0 / 600;
constexpr double tenthOfDegree = 0.1;

struct StepValue {
    Worked worked;
    double raw;
    double unit;
};

Worked point(double x) {
    return {x, x, x};
}

// f applied to the ends of w's range; f monotonic on it.
template <typename F> Worked mapped(const Worked& w, double value, F f) {
    const double a = f(w.lo);
    const double b = f(w.hi);
    return {value, std::min({a, b, value}), std::max({a, b, value})};
}

std::optional<DegMin> split(double angleDeg, double rounding) {
    return reduction::splitDegMin(angleDeg, rounding);
}

// An angle whose minutes the form rounds to a tenth before it is used on.
StepValue rebuilt(double angleDeg) {
    const auto pair = split(angleDeg, angleRounding);
    if (!pair) {
        return {point(none), none, 0};
    }
    return {point(reduction::rebuiltAngle(*pair)), angleDeg, tenthOfMinute};
}

// 90 - the angle as printed (v, Hc); its range moves with the angle's.
StepValue complement(const Worked& angle) {
    const auto pair = split(angle.value, angleRounding);
    if (!pair) {
        return {point(none), none, 0};
    }
    const double value = reduction::complementOf(*pair);
    return {mapped(angle, value, [](double x) { return 90 - x; }), value, 0};
}

// The table value of an angle, read within ±tolerance, over the angle's own
// range (Q falls to 0 at 90 and rises again beyond).
StepValue lookup(const Worked& angle, Method method, double tolerance) {
    const double value = reduction::Q(angle.value, method);
    const double a = reduction::Q(angle.lo, method);
    const double b = reduction::Q(angle.hi, method);
    double lo = std::min({a, b, value});
    const double hi = std::max({a, b, value});
    if (angle.lo <= 90 && angle.hi >= 90) {
        lo = 0;
    }
    return {{value, lo - tolerance, hi + tolerance},
            reduction::unroundedQ(angle.value, method),
            tableUnit};
}

// The angle of a table value, read back within ±tolerance: the table falls
// as the angle grows, so the highest value gives the smallest angle.
StepValue inverse(const Worked& q, Method method, double tolerance) {
    const double value = reduction::invQ(q.value, method);
    double lo = reduction::invQ(q.hi + tolerance, method);
    double hi = reduction::invQ(std::max(q.lo - tolerance, 0.0), method);
    if (std::isnan(lo) || std::isnan(hi)) {
        lo = hi = value;
    }
    return {{value, std::min(lo, value), std::max(hi, value)},
            reduction::unroundedInvQ(q.value, method),
            tableUnit};
}

StepValue sum(const Worked& a, const Worked& b) {
    return {{a.value + b.value, a.lo + b.lo, a.hi + b.hi}, a.value + b.value, 0};
}

StepValue difference(const Worked& a, const Worked& b) {
    return {{a.value - b.value, a.lo - b.hi, a.hi - b.lo}, a.value - b.value, 0};
}

// An angle printed from its unrounded value, with its range.
StepValue printedAngle(Worked w) {
    return {w, w.value, tenthOfMinute};
}

// x, or 180 - x where the rule applies.
StepValue ruled(const Worked& x, bool applies, double unit) {
    if (!applies) {
        return {x, x.value, unit};
    }
    const double value = 180 - x.value;
    return {mapped(x, value, [](double y) { return 180 - y; }), value, unit};
}

StepValue rulesStep(ValueId id, const Entries& e, const FormState& s, double tol) {
    const Method m = e.method;
    switch (id) {
    case V::LHA:
        return printedAngle(point(reduction::localHourAngle(e.GHA, e.Lo)));
    case V::t: {
        const Worked LHA = s[V::LHA];
        return printedAngle(
            mapped(LHA, reduction::meridianAngle(LHA.value), reduction::meridianAngle));
    }
    case V::tUsed: {
        const Worked t = s[V::t];
        return ruled(t, reduction::tRuleApplies(t.value), tenthOfMinute);
    }
    case V::coDec:
        return rebuilt(std::fabs(90 - e.Dec));
    case V::Q_coDec:
        return lookup(s[V::coDec], m, tol);
    case V::Q_tUsed:
        return lookup(s[V::tUsed], m, tol);
    case V::Qv:
        return sum(s[V::Q_tUsed], s[V::Q_coDec]);
    case V::v:
        return inverse(s[V::Qv], m, tol);
    case V::coV:
        return complement(s[V::v]);
    case V::Q_dec:
        return lookup(point(e.Dec), m, tol);
    case V::Q_coV:
        return lookup(s[V::coV], m, tol);
    case V::Qw:
        return difference(s[V::Q_dec], s[V::Q_coV]);
    case V::w:
        return inverse(s[V::Qw], m, tol);
    case V::wUsed:
        return ruled(s[V::w], reduction::tRuleApplies(s[V::t].value), tenthOfMinute);
    case V::u: {
        const auto u = [&](double wUsed) { return reduction::uFormula(wUsed, e.Lat, e.sameNames); };
        const Worked wUsed = s[V::wUsed];
        return printedAngle(mapped(wUsed, u(wUsed.value), u));
    }
    case V::uUsed: {
        const Worked u = s[V::u];
        return ruled(u, reduction::uRuleApplies(u.value), tenthOfMinute);
    }
    case V::Q_uUsed:
        return lookup(s[V::uUsed], m, tol);
    case V::QHc:
        return sum(s[V::Q_uUsed], s[V::Q_coV]);
    case V::Hc:
        return inverse(s[V::QHc], m, tol);
    case V::coHc:
        return complement(s[V::Hc]);
    case V::Q_v:
        return lookup(s[V::v], m, tol);
    case V::Q_coHc:
        return lookup(s[V::coHc], m, tol);
    case V::QZ:
        return difference(s[V::Q_v], s[V::Q_coHc]);
    case V::Z:
        return inverse(s[V::QZ], m, tol);
    case V::ZUsed: {
        const bool applies =
            reduction::zRuleApplies(e.sameNames, reduction::uRuleApplies(s[V::u].value));
        return ruled(s[V::Z], applies, tenthOfDegree);
    }
    case V::Zn: {
        const double LHA = s[V::LHA].value;
        const auto zn = [&](double ZUsed) { return reduction::trueAzimuth(ZUsed, e.latName, LHA); };
        const Worked ZUsed = s[V::ZUsed];
        return {mapped(ZUsed, zn(ZUsed.value), zn), zn(ZUsed.value), tenthOfDegree};
    }
    }
    return {point(none), none, 0};
}

constexpr V tInputs[] = {V::LHA};
constexpr V tUsedInputs[] = {V::t};
constexpr V qCoDecInputs[] = {V::coDec};
constexpr V qTUsedInputs[] = {V::tUsed};
constexpr V qvInputs[] = {V::Q_tUsed, V::Q_coDec};
constexpr V vInputs[] = {V::Qv};
constexpr V coVInputs[] = {V::v};
constexpr V qCoVInputs[] = {V::coV};
constexpr V qwInputs[] = {V::Q_dec, V::Q_coV};
constexpr V wInputs[] = {V::Qw};
constexpr V wUsedInputs[] = {V::w, V::t};
constexpr V uInputs[] = {V::wUsed};
constexpr V uUsedInputs[] = {V::u};
constexpr V qUUsedInputs[] = {V::uUsed};
constexpr V qhcInputs[] = {V::Q_uUsed, V::Q_coV};
constexpr V hcInputs[] = {V::QHc};
constexpr V coHcInputs[] = {V::Hc};
constexpr V qVInputs[] = {V::v};
constexpr V qCoHcInputs[] = {V::coHc};
constexpr V qzInputs[] = {V::Q_v, V::Q_coHc};
constexpr V zInputs[] = {V::QZ};
constexpr V zUsedInputs[] = {V::Z, V::u};
constexpr V znInputs[] = {V::ZUsed, V::LHA};

} // namespace

Entries entriesOf(const reduction::ReductionInput& input, const reduction::ReductionRecord& r) {
    return {r.GHA, r.Lo, r.Lat, r.Dec, input.latName, input.latName == input.decName, input.method};
}

double readingTolerance(Tolerance tolerance) {
    switch (tolerance) {
    case Tolerance::Whole:
        return 0.5;
    case Tolerance::Tenths:
        return 0.05;
    case Tolerance::Exact:
        return 0;
    }
    return 0;
}

std::span<const ValueId> inputsOf(ValueId id) {
    switch (id) {
    case V::LHA:
    case V::coDec:
    case V::Q_dec:
        return {};
    case V::t:
        return tInputs;
    case V::tUsed:
        return tUsedInputs;
    case V::Q_coDec:
        return qCoDecInputs;
    case V::Q_tUsed:
        return qTUsedInputs;
    case V::Qv:
        return qvInputs;
    case V::v:
        return vInputs;
    case V::coV:
        return coVInputs;
    case V::Q_coV:
        return qCoVInputs;
    case V::Qw:
        return qwInputs;
    case V::w:
        return wInputs;
    case V::wUsed:
        return wUsedInputs;
    case V::u:
        return uInputs;
    case V::uUsed:
        return uUsedInputs;
    case V::Q_uUsed:
        return qUUsedInputs;
    case V::QHc:
        return qhcInputs;
    case V::Hc:
        return hcInputs;
    case V::coHc:
        return coHcInputs;
    case V::Q_v:
        return qVInputs;
    case V::Q_coHc:
        return qCoHcInputs;
    case V::QZ:
        return qzInputs;
    case V::Z:
        return zInputs;
    case V::ZUsed:
        return zUsedInputs;
    case V::Zn:
        return znInputs;
    }
    return {};
}

Worked workStep(ValueId id, const Entries& entries, const FormState& state, double tolerance,
                const SlipSpec* slip) {
    const StepValue step = rulesStep(id, entries, state, tolerance);
    Worked worked = step.worked;
    if (slip != nullptr && !std::isnan(worked.value)) {
        const Step seen{id, entries, state.value, worked.value, step.raw, step.unit};
        if (const auto slipped = slip->apply(seen)) {
            // The navigator goes on from the slipped value as written down,
            // which keeps the reading range the step has.
            const double written = writtenValue(id, *slipped);
            const double shift = written - worked.value;
            worked = {written, worked.lo + shift, worked.hi + shift};
        }
    }
    // No angle of the form is negative: the table has no entry for one, and
    // u below 0 ends the form ("Check your data.").
    if (valueKind(id) == ValueKind::Angle && worked.value < 0) {
        return point(none);
    }
    return worked;
}

FormWork workForm(const Entries& entries, double tolerance, const WorkedValues& given,
                  std::span<const InjectedSlip> slips) {
    FormWork work;
    for (const ValueId id : allValues()) {
        const SlipSpec* slip = nullptr;
        for (const InjectedSlip& injected : slips) {
            if (injected.at == id) {
                slip = &slipSpec(injected.slip);
            }
        }
        const Worked worked = workStep(id, entries, work.state, tolerance, slip);
        work.expected[index(id)] = worked;
        const auto& x = given[id];
        if (!x) {
            work.state.set(id, worked);
        } else if (!std::isnan(worked.value) &&
                   printedUnits(id, *x) == printedUnits(id, worked.value)) {
            // The navigator's value is the worked one as printed: go on from
            // the worked one in full precision, as the reduction does, and
            // allow what the navigator's own written value gives (Zn from
            // the printed ZUsed can round the other way).
            work.state.set(id,
                           {worked.value, std::min(worked.value, *x), std::max(worked.value, *x)});
        } else {
            work.state.set(id, point(*x));
        }
    }
    return work;
}

FormWork workRightForm(const Entries& entries, double tolerance, const WorkedValues& given) {
    FormWork work;
    for (const ValueId id : allValues()) {
        const Worked worked = workStep(id, entries, work.state, tolerance);
        work.expected[index(id)] = worked;
        work.state.set(id, given[id] ? point(worked.value) : worked);
    }
    return work;
}

bool withinRange(ValueId id, double x, const Worked& w) {
    if (std::isnan(w.value)) {
        return false;
    }
    const long long units = printedUnits(id, x);
    if (units == printedUnits(id, w.value)) {
        return true;
    }
    if (!(w.lo < w.hi)) {
        return false;
    }
    return units >= printedUnits(id, w.lo) && units <= printedUnits(id, w.hi);
}

} // namespace check
