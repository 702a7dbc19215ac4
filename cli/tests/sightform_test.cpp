// Drives the built sightform program as scripts will: arguments in, exit
// status, standard output and standard error out.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "cli/tests/jsonread.h"
#include "cli/tests/sightformrun.h"
#include "printout/workedform.h"
#include "reduction/calculate.h"
#include "testing/entries.h"

namespace {

using jsonread::array;
using jsonread::has;
using jsonread::member;
using jsonread::text;
using sightformrun::Arguments;
using sightformrun::operator+;
using sightformrun::ProgramRun;
using sightformrun::sightform;

std::vector<std::string> splitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find('\n', start);
        lines.push_back(text.substr(start, end - start));
        start = end == std::string::npos ? text.size() : end + 1;
    }
    return lines;
}

rapidjson::Document parseObject(const std::string& line) {
    rapidjson::Document document = jsonread::parse(line);
    EXPECT_FALSE(document.HasParseError()) << line;
    EXPECT_TRUE(document.IsObject()) << line;
    return document;
}

const Arguments workedExample{"--gha", "54", "12.3", "--dec", "N", "20", "15.0", "--lat",
                              "N",     "40", "00.0", "--lon", "W", "70", "00.0"};
const Arguments belowHorizon{"--gha", "200",   "00.0", "--dec", "S",   "10",
                             "00.0",  "--lat", "S",    "30",    "00.0"};
// GHA plus an east longitude beyond 720: LHA stays above 360 and t negative.
const Arguments beyond720{"--gha", "719", "59.9", "--lon", "E", "180", "0"};

TEST(SightformText, CompleteFormOnStdoutExitZero) {
    const ProgramRun run = sightform(Arguments{"--method", "QQ"} + workedExample);
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "");
    const auto lines = splitLines(run.out);
    ASSERT_EQ(lines.size(), 15u);
    EXPECT_EQ(lines[0], "                                 Sight Reduction by QQ(x) Table");
    EXPECT_TRUE(lines[4].starts_with("     = 109.25 + 2228.14 = 2337.39   ")) << lines[4];
    EXPECT_EQ(lines[12], "                                                   Zn = 141.0°");
}

TEST(SightformText, NoOptionsIsTheFormOfEmptyFields) {
    const ProgramRun run = sightform({});
    EXPECT_EQ(run.status, 0);
    const auto lines = splitLines(run.out);
    ASSERT_EQ(lines.size(), 15u);
    EXPECT_EQ(lines[0], "                                 Sight Reduction by Q(x) Table");
    EXPECT_EQ(lines[12], "                                                   Zn = 270.0°");
}

TEST(SightformText, CheckYourDataOnStderrExitOne) {
    const ProgramRun run = sightform(belowHorizon);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "Check your data.\n");
}

TEST(SightformText, ArithmeticFailureOneLineOnStderrExitTwo) {
    const ProgramRun run = sightform(beyond720);
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.out, "");
    EXPECT_TRUE(run.err.starts_with("The entries cannot be reduced: ")) << run.err;
    EXPECT_EQ(splitLines(run.err).size(), 1u) << run.err;
    EXPECT_GT(run.err.size(), std::string("The entries cannot be reduced: .\n").size());
}

TEST(SightformText, HelpDocumentsTheContract) {
    const ProgramRun run = sightform({"--help"});
    EXPECT_EQ(run.status, 0);
    for (const char* word :
         {"--method",   "--gha",     "--dec",   "--lat",   "--lon",   "--json", "--exact",
          "--batch",    "--pdf",     "--blank", "--quiet", "--table", "--csv",  "ghaDeg, ghaMin",
          "check-data", "dHcArcmin", "64",      "65",      "73",      "74"}) {
        EXPECT_NE(run.out.find(word), std::string::npos) << word;
    }
}

struct UsageCase {
    const char* name;
    Arguments arguments;
    const char* mentions;
};

class SightformUsage : public testing::TestWithParam<UsageCase> {};

TEST_P(SightformUsage, OneLineNamingTheOptionExit64) {
    const ProgramRun run = sightform(GetParam().arguments);
    EXPECT_EQ(run.status, 64);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(splitLines(run.err).size(), 1u) << run.err;
    EXPECT_NE(run.err.find(GetParam().mentions), std::string::npos) << run.err;
}

