#include "cli/exactlines.h"

#include <cmath>

#include "printout/patterns.h"
#include "reduction/calculate.h"

namespace cli {
namespace {

// An altitude in degrees and minutes, the sign in front of both.
std::string altitudeText(double altitudeDeg) {
    const auto pair = reduction::splitDegMin(std::fabs(altitudeDeg), reduction::angleRounding);
    if (!pair) {
        return printout::formatNumber(altitudeDeg, printout::Pattern::Tenths) + "\u00B0";
    }
    return (altitudeDeg < 0 ? "-" : "") +
           printout::angleText(pair->deg, pair->min, printout::Pattern::TwoDigitTenths) + "'";
}

// A difference with its sign, but none when it rounds to zero: noise of the
// last bit should not read as "-0.00".
std::string signedText(double value, printout::Pattern pattern) {
    const std::string magnitude = printout::formatNumber(std::fabs(value), pattern);
    if (magnitude.find_first_not_of("0.") == std::string::npos) {
        return magnitude;
    }
    return (value < 0 ? "-" : "+") + magnitude;
}

} // namespace

std::vector<std::string> exactSolutionLines(const reduction::ExactSolution& exact) {
    using printout::Pattern;
    const std::string hc = "Exact: Hc = " + altitudeText(exact.Hc);
    const std::string dHc =
        "Table minus exact: Hc " + signedText(exact.dHcArcmin, Pattern::Hundredths) + "'";
    if (std::isnan(exact.Zn)) {
        return {hc + "  Zn undefined (zenith or pole)", dHc};
    }
    return {
        hc + "  Zn = " + printout::formatNumber(exact.Zn, Pattern::Hundredths) + "\u00B0",
        dHc + "  Zn " + signedText(exact.dZnDeg, Pattern::Hundredths) + "\u00B0",
    };
}

} // namespace cli
