#include "cli/exactlines.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace {

reduction::ExactSolution exact(double hcDeg, double znDeg, double dHcArcmin, double dZnDeg) {
    reduction::ExactSolution e;
    e.Hc = hcDeg;
    e.Zn = znDeg;
    e.dHcArcmin = dHcArcmin;
    e.dZnDeg = dZnDeg;
    return e;
}

TEST(ExactSolutionLines, AsSightformPrintsThem) {
    const double nan = std::nan("");
    const struct {
        const char* name;
        reduction::ExactSolution exact;
        std::vector<std::string> lines;
    } rows[] = {
        // Latitude and declination 45 at LHA 90, the table's Zn 305.3.
        {"azimuth difference signed",
         exact(30, 305.2643896827547, 0, 305.3 - 305.2643896827547),
         {"Exact: Hc = 30°00.0'  Zn = 305.26°", "Table minus exact: Hc 0.00'  Zn +0.04°"}},
        {"undefined azimuth said so",
         exact(90, nan, 0, nan),
         {"Exact: Hc = 90°00.0'  Zn undefined (zenith or pole)", "Table minus exact: Hc 0.00'"}},
        {"below the horizon the sign stands before the angle",
         exact(-(1 + 30.0 / 60), 90, -1.5, 0),
         {"Exact: Hc = -1°30.0'  Zn = 90.00°", "Table minus exact: Hc -1.50'  Zn 0.00°"}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(cli::exactSolutionLines(row.exact), row.lines);
    }
}

} // namespace
