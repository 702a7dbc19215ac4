#include "check/chain.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>
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

using Op = Operation;

// A step's row, its inputs counted from the list.
constexpr StepRule step(ValueId id, Operation operation, std::initializer_list<ValueId> inputs) {
    StepRule rule{id, operation, {}, inputs.size()};
    std::copy(inputs.begin(), inputs.end(), rule.inputs.begin());
    return rule;
}

// The steps of the form, one row per value, in the order of the form.
constexpr std::array<StepRule, valueCount> stepRules{{
    step(V::LHA, Op::HourAngle, {}),
    step(V::t, Op::MeridianAngle, {V::LHA}),
    step(V::tUsed, Op::TRule, {V::t}),
    step(V::coDec, Op::CoDec, {}),
    step(V::Q_coDec, Op::LookUp, {V::coDec}),
    step(V::Q_tUsed, Op::LookUp, {V::tUsed}),
    step(V::Qv, Op::Sum, {V::Q_tUsed, V::Q_coDec}),
    step(V::v, Op::Inverse, {V::Qv}),
    step(V::coV, Op::Complement, {V::v}),
    step(V::Q_dec, Op::LookUpDeclination, {}),
    step(V::Q_coV, Op::LookUp, {V::coV}),
    step(V::Qw, Op::Difference, {V::Q_dec, V::Q_coV}),
    step(V::w, Op::Inverse, {V::Qw}),
    step(V::wUsed, Op::WRule, {V::w, V::t}),
    step(V::u, Op::UFormula, {V::wUsed}),
    step(V::uUsed, Op::URule, {V::u}),
    step(V::Q_uUsed, Op::LookUp, {V::uUsed}),
    step(V::QHc, Op::Sum, {V::Q_uUsed, V::Q_coV}),
    step(V::Hc, Op::Inverse, {V::QHc}),
    step(V::coHc, Op::Complement, {V::Hc}),
    step(V::Q_v, Op::LookUp, {V::v}),
    step(V::Q_coHc, Op::LookUp, {V::coHc}),
    step(V::QZ, Op::Difference, {V::Q_v, V::Q_coHc}),
    step(V::Z, Op::Inverse, {V::QZ}),
    step(V::ZUsed, Op::ZRule, {V::Z, V::u}),
    step(V::Zn, Op::TrueAzimuth, {V::ZUsed, V::LHA}),
}};

constexpr std::size_t inputCountOf(Operation operation) {
    switch (operation) {
    case Op::HourAngle:
    case Op::CoDec:
    case Op::LookUpDeclination:
        return 0;
    case Op::MeridianAngle:
    case Op::TRule:
    case Op::LookUp:
    case Op::Inverse:
    case Op::Complement:
    case Op::UFormula:
    case Op::URule:
        return 1;
    case Op::Sum:
    case Op::Difference:
    case Op::WRule:
    case Op::ZRule:
    case Op::TrueAzimuth:
        return 2;
    }
    return maxInputs + 1;
}

// Each row stands at its value's index, takes as many inputs as its
// operation reads, and every input is worked before the value (the slip
// search walks the steps back in one pass on this).
constexpr bool wellFormed() {
    for (std::size_t i = 0; i < stepRules.size(); ++i) {
        const StepRule& rule = stepRules[i];
        if (index(rule.id) != i || rule.inputCount != inputCountOf(rule.operation)) {
            return false;
        }
        for (const ValueId input : rule.inputList()) {
            if (index(input) >= i) {
                return false;
            }
        }
    }
    return true;
}
static_assert(wellFormed());

