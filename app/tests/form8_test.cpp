#include "app/form8.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QFontInfo>
#include <QFontMetrics>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSet>
#include <QStyle>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/surface.h"
#include "app/tests/recordingtoolkit.h"
#include "layout/twips.h"
#include "printout/workedform.h"
#include "testing/expectedforms.h"

namespace {

// The designed layout, written out again here from the design rather than
// taken from the window's code. tab -1: the control takes no focus;
// maxLength 0: not a text field.
struct LayoutRow {
    const char* name;
    const char* caption;
    int left, top, width, height;
    int tab;
    int maxLength;
    const char* toolTip;
};

const LayoutRow layoutTable[] = {
    {"Label1", "GHA", 100, 120, 495, 255, -1, 0, ""},
    {"txtGHADeg", "", 600, 120, 495, 285, 0, 3, "Range 0 to 719"},
    {"lblGHADeg", "°", 1090, 120, 135, 255, -1, 0, ""},
    {"txtGHAMin", "", 1200, 120, 495, 285, 1, 4, "Range 0 to 59.9"},
    {"lblGHAMin", "'", 1690, 120, 135, 255, -1, 0, ""},
    {"lblDRL", "DR L", 3240, 120, 375, 255, -1, 0, ""},
    {"txtLDeg", "", 3960, 120, 375, 285, 5, 2, "Range 0 to 90"},
    {"lblLDeg", "°", 4335, 120, 135, 255, -1, 0, ""},
    {"txtLMin", "", 4440, 120, 495, 285, 6, 4, "Range 0 to 59.9"},
    {"lblLMin", "'", 4935, 120, 135, 255, -1, 0, ""},
    {"cboL", "", 5040, 120, 615, 315, 7, 0, ""},
    {"Label2", "Dec", 100, 480, 495, 255, -1, 0, ""},
    {"txtDecDeg", "", 720, 480, 375, 285, 2, 2, "Range 0 to 90"},
    {"lblDecDeg", "°", 1090, 480, 135, 255, -1, 0, ""},
    {"txtDecMin", "", 1200, 480, 495, 285, 3, 4, "Range 0 to 59.9"},
    {"lblDecMin", "'", 1690, 480, 135, 255, -1, 0, ""},
    {"cboDec", "", 1800, 480, 615, 315, 4, 0, ""},
    {"lblDRLo", "DR Lo", 3240, 480, 495, 255, -1, 0, ""},
    {"txtLoDeg", "", 3840, 480, 495, 285, 8, 3, "Range 0 to 180"},
    {"lblLoDeg", "°", 4335, 480, 135, 255, -1, 0, ""},
    {"txtLoMin", "", 4440, 480, 495, 285, 9, 4, "Range 0 to 59.9"},
    {"lblLoMin", "'", 4935, 480, 135, 255, -1, 0, ""},
    {"cboLo", "", 5040, 480, 615, 315, 10, 0, ""},
    {"cmdHelp", "?", 9720, 0, 375, 375, 27, 0, ""},
    {"Frame1", "Method", 7080, 600, 1935, 615, -1, 0, ""},
    {"optQ", "Q(x)", 120, 240, 615, 255, 29, 0, ""},
    {"optQQ", "QQ(x)", 1080, 240, 735, 255, 30, 0, ""},
    {"cmdQ", "&Calculate", 7080, 1440, 1935, 375, 26, 0, ""},
    {"Label5",
     "To use LHA instead of GHA, enter LHA  in place of GHA and set DR Lo to zero or leave blank.",
     120, 1155, 2775, 615, -1, 0, ""},
    {"cmdClearSome", "&Clear except DR", 1320, 1680, 1335, 375, 25, 0, ""},
    {"cmdClear", "Clear &All", 120, 4560, 1215, 375, 23, 0, ""},
};

// Half a pixel: the most a designed value can move when placed on whole pixels.
constexpr int twipsTolerance = layout::twipsPerPixel / 2;

QRect twipsOf(const QRect& pixels) {
    return {layout::fromPixels(pixels.x()), layout::fromPixels(pixels.y()),
            layout::fromPixels(pixels.width()), layout::fromPixels(pixels.height())};
}

using testforms::firstExampleForm;
using testforms::secondExampleForm;

// One sight as the user enters it: texts typed into the eight fields, the
// names picked from the lists.
struct Entries {
    const char* ghaDeg;
    const char* ghaMin;
    const char* decDeg;
    const char* decMin;
    const char* latDeg;
    const char* latMin;
    const char* loDeg;
    const char* loMin;
    const char* decName;
    const char* latName;
    const char* loName;
};

const Entries firstExample = {"54", "12.3", "20", "15.0", "40", "0", "70", "0", "N", "N", "W"};

class Form8Test : public ::testing::Test {
  protected:
    void SetUp() override {
        form.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    }

