// sightform --check FILE --pdf FILE: a class's forms on marked sheets, read
// back from the PDF and held against the text report of the same file.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <span>
#include <string>
#include <vector>

#include "check/check.h"
#include "check/slips.h"
#include "check/values.h"
#include "cli/batchrow.h"
#include "cli/tests/sightformrun.h"
#include "testing/entries.h"
#include "testing/pdftext.h"

namespace {

using check::ValueId;
using reduction::Method;
using sightformrun::sightform;

std::string entryCells(const reduction::ReductionInput& in) {
    const auto name = [](auto value) { return std::string(reduction::nameText(value)); };
    return std::string(in.method == Method::Q ? "Q" : "QQ") + "," + in.ghaDeg + "," + in.ghaMin +
           "," + name(in.decName) + "," + in.decDeg + "," + in.decMin + "," + name(in.latName) +
           "," + in.latDeg + "," + in.latMin + "," + name(in.loName) + "," + in.loDeg + "," +
           in.loMin;
}

// A student's sheet as a row: every value the slipped work reaches, as the
// form prints it (azimuths without the degree sign, as the file takes them).
std::string row(const reduction::ReductionInput& in, std::span<const check::InjectedSlip> slips,
                int& given) {
    const check::WorkedValues values = check::workWithSlips(in, slips);
    std::string line = entryCells(in);
    for (const ValueId id : check::allValues()) {
        line += ",";
        if (!values[id])
            continue;
        ++given;
        std::string text = check::valueText(id, *values[id]);
        if (check::valueKind(id) == check::ValueKind::Azimuth)
            text.erase(text.find("\u00B0"));
        line += text;
    }
    return line + "\n";
}

// The first value at which the slip changes the sheet, if any.
std::optional<ValueId> siteOf(const reduction::ReductionInput& in, check::SlipId slip) {
    const check::WorkedValues right = check::workWithSlips(in, {});
    for (const ValueId id : check::allValues()) {
        const check::InjectedSlip injected{slip, id};
        if (check::workWithSlips(in, {&injected, 1}) != right)
            return id;
    }
    return std::nullopt;
}

QString collapsedText(const QStringList& lines) {
    return pdftext::collapsed(lines.join(QLatin1Char(' ')));
}

// 24 students' sheets over six sights (both methods, same and contrary
// names, t over 90 or not): right, with one slip of the catalogue, with
// another, and with two; then a malformed row and one that cannot be
// reduced. Each row gets its own page: its heading, the form with every
// given value followed by its mark, as the text report marks it, and the
// report's slip lines and count below.
TEST(CheckSheets, AClassFileGivesOnePagePerRowWithTheReportsMarksAndSlips) {
    if (!pdftext::available())
        GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());

    const reduction::ReductionInput sights[] = {
        testentries::firstExample(Method::Q),    testentries::firstExample(Method::QQ),
        testentries::secondExample(Method::QQ),  testentries::secondExample(Method::Q),
        testentries::contraryExample(Method::Q), testentries::contraryExample(Method::QQ),
    };
    const auto catalogue = check::slipCatalogue();
    std::string file = cli::batchHeader();
    for (const ValueId id : check::allValues())
        file += "," + std::string(check::valueName(id));
    file += "\n";
    int given = 0;        // values on the sheets that can be checked
    std::size_t next = 0; // the next slip of the catalogue to inject
    const auto nextSlip = [&](const reduction::ReductionInput& in) {
        for (std::size_t tried = 0; tried < catalogue.size(); ++tried) {
            const check::SlipId slip = catalogue[next++ % catalogue.size()].id;
            if (const auto at = siteOf(in, slip))
                return check::InjectedSlip{slip, *at};
        }
        ADD_FAILURE() << "no slip changes this sight";
        return check::InjectedSlip{};
    };
    for (const auto& sight : sights) {
        file += row(sight, {}, given);
        const check::InjectedSlip one = nextSlip(sight);
        file += row(sight, {&one, 1}, given);
        const check::InjectedSlip other = nextSlip(sight);
        file += row(sight, {&other, 1}, given);
        const check::InjectedSlip two[] = {{check::SlipId::SumForDifference, ValueId::Qv},
                                           {check::SlipId::ZnOtherSide, ValueId::Zn}};
        file += row(sight, two, given);
    }
    file += entryCells(sights[0]) + ",344 12.3,15.8\n"; // t malformed
    file += "Q,180,0,N,20,0,N,40,0,W,0,0\n";            // below the horizon
    const int rows = 26;
    const QString csv = folder.filePath(QStringLiteral("class.csv"));
    {
        QFile out(csv);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(QByteArray::fromStdString(file));
    }

    const auto report = sightform({"--check", csv.toStdString()});
    ASSERT_EQ(report.status, 65) << report.err; // the malformed row
    const QString pdf = folder.filePath(QStringLiteral("marked.pdf"));
    const auto sheets = sightform({"--check", csv.toStdString(), "--pdf", pdf.toStdString()});
    EXPECT_EQ(sheets.status, report.status) << sheets.err;
    EXPECT_TRUE(sheets.out.empty());

