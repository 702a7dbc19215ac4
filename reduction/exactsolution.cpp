#include "reduction/exactsolution.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "reduction/calculate.h"

namespace reduction {
namespace {

constexpr double undefinedAzimuthBound = 1e-12;

double radians(double degrees) {
    return degrees * pi / 180;
}
double degrees(double radians) {
    return radians * 180 / pi;
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

} // namespace reduction
