#include "printout/pdfsheet.h"

#include <QLocale>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "printout/workedform.h"
#include "reduction/calculate.h"
#include "testing/entries.h"
#include "testing/expectedforms.h"
#include "testing/pdftext.h"

namespace {

using printout::SheetItem;
using printout::SheetMode;
using reduction::Method;

QStringList qt(const std::vector<std::string>& lines) {
    QStringList all;
    for (const std::string& line : lines)
        all.append(QString::fromStdString(line));
    return all;
}

// A sight as a batch row gives it to the sheet writer.
SheetItem item(int row, const reduction::ReductionInput& input) {
    reduction::ReductionRecord record;
    const auto result = reduction::calculateReduction(input, record);
    SheetItem sheet{row, printout::entriesText(input), std::nullopt, {}};
    if (result.outcome == reduction::Outcome::Complete)
        sheet.form = printout::buildWorkedForm(record, input.method);
    else
        sheet.message = std::string(reduction::checkDataMessage);
    return sheet;
}

class SheetTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!pdftext::available())
            GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
        ASSERT_TRUE(folder.isValid());
    }

    // Row 2 complete, row 3 below the horizon, row 4 complete: the first
    // page holds two sights, the second one.
    std::vector<SheetItem> threeRows() {
        return {item(2, testentries::firstExample(Method::Q)),
                item(3, testentries::entries(Method::Q, "200", "0", "S", "10", "0", "S", "30", "0",
                                             "W", "0", "0")),
                item(4, testentries::secondExample(Method::QQ))};
    }

    QString write(const std::vector<SheetItem>& items, SheetMode mode,
                  QPageSize size = QPageSize(QPageSize::A4)) {
        const QString path = folder.filePath(QStringLiteral("sheet.pdf"));
        const auto error = printout::writeSheetPdf(path, items, mode, size);
        EXPECT_FALSE(error) << error->toStdString();
        return path;
    }

    // The expected pages: each sight's heading, then its form or message.
    static std::vector<QStringList> pagesOf(const std::vector<SheetItem>& items,
                                            const std::vector<QStringList>& bodies) {
        std::vector<QStringList> pages;
        for (std::size_t i = 0; i < items.size(); ++i) {
            if (i % 2 == 0)
                pages.emplace_back();
            pages.back().append(QStringLiteral("Row %1   ").arg(items[i].row) +
                                QString::fromStdString(items[i].entries));
            pages.back().append(bodies[i]);
        }
        return pages;
    }

    static std::vector<QStringList> collapsed(std::vector<QStringList> pages) {
        for (QStringList& page : pages)
            for (QString& line : page)
                line = pdftext::collapsed(line);
        return pages;
    }

    QTemporaryDir folder;
};

TEST_F(SheetTest, AnswerSheetHasTwoSightsToAPageEachUnderItsRowAndEntries) {
    const auto items = threeRows();
    const QString path = write(items, SheetMode::Answers);
    const auto expected = pagesOf(items, {qt(testforms::firstExampleForm),
                                          {QStringLiteral("Check your data.")},
                                          qt(testforms::secondExampleForm)});
    EXPECT_EQ(pdftext::columnPages(path), expected);
    EXPECT_EQ(pdftext::layoutPages(path), collapsed(expected));
    // Hc and Zn in the bold face, as on the screen, and nothing else.
    const std::vector<QStringList> bold{
        {QStringLiteral("Hc = 66\u00B004.2'"), QStringLiteral("Zn = 141.0\u00B0")},
        {QStringLiteral("Hc = 6\u00B055.2'"), QStringLiteral("Zn = 73.7\u00B0")}};
    EXPECT_EQ(pdftext::boldRuns(path), bold);
}

TEST_F(SheetTest, WindowPageHasHcAndZnBoldAndNothingElse) {
    const QString path = folder.filePath(QStringLiteral("page.pdf"));
    const auto error = printout::writeWorkedFormPdf(
        path, "GHA 54\u00B012.3'", *item(2, testentries::firstExample(Method::Q)).form,
        QPageSize(QPageSize::A4));
    ASSERT_FALSE(error) << error->toStdString();
    const std::vector<QStringList> bold{
        {QStringLiteral("Hc = 66\u00B004.2'"), QStringLiteral("Zn = 141.0\u00B0")}};
    EXPECT_EQ(pdftext::boldRuns(path), bold);
}

TEST_F(SheetTest, ExerciseSheetShowsLabelsAndFormulasButNoValue) {
    const auto items = threeRows();
    const QString path = write(items, SheetMode::Blank);
    const auto expected =
        pagesOf(items, {qt(printout::renderLines(printout::withoutValues(*items[0].form))),
                        {QStringLiteral("Check your data.")},
                        qt(printout::renderLines(printout::withoutValues(*items[2].form)))});
    const auto pages = pdftext::columnPages(path);
    EXPECT_EQ(pages, expected);
    EXPECT_EQ(pdftext::layoutPages(path), collapsed(expected));
    // Not one of the answers slipped through: Hc and Zn of both forms.
    for (const QStringList& page : pages)
        for (const char* answer : {"66\u00B004.2'", "141.0\u00B0", "6\u00B055.2'", "73.7\u00B0"})
            EXPECT_FALSE(page.join('\n').contains(QString::fromUtf8(answer))) << answer;
}

TEST_F(SheetTest, PaperFollowsTheLocale) {
    EXPECT_EQ(printout::localePageSize(QLocale(QLocale::English, QLocale::UnitedStates)).id(),
              QPageSize::Letter);
    EXPECT_EQ(printout::localePageSize(QLocale(QLocale::English, QLocale::UnitedKingdom)).id(),
              QPageSize::A4);
    EXPECT_EQ(printout::localePageSize(QLocale(QLocale::German, QLocale::Germany)).id(),
              QPageSize::A4);

    // On Letter the longest line still fits and reads back whole.
    const auto items = threeRows();
    const QString path = write(items, SheetMode::Answers, QPageSize(QPageSize::Letter));
    QProcess pdfinfo;
    pdfinfo.start(QStringLiteral("pdfinfo"), {path});
    ASSERT_TRUE(pdfinfo.waitForFinished());
    EXPECT_TRUE(pdfinfo.readAllStandardOutput().contains("612 x 792 pts (letter)"));
    EXPECT_EQ(pdftext::columnPages(path)[0][2], qt(testforms::firstExampleForm)[1]);
}

} // namespace