    // The report's blocks, one per row, each line collapsed.
    std::vector<QStringList> blocks;
    for (const QString& block :
         QString::fromStdString(report.out).split(QStringLiteral("\n\n"), Qt::SkipEmptyParts)) {
        QStringList lines;
        for (const QString& line : block.split(QLatin1Char('\n')))
            lines.append(pdftext::collapsed(line));
        blocks.push_back(lines);
    }
    const std::vector<QStringList> pages = pdftext::layoutPages(pdf);
    ASSERT_EQ(blocks.size(), std::size_t(rows));
    ASSERT_EQ(pages.size(), std::size_t(rows));

    int marks = 0;
    int slipLines = 0;
    for (std::size_t i = 0; i < pages.size(); ++i) {
        SCOPED_TRACE("row " + std::to_string(i + 2));
        const QStringList& block = blocks[i];
        const QString page = collapsedText(pages[i]);
        // "Row N: entries" in the report, "Row N entries" on the page.
        QString heading = block[0];
        heading.replace(QStringLiteral(": "), QStringLiteral(" "));
        EXPECT_TRUE(page.startsWith(heading)) << page.left(120).toStdString();
        for (const QString& line : block.mid(1)) {
            if (line.startsWith(QStringLiteral("Slip ")) ||
                line.endsWith(QStringLiteral("slip.")) || line.endsWith(QStringLiteral("slips.")) ||
                !line.contains(QLatin1Char(' '))) {
                EXPECT_TRUE(page.contains(line)) << line.toStdString();
                slipLines += line.startsWith(QStringLiteral("Slip ")) ? 1 : 0;
                continue;
            }
            // "✓ t used 15°47.7' agrees ...": the sign, the value as the form
            // writes it (the longest that fits: Q(v) in Q(Z) before Q(v)),
            // the given value; on the page the given value, then its sign.
            const QString sign = line.section(QLatin1Char(' '), 0, 0);
            QString label;
            for (const check::ValueId id : check::allValues()) {
                const QString candidate = QString::fromUtf8(check::valueLabel(id).data());
                if (line.startsWith(sign + QLatin1Char(' ') + candidate + QLatin1Char(' ')) &&
                    candidate.size() > label.size())
                    label = candidate;
            }
            if (label.isEmpty()) {
                EXPECT_TRUE(page.contains(line)) << line.toStdString(); // a message
                continue;
            }
            const QString given =
                line.mid(sign.size() + label.size() + 2).section(QLatin1Char(' '), 0, 0);
            EXPECT_TRUE(page.contains(given + QLatin1Char(' ') + sign)) << line.toStdString();
            ++marks;
        }
    }
    // Every row with values had them marked, and the slips were listed.
    EXPECT_EQ(marks, given);
    EXPECT_GE(slipLines, 6 * 3);
}

} // namespace

namespace {

// A student's column heads each of their sheets, marked or answer.
TEST(CheckSheets, AStudentsColumnHeadsTheirSheet) {
    if (!pdftext::available())
        GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const std::string pdf = folder.filePath(QStringLiteral("sheets.pdf")).toStdString();
    const std::string file = cli::batchHeader() + ",student,LHA\n" +
                             entryCells(testentries::firstExample(Method::Q)) +
                             ",Ann Lee,344 12.3\n";
    for (const char* mode : {"--check", "--batch"}) {
        SCOPED_TRACE(mode);
        const auto run = sightform({mode, "-", "--pdf", pdf}, file);
        ASSERT_EQ(run.status, 0) << run.err;
        const std::vector<QStringList> pages = pdftext::layoutPages(QString::fromStdString(pdf));
        ASSERT_FALSE(pages.empty());
        const QString page = collapsedText(pages[0]);
        EXPECT_TRUE(page.startsWith(QStringLiteral("Row 2 student: Ann Lee GHA 54°12.3'")))
            << page.left(120).toStdString();
    }
}

TEST(CheckSheets, UsageAndUnwritableFile) {
    const std::string file = cli::batchHeader() + ",LHA\n" +
                             entryCells(testentries::firstExample(Method::Q)) + ",344 12.3\n";
    EXPECT_EQ(sightform({"--check", "-", "--pdf", "x.pdf", "--json"}, file).status, 64);
    EXPECT_EQ(sightform({"--check", "-", "--pdf", "x.pdf", "--blank"}, file).status, 64);
    const auto unwritable = sightform({"--check", "-", "--pdf", "/nonexistent/marked.pdf"}, file);
    EXPECT_EQ(unwritable.status, 73);
    EXPECT_NE(unwritable.err.find("/nonexistent/marked.pdf"), std::string::npos) << unwritable.err;
}

} // namespace
