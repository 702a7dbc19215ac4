#pragma once

#include "reduction/record.h"

namespace reduction {

// The sight worked exactly by spherical trigonometry, beside the table
// method, so that a navigator can tell an arithmetic slip from the method's
// own error.
struct ExactSolution {
    double Hc = 0;        // computed altitude, degrees (-90 to 90)
    double Zn = 0;        // true azimuth, degrees from north through east, [0, 360); NaN
                          // where it is undefined (body at the zenith, observer at a pole)
    double dHcArcmin = 0; // printed table Hc minus exact Hc, minutes of arc
    double dZnDeg = 0;    // printed table Zn minus exact Zn, degrees, (-180, 180]; NaN with Zn
};

// Works the record's own LHA, latitude and declination (so the entries are
// read exactly as the table method read them), with latitude and declination
// signed by their names: sin Hc = sin L sin d + cos L cos d cos t, and the
// azimuth from atan2. The differences use the printed values, Hc from HcDeg
// and HcMin and Zn to its tenth.
ExactSolution exactSolution(const reduction::ReductionRecord& record, bool latSouth, bool decSouth);

} // namespace reduction
