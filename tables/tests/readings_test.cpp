// The printed tables read as their first page says, held to the bounds it
// states: every minute and random tenths from 0°01' to 90° read forward and
// back, and random values read back (tablereadings reads every tenth and
// every hundredth).

#include <gtest/gtest.h>

#include <cmath>
#include <iostream>
#include <random>

#include "tables/readingerrors.h"
#include "tables/tablebook.h"

namespace {

using reduction::Method;
using tables::tenthsPerMinute;

class Readings : public testing::TestWithParam<Method> {};

TEST_P(Readings, StayWithinTheBoundsTheFirstPageStates) {
    tables::ReadingCheck check(GetParam());
    for (int tenths = tenthsPerMinute; tenths <= tables::lastTenths; tenths += tenthsPerMinute)
        check.readBothWays(tenths);
    std::mt19937 random(20240611);
    std::uniform_int_distribution<int> anyTenth(tenthsPerMinute, tables::lastTenths);
    const long long top = check.entries()[tenthsPerMinute].value * 100;
    std::uniform_int_distribution<long long> anyValue(0, top);
    for (int i = 0; i < 30000; ++i) {
        check.readBothWays(anyTenth(random));
        check.readBack(double(anyValue(random)) / 100);
    }
    const tables::ReadingErrors& errors = check.errors();
    std::cout << tables::errorsText(errors);
    RecordProperty("worstForward", std::to_string(errors.forward));
    RecordProperty("worstBackwardMinutes", std::to_string(errors.backward));
    EXPECT_LE(errors.forward, 0.5);
    EXPECT_LE(errors.backward, 0.1);
    EXPECT_LE(errors.steepAngle, 0.1);
    EXPECT_GT(errors.steepReads, 1000);
    EXPECT_EQ(errors.unread, 0);
}

INSTANTIATE_TEST_SUITE_P(BothMethods, Readings, testing::Values(Method::Q, Method::QQ),
                         [](const testing::TestParamInfo<Method>& info) {
                             return info.param == Method::Q ? "Q" : "QQ";
                         });

struct EdgeRow {
    const char* name;
    double value;
    std::optional<int> tenths;
};

class AngleEdges : public testing::TestWithParam<EdgeRow> {};

TEST_P(AngleEdges, ReadAsTheTableAllows) {
    const auto entries = tables::tableEntries(Method::Q);
    const auto read = tables::readAngle(entries, GetParam().value);
    ASSERT_EQ(read.has_value(), GetParam().tenths.has_value());
    if (read) {
        EXPECT_EQ(read->tenths, *GetParam().tenths);
    }
}

INSTANTIATE_TEST_SUITE_P(Q, AngleEdges,
                         testing::Values(EdgeRow{"ZeroIsNinety", 0, tables::lastTenths},
                                         EdgeRow{"FirstEntryIsZeroDegrees", 29377, 0},
                                         EdgeRow{"AboveTheFirstEntry", 29377.01, std::nullopt},
                                         EdgeRow{"Negative", -0.01, std::nullopt},
                                         EdgeRow{"NotANumber", NAN, std::nullopt},
                                         // 8143 at 0°01.0', 8047 at 0°01.1': the nearer entry.
                                         EdgeRow{"NearerOfTwoTenths", 8100, 10},
                                         EdgeRow{"HalfwayRoundsUp", 8095, 11}),
                         [](const testing::TestParamInfo<EdgeRow>& info) {
                             return info.param.name;
                         });

TEST(ValueEdges, NinetyDegreesAndTheFirstEntryAreReadAsPrinted) {
    const auto entries = tables::tableEntries(Method::QQ);
    EXPECT_EQ(tables::readValue(entries, tables::lastTenths).valueTenths, 0);
    EXPECT_EQ(tables::readValue(entries, 0).valueTenths, 503030);
}

} // namespace
