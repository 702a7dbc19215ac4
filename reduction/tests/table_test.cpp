#include "reduction/table.h"

#include <cmath>

#include <gtest/gtest.h>

namespace {

using reduction::Method;

struct TableRow {
    const char* name;
    Method method;
    double argument;
    double expected; // the printed table's value, as the double nearest to it
};

class QValues : public testing::TestWithParam<TableRow> {};

TEST_P(QValues, MatchTheTable) {
    const TableRow& row = GetParam();
    EXPECT_EQ(reduction::Q(row.argument, row.method), row.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Both, QValues,
    testing::Values(TableRow{"Q90", Method::Q, 90, 0}, TableRow{"Q89_99", Method::Q, 89.99, 0},
                    TableRow{"QQ90", Method::QQ, 90, 0}, TableRow{"QQ89_99", Method::QQ, 89.99, 0},
                    TableRow{"Q30", Method::Q, 30, 693.15}, TableRow{"Q45", Method::Q, 45, 346.57},
                    TableRow{"Q60", Method::Q, 60, 143.84},
                    TableRow{"QQ30", Method::QQ, 30, 1186.90},
                    TableRow{"QQ45", Method::QQ, 45, 593.45},
                    TableRow{"QQ60", Method::QQ, 60, 246.30},
                    TableRow{"Q120SameAs60", Method::Q, 120, 143.84},
                    TableRow{"Q0UsesSubstitute", Method::Q, 0, 29376.66},
                    TableRow{"QQ0UsesSubstitute", Method::QQ, 0, 50302.51}),
    [](const testing::TestParamInfo<TableRow>& info) { return info.param.name; });

class InvQValues : public testing::TestWithParam<TableRow> {};

TEST_P(InvQValues, MatchTheTable) {
    const TableRow& row = GetParam();
    EXPECT_EQ(reduction::invQ(row.argument, row.method), row.expected);
}

INSTANTIATE_TEST_SUITE_P(Both, InvQValues,
                         testing::Values(TableRow{"Q0IsNinety", Method::Q, 0, 90},
                                         TableRow{"QQ0IsNinety", Method::QQ, 0, 90},
                                         TableRow{"QHundredth", Method::Q, 0.01, 89.74},
                                         TableRow{"QQHundredth", Method::QQ, 0.01, 89.80},
                                         TableRow{"Q30", Method::Q, 693.15, 30},
                                         TableRow{"QQ30", Method::QQ, 1186.90, 30},
                                         TableRow{"QVeryLargeIsZero", Method::Q, 29376.6, 0}),
                         [](const testing::TestParamInfo<TableRow>& info) {
                             return info.param.name;
                         });

TEST(Q, Q180IsALargeFiniteValue) {
    // sin(pi) is a tiny positive double, so the far end of the table exists.
    const double q = reduction::Q(180, Method::Q);
    EXPECT_TRUE(std::isfinite(q));
    EXPECT_GT(q, 10000);
}

TEST(Q, HasNoValueOutsideZeroTo180) {
    for (double x : {-0.01, -90.0, 180.01, 270.0, 359.0, double(NAN), double(INFINITY)}) {
        EXPECT_TRUE(std::isnan(reduction::Q(x, Method::Q))) << x;
        EXPECT_TRUE(std::isnan(reduction::Q(x, Method::QQ))) << x;
    }
}

TEST(InvQ, HasNoAngleForNegativeOrNonFiniteValues) {
    for (double q : {-0.01, -1000.0, double(NAN), double(INFINITY), -double(INFINITY)}) {
        EXPECT_TRUE(std::isnan(reduction::invQ(q, Method::Q))) << q;
        EXPECT_TRUE(std::isnan(reduction::invQ(q, Method::QQ))) << q;
    }
}

TEST(InvQ, RoundTripsWholeDegreesInBothMethods) {
    // A table value read back gives its angle to the hundredth over the range
    // where the table is steep enough to resolve it.
    for (int deg = 1; deg <= 60; ++deg) {
        for (Method m : {Method::Q, Method::QQ}) {
            EXPECT_NEAR(reduction::invQ(reduction::Q(deg, m), m), deg, 0.011) << deg;
        }
    }
}

} // namespace