// The step by its rule, from the inputs its row lists.
StepValue rulesStep(const StepRule& rule, const Entries& e, const std::array<Worked, maxInputs>& in,
                    double tol) {
    const Method m = e.method;
    switch (rule.operation) {
    case Op::HourAngle:
        return printedAngle(point(reduction::localHourAngle(e.GHA, e.Lo)));
    case Op::MeridianAngle:
        return printedAngle(
            mapped(in[0], reduction::meridianAngle(in[0].value), reduction::meridianAngle));
    case Op::TRule:
        return ruled(in[0], reduction::tRuleApplies(in[0].value), tenthOfMinute);
    case Op::CoDec:
        return rebuilt(std::fabs(90 - e.Dec));
    case Op::LookUp:
        return lookup(in[0], m, tol);
    case Op::LookUpDeclination:
        return lookup(point(e.Dec), m, tol);
    case Op::Sum:
        return sum(in[0], in[1]);
    case Op::Difference:
        return difference(in[0], in[1]);
    case Op::Inverse:
        return inverse(in[0], m, tol);
    case Op::Complement:
        return complement(in[0]);
    case Op::WRule:
        return ruled(in[0], reduction::tRuleApplies(in[1].value), tenthOfMinute);
    case Op::UFormula: {
        const auto u = [&](double wUsed) { return reduction::uFormula(wUsed, e.Lat, e.sameNames); };
        return printedAngle(mapped(in[0], u(in[0].value), u));
    }
    case Op::URule:
        return ruled(in[0], reduction::uRuleApplies(in[0].value), tenthOfMinute);
    case Op::ZRule: {
        const bool applies =
            reduction::zRuleApplies(e.sameNames, reduction::uRuleApplies(in[1].value));
        return ruled(in[0], applies, tenthOfDegree);
    }
    case Op::TrueAzimuth: {
        const double LHA = in[1].value;
        const auto zn = [&](double ZUsed) { return reduction::trueAzimuth(ZUsed, e.latName, LHA); };
        return {mapped(in[0], zn(in[0].value), zn), zn(in[0].value), tenthOfDegree};
    }
    }
    return {point(none), none, 0};
}

// The values a written number may stand for where the form goes on from
// the value before it was written: an azimuth is worked to a hundredth of
// a degree (the table's inverse) and written to a tenth, and Z goes into
// its rule and Z after its rule into Zn unrounded, so the navigator's own
// hundredths are any that print as the tenth written. Every other value
// is written with all its digits (an angle of the form's to a hundredth of
// a degree is a whole number of tenths of a minute).
Worked standsFor(ValueId id, double x) {
    if (valueKind(id) != ValueKind::Azimuth) {
        return point(x);
    }
    constexpr double hundredthsPerDegree = 100;
    constexpr int halfATenth = 5;
    const long long written = printedUnits(id, x);
    const double nearest = std::round(x * hundredthsPerDegree);
    Worked range = point(x);
    for (int k = -halfATenth; k <= halfATenth; ++k) {
        const double y = (nearest + k) / hundredthsPerDegree;
        if (printedUnits(id, y) == written) {
            range.lo = std::min(range.lo, y);
            range.hi = std::max(range.hi, y);
        }
    }
    return range;
}

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

const StepRule& stepRule(ValueId id) {
    return stepRules[index(id)];
}

Worked workStep(ValueId id, const Entries& entries, const FormState& state, double tolerance,
                const SlipSpec* slip) {
    const StepRule& rule = stepRule(id);
    // What the row does not list stays out of reach.
    std::array<Worked, maxInputs> in;
    in.fill(point(none));
    for (std::size_t i = 0; i < rule.inputCount; ++i) {
        in[i] = state[rule.inputs[i]];
    }
    const StepValue step = rulesStep(rule, entries, in, tolerance);
    Worked worked = step.worked;
    if (slip != nullptr && !std::isnan(worked.value)) {
        const Step seen{rule,         entries,  {in[0].value, in[1].value},
                        worked.value, step.raw, step.unit};
        if (const auto slipped = slip->apply(seen)) {
            // The navigator goes on from the slipped value as written down,
            // which keeps the reading range the step has.
            const double written = writtenValue(id, *slipped);
            const double shift = written - worked.value;
            worked = {written, worked.lo + shift, worked.hi + shift};
        }
    }
    // No angle of the form is negative: the table has no entry for one, and
    // u below 0 ends the form ("Check your data."). So neither is any value
    // a reading may give: the range stops at 0.
    if (valueKind(id) == ValueKind::Angle) {
        if (worked.value < 0) {
            return point(none);
        }
        worked.lo = std::max(worked.lo, 0.0);
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
            continue;
        }
        const Worked written = standsFor(id, *x);
        if (!std::isnan(worked.value) && printedUnits(id, *x) == printedUnits(id, worked.value)) {
            // The navigator's value is the worked one as printed: go on from
            // the worked one in full precision, as the reduction does, and
            // allow what the navigator's own value may have been.
            work.state.set(id, {worked.value, std::min(worked.value, written.lo),
                                std::max(worked.value, written.hi)});
        } else {
            work.state.set(id, written);
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
