#pragma once

#include <cstdint>

#include "reduction/table.h"

namespace reduction {

// Every value of one worked sight reduction, in the order the calculation
// produces them. Angles are decimal degrees; a Deg/Min pair is the display form
// of one angle (whole degrees, minutes to a tenth). Latitude and declination
// are held without sign; Lo is negative for an east longitude. Table values
// (Qv, Qw, QHc, QZ) carry two decimals.
//
// A calculation overwrites the fields in order; one that stops early leaves
// the later fields as the previous calculation left them.
struct ReductionRecord {
    double GHA = 0;
    double Lo = 0;
    double LHA = 0;
    std::int16_t LHADeg = 0;
    double LHAMin = 0;
    double t = 0;
    std::int16_t tDeg = 0;
    double tMin = 0;
    double tUsed = 0;
    std::int16_t tUsedDeg = 0;
    double tUsedMin = 0;
    bool tOver90 = false;
    std::int16_t LatDeg = 0;
    double LatMin = 0;
    std::int16_t DecDeg = 0;
    double DecMin = 0;
    double Lat = 0;
    double Dec = 0;
    std::int16_t coDecDeg = 0;
    double coDecMin = 0;
    double coDec = 0;
    double Qv = 0;
    double v = 0;
    std::int16_t vDeg = 0;
    double vMin = 0;
    double coV = 0;
    std::int16_t coVDeg = 0;
    double coVMin = 0;
    double Qw = 0;
    double w = 0;
    std::int16_t wDeg = 0;
    double wMin = 0;
    double wUsed = 0;
    std::int16_t wUsedDeg = 0;
    double wUsedMin = 0;
    // Latitude and declination have the same name: chooses the u formula,
    // the Z rule and the lines the worked form prints for them.
    bool sameNames = false;
    double u = 0;
    std::int16_t uDeg = 0;
    double uMin = 0;
    double uUsed = 0;
    std::int16_t uUsedDeg = 0;
    double uUsedMin = 0;
    bool uOver90 = false;
    double QHc = 0;
    double Hc = 0;
    std::int16_t HcDeg = 0;
    double HcMin = 0;
    double coHc = 0;
    std::int16_t coHcDeg = 0;
    double coHcMin = 0;
    double QZ = 0;
    double Z = 0;
    double ZUsed = 0;
    double Zn = 0;

    bool operator==(const ReductionRecord&) const = default;
};

} // namespace reduction
