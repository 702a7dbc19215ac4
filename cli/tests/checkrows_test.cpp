// sightform --check's reading of a class file: the header, then one report
// per row, a malformed row reported under its number and naming its column
// while the others are still checked.

#include "cli/checkrows.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "cli/batchrow.h"
#include "cli/checkreport.h"

namespace {

using check::ValueId;

// The first worked example's entries.
const std::string entries = "Q,54,12.3,N,20,15.0,N,40,00.0,W,70,00.0";
const std::string header = cli::batchHeader() + ",LHA,t,Qv,v,Zn";

class Rows : public cli::CheckRowHandler {
  public:
    void row(const cli::CheckRow& row) override { rows.push_back(row); }
    std::vector<cli::CheckRow> rows;
};

struct CheckRun {
    cli::CheckSummary summary;
    std::vector<cli::CheckRow> rows;
};

CheckRun check(const std::string& input, check::Tolerance tolerance = check::Tolerance::Whole) {
    cli::BufferSource in(input);
    Rows rows;
    const cli::CheckSummary summary = cli::checkRows(in, tolerance, rows);
    return {summary, rows.rows};
}

TEST(CheckRows, EachRowCheckedMalformedRowsNameTheirColumnAndTheRestGoOn) {
    const CheckRun run =
        check(header + "\r\n" +                                           // line 1
              entries + ",344 12.3,15°47.7',1365.03,14°48.0',141.0\r\n" + // 2 right
              "\r\n" +                                                    // 3 blank
              entries + ",344 12.3,15 47.7,1365.03,14.8,141.0\r\n" +      // 4 v in degrees
              entries + ",344 12.3,,,,\r\n" +                             // 5 blanks
              entries + ",344 12.3,15 47.7,1365.03,14 48.0,219.0\r\n" +   // 6 a slip
              entries + ",344 12.3\r\n" +                                 // 7 cut short
              entries + ",1,2,3,4,5,6\r\n" +                              // 8 a cell too many
              "Q,54,62.3,N,20,15.0,N,40,00.0,W,70,00.0,,,,,\r\n");        // 9 minutes
    ASSERT_TRUE(run.summary.headerProblem.empty()) << run.summary.headerProblem;
    EXPECT_EQ(run.summary.rows, 7);
    EXPECT_EQ(run.summary.malformed, 3);
    EXPECT_EQ(run.summary.withSlips, 1);
    ASSERT_EQ(run.rows.size(), 7u);

    const std::vector<long long> numbers{2, 4, 5, 6, 7, 8, 9};
    for (std::size_t i = 0; i < numbers.size(); ++i) {
        EXPECT_EQ(run.rows[i].number, numbers[i]);
    }
    EXPECT_TRUE(run.rows[0].result.allAgree());
    EXPECT_EQ(run.rows[0].result.values.size(), 5u);
    EXPECT_EQ(run.rows[1].problem,
              "v takes degrees and minutes (as 15°47.7' or 15 47.7), not '14.8'");
    // Blank cells and missing cells at the end are values not given.
    EXPECT_EQ(run.rows[2].result.values.size(), 1u);
    EXPECT_EQ(run.rows[4].result.values.size(), 1u);
    ASSERT_EQ(run.rows[3].result.slips.size(), 1u);
    EXPECT_EQ(run.rows[3].result.slips[0].shownAt, ValueId::Zn);
    EXPECT_EQ(run.rows[5].problem, "expected 17 cells as the header names, found 18");
    EXPECT_EQ(run.rows[6].problem, "ghaMin takes at most 59.9, not '62.3'");
}

struct HeaderCase {
    const char* name;
    std::string input;
    const char* problem; // a part of it
};

class CheckHeader : public testing::TestWithParam<HeaderCase> {};

TEST_P(CheckHeader, IsRefusedAndNoRowIsChecked) {
    const CheckRun run = check(GetParam().input);
    EXPECT_NE(run.summary.headerProblem.find(GetParam().problem), std::string::npos)
        << run.summary.headerProblem;
    EXPECT_TRUE(run.rows.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Check, CheckHeader,
    testing::Values(
        HeaderCase{"Empty", "", "the input is empty"},
        HeaderCase{"NoHeader", entries + ",344 12.3\n", "no column is named method"},
        HeaderCase{"OtherColumnTwice", "student," + cli::batchHeader() + ",LHA,Student\n",
                   "names 'Student' twice"},
        HeaderCase{"EntryColumnTwice", cli::batchHeader() + ",ghadeg\n", "names ghaDeg twice"},
        HeaderCase{"Twice", cli::batchHeader() + ",Zn,Hc,zn\n", "names Zn twice"},
        HeaderCase{"EntryColumnsOutOfOrder",
                   "method,ghaMin,ghaDeg,decName,decDeg,decMin,latName,latDeg,latMin,lonName,"
                   "lonDeg,lonMin,LHA\n",
                   "column 2 is 'ghaMin'"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CheckRows, EntryColumnsInAnyLetterCaseAndValueColumnsInAnyOrder) {
    const CheckRun run = check("METHOD,GhaDeg,ghamin,decname,decdeg,decmin,latname,latdeg,latmin,"
                               "lonname,londeg,lonmin,Zn,Hc\n" +
                               entries + ",141.0,66°04.2'\n");
    ASSERT_EQ(run.rows.size(), 1u);
    EXPECT_TRUE(run.rows[0].result.allAgree());
    ASSERT_EQ(run.rows[0].result.values.size(), 2u);
    // Reported in the order of the form, whatever the order of the columns.
    EXPECT_EQ(run.rows[0].result.values[0].id, ValueId::Hc);
}

TEST(CheckRows, ACellOfASemicolonFileIsQuotedAsWritten) {
    const CheckRun run = check(cli::batchHeader(";") + ";LHA\nQ;54;62,3;N;20;15;N;40;0;W;70;0;\n" +
                               "Q;54;12,3;N;20;15;N;40;0;W;70;0;344 12,x\n");
    ASSERT_EQ(run.rows.size(), 2u);
    EXPECT_EQ(run.rows[0].problem, "ghaMin takes at most 59.9, not '62,3'");
    EXPECT_NE(run.rows[1].problem.find("not '344 12,x'"), std::string::npos) << run.rows[1].problem;
}

// Class files as spreadsheets write them: each file's one row is read, and
// its values agree.
struct ClassFileCase {
    const char* name;
    std::string file;
    std::size_t values;
    cli::OtherCells others = {};
    reduction::Method method = reduction::Method::Q;
};

class ClassFile : public testing::TestWithParam<ClassFileCase> {};

TEST_P(ClassFile, TheRowIsReadAndItsValuesAgree) {
    const CheckRun run = check(GetParam().file);
    ASSERT_EQ(run.summary.headerProblem, "");
    ASSERT_EQ(run.rows.size(), 1u);
    const cli::CheckRow& row = run.rows[0];
    ASSERT_TRUE(row.input) << row.problem;
    EXPECT_EQ(row.input->method, GetParam().method);
    EXPECT_TRUE(row.result.allAgree()) << cli::checkReportText(row);
    EXPECT_EQ(row.result.values.size(), GetParam().values);
    EXPECT_EQ(row.others, GetParam().others);
}

INSTANTIATE_TEST_SUITE_P(
    Check, ClassFile,
    testing::Values(
        ClassFileCase{"OtherColumnsAnywhere",
                      "student," + cli::batchHeader() + ",id,LHA\nAnn Lee," + entries +
                          ",\"7, row B\",344 12.3\n",
                      1,
                      {{"student", "Ann Lee"}, {"id", "7, row B"}}},
        // As LibreOffice saves CSV under a German locale, and Excel with a
        // byte order mark and CR LF; a note in the column without a name.
        ClassFileCase{"SemicolonsAndDecimalCommas",
                      "\xEF\xBB\xBF\"Name\";\"method\";\"ghaDeg\";\"ghaMin\";\"decName\";"
                      "\"decDeg\";\"decMin\";\"latName\";\"latDeg\";\"latMin\";\"lonName\";"
                      "\"lonDeg\";\"lonMin\";\"LHA\";\"v\";\"Zn\";\r\n"
                      "\"Lee, Ann\";\"Q\";54;12,3;\"N\";20;15;\"N\";40;0;\"W\";70;0;\"344 12,3\";"
                      "\"14°48,0'\";141;\"late\"\r\n",
                      3,
                      {{"Name", "Lee, Ann"}}},
        ClassFileCase{"ValueColumnsInAnyLetterCase",
                      cli::batchHeader() + ",hc,ZN,lha\n" + entries + ",66°04.2',141.0,344 12.3\n",
                      3},
        ClassFileCase{"TrailingEmptyHeaderCell",
                      cli::batchHeader() + ",LHA,\n" + entries + ",344 12.3,,,\n", 1},
        ClassFileCase{"LowerCaseMethodAndNames",
                      cli::batchHeader() + ",LHA,v,Zn\nq,54,12.3,n,20,15.0,n,40,00.0,w,70,00.0," +
                          "344 12.3,14 48.0,141.0\n",
                      3},
        ClassFileCase{"LowerCaseQQAndSouthEast",
                      cli::batchHeader() +
                          ",LHA\nqq,254,12.3,s,20,15.0,s,40,00.0,e,70,00.0,324 12.3\n",
                      1,
                      {},
                      reduction::Method::QQ}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace

namespace {

std::string manual() {
    std::ifstream in(MANUAL_PATH);
    return {std::istreambuf_iterator<char>(in), {}};
}

// The text of the manual between the line that holds `after` and the next line
// that begins with `until`, exclusive.
std::string manualBlock(const std::string& text, const std::string& after,
                        const std::string& until) {
    const std::size_t marker = text.find(after);
    if (marker == std::string::npos) {
        return "(missing: " + after + ")";
    }
    const std::size_t start = text.find('\n', marker) + 1;
    const std::size_t end = text.find("\n" + until, start - 1);
    return text.substr(start, end + 1 - start);
}

TEST(CheckManual, TheListOfSlipsIsTheCatalogue) {
    std::string list;
    for (const check::SlipSpec& spec : check::slipCatalogue()) {
        list += "- **" + std::string(spec.name) + "** (`" + std::string(spec.key) +
                "`): " + std::string(spec.words) + ".\n";
    }
    EXPECT_EQ(manualBlock(manual(), "<!-- Written from the catalogue", "- otherwise"), list);
}

TEST(CheckManual, TheExampleReportIsWhatSightformPrints) {
    const std::string text = manual();
    // The fenced block after the file's name.
    const std::size_t fence = text.find("```\n", text.find("(`example.csv`):"));
    ASSERT_NE(fence, std::string::npos);
    const std::size_t start = fence + 4;
    const std::string csv = text.substr(start, text.find("```", start) - start);
    const std::string shown = manualBlock(text, "$ sightform --check example.csv", "$ echo");
    cli::BufferSource in(csv);
    cli::StringSink out;
    cli::CheckReport report(out, false, check::Tolerance::Whole);
    const cli::CheckSummary summary = cli::checkRows(in, check::Tolerance::Whole, report);
    EXPECT_EQ(summary.withSlips, 1);
    // The report ends with an empty line, which the manual leaves out.
    EXPECT_EQ(out.text(), shown + "\n");
}

} // namespace
