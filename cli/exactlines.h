#pragma once

#include <string>
#include <vector>

#include "reduction/exactsolution.h"

namespace cli {

// The two text lines sightform prints after the worked form; an undefined
// azimuth is said so rather than given a number.
std::vector<std::string> exactSolutionLines(const reduction::ExactSolution& exact);

} // namespace cli
