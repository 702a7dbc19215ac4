#pragma once

// The two complete worked forms of the examples in testing/entries.h,
// as printed text, line by line, trailing blanks trimmed.

#include <string>
#include <vector>

namespace testforms {

// firstExample() under the Q(x) method.
inline const std::vector<std::string> firstExampleForm = {
    "                                 Sight Reduction by Q(x) Table",
    "LHA 344°12.3' -> t*  15°47.7'                    u*** = 90 - w + Lat (L and Dec same "
    "name)",
    "Q(v) = Q(90 - dec) + Q(t)                             = 90 - 20°58.8' + 40°00.0'",
    "     = Q(69°45.0') + Q(15°47.7')                      = 109°01.2' -> 70°58.8'",
    "     = 63.80 + 1301.23 = 1365.03                Q(Hc) = Q(90 - v) + Q(u)",
    "   v = 14°48.0'                                       = Q(75°12.0') + Q(70°58.8')",
    "Q(w) = Q(dec) - Q(90 - v)                             = 33.74 + 56.14 = 89.88",
    "     = Q(20°15.0') - Q(75°12.0')                   Hc = 66°04.2'",
    "     = 1060.98 - 33.74 = 1027.24                 Q(Z) = Q(v) - Q(90 - Hc)",
    " w** = 20°58.8'                                       = Q(14°48.0') - Q(23°55.8')",
    "                                                      = 1364.75 - 902.34 = 462.41",
    "                                                Z**** = 39.0° -> 141.0°",
    "                                                   Zn = 141.0°",
    "*If t>90 use t = 180 - t     **If original t>90 use w = 180 - w      ***If u>90 use u = "
    "180 - u",
    "****For contrary names or same name with original u>90 use Z = 180 - Z",
};

// secondExample() under the QQ(x) method.
inline const std::vector<std::string> secondExampleForm = {
    "                                 Sight Reduction by QQ(x) Table",
    "LHA 260°30.0' -> t*  99°30.0' -> 80°30.0'        u*** = 90 - w + Lat (L and Dec same "
    "name)",
    "Q(v) = Q(90 - dec) + Q(t)                             = 90 - 121°39.0' + 55°00.0'",
    "     = Q(75°00.0') + Q(80°30.0')                      = 23°21.0'",
    "     = 59.36 + 23.65 = 83.01                    Q(Hc) = Q(90 - v) + Q(u)",
    "   v = 72°18.0'                                       = Q(17°42.0') + Q(23°21.0')",
    "Q(w) = Q(dec) - Q(90 - v)                             = 2038.73 + 1584.70 = 3623.43",
    "     = Q(15°00.0') - Q(17°42.0')                   Hc = 6°55.2'",
    "     = 2314.43 - 2038.73 = 275.70                Q(Z) = Q(v) - Q(90 - Hc)",
    " w** = 58°21.0' -> 121°39.0'                          = Q(72°18.0') - Q(83°04.8')",
    "                                                      = 83.04 - 12.52 = 70.52",
    "                                                Z**** = 73.7°",
    "                                                   Zn = 73.7°",
    "*If t>90 use t = 180 - t     **If original t>90 use w = 180 - w      ***If u>90 use u = "
    "180 - u",
    "****For contrary names or same name with original u>90 use Z = 180 - Z",
};

} // namespace testforms
