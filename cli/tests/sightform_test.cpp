// Drives the built sightform program as scripts will: arguments in, exit
// status, standard output and standard error out.

#include <gtest/gtest.h>

#include <QByteArray>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <cmath>
#include <string>
#include <vector>

#include "cli/tests/sightformrun.h"
#include "printout/tests/expectedforms.h"
#include "printout/tests/pdftext.h"
#include "printout/workedform.h"
#include "reduction/calculate.h"
#include "reduction/tests/entries.h"

namespace {

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

QJsonObject parseObject(const std::string& line) {
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(QByteArray::fromStdString(line), &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << line;
    EXPECT_TRUE(document.isObject()) << line;
    return document.object();
}

const QStringList workedExample{"--gha", "54", "12.3", "--dec", "N", "20", "15.0", "--lat",
                                "N",     "40", "00.0", "--lon", "W", "70", "00.0"};
const QStringList belowHorizon{"--gha", "200",   "00.0", "--dec", "S",   "10",
                               "00.0",  "--lat", "S",    "30",    "00.0"};
// GHA plus an east longitude beyond 720: LHA stays above 360 and t negative.
const QStringList beyond720{"--gha", "719", "59.9", "--lon", "E", "180", "0"};

TEST(SightformText, CompleteFormOnStdoutExitZero) {
    const ProgramRun run = sightform(QStringList{"--method", "QQ"} + workedExample);
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
    for (const char* word : {"--method", "--gha", "--dec", "--lat", "--lon", "--json", "--exact",
                             "--batch", "--pdf", "--blank", "--quiet", "ghaDeg, ghaMin",
                             "check-data", "dHcArcmin", "64", "65", "73", "74"}) {
        EXPECT_NE(run.out.find(word), std::string::npos) << word;
    }
}

struct UsageCase {
    const char* name;
    QStringList arguments;
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
    const ProgramRun run = sightform(QStringList{"--json"} + workedExample);
    EXPECT_EQ(run.status, 0);
    const auto lines = splitLines(run.out);
    ASSERT_EQ(lines.size(), 1u);
    const QJsonObject object = parseObject(lines[0]);
    EXPECT_EQ(object.value("outcome").toString(), "complete");
    EXPECT_TRUE(object.value("message").isNull());
    EXPECT_FALSE(object.contains("exact"));

    const QStringList degrees{"LHADeg",   "tDeg",     "tUsedDeg", "LatDeg", "DecDeg",
                              "coDecDeg", "vDeg",     "coVDeg",   "wDeg",   "wUsedDeg",
                              "uDeg",     "uUsedDeg", "HcDeg",    "coHcDeg"};
    const QStringList flags{"tOver90", "sameNames", "uOver90"};
    const QStringList doubles{
        "GHA",     "Lo",     "LHA",    "LHAMin",   "t",        "tMin",  "tUsed", "tUsedMin",
        "LatMin",  "DecMin", "Lat",    "Dec",      "coDecMin", "coDec", "Qv",    "v",
        "vMin",    "coV",    "coVMin", "Qw",       "w",        "wMin",  "wUsed", "wUsedMin",
        "u",       "uMin",   "uUsed",  "uUsedMin", "QHc",      "Hc",    "HcMin", "coHc",
        "coHcMin", "QZ",     "Z",      "ZUsed",    "Zn"};
    const QJsonObject record = object.value("record").toObject();
    QSet<QString> expectedKeys(degrees.begin(), degrees.end());
    expectedKeys.unite(QSet<QString>(flags.begin(), flags.end()));
    expectedKeys.unite(QSet<QString>(doubles.begin(), doubles.end()));
    const QStringList keys = record.keys();
    EXPECT_EQ(QSet<QString>(keys.begin(), keys.end()), expectedKeys);
    // Written in the order of their characters, as the parser's sorted keys()
    // cannot show: read them off the text itself.
    QStringList writtenKeys;
    const QString text = QString::fromStdString(lines[0]);
    const qsizetype recordStart = text.indexOf("\"record\":{");
    ASSERT_GE(recordStart, 0);
    const QString recordText = text.mid(recordStart, text.indexOf('}', recordStart) - recordStart);
    auto keyMatches = QRegularExpression("[{,]\"([A-Za-z0-9]+)\":").globalMatch(recordText);
    while (keyMatches.hasNext())
        writtenKeys << keyMatches.next().captured(1);
    EXPECT_EQ(writtenKeys, keys);

    for (const QString& name : degrees) {
        // Written as a JSON integer: no point, no exponent.
        const QRegularExpression integer("\"" + name + "\":-?[0-9]+[,}]");
        EXPECT_TRUE(integer.match(QString::fromStdString(lines[0])).hasMatch())
            << name.toStdString();
    }
    for (const QString& name : flags) {
        EXPECT_TRUE(record.value(name).isBool()) << name.toStdString();
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
        EXPECT_TRUE(record.value(name).isDouble()) << name;
        EXPECT_EQ(record.value(name).toDouble(), value) << name;
    }
    EXPECT_EQ(record.value("HcDeg").toInt(), expected.HcDeg);
    EXPECT_EQ(record.value("uOver90").toBool(), expected.uOver90);

    const auto printed =
        printout::renderLines(printout::buildWorkedForm(expected, reduction::Method::Q));
    const QJsonArray form = object.value("form").toArray();
    ASSERT_EQ(form.size(), static_cast<qsizetype>(printed.size()));
    for (qsizetype i = 0; i < form.size(); ++i) {
        EXPECT_EQ(form[i].toString().toStdString(), printed[static_cast<std::size_t>(i)]);
    }
}

TEST(SightformJson, StoppedCalculationsKeepTheirExitStatus) {
    const ProgramRun checkData = sightform(QStringList{"--json"} + belowHorizon);
    EXPECT_EQ(checkData.status, 1);
    const QJsonObject stopped = parseObject(checkData.out);
    EXPECT_EQ(stopped.value("outcome").toString(), "check-data");
    EXPECT_EQ(stopped.value("message").toString(), "Check your data.");
    EXPECT_TRUE(stopped.value("form").toArray().isEmpty());
    EXPECT_TRUE(stopped.value("record").toObject().value("tOver90").toBool());

    const ProgramRun failure = sightform(QStringList{"--json", "--exact"} + beyond720);
    EXPECT_EQ(failure.status, 2);
    const QJsonObject failed = parseObject(failure.out);
    EXPECT_EQ(failed.value("outcome").toString(), "arithmetic-failure");
    EXPECT_TRUE(failed.value("message").toString().startsWith("The entries cannot be reduced: "));
    EXPECT_TRUE(failed.value("form").toArray().isEmpty());
    EXPECT_FALSE(failed.contains("exact"));
}

// Latitude and declination N 45 at LHA 90: sin Hc = sin²45 = 1/2, so Hc is 30
// exactly, and Zn = 360 - atan(√2) = 305.2643896827547 (atan(√2) being the
// "magic angle" 54.7356103172453). The table prints 30°00.0' and 305.3°.
const QStringList fortyFive{"--gha", "90", "", "--dec", "N", "45", "", "--lat", "N", "45", ""};

TEST(SightformExact, JsonExactObjectMatchesTheTrigonometry) {
    const ProgramRun run = sightform(QStringList{"--json", "--exact"} + fortyFive);
    EXPECT_EQ(run.status, 0);
    const QJsonObject exact = parseObject(run.out).value("exact").toObject();
    EXPECT_NEAR(exact.value("Hc").toDouble(), 30.0, 1e-9);
    EXPECT_NEAR(exact.value("Zn").toDouble(), 305.2643896827547, 1e-9);
    EXPECT_NEAR(exact.value("dHcArcmin").toDouble(), 0.0, 1e-9);
    EXPECT_NEAR(exact.value("dZnDeg").toDouble(), 305.3 - 305.2643896827547, 1e-9);
}

TEST(SightformExact, UndefinedAzimuthIsNull) {
    // Empty fields: latitude, declination and LHA all 0, the body overhead.
    const ProgramRun run = sightform({"--json", "--exact"});
    EXPECT_EQ(run.status, 0);
    const QJsonObject exact = parseObject(run.out).value("exact").toObject();
    EXPECT_NEAR(exact.value("Hc").toDouble(), 90.0, 1e-9);
    EXPECT_TRUE(exact.value("Zn").isNull());
    EXPECT_TRUE(exact.value("dZnDeg").isNull());
}

TEST(SightformExact, TextAddsTwoLinesAfterTheForm) {
    const ProgramRun run = sightform(QStringList{"--exact"} + fortyFive);
    EXPECT_EQ(run.status, 0);
    const auto lines = splitLines(run.out);
    ASSERT_EQ(lines.size(), 17u);
    EXPECT_EQ(lines[12], "                                                   Zn = 305.3°");
    EXPECT_EQ(lines[15], "Exact: Hc = 30°00.0'  Zn = 305.26°");
    EXPECT_EQ(lines[16], "Table minus exact: Hc 0.00'  Zn +0.04°");
}

const QByteArray batchWithBadRow = "method,ghaDeg,ghaMin,decName,decDeg,decMin,latName,latDeg,"
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
    const QJsonObject first = parseObject(lines[0]);
    EXPECT_EQ(first.value("row").toInt(), 2);
    EXPECT_EQ(first.value("outcome").toString(), "complete");
    const QJsonObject bad = parseObject(lines[1]);
    EXPECT_EQ(bad.value("row").toInt(), 3);
    EXPECT_TRUE(bad.value("error").toString().contains("method")) << lines[1];
    const QJsonObject stopped = parseObject(lines[2]);
    EXPECT_EQ(stopped.value("row").toInt(), 4);
    EXPECT_EQ(stopped.value("outcome").toString(), "check-data");
    const QJsonObject last = parseObject(lines[3]);
    EXPECT_EQ(last.value("row").toInt(), 6);
    EXPECT_EQ(last.value("outcome").toString(), "complete");
    EXPECT_EQ(last.value("form").toArray()[0].toString(),
              "                                 Sight Reduction by QQ(x) Table");
}

TEST(SightformBatch, AllRowsWellFormedExitZeroEvenWhenARowStops) {
    const QByteArray rows = "Q,54,12.3,N,20,15.0,N,40,00.0,W,70,00.0\n"
                            "Q,719,59.9,N,,,N,,,E,180,0\n";
    const ProgramRun run = sightform({"--batch", "-", "--json"}, rows);
    EXPECT_EQ(run.status, 0);
    const auto lines = splitLines(run.out);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(parseObject(lines[1]).value("outcome").toString(), "arithmetic-failure");
}

TEST(SightformBatch, OverlongLineIsMalformedAndReadingGoesOn) {
    const QByteArray rows = QByteArray(5000, '1') + "\nQ,54,12.3,N,20,15.0,N,40,00.0,W,70,00.0\n";
    const ProgramRun run = sightform({"--batch", "-", "--json"}, rows);
    EXPECT_EQ(run.status, 65);
    const auto lines = splitLines(run.out);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_TRUE(parseObject(lines[0]).value("error").toString().contains("longer than"));
    EXPECT_EQ(parseObject(lines[1]).value("outcome").toString(), "complete");
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
        sightform({"--batch", "-", "--json"}, QByteArray("\xFF\xFEQ\0,\0\n\0", 8));
    EXPECT_EQ(run.status, 65);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(splitLines(run.err).size(), 1u);
    EXPECT_NE(run.err.find("save it as UTF-8"), std::string::npos) << run.err;
}

TEST(SightformBatch, RowAboveItsRangeIsMalformedTheRestGoOn) {
    const QByteArray rows = "Q,54,12.3,N,20,75,N,40,00.0,W,70,00.0\n"
                            "Q,54,12.3,N,20,15.0,S,90,30.0,W,70,00.0\n";
    const ProgramRun run = sightform({"--batch", "-", "--json"}, rows);
    EXPECT_EQ(run.status, 65);
    const auto lines = splitLines(run.out);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], R"({"error":"decMin takes at most 59.9, not '75'","row":1})");
    // Latitude 90 with minutes: the window lets it through, and so is it here.
    EXPECT_NE(parseObject(lines[1]).value("outcome").toString(), "");
    EXPECT_FALSE(parseObject(lines[1]).contains("error"));
}