INSTANTIATE_TEST_SUITE_P(
    Errors, SightformUsage,
    testing::Values(UsageCase{"UnknownMethod", {"--method", "q"}, "--method takes Q or QQ"},
                    UsageCase{"GhaDegreesTooLong", {"--gha", "7190", "0"}, "--gha takes DEG MIN"},
                    UsageCase{"LatitudeDegreesTooLong", {"--lat", "N", "100", "0"}, "--lat"},
                    UsageCase{"MinutesTooLong", {"--dec", "N", "20", "15.05"}, "MIN is at most 4"},
                    UsageCase{"UnknownName", {"--lon", "X", "10", "0"}, "the name is W or E"},
                    UsageCase{"MissingValue", {"--dec", "N", "20"}, "--dec takes N|S DEG MIN"},
                    UsageCase{"StrayArgument", {"--gha", "1", "2", "3"}, "'3'"},
                    UsageCase{"OptionTwice", {"--gha", "1", "2", "--gha", "3", "4"}, "--gha"},
                    UsageCase{"UnknownOption", {"--frobnicate"}, "frobnicate"},
                    UsageCase{"HelpAllIsNotOffered", {"--help-all"}, "--help-all"},
                    UsageCase{"BatchWithEntries", {"--batch", "-", "--gha", "1", "2"}, "--batch"},
                    UsageCase{"MinutesAboveRange", {"--lat", "N", "40", "60"}, "59.9, not '60'"},
                    UsageCase{"GhaAboveRange", {"--gha", "999", ""}, "719, not '999'"},
                    UsageCase{"ValuesAfterTheWrongOption",
                              {"--dec", "N", "--lat", "N", "40", "0", "20", "15.0"},
                              "--dec takes N|S DEG MIN"}),
    [](const testing::TestParamInfo<UsageCase>& info) { return std::string(info.param.name); });

TEST(SightformJson, RecordNamesTypesAndRoundTripValues) {
    const ProgramRun run = sightform(Arguments{"--json"} + workedExample);
    EXPECT_EQ(run.status, 0);
    const auto lines = splitLines(run.out);
    ASSERT_EQ(lines.size(), 1u);
    const rapidjson::Document object = parseObject(lines[0]);
    EXPECT_EQ(text(member(object, "outcome")), "complete");
    EXPECT_TRUE(member(object, "message").IsNull());
    EXPECT_FALSE(has(object, "exact"));

    const std::vector<std::string> degrees{"LHADeg",   "tDeg",     "tUsedDeg", "LatDeg", "DecDeg",
                                           "coDecDeg", "vDeg",     "coVDeg",   "wDeg",   "wUsedDeg",
                                           "uDeg",     "uUsedDeg", "HcDeg",    "coHcDeg"};
    const std::vector<std::string> flags{"tOver90", "sameNames", "uOver90"};
    const std::vector<std::string> doubles{
        "GHA",     "Lo",     "LHA",    "LHAMin",   "t",        "tMin",  "tUsed", "tUsedMin",
        "LatMin",  "DecMin", "Lat",    "Dec",      "coDecMin", "coDec", "Qv",    "v",
        "vMin",    "coV",    "coVMin", "Qw",       "w",        "wMin",  "wUsed", "wUsedMin",
        "u",       "uMin",   "uUsed",  "uUsedMin", "QHc",      "Hc",    "HcMin", "coHc",
        "coHcMin", "QZ",     "Z",      "ZUsed",    "Zn"};
    const jsonread::Value& record = jsonread::object(member(object, "record"));
    std::set<std::string> expectedKeys(degrees.begin(), degrees.end());
    expectedKeys.insert(flags.begin(), flags.end());
    expectedKeys.insert(doubles.begin(), doubles.end());
    std::set<std::string> keys;
    std::vector<std::string> written; // in the order written
    for (const auto& entry : record.GetObject()) {
        keys.insert(text(entry.name));
        written.push_back(text(entry.name));
    }
    EXPECT_EQ(keys, expectedKeys);
    EXPECT_TRUE(std::is_sorted(written.begin(), written.end())) << "keys in character order";

    for (const std::string& name : degrees) {
        // Written as a JSON integer: no point, no exponent.
        const std::regex integer("\"" + name + "\":-?[0-9]+[,}]");
        EXPECT_TRUE(std::regex_search(lines[0], integer)) << name;
    }
    for (const std::string& name : flags) {
        EXPECT_TRUE(member(record, name.c_str()).IsBool()) << name;
    }

    reduction::ReductionRecord expected;
    ASSERT_EQ(reduction::calculateReduction(testentries::firstExample(), expected).outcome,
              reduction::Outcome::Complete);
    // Shortest round-trip numbers read back as the very doubles of the record.
    const std::vector<std::pair<const char*, double>> values{
        {"t", expected.t},         {"tUsed", expected.tUsed}, {"coHc", expected.coHc},
        {"QZ", expected.QZ},       {"Hc", expected.Hc},       {"LHA", expected.LHA},
        {"ZUsed", expected.ZUsed}, {"Zn", expected.Zn}};
    for (const auto& [name, value] : values) {
        EXPECT_TRUE(member(record, name).IsNumber()) << name;
        EXPECT_EQ(jsonread::number(member(record, name)), value) << name;
    }
    EXPECT_EQ(jsonread::integer(member(record, "HcDeg")), expected.HcDeg);
    EXPECT_EQ(member(record, "uOver90").IsTrue(), expected.uOver90);

    const auto printed =
        printout::renderLines(printout::buildWorkedForm(expected, reduction::Method::Q));
    const jsonread::Value& form = array(member(object, "form"));
    ASSERT_EQ(form.Size(), printed.size());
    for (rapidjson::SizeType i = 0; i < form.Size(); ++i) {
        EXPECT_EQ(text(form[i]), printed[i]);
    }
}

