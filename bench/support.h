#pragma once

#include <optional>
#include <random>
#include <string>
#include <vector>

#include "reduction/calculate.h"

// What the benchmarks that run sightform share: the sights they feed it, the
// rows they write them in, and the child's own costs.

namespace bench {

// A sight drawn over the ranges of the entry fields a navigator meets, both
// methods and all names, so the mix of complete forms and stops is that of
// real use.
reduction::ReductionInput randomSight(std::mt19937& random);

// The header of a batch file, and a sight's twelve cells of a row of one.
inline constexpr const char* entryHeader =
    "method,ghaDeg,ghaMin,decName,decDeg,decMin,latName,latDeg,latMin,lonName,lonDeg,lonMin";
std::string entryCells(const reduction::ReductionInput& in);

struct ChildRun {
    double cpuSeconds = 0;  // the child's own, user and system
    double wallSeconds = 0; // from the spawn to the end, what a user waits
    long peakKiB = 0;      // its peak resident memory
    int exitStatus = 0;
};

// Runs sightform with the arguments and its output thrown away, or nothing if
// it could not be started or did not exit. Timed by the child's own CPU, so a
// figure is the rate on one core whatever else the machine runs.
std::optional<ChildRun> runSightform(const std::vector<std::string>& arguments);

} // namespace bench
