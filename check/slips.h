#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string_view>

#include "check/values.h"
#include "reduction/calculate.h"

// The slips a navigator makes in the Q(x) and QQ(x) work form, in one table:
// the checker tries them to name the cause of a wrong number, the tests
// inject them into a reduction, and sightform's help and the manual list
// them from it.

namespace check {

enum class SlipId {
    TRuleMissed,
    TRuleWrong,
    WRuleMissed,
    WRuleWrong,
    URuleMissed,
    URuleWrong,
    ZRuleMissed,
    ZRuleWrong,
    UFormulaOtherNames,
    ComplementLookedUp,
    SumForDifference,
    LongitudeWrongWay,
    LhaOver360,
    DecimalAsMinutes,
    ZnOtherHemisphere,
    ZnOtherSide,
    RoundedOtherWay,
};
inline constexpr std::size_t slipCount = static_cast<std::size_t>(SlipId::RoundedOtherWay) + 1;

// The sight's entries as the reduction read them.
struct Entries {
    double GHA = 0;
    double Lo = 0; // west positive, east negative
    double Lat = 0;
    double Dec = 0;
    reduction::NorthSouth latName = reduction::NorthSouth::N;
    bool sameNames = true;
    reduction::Method method = reduction::Method::Q;
};

// What a slip sees at the step it may act on (internal to the checker).
struct Step;

// The value the slip gives at the step, or nullopt where the slip does not
// act there (the wrong step, or a rule that cannot be missed there).
using SlipFunction = std::optional<double> (*)(const Step& step);

struct SlipSpec {
    SlipId id;
    std::string_view key;   // stable identifier for JSON: "t-rule-missed"
    std::string_view name;  // short name: "t rule not applied"
    std::string_view words; // what went wrong and the right way, for a student
    SlipFunction apply;
};

// The whole catalogue, in a fixed order.
std::span<const SlipSpec> slipCatalogue();
const SlipSpec& slipSpec(SlipId id);

// Said of a wrong value that no slip of the catalogue reproduces.
inline constexpr std::string_view arithmeticSlipName = "arithmetic or reading slip";

// One slip made at one value.
struct InjectedSlip {
    SlipId slip;
    ValueId at;
};

// The values a navigator writes who works the entries by the method but
// makes the given slips, every later value worked on from the slipped ones.
// A value the slipped work cannot reach (a table value of an angle outside
// the table, u below 0) and every value after it is left out. With no slips
// this is the right form; nothing at all when the entries cannot be reduced.
WorkedValues workWithSlips(const reduction::ReductionInput& entries,
                           std::span<const InjectedSlip> slips);

} // namespace check
