// sightform --check as a script runs it: the report, the JSON and the exit
// statuses that tell a class's forms apart.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli/batchrow.h"
#include "cli/tests/jsonread.h"
#include "cli/tests/sightformrun.h"

namespace {

using sightformrun::sightform;

const std::string header = cli::batchHeader() + ",LHA,Qv,v,Hc,Zn\n";
const std::string entries = "Q,54,12.3,N,20,15.0,N,40,00.0,W,70,00.0";
const std::string right = entries + ",344°12.3',1365.03,14°48.0',66°04.2',141.0\n";
// Qv taken as the difference Q(90 - dec) - Q(t); v, Hc and Zn follow from it.
const std::string slipped = entries + ",344°12.3',1237.43,16°52.2',64°57.0',136.7\n";

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> all;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t end = text.find('\n', at);
        all.push_back(text.substr(at, end - at));
        at = end == std::string::npos ? text.size() : end + 1;
    }
    return all;
}

TEST(SightformCheck, ExitZeroWhenEveryValueAgreesThreeWhenASlipIsFound) {
    const auto agrees = sightform({"--check", "-"}, header + right);
    EXPECT_EQ(agrees.status, 0) << agrees.err;
    EXPECT_NE(agrees.out.find("No slips."), std::string::npos) << agrees.out;

    const auto slip = sightform({"--check", "-"}, header + right + slipped);
    EXPECT_EQ(slip.status, 3) << slip.err;
    EXPECT_NE(slip.out.find("Row 3: "), std::string::npos);
    EXPECT_NE(slip.out.find("Slip 1: Q(v) 1237.43: sum taken for a difference"), std::string::npos)
        << slip.out;
}

TEST(SightformCheck, JsonOneObjectPerRowMalformedRowAsAnError) {
    using namespace jsonread;
    const auto run = sightform({"--check", "-", "--json", "--tolerance", "exact"},
                               header + slipped + entries + ",344°12.3',x,,,\n" + right);
    EXPECT_EQ(run.status, 65) << run.err;
    const std::vector<std::string> rows = lines(run.out);
    ASSERT_EQ(rows.size(), 3u);
    const auto first = parse(rows[0]);
    EXPECT_EQ(integer(member(first, "row")), 2);
    EXPECT_EQ(text(member(first, "tolerance")), "exact");
    const Value& slips = array(member(first, "slips"));
    ASSERT_EQ(slips.Size(), 1u);
    EXPECT_EQ(text(member(slips[0], "at")), "Qv");
    const Value& causes = array(member(slips[0], "causes"));
    ASSERT_EQ(causes.Size(), 1u);
    EXPECT_EQ(text(member(causes[0], "slip")), "sum-for-difference");
    const Value& values = array(member(first, "values"));
    ASSERT_EQ(values.Size(), 5u);
    EXPECT_EQ(text(member(values[2], "mark")), "follows");
    EXPECT_EQ(text(member(parse(rows[1]), "error")),
              "Q(v) takes a table value with at most two decimals (as 1365.03), not 'x'");
    EXPECT_TRUE(member(parse(rows[2]), "allAgree").IsTrue());
}

// A class file with a student's column: each row's report says whose it is,
// with --check and with --batch, in text and in JSON, a malformed row too.
TEST(SightformClassFile, OtherColumnsAreCarriedToEachRowsReport) {
    using namespace jsonread;
    const std::string file = "student," + cli::batchHeader() + ",LHA\nAnn Lee," + entries +
                             ",344 12.3\n\"Ng, Bo\"," + entries + ",344 12.x\n";
    for (const char* mode : {"--check", "--batch"}) {
        SCOPED_TRACE(mode);
        const auto report = sightform({mode, "-"}, file);
        EXPECT_NE(report.out.find("Row 2 (student: Ann Lee):"), std::string::npos) << report.out;
        EXPECT_NE(report.out.find("Row 3 (student: Ng, Bo):"), std::string::npos) << report.out;
        const std::vector<std::string> rows = lines(sightform({mode, "-", "--json"}, file).out);
        ASSERT_EQ(rows.size(), 2u);
        EXPECT_EQ(text(member(member(parse(rows[0]), "columns"), "student")), "Ann Lee");
        EXPECT_EQ(text(member(member(parse(rows[1]), "columns"), "student")), "Ng, Bo");
    }
}

TEST(SightformCheck, ABlankSheetIsNoPassingCheck) {
    using namespace jsonread;
    const auto run = sightform({"--check", "-", "--json"}, header + right + entries + ",,,,,\n");
    EXPECT_EQ(run.status, 65) << run.err;
    const std::vector<std::string> rows = lines(run.out);
    ASSERT_EQ(rows.size(), 2u) << run.out;
    EXPECT_TRUE(member(parse(rows[0]), "allAgree").IsTrue());
    EXPECT_TRUE(member(parse(rows[1]), "allAgree").IsFalse());
}

TEST(SightformCheck, UsageAndFileErrors) {
    EXPECT_EQ(sightform({"--check", "-", "--batch", "x.csv"}).status, 64);
    EXPECT_EQ(sightform({"--check", "-", "--gha", "1", "2"}).status, 64);
    EXPECT_EQ(sightform({"--check", "-", "--tolerance", "half"}).status, 64);
    EXPECT_EQ(sightform({"--tolerance", "exact"}).status, 64);
    EXPECT_EQ(sightform({"--check", "/nonexistent/forms.csv"}).status, 66);
    const auto badHeader = sightform({"--check", "-"}, entries + "\n");
    EXPECT_EQ(badHeader.status, 65);
    EXPECT_NE(badHeader.err.find("the first line must name the columns"), std::string::npos);
}

TEST(SightformCheck, HelpListsEverySlipOfTheCatalogue) {
    const auto help = sightform({"--help"});
    for (const char* key : {"t-rule-missed", "sum-for-difference", "rounded-other-way",
                            "arithmetic or reading slip", "--tolerance whole|tenths|exact"}) {
        EXPECT_NE(help.out.find(key), std::string::npos) << key;
    }
}

} // namespace
