#include "progress/progressline.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

struct TextCase {
    const char* name;
    long long done;
    long long total;
    double fraction;
    double seconds;
    const char* expected;
};

class ProgressText : public testing::TestWithParam<TextCase> {};

TEST_P(ProgressText, DoneRateAndTimeLeft) {
    const TextCase& c = GetParam();
    EXPECT_EQ(progress::progressText("sweep", "sights", c.done, c.total, c.fraction, c.seconds),
              c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, ProgressText,
    testing::Values(
        // 2.46 % done in 10 s: 395.8 s left, shown rounded up.
        TextCase{"WholeKnownInUnits", 1'200'000, 48'698'560, -1, 10,
                 "sweep: 1,200,000 of 48,698,560 sights, 120,000 sights/s, 6:36 left"},
        TextCase{"FractionFromElsewhere", 500, 0, 0.25, 8,
                 "sweep: 500 sights, 63 sights/s, 0:24 left"},
        TextCase{"WholeUnknown", 500, 0, -1, 2, "sweep: 500 sights, 250 sights/s"},
        TextCase{"HoursLeft", 1, 1000, -1, 10,
                 "sweep: 1 of 1,000 sights, 0 sights/s, 2:46:30 left"},
        TextCase{"NothingDoneYetHasNoTimeLeft", 0, 1000, -1, 1,
                 "sweep: 0 of 1,000 sights, 0 sights/s"}),
    [](const testing::TestParamInfo<TextCase>& info) { return std::string(info.param.name); });

// What a line writes, on a stream in memory, with a clock the test sets.
class ProgressLineTest : public testing::Test {
  protected:
    ~ProgressLineTest() override {
        std::fclose(stream);
        std::free(buffer);
    }
    std::string written() {
        std::fflush(stream);
        return {buffer, size};
    }

    char* buffer = nullptr;
    std::size_t size = 0;
    std::FILE* stream = open_memstream(&buffer, &size);
    double now = 100;
    progress::ProgressLine::Clock clock = [this] { return now; };
};

TEST_F(ProgressLineTest, DrawnInPlaceAFewTimesASecondThenCleared) {
    {
        progress::ProgressLine line(stream, "sightform", "rows", 0, clock);
        now += 0.1;
        line.update(10, 0.1);
        EXPECT_EQ(written(), "") << "quick work shows nothing";
        now += 0.15;
        line.update(25, 0.5);
        const std::string first = "\rsightform: 25 rows, 100 rows/s, 0:01 left";
        EXPECT_EQ(written(), first);
        now += 0.1;
        line.update(30, 0.6);
        EXPECT_EQ(written(), first) << "drawn again too soon";
        now += 0.15;
        line.update(1000, -1);
        // The shorter text blanks out the end of the longer one.
        const std::string second = "\rsightform: 1,000 rows, 2,000 rows/s";
        EXPECT_EQ(written(), first + second + std::string(first.size() - second.size(), ' '));
    }
    const std::string all = written();
    const std::size_t width = std::string("sightform: 25 rows, 100 rows/s, 0:01 left").size();
    EXPECT_TRUE(all.ends_with("\r" + std::string(width, ' ') + "\r")) << all;
}

TEST_F(ProgressLineTest, NothingDrawnNothingCleared) {
    {
        progress::ProgressLine line(stream, "sightform", "rows", 0, clock);
        line.update(5);
        line.finish();
    }
    EXPECT_EQ(written(), "");
    progress::ProgressLine silent(nullptr, "sightform", "rows");
    now += 10;
    silent.update(5);
    silent.finish();
}

} // namespace
