// sightform --exercises as a class uses it: the rows feed --batch unchanged
// and every one is a complete sight; a seed writes the same rows again, and
// its first row is the sight New Exercise fills in.

#include <gtest/gtest.h>

#include <regex>
#include <string>

#include "cli/batchrow.h"
#include "cli/tests/jsonread.h"
#include "cli/tests/sightformrun.h"
#include "exercises/exercises.h"

namespace {

using sightformrun::ProgramRun;
using sightformrun::sightform;

std::size_t lineCount(const std::string& text) {
    return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
}

TEST(SightformExercises, RowsFeedTheBatchAndEveryOneIsComplete) {
    constexpr int count = 300;
    const ProgramRun made = sightform({"--exercises", std::to_string(count), "--seed", "20240601"});
    ASSERT_EQ(made.status, 0) << made.err;
    EXPECT_EQ(made.err, "");
    ASSERT_EQ(lineCount(made.out), count + 1u);
    EXPECT_EQ(made.out.substr(0, made.out.find('\n')), cli::batchHeader());
    EXPECT_EQ(
        made.out.substr(made.out.find('\n') + 1,
                        made.out.find('\n', made.out.find('\n') + 1) - made.out.find('\n') - 1),
        cli::batchRowText(exercises::exercise(20240601)));

    const ProgramRun reduced = sightform({"--batch", "-", "--json"}, made.out);
    ASSERT_EQ(reduced.status, 0) << reduced.err;
    std::size_t rows = 0;
    for (std::size_t at = 0; at < reduced.out.size(); ++rows) {
        const std::size_t end = reduced.out.find('\n', at);
        const rapidjson::Document row = jsonread::parse(reduced.out.substr(at, end - at));
        EXPECT_EQ(jsonread::text(jsonread::member(row, "outcome")), "complete") << rows;
        EXPECT_GE(jsonread::number(jsonread::member(jsonread::member(row, "record"), "Hc")),
                  exercises::minAltitudeDeg)
            << rows;
        at = end + 1;
    }
    EXPECT_EQ(rows, static_cast<std::size_t>(count));
}

TEST(SightformExercises, AChosenSeedIsNamedAndWritesTheSameRowsAgain) {
    const ProgramRun chosen = sightform({"--exercises", "40", "--method", "QQ"});
    ASSERT_EQ(chosen.status, 0);
    std::smatch named;
    ASSERT_TRUE(std::regex_match(chosen.err, named,
                                 std::regex("sightform: exercises of seed ([0-9]{6}); "
                                            "--seed ([0-9]{6}) writes them again\n")))
        << chosen.err;
    EXPECT_EQ(named[1], named[2]);
    const ProgramRun again =
        sightform({"--method", "QQ", "--seed", named[1].str(), "--exercises", "40"});
    EXPECT_EQ(again.out, chosen.out);
    EXPECT_EQ(again.err, "");
    std::size_t byQQ = 0;
    for (std::size_t at = chosen.out.find('\n') + 1; at < chosen.out.size();
         at = chosen.out.find('\n', at) + 1) {
        byQQ += chosen.out.compare(at, 3, "QQ,") == 0 ? 1 : 0;
    }
    EXPECT_EQ(byQQ, 40u);
}

} // namespace