TEST(SightformJson, StoppedCalculationsKeepTheirExitStatus) {
    const ProgramRun checkData = sightform(Arguments{"--json"} + belowHorizon);
    EXPECT_EQ(checkData.status, 1);
    const rapidjson::Document stopped = parseObject(checkData.out);
    EXPECT_EQ(text(member(stopped, "outcome")), "check-data");
    EXPECT_EQ(text(member(stopped, "message")), "Check your data.");
    EXPECT_TRUE(array(member(stopped, "form")).Empty());
    EXPECT_TRUE(member(member(stopped, "record"), "tOver90").IsTrue());

    const ProgramRun failure = sightform(Arguments{"--json", "--exact"} + beyond720);
    EXPECT_EQ(failure.status, 2);
    const rapidjson::Document failed = parseObject(failure.out);
    EXPECT_EQ(text(member(failed, "outcome")), "arithmetic-failure");
    EXPECT_TRUE(text(member(failed, "message")).starts_with("The entries cannot be reduced: "));
    EXPECT_TRUE(array(member(failed, "form")).Empty());
    EXPECT_FALSE(has(failed, "exact"));
}

// Latitude and declination N 45 at LHA 90: sin Hc = sin²45 = 1/2, so Hc is 30
// exactly, and Zn = 360 - atan(√2) = 305.2643896827547 (atan(√2) being the
// "magic angle" 54.7356103172453). The table prints 30°00.0' and 305.3°.
const Arguments fortyFive{"--gha", "90", "", "--dec", "N", "45", "", "--lat", "N", "45", ""};

TEST(SightformExact, JsonExactObjectMatchesTheTrigonometry) {
    const ProgramRun run = sightform(Arguments{"--json", "--exact"} + fortyFive);
    EXPECT_EQ(run.status, 0);
    const rapidjson::Document object = parseObject(run.out);
    const jsonread::Value& exact = member(object, "exact");
    EXPECT_NEAR(jsonread::number(member(exact, "Hc")), 30.0, 1e-9);
    EXPECT_NEAR(jsonread::number(member(exact, "Zn")), 305.2643896827547, 1e-9);
    EXPECT_NEAR(jsonread::number(member(exact, "dHcArcmin")), 0.0, 1e-9);
    EXPECT_NEAR(jsonread::number(member(exact, "dZnDeg")), 305.3 - 305.2643896827547, 1e-9);
}

TEST(SightformExact, UndefinedAzimuthIsNull) {
    // Empty fields: latitude, declination and LHA all 0, the body overhead.
    const ProgramRun run = sightform({"--json", "--exact"});
    EXPECT_EQ(run.status, 0);
    const rapidjson::Document object = parseObject(run.out);
    const jsonread::Value& exact = member(object, "exact");
    EXPECT_NEAR(jsonread::number(member(exact, "Hc")), 90.0, 1e-9);
    EXPECT_TRUE(member(exact, "Zn").IsNull());
    EXPECT_TRUE(member(exact, "dZnDeg").IsNull());
}

TEST(SightformExact, TextAddsTwoLinesAfterTheForm) {
    const ProgramRun run = sightform(Arguments{"--exact"} + fortyFive);
    EXPECT_EQ(run.status, 0);
    const auto lines = splitLines(run.out);
    ASSERT_EQ(lines.size(), 17u);
    EXPECT_EQ(lines[12], "                                                   Zn = 305.3°");
    EXPECT_EQ(lines[15], "Exact: Hc = 30°00.0'  Zn = 305.26°");
    EXPECT_EQ(lines[16], "Table minus exact: Hc 0.00'  Zn +0.04°");
}

