// sightform --pdf, which hands over to the sheet writer, driven as scripts
// will drive it; the sheets are read back with pdftotext.

#include <gtest/gtest.h>

#include <QRegularExpression>
#include <QString>
#include <QStringList>

#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>
#include <vector>

#include "cli/tests/sightformrun.h"
#include "testing/expectedforms.h"
#include "testing/pdftext.h"

namespace {

using sightformrun::Arguments;
using sightformrun::operator+;
using sightformrun::ProgramRun;
using sightformrun::sightform;

const Arguments workedExample{"--gha", "54", "12.3", "--dec", "N", "20", "15.0", "--lat",
                              "N",     "40", "00.0", "--lon", "W", "70", "00.0"};

// A folder of the test's own under the temporary folder, removed with all it
// holds; path is empty when it could not be made.
struct TemporaryDir {
    std::filesystem::path path;

    TemporaryDir() {
        std::string name = (std::filesystem::temp_directory_path() / "sightform-XXXXXX").string();
        if (::mkdtemp(name.data()) != nullptr) {
            path = name;
        }
    }
    TemporaryDir(const TemporaryDir&) = delete;
    TemporaryDir& operator=(const TemporaryDir&) = delete;
    ~TemporaryDir() {
        std::error_code ignored;
        if (!path.empty()) {
            std::filesystem::remove_all(path, ignored);
        }
    }
    std::string filePath(const char* name) const { return (path / name).string(); }
};

// The sheets: every row in its place, complete forms whole, the others by
// their message; the exercise sheet without a single computed value.
TEST(SightformSheets, AnswerAndExerciseSheetsOfABatch) {
    if (!pdftext::available()) {
        GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    }
    TemporaryDir dir;
    ASSERT_FALSE(dir.path.empty());
    const std::string rows = dir.filePath("rows.csv");
    std::ofstream file(rows, std::ios::binary);
    ASSERT_TRUE(file.is_open());
    file << "Q,54,12.3,N,20,15.0,N,40,00.0,W,70,00.0\n"
            "Q,200,00.0,S,10,00.0,S,30,00.0,W,,\n"
            "Q,54,12.3,X,20,15.0,N,40,00.0,W,70,00.0\n"
            "QQ,250,30.0,N,15,00.0,N,55,00.0,E,10,00.0\n";
    file.close();

    const auto sheetText = [&](const Arguments& extra) {
        const bool blank = std::find(extra.begin(), extra.end(), "--blank") != extra.end();
        const std::string pdf = dir.filePath(blank ? "blank.pdf" : "answers.pdf");
        const ProgramRun run = sightform(Arguments{"--batch", rows, "--pdf", pdf} + extra);
        EXPECT_EQ(run.status, 65) << run.err;
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err, "");
        QStringList all;
        const auto pages = pdftext::layoutPages(QString::fromStdString(pdf));
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
    EXPECT_EQ(pdftext::boldRuns(QString::fromStdString(dir.filePath("answers.pdf"))), bold);

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
    TemporaryDir dir;
    ASSERT_FALSE(dir.path.empty());
    const std::string pdf = dir.filePath("one.pdf");
    const ProgramRun below = sightform(
        {"--gha", "1", "0", "--dec", "N", "89", "0", "--lat", "S", "80", "0", "--pdf", pdf});
    EXPECT_EQ(below.status, 1);
    EXPECT_EQ(below.out, "");
    EXPECT_EQ(below.err, "Check your data.\n");
    EXPECT_TRUE(std::filesystem::exists(pdf));

    const ProgramRun unwritable =
        sightform(Arguments{"--pdf", dir.filePath("missing/one.pdf")} + workedExample);
    EXPECT_EQ(unwritable.status, 73);
    EXPECT_NE(unwritable.err.find("missing/one.pdf"), std::string::npos) << unwritable.err;
}

// The booklet prints the pages of --table, each on a sheet of its own, in
// type of at least 8 points (a fixed-pitch face is 0.6 of its size wide),
// and at most twelve sheets.
TEST(SightformSheets, TableBookletPrintsTheTextPagesInLegibleType) {
    if (!pdftext::available()) {
        GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    }
    TemporaryDir dir;
    ASSERT_FALSE(dir.path.empty());
    for (const char* method : {"Q", "QQ"}) {
        SCOPED_TRACE(method);
        const std::string pdf = dir.filePath("table.pdf");
        const ProgramRun written = sightform({"--table", method, "--pdf", pdf});
        ASSERT_EQ(written.status, 0) << written.err;
        EXPECT_EQ(written.out, "");

        std::vector<QStringList> expected;
        const QString heading = QString::fromUtf8(method) + QStringLiteral("(x) TABLE");
        for (const QString& line :
             QString::fromStdString(sightform({"--table", method}).out).split(QLatin1Char('\n'))) {
            if (line.startsWith(heading))
                expected.emplace_back();
            if (!line.trimmed().isEmpty())
                expected.back().append(line);
        }
        const auto pages = pdftext::columnPages(QString::fromStdString(pdf));
        EXPECT_LE(pages.size(), 12u);
        ASSERT_EQ(pages.size(), expected.size());
        for (std::size_t p = 0; p < pages.size(); ++p)
            EXPECT_EQ(pages[p], expected[p]) << "page " << p + 1;

        static const QRegularExpression word(
            QStringLiteral("<word xMin=\"([0-9.]+)\" yMin=\"[0-9.]+\" xMax=\"([0-9.]+)\""));
        double narrowest = 1e9;
        for (auto match = word.globalMatch(pdftext::pdftotext(
                 {QStringLiteral("-bbox"), QString::fromStdString(pdf), QStringLiteral("-")}));
             match.hasNext();) {
            const auto box = match.next();
            narrowest =
                std::min(narrowest, box.captured(2).toDouble() - box.captured(1).toDouble());
        }
        // The narrowest word is one character wide.
        EXPECT_GE(narrowest, 0.6 * 8) << "points";
    }
}

} // namespace
