#pragma once

#include <array>
#include <span>

#include "check/check.h"
#include "check/slips.h"
#include "check/values.h"

// The work form worked step by step from whatever values are at hand: the
// right values, or the navigator's own where given, with a slip where one is
// injected. Each step uses the reduction's own rules and table functions,
// so a form worked from the right values is the reduction to the last bit.
// Internal to the checker.

namespace check {

// A worked value and the range that table readings within the tolerance
// allow around it (lo <= value <= hi; all three equal where no reading is
// involved). NaN where the step has no result.
struct Worked {
    double value;
    double lo;
    double hi;
};

// Every value of a form as far as it is worked: the value each later step
// uses (the navigator's own where given) and its reading range.
struct FormState {
    std::array<double, valueCount> value;
    std::array<double, valueCount> lo;
    std::array<double, valueCount> hi;

    Worked operator[](ValueId id) const { return {value[index(id)], lo[index(id)], hi[index(id)]}; }
    void set(ValueId id, Worked w) {
        value[index(id)] = w.value;
        lo[index(id)] = w.lo;
        hi[index(id)] = w.hi;
    }
};

// How a step works its value: from its inputs, in the order its row lists
// them, and the entries. A step sees nothing else, so the values a step is
// worked from are exactly those its row lists.
enum class Operation {
    HourAngle,         // LHA from GHA and the longitude
    MeridianAngle,     // t from (LHA)
    TRule,             // t after its rule, from (t)
    CoDec,             // 90 - dec, rebuilt from its pair, from the declination
    LookUp,            // the table value of (an angle)
    LookUpDeclination, // the table value of the declination
    Sum,               // (a) + (b)
    Difference,        // (a) - (b)
    Inverse,           // the angle of (a table value)
    Complement,        // 90 - (an angle) as printed
    WRule,             // w after its rule, from (w, t)
    UFormula,          // u from (w after its rule) and the latitude
    URule,             // u after its rule, from (u)
    ZRule,             // Z after its rule, from (Z, u)
    TrueAzimuth,       // Zn from (Z after its rule, LHA)
};

inline constexpr std::size_t maxInputs = 2;

// One step of the form: the value it gives, how, and from which values.
struct StepRule {
    ValueId id;
    Operation operation;
    std::array<ValueId, maxInputs> inputs;
    std::size_t inputCount;

    constexpr std::span<const ValueId> inputList() const { return {inputs.data(), inputCount}; }
};

// The step that gives a value.
const StepRule& stepRule(ValueId id);

// What a slip sees at the step it may act on: the entries, the step's
// inputs as worked so far (the navigator's own where given), and the value
// the method's rules give there from them.
struct Step {
    const StepRule& rule;
    const Entries& entries;
    std::array<double, maxInputs> in; // in the order of rule.inputs
    double right;                     // the value by the method's rules, before it is printed
    double raw;                       // the same before the step's own rounding (the table's two
                                      // decimals, Zn's tenth), equal to right where there is none
    double unit;                      // that rounding's unit, 0 where there is none
};

// The entries as the reduction read them, from its record.
Entries entriesOf(const reduction::ReductionInput& input, const reduction::ReductionRecord& record);

// ±tolerance of one table reading, in table units.
double readingTolerance(Tolerance tolerance);

// The values a step is worked from; empty for the steps worked from the
// entries alone.
inline std::span<const ValueId> inputsOf(ValueId id) {
    return stepRule(id).inputList();
}

// One step worked from the values in state before it, with the given slip
// there (nullptr: none). A slip that does not act there leaves the step as
// the rules give it.
Worked workStep(ValueId id, const Entries& entries, const FormState& state, double tolerance,
                const SlipSpec* slip = nullptr);

// A whole form: every step worked in order, a given value taking the place
// of the worked one (the worked one, in full precision, where the two print
// alike, with the given one in its range), the slips injected where they
// act. expected holds each step's
// value as worked from the values before it, before a given value replaces
// it.
struct FormWork {
    FormState state;
    std::array<Worked, valueCount> expected;
};

FormWork workForm(const Entries& entries, double tolerance, const WorkedValues& given,
                  std::span<const InjectedSlip> slips);

// The right form with what table readings allow where the navigator read
// the tables: at each value the navigator gave, the right value with no
// range (what the next step is read from), elsewhere the right value with
// its range. expected then holds, for each given value, the right value
// and its own reading range.
FormWork workRightForm(const Entries& entries, double tolerance, const WorkedValues& given);

// True when x prints as one of the values of w's range.
bool withinRange(ValueId id, double x, const Worked& w);

} // namespace check
