#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "reduction/calculate.h"

// The sights of the whole-domain sweep, shared by the sweep itself and by the
// comparison of the native and WebAssembly builds, so both cover the same
// ground: a whole-degree grid (LHA 0 to 719 entered as GHA with the longitude
// empty, declination and latitude 0 to 90, the four pairs of names, both
// methods), then sampled sights with minutes in every field and longitudes
// that carry the LHA past 360 and 720.

namespace sweep {

// Sampled sights come in items of this many, so an item is a unit of work.
inline constexpr std::uint64_t samplesPerItem = 10'000;

// splitmix64: a small, well-mixed generator whose state is one number, so
// that draw i of a seed is the same whatever thread or build makes it.
struct Random {
    std::uint64_t state;
    std::uint64_t next() {
        std::uint64_t z = (state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    int below(int n) { return static_cast<int>(next() % static_cast<std::uint64_t>(n)); }
};

class SightGrid {
  public:
    // reduced: a coarse grid that keeps every edge where a rule changes
    // (t = 90, LHA = 180 and 360, the GHA bound) and the degrees beside them.
    explicit SightGrid(bool reduced);

    // One item per LHA degree and method.
    std::uint64_t items() const { return lha_.size() * 2; }
    // Sights in one item: every declination, latitude and pair of names.
    std::uint64_t sightsPerItem() const { return latDec_.size() * latDec_.size() * 4; }

    // Calls visit(const reduction::ReductionInput&) for each sight of the item.
    template <typename Visit> void forEachSight(std::uint64_t item, Visit&& visit) const {
        reduction::ReductionInput in;
        in.method = item % 2 == 0 ? reduction::Method::Q : reduction::Method::QQ;
        in.ghaDeg = degreeTexts_[static_cast<std::size_t>(lha_[item / 2])];
        for (const int dec : latDec_)
            for (const int lat : latDec_)
                for (const auto decName : {reduction::NorthSouth::N, reduction::NorthSouth::S})
                    for (const auto latName :
                         {reduction::NorthSouth::N, reduction::NorthSouth::S}) {
                        in.decDeg = degreeTexts_[static_cast<std::size_t>(dec)];
                        in.latDeg = degreeTexts_[static_cast<std::size_t>(lat)];
                        in.decName = decName;
                        in.latName = latName;
                        visit(static_cast<const reduction::ReductionInput&>(in));
                    }
    }

  private:
    std::vector<int> lha_, latDec_;
    std::vector<std::string> degreeTexts_; // "0" to "719"
};

// Sampled sight number index of the given seed: the same sight whoever draws
// it, and in whatever order.
reduction::ReductionInput sampledSight(std::uint64_t seed, std::uint64_t index);

// The sights of one run, as items of work that threads or chunks take in any
// order: the grid's items first, then the sampled sights numbered on from
// them.
class Sights {
  public:
    Sights(bool reduced, std::uint64_t samples, std::uint64_t seed)
        : grid_(reduced), samples_(samples), seed_(seed) {}

    std::uint64_t gridItems() const { return grid_.items(); }
    std::uint64_t sampleItems() const { return (samples_ + samplesPerItem - 1) / samplesPerItem; }
    std::uint64_t items() const { return gridItems() + sampleItems(); }
    std::uint64_t count() const { return gridItems() * grid_.sightsPerItem() + samples_; }

    // Calls visit(const reduction::ReductionInput&) for each sight of the item.
    template <typename Visit> void forEachSight(std::uint64_t item, Visit&& visit) const {
        if (item < gridItems()) {
            grid_.forEachSight(item, visit);
            return;
        }
        const std::uint64_t first = (item - gridItems()) * samplesPerItem;
        for (std::uint64_t i = first; i < std::min(first + samplesPerItem, samples_); ++i)
            visit(static_cast<const reduction::ReductionInput&>(sampledSight(seed_, i)));
    }

  private:
    SightGrid grid_;
    std::uint64_t samples_, seed_;
};

// The entries as sightform options, so that a sight can be rerun.
std::string describeEntries(const reduction::ReductionInput& input);

} // namespace sweep