const std::string batchWithBadRow = "method,ghaDeg,ghaMin,decName,decDeg,decMin,latName,latDeg,"
                                    "latMin,lonName,lonDeg,lonMin\n"
                                    "Q,54,12.3,N,20,15.0,N,40,00.0,W,70,00.0\n"
                                    "X,54,12.3,N,20,15.0,N,40,00.0,W,70,00.0\n"
                                    "Q,200,00.0,S,10,00.0,S,30,00.0,W,,\r\n"
                                    "\n"
                                    "QQ,250,30.0,N,15,00.0,N,55,00.0,E,10,00.0\n";

TEST(SightformBatch, JsonObjectPerRowMalformedRowReportedAndSkipped) {
    const ProgramRun run = sightform({"--batch", "-", "--json"}, batchWithBadRow);
    EXPECT_EQ(run.status, 65);
    const auto lines = splitLines(run.out);
    ASSERT_EQ(lines.size(), 4u) << run.out;
    const rapidjson::Document first = parseObject(lines[0]);
    EXPECT_EQ(jsonread::integer(member(first, "row")), 2);
    EXPECT_EQ(text(member(first, "outcome")), "complete");
    const rapidjson::Document bad = parseObject(lines[1]);
    EXPECT_EQ(jsonread::integer(member(bad, "row")), 3);
    EXPECT_NE(text(member(bad, "error")).find("method"), std::string::npos) << lines[1];
    const rapidjson::Document stopped = parseObject(lines[2]);
    EXPECT_EQ(jsonread::integer(member(stopped, "row")), 4);
    EXPECT_EQ(text(member(stopped, "outcome")), "check-data");
    const rapidjson::Document last = parseObject(lines[3]);
    EXPECT_EQ(jsonread::integer(member(last, "row")), 6);
    EXPECT_EQ(text(member(last, "outcome")), "complete");
    const jsonread::Value& lastForm = array(member(last, "form"));
    EXPECT_EQ(lastForm.Empty() ? "" : text(lastForm[0]),
              "                                 Sight Reduction by QQ(x) Table");
}

TEST(SightformBatch, AllRowsWellFormedExitZeroEvenWhenARowStops) {
    const std::string rows = "Q,54,12.3,N,20,15.0,N,40,00.0,W,70,00.0\n"
                             "Q,719,59.9,N,,,N,,,E,180,0\n";
    const ProgramRun run = sightform({"--batch", "-", "--json"}, rows);
    EXPECT_EQ(run.status, 0);
    const auto lines = splitLines(run.out);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(text(member(parseObject(lines[1]), "outcome")), "arithmetic-failure");
}

TEST(SightformBatch, OverlongLineIsMalformedAndReadingGoesOn) {
    const std::string rows = std::string(5000, '1') + "\nQ,54,12.3,N,20,15.0,N,40,00.0,W,70,00.0\n";
    const ProgramRun run = sightform({"--batch", "-", "--json"}, rows);
    EXPECT_EQ(run.status, 65);
    const auto lines = splitLines(run.out);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_NE(text(member(parseObject(lines[0]), "error")).find("longer than"), std::string::npos);
    EXPECT_EQ(text(member(parseObject(lines[1]), "outcome")), "complete");
}

TEST(SightformBatch, UnreadableFileExit66WithTheReason) {
    const ProgramRun missing = sightform({"--batch", "/nonexistent/sights.csv"});
    EXPECT_EQ(missing.status, 66);
    EXPECT_EQ(missing.err,
              "sightform: cannot open /nonexistent/sights.csv: No such file or directory\n");
    const ProgramRun directory = sightform({"--batch", "/"});
    EXPECT_EQ(directory.status, 66);
    EXPECT_EQ(directory.err, "sightform: cannot read /: Is a directory\n");
}

TEST(SightformBatch, Utf16FileOneErrorExit65) {
    const ProgramRun run =
        sightform({"--batch", "-", "--json"}, std::string("\xFF\xFEQ\0,\0\n\0", 8));
    EXPECT_EQ(run.status, 65);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(splitLines(run.err).size(), 1u);
    EXPECT_NE(run.err.find("save it as UTF-8"), std::string::npos) << run.err;
}

TEST(SightformBatch, RowAboveItsRangeIsMalformedTheRestGoOn) {
    const std::string rows = "Q,54,12.3,N,20,75,N,40,00.0,W,70,00.0\n"
                             "Q,54,12.3,N,20,15.0,S,90,30.0,W,70,00.0\n";
    const ProgramRun run = sightform({"--batch", "-", "--json"}, rows);
    EXPECT_EQ(run.status, 65);
    const auto lines = splitLines(run.out);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], R"({"error":"decMin takes at most 59.9, not '75'","row":1})");
    // Latitude 90 with minutes: the window lets it through, and so is it here.
    EXPECT_NE(text(member(parseObject(lines[1]), "outcome")), "");
    EXPECT_FALSE(has(parseObject(lines[1]), "error"));
}