TEST(SightformOutput, FullDiskIsAFailureNotSuccess) {
    for (const QStringList& arguments :
         {workedExample, QStringList{"--batch", QString(EXPECTED_OUTPUT_DIR) + "/sights.csv"}}) {
        QProcess process;
        process.setStandardOutputFile("/dev/full");
        process.start(SIGHTFORM_PATH, arguments);
        ASSERT_TRUE(process.waitForFinished(30000));
        EXPECT_EQ(process.exitCode(), 74);
        EXPECT_TRUE(process.readAllStandardError().contains("cannot write the output"));
    }
}

TEST(SightformVersion, NameAndVersion) {
    const ProgramRun run = sightform({"--version"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "sightform " SIGHT_VERSION "\n");
}

std::string expectedFile(const char* name) {
    QFile file(QString(EXPECTED_OUTPUT_DIR) + "/" + name);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name;
    return file.readAll().toStdString();
}

// Outputs kept from the program as it was before its JSON writer and batch
// reader were replaced (the batch text with each block's row line added):
// complete forms of both methods, check data, an arithmetic failure, a
// malformed row, and the exact solution with a null azimuth.
struct ExpectedCase {
    const char* name;
    QStringList arguments;
    const char* expected;
    int status;
};

class SightformExpected : public testing::TestWithParam<ExpectedCase> {};

TEST_P(SightformExpected, ByteForByte) {
    const ExpectedCase& c = GetParam();
    QStringList arguments;
    for (const QString& argument : c.arguments) {
        arguments << (argument == "SIGHTS" ? QString(EXPECTED_OUTPUT_DIR) + "/sights.csv"
                                           : argument);
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
        ExpectedCase{"SingleJson", QStringList{"--json"} + workedExample, "single.json", 0},
        ExpectedCase{"SingleTextExact",
                     {"--method", "QQ", "--gha", "250", "30.0", "--dec", "N", "15", "00.0", "--lat",
                      "N", "55", "00.0", "--lon", "E", "10", "00.0", "--exact"},
                     "single-exact.txt",
                     0}),
    [](const testing::TestParamInfo<ExpectedCase>& info) { return std::string(info.param.name); });

// The sheets: every row in its place, complete forms whole, the others by
// their message; the exercise sheet without a single computed value.
TEST(SightformSheets, AnswerAndExerciseSheetsOfABatch) {
    if (!pdftext::available()) {
        GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    }
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString rows = dir.filePath("rows.csv");
    QFile file(rows);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("Q,54,12.3,N,20,15.0,N,40,00.0,W,70,00.0\n"
               "Q,200,00.0,S,10,00.0,S,30,00.0,W,,\n"
               "Q,54,12.3,X,20,15.0,N,40,00.0,W,70,00.0\n"
               "QQ,250,30.0,N,15,00.0,N,55,00.0,E,10,00.0\n");
    file.close();

    const auto sheetText = [&](const QStringList& extra) {
        const QString pdf = dir.filePath(extra.contains("--blank") ? "blank.pdf" : "answers.pdf");
        const ProgramRun run = sightform(QStringList{"--batch", rows, "--pdf", pdf} + extra);
        EXPECT_EQ(run.status, 65) << run.err;
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err, "");
        QStringList all;
        const auto pages = pdftext::layoutPages(pdf);
        EXPECT_EQ(pages.size(), 2u) << "two sights to a page";
        for (const QStringList& page : pages) {
            all += page;
        }
        return all;
    };

    const QStringList answers = sheetText({});
    const auto contains = [](const QStringList& lines, const std::string& line) {
        return lines.contains(pdftext::collapsed(QString::fromStdString(line)));
    };
    for (const auto* form : {&testforms::firstExampleForm, &testforms::secondExampleForm}) {
        for (const std::string& line : *form) {
            EXPECT_TRUE(contains(answers, line)) << line;
        }
    }
    EXPECT_TRUE(contains(answers, "Check your data."));
    EXPECT_TRUE(contains(answers, "decName must be N or S, not 'X'"));
    // Hc and Zn in the bold face, and nothing else.
    const std::vector<QStringList> bold{
        {QString::fromUtf8("Hc = 66°04.2'"), QString::fromUtf8("Zn = 141.0°")},
        {QString::fromUtf8("Hc = 6°55.2'"), QString::fromUtf8("Zn = 73.7°")}};
    EXPECT_EQ(pdftext::boldRuns(dir.filePath("answers.pdf")), bold);

    const QStringList blank = sheetText({"--blank"});
    const QString blankText = blank.join('\n');
    for (const char* label : {"Sight Reduction by QQ(x) Table", "Q(v) = Q(90 - dec) + Q(t)",
                              "Q(Hc) = Q(90 - v) + Q(u)", "Zn ="}) {
        EXPECT_TRUE(blankText.contains(QString::fromUtf8(label))) << label;
    }
    EXPECT_TRUE(contains(blank, "Check your data."));
    for (const char* value : {"344°12.3'", "1365.03", "66°04.2'", "141.0°", "3623.43", "73.7°"}) {
        EXPECT_FALSE(blankText.contains(QString::fromUtf8(value))) << value;
    }
}

TEST(SightformSheets, OneSightKeepsItsStatusAndMessage) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString pdf = dir.filePath("one.pdf");
    const ProgramRun below = sightform(
        {"--gha", "1", "0", "--dec", "N", "89", "0", "--lat", "S", "80", "0", "--pdf", pdf});
    EXPECT_EQ(below.status, 1);
    EXPECT_EQ(below.out, "");
    EXPECT_EQ(below.err, "Check your data.\n");
    EXPECT_TRUE(QFile::exists(pdf));

    const ProgramRun unwritable =
        sightform(QStringList{"--pdf", dir.filePath("missing/one.pdf")} + workedExample);
    EXPECT_EQ(unwritable.status, 73);
    EXPECT_NE(unwritable.err.find("missing/one.pdf"), std::string::npos) << unwritable.err;
}

} // namespace
