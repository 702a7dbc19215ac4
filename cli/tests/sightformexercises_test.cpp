// sightform --exercises as a class uses it: a seed it chose is named and
// writes the same rows again, the first row is the seed's New Exercise, and
// the rows feed --batch unchanged, every one a complete sight.

#include <gtest/gtest.h>

#include <regex>
#include <string>

#include "cli/batchrow.h"
#include "cli/tests/sightformrun.h"
#include "exercises/exercises.h"

namespace {

using sightformrun::ProgramRun;
using sightformrun::sightform;

TEST(SightformExercises, ANamedSeedWritesTheRowsAgainAndEveryRowIsComplete) {
    const ProgramRun chosen = sightform({"--exercises", "300", "--method", "QQ"});
    ASSERT_EQ(chosen.status, 0);
    std::smatch named;
    ASSERT_TRUE(std::regex_match(
        chosen.err, named,
        std::regex("sightform: exercises of seed ([0-9]+); --seed \\1 writes them again\n")))
        << chosen.err;
    const std::string seed = named[1].str();
    const ProgramRun again = sightform({"--method", "QQ", "--seed", seed, "--exercises", "300"});
    EXPECT_EQ(again.out, chosen.out);
    EXPECT_EQ(again.err, "");

    const std::string header = cli::batchHeader() + "\n";
    const std::string firstRow =
        cli::batchRowText(exercises::exercise(std::stoull(seed), reduction::Method::QQ)) + "\n";
    EXPECT_EQ(chosen.out.substr(0, header.size() + firstRow.size()), header + firstRow);

    // Text output: every row's block is its worked form, never a message,
    // and each form is the QQ(x) method's.
    const ProgramRun reduced = sightform({"--batch", "-"}, chosen.out);
    EXPECT_EQ(reduced.status, 0) << reduced.err;
    const std::regex block("Row [0-9]+:\n {20,}Sight Reduction by QQ\\(x\\) Table\n");
    const auto forms =
        std::distance(std::sregex_iterator(reduced.out.begin(), reduced.out.end(), block),
                      std::sregex_iterator());
    EXPECT_EQ(forms, 300);
}

} // namespace