// Every printed entry of both tables, as a script reads them: its value is
// the program's table value of the argument rounded to a whole number, and
// the arguments step by a tenth, two tenths, then a minute, to 90°.
TEST(SightformTable, CsvListsEveryEntryWithItsWholeTableValue) {
    static const std::regex row(R"((\d+),(\d+)(\.\d)?,(\d+))");
    for (const auto method : {reduction::Method::Q, reduction::Method::QQ}) {
        const ProgramRun run =
            sightform({"--table", method == reduction::Method::Q ? "Q" : "QQ", "--csv"});
        ASSERT_EQ(run.status, 0) << run.err;
        const std::vector<std::string> lines = splitLines(run.out);
        ASSERT_EQ(lines.at(0), "deg,min,value");
        int previous = -1;
        for (std::size_t i = 1; i < lines.size(); ++i) {
            std::smatch cells;
            ASSERT_TRUE(std::regex_match(lines[i], cells, row)) << lines[i];
            const double minutes = std::stod(cells[2].str() + cells[3].str());
            const int tenths = std::stoi(cells[1]) * 600 + int(std::lround(minutes * 10));
            EXPECT_EQ(tenths - previous, previous < 0     ? 1
                                         : previous < 100 ? 1
                                         : previous < 400 ? 2
                                                          : 10)
                << lines[i];
            EXPECT_EQ(cells[3].matched, tenths < 400) << lines[i];
            const double table = reduction::Q(std::stoi(cells[1]) + minutes / 60, method);
            ASSERT_EQ(std::stoll(cells[4]), std::llround(std::floor(table + 0.5))) << lines[i];
            previous = tenths;
        }
        EXPECT_EQ(previous, 90 * 600);
    }
}

TEST(SightformOutput, FullDiskIsAFailureNotSuccess) {
    for (const Arguments& arguments :
         {workedExample, Arguments{"--batch", EXPECTED_OUTPUT_DIR "/sights.csv"},
          Arguments{"--table", "Q"}}) {
        const ProgramRun run = sightform(arguments, {}, "/dev/full");
        EXPECT_EQ(run.status, 74);
        EXPECT_NE(run.err.find("cannot write the output"), std::string::npos) << run.err;
    }
}

TEST(SightformVersion, NameAndVersion) {
    const ProgramRun run = sightform({"--version"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "sightform " SIGHT_VERSION "\n");
}

std::string expectedFile(const char* name) {
    std::ifstream file(std::string(EXPECTED_OUTPUT_DIR "/") + name, std::ios::binary);
    EXPECT_TRUE(file.is_open()) << name;
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// Outputs kept from the program as it was before its JSON writer and batch
// reader were replaced (the batch text with each block's row line added):
// complete forms of both methods, check data, an arithmetic failure, a
// malformed row, and the exact solution with a null azimuth.
struct ExpectedCase {
    const char* name;
    Arguments arguments;
    const char* expected;
    int status;
};

class SightformExpected : public testing::TestWithParam<ExpectedCase> {};

TEST_P(SightformExpected, ByteForByte) {
    const ExpectedCase& c = GetParam();
    Arguments arguments;
    for (const std::string& argument : c.arguments) {
        arguments.push_back(argument == "SIGHTS" ? EXPECTED_OUTPUT_DIR "/sights.csv" : argument);
    }
    const ProgramRun run = sightform(arguments);
    EXPECT_EQ(run.status, c.status);
    EXPECT_EQ(run.out, expectedFile(c.expected));
}

INSTANTIATE_TEST_SUITE_P(
    Outputs, SightformExpected,
    testing::Values(
        ExpectedCase{
            "BatchJsonExact", {"--batch", "SIGHTS", "--json", "--exact"}, "batch-exact.jsonl", 65},
        ExpectedCase{"BatchText", {"--batch", "SIGHTS"}, "batch.txt", 65},
        ExpectedCase{"SingleJson", Arguments{"--json"} + workedExample, "single.json", 0},
        ExpectedCase{"SingleTextExact",
                     {"--method", "QQ", "--gha", "250", "30.0", "--dec", "N", "15", "00.0", "--lat",
                      "N", "55", "00.0", "--lon", "E", "10", "00.0", "--exact"},
                     "single-exact.txt",
                     0}),
    [](const testing::TestParamInfo<ExpectedCase>& info) { return std::string(info.param.name); });

} // namespace
