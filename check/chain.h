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

// The entries as the reduction read them, from its record.
Entries entriesOf(const reduction::ReductionInput& input, const reduction::ReductionRecord& record);

// ±tolerance of one table reading, in table units.
double readingTolerance(Tolerance tolerance);

// The values a step is worked from; empty for the steps worked from the
// entries alone.
std::span<const ValueId> inputsOf(ValueId id);

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
