#include "cli/exactsolution.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "printout/patterns.h"
#include "reduction/calculate.h"

namespace cli {
namespace {

constexpr double undefinedAzimuthBound = 1e-12;

double radians(double degrees) {
    return degrees * reduction::pi / 180;
}
double degrees(double radians) {
    return radians * 180 / reduction::pi;
}

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

ExactSolution exactSolution(const reduction::ReductionRecord& r, bool latSouth, bool decSouth) {
    const double lat = radians(latSouth ? -r.Lat : r.Lat);
    const double dec = radians(decSouth ? -r.Dec : r.Dec);
    const double lha = radians(r.LHA);

    // Rounding can carry the sine a hair past 1 at the zenith.
    const double sinHc = std::clamp(
        std::sin(lat) * std::sin(dec) + std::cos(lat) * std::cos(dec) * std::cos(lha), -1.0, 1.0);
    ExactSolution exact;
    exact.Hc = degrees(std::asin(sinHc));

    // Azimuth from north, positive eastward; a body west of the meridian
    // (LHA below 180) has a negative east component.
    const double east = -std::cos(dec) * std::sin(lha);
    const double north =
        std::sin(dec) * std::cos(lat) - std::cos(dec) * std::sin(lat) * std::cos(lha);
    const double tableHc = r.HcDeg + r.HcMin / 60;
    exact.dHcArcmin = (tableHc - exact.Hc) * 60;
    // Both components vanish at the zenith and at a pole, where no direction
    // exists; the bound is far below any azimuth the table can resolve.
    if (std::hypot(east, north) < undefinedAzimuthBound) {
        exact.Zn = std::numeric_limits<double>::quiet_NaN();
        exact.dZnDeg = exact.Zn;
        return exact;
    }
    double zn = degrees(std::atan2(east, north));
    if (zn < 0) {
        zn += 360;
    } else if (zn == 0) {
        zn = 0; // north is 0, not -0
    }
    exact.Zn = zn >= 360 ? zn - 360 : zn;

    // The table's 360.0 and an exact 0.1 are a tenth apart, not 359.9.
    double dZn = std::fmod(r.Zn - exact.Zn, 360.0);
    if (dZn > 180) {
        dZn -= 360;
    } else if (dZn <= -180) {
        dZn += 360;
    }
    exact.dZnDeg = dZn;
    return exact;
}

std::vector<std::string> exactSolutionLines(const ExactSolution& exact) {
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
