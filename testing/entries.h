#pragma once

// Entries for tests of everything that reduces a sight: the field texts as a
// user would type them, and the worked examples the printed forms are
// checked against.

#include "reduction/calculate.h"

namespace testentries {

inline reduction::ReductionInput
entries(reduction::Method method, const char* ghaDeg, const char* ghaMin, const char* decName,
        const char* decDeg, const char* decMin, const char* latName, const char* latDeg,
        const char* latMin, const char* loName, const char* loDeg, const char* loMin) {
    reduction::ReductionInput in;
    in.method = method;
    in.ghaDeg = ghaDeg;
    in.ghaMin = ghaMin;
    in.decName = *reduction::northSouthFromText(decName);
    in.decDeg = decDeg;
    in.decMin = decMin;
    in.latName = *reduction::northSouthFromText(latName);
    in.latDeg = latDeg;
    in.latMin = latMin;
    in.loName = *reduction::westEastFromText(loName);
    in.loDeg = loDeg;
    in.loMin = loMin;
    return in;
}

// GHA 54°12.3', declination N 20°15.0', latitude N 40°00.0', longitude
// W 70°00.0': same names, u over 90.
inline reduction::ReductionInput firstExample(reduction::Method method = reduction::Method::Q) {
    return entries(method, "54", "12.3", "N", "20", "15.0", "N", "40", "00.0", "W", "70", "00.0");
}

// GHA 250°30.0', declination N 15°00.0', latitude N 55°00.0', longitude
// E 10°00.0': t over 90, same names.
inline reduction::ReductionInput secondExample(reduction::Method method = reduction::Method::QQ) {
    return entries(method, "250", "30.0", "N", "15", "00.0", "N", "55", "00.0", "E", "10", "00.0");
}

// GHA 300°00.0', declination N 5°00.0', latitude S 50°00.0', longitude
// W 10°00.0': contrary names.
inline reduction::ReductionInput contraryExample(reduction::Method method = reduction::Method::Q) {
    return entries(method, "300", "00.0", "N", "5", "00.0", "S", "50", "00.0", "W", "10", "00.0");
}

} // namespace testentries