    template <typename T> T* control(const char* name) {
        T* found = form.findChild<T*>(QLatin1String(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }

    app::Surface* surface() { return control<app::Surface>("surface"); }

    std::vector<std::string> printedLines() { return printout::renderLines(surface()->form()); }

    void typeInto(const char* name, const char* text) {
        auto* field = control<QLineEdit>(name);
        field->setFocus();
        field->selectAll();
        QTest::keyClick(field, Qt::Key_Backspace);
        QTest::keyClicks(field, QString::fromUtf8(text));
    }

    // Picks an item with the keyboard, as a user of a closed drop-down list does.
    void pick(const char* name, const char* item) {
        auto* list = control<QComboBox>(name);
        QTest::keyClick(list, Qt::Key_Home);
        while (list->currentText() != QLatin1String(item) &&
               list->currentIndex() + 1 < list->count())
            QTest::keyClick(list, Qt::Key_Down);
        ASSERT_EQ(list->currentText().toStdString(), item) << name;
    }

    void enter(const Entries& e) {
        typeInto("txtGHADeg", e.ghaDeg);
        typeInto("txtGHAMin", e.ghaMin);
        typeInto("txtDecDeg", e.decDeg);
        typeInto("txtDecMin", e.decMin);
        pick("cboDec", e.decName);
        typeInto("txtLDeg", e.latDeg);
        typeInto("txtLMin", e.latMin);
        pick("cboL", e.latName);
        typeInto("txtLoDeg", e.loDeg);
        typeInto("txtLoMin", e.loMin);
        pick("cboLo", e.loName);
    }

    void calculate() { QTest::mouseClick(control<QPushButton>("cmdQ"), Qt::LeftButton); }

    RecordingToolkit toolkit;
    app::Form8 form{toolkit};
};

TEST_F(Form8Test, OpensWithEmptyFieldsDefaultNamesQMethodAndNoPrintout) {
    EXPECT_EQ(form.windowTitle(), app::applicationTitle);
    EXPECT_EQ(form.size(), QSize(672, 363));
    EXPECT_EQ(twipsOf(form.rect()), QRect(0, 0, 10080, 5445));

    for (const char* name : {"txtGHADeg", "txtGHAMin", "txtDecDeg", "txtDecMin", "txtLDeg",
                             "txtLMin", "txtLoDeg", "txtLoMin"}) {
        const auto* field = control<QLineEdit>(name);
        EXPECT_TRUE(field->text().isEmpty()) << name;
        EXPECT_TRUE(field->isEnabled()) << name;
        EXPECT_FALSE(field->isReadOnly()) << name;
    }

    struct ListRow {
        const char* name;
        QStringList items;
    };
    for (const ListRow& row : {ListRow{"cboDec", {"N", "S"}}, ListRow{"cboL", {"N", "S"}},
                               ListRow{"cboLo", {"W", "E"}}}) {
        const auto* list = control<QComboBox>(row.name);
        EXPECT_FALSE(list->isEditable()) << row.name;
        QStringList items;
        for (int i = 0; i < list->count(); ++i)
            items.append(list->itemText(i));
        EXPECT_EQ(items, row.items) << row.name;
        EXPECT_EQ(list->currentIndex(), 0) << row.name;
    }

    EXPECT_TRUE(control<QRadioButton>("optQ")->isChecked());
    EXPECT_FALSE(control<QRadioButton>("optQQ")->isChecked());
    EXPECT_TRUE(surface()->form().lines.empty());
    EXPECT_TRUE(surface()->placedRuns().empty());
    EXPECT_TRUE(toolkit.messages.isEmpty());

    const QIcon icon = form.windowIcon();
    ASSERT_FALSE(icon.isNull());
    EXPECT_TRUE(icon.availableSizes().contains(QSize(32, 32)));
    const QImage image = icon.pixmap(32, 32).toImage();
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            colours.insert(image.pixel(x, y));
    EXPECT_LE(colours.size(), 16);
}

TEST_F(Form8Test, EveryControlSitsAtItsDesignedPlaceWithItsTextsLimitsAndFocusOrder) {
    for (const LayoutRow& row : layoutTable) {
        SCOPED_TRACE(row.name);
        auto* widget = control<QWidget>(row.name);
        ASSERT_NE(widget, nullptr);
        const QRect inTwips = twipsOf(widget->geometry());
        EXPECT_NEAR(inTwips.x(), row.left, twipsTolerance);
        EXPECT_NEAR(inTwips.y(), row.top, twipsTolerance);
        EXPECT_NEAR(inTwips.width(), row.width, twipsTolerance);
        EXPECT_NEAR(inTwips.height(), row.height, twipsTolerance);

        const QString caption = QString::fromUtf8(row.caption);
        if (const auto* label = qobject_cast<QLabel*>(widget)) {
            EXPECT_EQ(label->text(), caption);
        } else if (const auto* button = qobject_cast<QAbstractButton*>(widget)) {
            EXPECT_EQ(button->text(), caption);
        } else if (const auto* frame = qobject_cast<QGroupBox*>(widget)) {
            EXPECT_EQ(frame->title(), caption);
        }

        if (const auto* field = qobject_cast<QLineEdit*>(widget)) {
            EXPECT_EQ(field->maxLength(), row.maxLength);
            EXPECT_EQ(field->toolTip(), QString::fromUtf8(row.toolTip));
        } else {
            EXPECT_EQ(row.maxLength, 0);
        }
        EXPECT_EQ((widget->focusPolicy() & Qt::TabFocus) != 0, row.tab >= 0);
    }

    std::vector<const LayoutRow*> focusable;
    for (const LayoutRow& row : layoutTable)
        if (row.tab >= 0)
            focusable.push_back(&row);
    std::sort(focusable.begin(), focusable.end(),
              [](const LayoutRow* a, const LayoutRow* b) { return a->tab < b->tab; });
    std::vector<std::string> expected;
    for (const LayoutRow* row : focusable)
        expected.emplace_back(row->name);

    std::vector<std::string> chain;
    QWidget* start = control<QWidget>("txtGHADeg");
    QWidget* widget = start;
    do {
        if ((widget->focusPolicy() & Qt::TabFocus) && widget != &form)
            chain.push_back(widget->objectName().toStdString());
        widget = widget->nextInFocusChain();
    } while (widget != start && chain.size() <= expected.size());
    EXPECT_EQ(chain, expected);
}

TEST_F(Form8Test, LinesMarkTheTopEdgeAndSeparateTheInputBandFromThePrintout) {
    struct LineRow {
        const char* name;
        int y;
    };
    for (const LineRow& row : {LineRow{"Line1", 0}, LineRow{"Line3", 0}, LineRow{"Line2", 2160}}) {
        SCOPED_TRACE(row.name);
        const QRect inTwips = twipsOf(control<QWidget>(row.name)->geometry());
        EXPECT_EQ(inTwips.left(), 0);
        EXPECT_EQ(inTwips.width(), 10080);
        EXPECT_EQ(inTwips.height(), 2 * layout::twipsPerPixel);
        EXPECT_LE(inTwips.top(), row.y);
        EXPECT_GE(inTwips.top() + inTwips.height(), row.y + layout::twipsPerPixel);
    }
    const QRect printout = twipsOf(surface()->geometry());
    EXPECT_NEAR(printout.top(), 2260, twipsTolerance);
    EXPECT_EQ(printout.left(), 0);
    EXPECT_EQ(printout.width(), 10080);
    EXPECT_EQ(printout.bottom() + 1, 5445);
}

TEST_F(Form8Test, WindowFontIsDrawnAsAskedAndEveryCaptionFitsItsBox) {
    const QFont font = form.font();
    EXPECT_DOUBLE_EQ(font.pointSizeF(), 8.25);
    EXPECT_FALSE(font.bold());
    EXPECT_FALSE(font.italic());
    // No quiet substitution: the family asked for is the one drawn, whichever
    // of the fallbacks this desktop has.
    EXPECT_EQ(QFontInfo(font).family(), font.family());

    for (const LayoutRow& row : layoutTable) {
        SCOPED_TRACE(row.name);
        auto* widget = control<QWidget>(row.name);
        const QFontMetrics metrics(widget->font());
        QString shown = QString::fromUtf8(row.caption);
        shown.remove(QLatin1Char('&'));
        if (auto* label = qobject_cast<QLabel*>(widget)) {
            const QRect needed = metrics.boundingRect(
                label->contentsRect(), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, shown);
            EXPECT_LE(needed.height(), label->contentsRect().height());
            if (!label->wordWrap()) {
                EXPECT_LE(metrics.horizontalAdvance(shown), label->contentsRect().width());
            }
        } else if (auto* radio = qobject_cast<QRadioButton*>(widget)) {
            const QStyle* style = radio->style();
            const int needed = style->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth) +
                               style->pixelMetric(QStyle::PM_RadioButtonLabelSpacing) +
                               metrics.horizontalAdvance(shown);
            EXPECT_LE(needed, radio->width());
        } else if (auto* button = qobject_cast<QPushButton*>(widget)) {
            const int margin = button->style()->pixelMetric(QStyle::PM_ButtonMargin);
            EXPECT_LE(metrics.horizontalAdvance(shown) + margin, button->width());
            EXPECT_LE(metrics.height(), button->height());
        } else if (auto* frame = qobject_cast<QGroupBox*>(widget)) {
            EXPECT_LE(metrics.horizontalAdvance(shown), frame->width());
        }
    }
    EXPECT_TRUE(control<QLabel>("Label5")->wordWrap());
}

TEST_F(Form8Test, ClearAllStaysAboveThePrintout) {
    enter(firstExample);
    calculate();
    ASSERT_FALSE(surface()->form().lines.empty());

    auto* clearAll = control<QPushButton>("cmdClear");
    EXPECT_TRUE(surface()->geometry().contains(clearAll->geometry()));
    EXPECT_EQ(form.childAt(clearAll->geometry().center()), clearAll);
    EXPECT_TRUE(clearAll->isVisible());
    EXPECT_TRUE(clearAll->isEnabled());
    // Beneath every control: the surface is the lowest of the window's children.
    const auto siblings = form.findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    ASSERT_FALSE(siblings.isEmpty());
    EXPECT_EQ(siblings.front(), surface());
    EXPECT_EQ(form.childAt(QPoint(400, 300)), surface());
}

struct TypedExample {
    const char* title;
    Entries entries;
    bool qqMethod;
    const std::vector<std::string>* lines;
};

class Form8ExampleTest : public Form8Test, public ::testing::WithParamInterface<TypedExample> {};

TEST_P(Form8ExampleTest, TypedAndCalculatedPrintsTheWorkedForm) {
    const TypedExample& example = GetParam();
    if (example.qqMethod)
        QTest::mouseClick(control<QRadioButton>("optQQ"), Qt::LeftButton);
    ASSERT_EQ(control<QRadioButton>("optQQ")->isChecked(), example.qqMethod);
    enter(example.entries);
    calculate();

    EXPECT_TRUE(toolkit.messages.isEmpty()) << toolkit.messages.join(" | ").toStdString();
    EXPECT_EQ(printedLines(), *example.lines);
    // Hc and Zn are the bold runs.
    std::vector<std::string> bold;
    for (const auto& line : surface()->form().lines)
        for (const auto& run : line)
            if (run.bold)
                bold.push_back(run.text);
    EXPECT_FALSE(bold.empty());
    EXPECT_FALSE(surface()->placedRuns().empty());
}

INSTANTIATE_TEST_SUITE_P(
    WorkedExamples, Form8ExampleTest,
    ::testing::Values(TypedExample{"FirstExampleQ", firstExample, false, &firstExampleForm},
                      TypedExample{"SecondExampleQQ",
                                   {"250", "30", "15", "0", "55", "0", "10", "0", "N", "N", "E"},
                                   true,
                                   &secondExampleForm}),
    [](const auto& info) { return std::string(info.param.title); });

TEST_F(Form8Test, CheckYourDataKeepsTheEarlierForm) {
    enter(firstExample);
    calculate();
    ASSERT_EQ(printedLines(), firstExampleForm);

    // Same southern names, t above 90: u comes out below 0.
    enter({"200", "0", "10", "0", "30", "0", "0", "0", "S", "S", "W"});
    calculate();

    EXPECT_EQ(toolkit.messages, QStringList{QStringLiteral("Check your data.")});
    EXPECT_EQ(printedLines(), firstExampleForm);
}

TEST_F(Form8Test, ArithmeticFailureIsReportedWithItsReasonAndKeepsTheEarlierForm) {
    // The second line names the failing step as sightform does.
    const struct {
        Entries entries;
        const char* reason;
    } failures[] = {
        // GHA plus an east longitude past 720 degrees leaves a negative t.
        {{"719", "59.9", "20", "15.0", "40", "0", "1", "0", "N", "N", "E"},
         "The table has no value for t = -0.9983333333 (outside 0 to 180 degrees)."},
        // t exactly 90: the rounded table values leave Qw below 0.
        {{"90", "", "2", "13.3", "10", "", "", "", "N", "N", "W"},
         "The table has no angle for Qw = -0.75 (below 0)."},
    };
    for (const auto& failure : failures) {
        SCOPED_TRACE(failure.reason);
        toolkit.messages.clear();
        enter(firstExample);
        calculate();
        ASSERT_EQ(printedLines(), firstExampleForm);

        enter(failure.entries);
        calculate();

        EXPECT_EQ(toolkit.messages,
                  QStringList{app::arithmeticFailureMessage + "\n" + failure.reason});
        EXPECT_EQ(printedLines(), firstExampleForm);
        EXPECT_TRUE(form.isVisible());
    }
}

TEST_F(Form8Test, LayoutScalesWithTheDevicePixelRatio) {
    const double ratio = form.devicePixelRatioF();
    if (const char* forced = std::getenv("QT_SCALE_FACTOR")) {
        EXPECT_DOUBLE_EQ(ratio, std::atof(forced));
    }
    // Logical geometry stays in designed pixels; the picture grows with the ratio.
    EXPECT_EQ(form.size(), QSize(672, 363));
    const QImage picture = form.grab().toImage();
    EXPECT_EQ(picture.size(), QSize(qRound(672 * ratio), qRound(363 * ratio)));
}

} // namespace

namespace {

TEST_F(Form8Test, TabWalksTheFocusOrderAndReachesTheMethodGroupThroughItsSelectedButton) {
    form.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    auto* first = control<QWidget>("txtGHADeg");
    first->setFocus(Qt::TabFocusReason);
    std::vector<std::string> visited;
    for (int i = 0; i < 17; ++i) {
        visited.push_back(QApplication::focusWidget()->objectName().toStdString());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    const std::vector<std::string> expected = {
        "txtGHADeg",    "txtGHAMin", "txtDecDeg", "txtDecMin", "cboDec",   "txtLDeg",
        "txtLMin",      "cboL",      "txtLoDeg",  "txtLoMin",  "cboLo",    "cmdClear",
        "cmdClearSome", "cmdQ",      "cmdHelp",   "optQ",      "txtGHADeg"};
    EXPECT_EQ(visited, expected);
}

} // namespace
