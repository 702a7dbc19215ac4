#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "reduction/record.h"
#include "reduction/table.h"

namespace reduction {

// The message shown when u comes out below 0: the body is below the horizon,
// or the entries do not belong together.
inline constexpr std::string_view checkDataMessage = "Check your data.";

// The message shown when a step of the calculation has no result (a meridian
// angle near 90, a body near the zenith, GHA plus an east longitude past 720
// degrees).
inline constexpr std::string_view arithmeticFailureMessage = "These entries cannot be reduced.";

// The names of the three lists. The window and sightform read a name's text
// once, where it comes in, into one of these; from there on only the core
// compares names, so "same name" is decided in one place.
enum class NorthSouth { N, S };
enum class WestEast { W, E };

// "N" or "S" ("W" or "E"), exactly as the lists hold them; nullopt otherwise.
std::optional<NorthSouth> northSouthFromText(std::string_view text);
std::optional<WestEast> westEastFromText(std::string_view text);
std::string_view nameText(NorthSouth name);
std::string_view nameText(WestEast name);

// What the user entered, as the window holds it: the eight field texts
// exactly as typed (read with TextValue), the three names and the method.
struct ReductionInput {
    std::string ghaDeg, ghaMin;
    std::string decDeg, decMin;
    std::string latDeg, latMin;
    std::string loDeg, loMin;
    NorthSouth decName = NorthSouth::N;
    NorthSouth latName = NorthSouth::N;
    WestEast loName = WestEast::W;
    Method method = Method::Q;
};

enum class Outcome {
    Complete,          // every field written; the worked form can be printed
    CheckData,         // u < 0: stopped with checkDataMessage
    ArithmeticFailure, // a step had no result (see CalculationResult::reason)
};

struct CalculationResult {
    Outcome outcome = Outcome::Complete;
    // For ArithmeticFailure: which step failed and why, in a short phrase
    // ("invQ has no angle for the negative table value Qw = -0.01").
    std::string reason;
};

// A degree and minute pair: whole degrees and minutes to a tenth.
struct DegMin {
    std::int16_t deg = 0;
    double min = 0;
};

// The rounding offsets of splitDegMin. The hour angles (LHA, t and the t
// used in the table) round their minutes with a hair over one half: minutes
// typed to the hundredth on a half of a tenth (12.25) come back from the
// conversion to degrees and back a few ulps below the half, and the offset
// still rounds them up, as a navigator working by hand would.
inline constexpr double hourAngleRounding = 0.50000001;
inline constexpr double angleRounding = 0.5;

// Splits an angle in decimal degrees into whole degrees (rounded down) and
// minutes rounded to a tenth with the given offset; minutes that round to
// 60.0 carry into the degrees. nullopt when the degrees do not fit 16 bits or
// the angle is not finite.
std::optional<DegMin> splitDegMin(double angleDeg, double rounding);

// What a front end shows for an arithmetic failure: arithmeticFailureMessage,
// then on a second line the step that failed (CalculationResult::reason) made
// a sentence: a leading plain word gets a capital ("The table has no angle
// for Qw = -0.75 (below 0)."), a leading symbol such as "t" keeps its case.
// Only the first line when reason is empty.
std::string arithmeticFailureText(std::string_view reason);

// Works one complete sight reduction into record, step by step in the order of
// the printed work form. Fields are written as they are computed; on CheckData
// or ArithmeticFailure the fields not yet reached keep their earlier values.
// Never throws.
CalculationResult calculateReduction(const ReductionInput& input, ReductionRecord& record);

} // namespace reduction
