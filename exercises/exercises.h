#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "entry/fields.h"
#include "exercises/random.h"
#include "reduction/calculate.h"
#include "reduction/record.h"

// Practice sights: entries as a navigator copies them from the almanac and
// the DR (GHA and declination to a tenth of a minute, DR latitude and
// longitude to whole or tenth minutes), each of which the method reduces
// completely with the body from 5 to 85 degrees above the horizon. A seed
// gives the same sights on every platform: every choice is an integer drawn
// from SplitMix64, and every sight is tried with the reduction itself.

namespace exercises {

// The computed altitude of every exercise lies in this range, in degrees:
// high enough above the horizon to be observed, low enough that the
// azimuth still means something.
inline constexpr double minAltitudeDeg = 5;
inline constexpr double maxAltitudeDeg = 85;

// The sights come in blocks of this many. Every block holds each case of the
// method in a fixed number (below), in an order and with values of its own,
// so any run of ten blocks holds each case at least nine times that number:
//   t over 90: 2, u over 90: 2, contrary names: 3, south latitude: 3, east
//   longitude: 3, GHA and longitude past 360: 2, LHA given with the
//   longitude at 0: 2, and with both methods, each 5.
inline constexpr std::size_t blockSize = 10;

// A stream of exercises from one seed. method: every sight by that method;
// without, each block has half by each.
class ExerciseStream {
  public:
    explicit ExerciseStream(std::uint64_t seed,
                            std::optional<reduction::Method> method = std::nullopt);

    // The next exercise; the same seed and method give the same ones in the
    // same order.
    reduction::ReductionInput next();

    // What the rules of the method make of a sight: the cases each block
    // holds.
    enum class Names { Ordinary, TOver90, UOver90, Contrary };
    enum class Longitude { West, East, EastPast360, WestPast360, LhaGiven };
    struct Case {
        Names names = Names::Ordinary;
        reduction::NorthSouth latitude = reduction::NorthSouth::N;
        Longitude longitude = Longitude::West;
        reduction::Method method = reduction::Method::Q;
    };

  private:
    void newBlock();
    // Entries drawn for the case, or nullopt when these draws cannot make it.
    std::optional<reduction::ReductionInput> candidate(const Case& sight);
    // The reduction completes, within the altitudes, and applies the case's rules.
    bool fits(const Case& sight, const reduction::ReductionInput& input);

    SplitMix64 random_;
    std::optional<reduction::Method> method_;
    std::array<Case, blockSize> block_{};
    std::size_t nextInBlock_ = blockSize;
    reduction::ReductionRecord record_;
};

// The first exercise of the seed: what "New Exercise" fills in, and the
// first row of sightform --exercises with that seed.
reduction::ReductionInput exercise(std::uint64_t seed,
                                   std::optional<reduction::Method> method = std::nullopt);

// The eight field texts of a sight in the fields' own order (entry::FieldId),
// for a front end that fills its fields.
std::array<std::string, entry::fieldCount> fieldTexts(const reduction::ReductionInput& input);

// A seed as typed: decimal digits only (blanks around them dropped), from 0
// to 18446744073709551615; nullopt for anything else.
std::optional<std::uint64_t> seedFromText(std::string_view text);

// A new seed from the system's entropy, six digits long so that a class can
// read it out and type it.
std::uint64_t freshSeed();

} // namespace exercises
