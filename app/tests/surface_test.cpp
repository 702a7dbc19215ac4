#include "app/surface.h"

#include <QFontInfo>
#include <QFontMetricsF>
#include <QImage>
#include <QPalette>
#include <QString>

#include <gtest/gtest.h>

#include "app/fonts.h"
#include "layout/form8layout.h"

namespace {

// The longest printed line ends in column 95; a form has fifteen lines.
constexpr int longestLineColumns = 95;
constexpr int formLines = 15;
constexpr int clientWidthPixels = 672;
constexpr int printoutHeightPixels = layout::toPixels(layout::printoutArea.height);

class SurfaceTest : public ::testing::Test {
  protected:
    void SetUp() override { surface.setFont(app::windowFont()); }

    app::Surface surface;
};

TEST_F(SurfaceTest, PrintsInAFixedPitchFontWithoutSubstitution) {
    // Whichever fixed-pitch family this desktop has; the columns are checked
    // by the advances below.
    const QFont& font = surface.printFont();
    EXPECT_TRUE(QFontInfo(font).fixedPitch()) << font.family().toStdString();
    EXPECT_EQ(QFontInfo(font).family(), font.family());
    EXPECT_EQ(QFontInfo(surface.printFont(true)).family(), font.family());
    EXPECT_TRUE(QFontInfo(surface.printFont(true)).bold());
    // The window's size, not a size of the printout's own.
    EXPECT_DOUBLE_EQ(font.pointSizeF(), surface.font().pointSizeF());
}

TEST_F(SurfaceTest, RegularBoldAndDegreeSignShareOneAdvance) {
    const QFontMetricsF regular(surface.printFont(false));
    const QFontMetricsF bold(surface.printFont(true));
    const double column = surface.columnWidth();
    ASSERT_GT(column, 0);
    for (const QString& text : {QStringLiteral("0"), QStringLiteral("\u00B0"), QStringLiteral("W"),
                                QStringLiteral("i"), QStringLiteral("'"), QStringLiteral("*")}) {
        SCOPED_TRACE(text.toStdString());
        EXPECT_DOUBLE_EQ(regular.horizontalAdvance(text), column);
        EXPECT_DOUBLE_EQ(bold.horizontalAdvance(text), column);
    }
    // A whole run advances by its character count, so runs that follow each
    // other stay on the column grid.
    const QString run = QStringLiteral("LHA 344\u00B012.3' -> t*");
    EXPECT_DOUBLE_EQ(regular.horizontalAdvance(run), run.size() * column);
    EXPECT_DOUBLE_EQ(bold.horizontalAdvance(run), run.size() * column);
}

TEST_F(SurfaceTest, AWholeFormFitsTheWindowBelowTheSeparator) {
    EXPECT_LE(longestLineColumns * surface.columnWidth(), clientWidthPixels);
    EXPECT_LE(formLines * surface.lineHeight(), printoutHeightPixels);
}

TEST_F(SurfaceTest, RunsArePlacedOnTheColumnAndLineGrid) {
    printout::WorkedForm form;
    form.lines = {{{1, "LHA", false}, {55, "= x", false}}, {}, {{52, "Zn = 1.0\u00B0", true}}};
    surface.showForm(form);

    const auto& placed = surface.placedRuns();
    ASSERT_EQ(placed.size(), 3u);
    const double column = surface.columnWidth();
    const double line = surface.lineHeight();
    EXPECT_DOUBLE_EQ(placed[0].origin.x(), 0);
    EXPECT_DOUBLE_EQ(placed[1].origin.x(), 54 * column);
    EXPECT_DOUBLE_EQ(placed[1].origin.y(), placed[0].origin.y());
    EXPECT_DOUBLE_EQ(placed[2].origin.x(), 51 * column);
    EXPECT_DOUBLE_EQ(placed[2].origin.y() - placed[0].origin.y(), 2 * line);
    EXPECT_GT(placed[0].origin.y(), 0); // baseline below the top edge
    EXPECT_TRUE(placed[2].bold);
    EXPECT_EQ(placed[2].text, QStringLiteral("Zn = 1.0\u00B0"));
}

TEST_F(SurfaceTest, ClearErasesTheForm) {
    surface.showForm({{{{1, "text", false}}}});
    ASSERT_FALSE(surface.placedRuns().empty());
    surface.clear();
    EXPECT_TRUE(surface.form().lines.empty());
    EXPECT_TRUE(surface.placedRuns().empty());
}

// Counts pixels that differ from the surface's background.
int inkedPixels(app::Surface& surface) {
    const QImage image = surface.grab().toImage();
    const QRgb background = surface.palette().color(QPalette::Window).rgb();
    int inked = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            inked += image.pixel(x, y) != background ? 1 : 0;
    return inked;
}

TEST_F(SurfaceTest, RepaintsTheKeptFormAndNothingOnceCleared) {
    surface.setAutoFillBackground(true);
    surface.resize(672, 212);
    surface.showForm({{{{1, "LHA 344\u00B012.3'", false}, {52, "Zn = 141.0\u00B0", true}}}});
    const int afterShow = inkedPixels(surface);
    EXPECT_GT(afterShow, 0);
    // Every later paint draws the same form again.
    EXPECT_EQ(inkedPixels(surface), afterShow);
    surface.clear();
    EXPECT_EQ(inkedPixels(surface), 0);
}

TEST_F(SurfaceTest, FollowsAChangeOfTheWindowFont) {
    surface.showForm({{{{2, "x", false}}}});
    const double before = surface.placedRuns().front().origin.x();
    QFont larger = surface.font();
    larger.setPointSizeF(larger.pointSizeF() * 2);
    surface.setFont(larger);
    EXPECT_DOUBLE_EQ(surface.placedRuns().front().origin.x(), surface.columnWidth());
    EXPECT_GT(surface.placedRuns().front().origin.x(), before);
}

} // namespace
