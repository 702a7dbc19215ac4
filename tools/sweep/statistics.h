#pragma once

#include <array>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "reduction/calculate.h"
#include "tools/sweep/invariants.h"

// Counts and distributions gathered by the sweep, one set per thread, merged
// at the end.

namespace sweep {

// Absolute values in fixed bins; what lies past the last bin is counted
// there, and the largest value is kept exactly.
class Histogram {
  public:
    Histogram(double binWidth, std::size_t bins) : binWidth_(binWidth), bins_(bins, 0) {}

    void add(double x);
    void merge(const Histogram& other);
    std::uint64_t count() const { return count_; }
    double max() const { return max_; }
    // The upper edge of the bin holding the q-th fraction of the values
    // (0 < q <= 1), or the largest value where that lies in the last bin.
    double quantile(double q) const;
    // How many values exceed x, to the bin width.
    std::uint64_t countAbove(double x) const;

  private:
    double binWidth_;
    std::vector<std::uint32_t> bins_;
    std::uint64_t count_ = 0;
    double max_ = 0;
};

inline constexpr int methods = 2;
inline constexpr int outcomes = 3;
inline constexpr int failurePlaces = 5;
inline constexpr int bands = 4;
inline constexpr int tDegrees = 91; // whole degrees of the meridian angle, 0 to 90

// Meridian-angle bands 0-70, 70-80, 80-85, 85-90 and altitude bands 0-30,
// 30-60, 60-80, 80-90 (degrees), each including its lower edge.
// Declination bands 0-30 (the sun, moon and planets), 30-60, 60-80, 80-90.
int tBand(double tDeg);
int hcBand(double hcDeg);
int decBand(double decDeg);
extern const char* const tBandNames[bands];
extern const char* const hcBandNames[bands];
extern const char* const decBandNames[bands];

// The sights a navigator usually works: meridian angle, altitude and
// declination all below 80 degrees. The rule of thumb is read off these.
inline constexpr double ordinaryLimitDeg = 80;
const char* failurePlaceName(FailurePlace place);

// The sight with the largest difference seen so far in one class.
struct Worst {
    double value = -1;
    double tableHc = 0;
    double t = 0;
    reduction::ReductionInput input;
};

struct Distribution {
    Histogram hc{0.01, 20000}; // |table Hc - exact Hc|, minutes of arc
    Histogram zn{0.01, 18001}; // |table Zn - exact Zn|, degrees
    Worst worstHc, worstZn;
};

struct Statistics {
    Statistics();

    void add(const reduction::ReductionInput& input, const SightReport& report);
    void merge(const Statistics& other);

    std::uint64_t sights = 0;
    std::uint64_t outOfRange = 0;
    std::array<std::array<std::uint64_t, outcomes>, methods> byOutcome{};
    std::array<std::array<std::array<std::uint64_t, bands>, failurePlaces>, methods> failures{};
    // The meridian angles (0 to 90) at which Q(w) came out below 0, and the
    // highest altitude from which Q(Z) came out below 0.
    std::array<double, methods> qwFailureTMin{}, qwFailureTMax{}, qzFailureHcMin{};
    std::array<Distribution, methods> all;
    std::array<std::array<Distribution, bands>, methods> byT, byHc, byDec;
    std::array<Distribution, methods> ordinary;
    std::vector<std::vector<Histogram>> hcByTDegree; // per method, per whole degree of t
    // Sights where the difference exceeds the navigator's rule of thumb.
    std::array<std::uint64_t, methods> hcAboveHalfArcmin{}, hcAboveOneArcmin{};
    std::array<std::uint64_t, methods> znAboveTenthBelow80{}, znAboveOneBelow80{};
    std::array<std::uint64_t, methods> comparedBelow80{};
    // Largest bound derived for a sight, and the largest share of its bound a
    // difference used.
    std::array<double, methods> largestHcBound{}, largestZnBound{};

    std::uint64_t violations = 0;
    std::vector<std::string> violationTexts; // the first of them, with their entries
    std::size_t keepViolations = 1000;
};

// The summary in Markdown: counts by outcome and method, where sights could
// not be reduced, and the distributions of the differences.
void writeSummary(std::FILE* out, const Statistics& s);

// Per whole degree of the meridian angle, for gnuplot: t, then for Q(x) and
// QQ(x) the median, 99th percentile and largest |dHc| in minutes of arc.
void writePerDegree(std::FILE* out, const Statistics& s);

} // namespace sweep
