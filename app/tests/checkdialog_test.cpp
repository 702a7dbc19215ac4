#include <QAccessible>
#include <QAccessibleInterface>
#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

#include <array>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "app/checkdialog.h"
#include "app/surface.h"
#include "app/tests/modalwatchdog.h"
#include "app/tests/windowfixture.h"
#include "check/slips.h"
#include "check/values.h"
#include "printout/workedform.h"
#include "testing/entries.h"
#include "testing/expectedforms.h"

namespace {

using check::ValueId;
using testforms::firstExampleForm;

const QString checkCommand = QStringLiteral("Check My Work\u2026");

// A value as a student writes it: every other angle as "15 47.7", the rest
// as the form prints them ("15°47.7'"), azimuths without the degree sign.
QString handwritten(ValueId id, double value, bool spaced) {
    QString shown = QString::fromStdString(check::valueText(id, value));
    switch (check::valueKind(id)) {
    case check::ValueKind::Angle:
        if (spaced)
            shown = shown.replace(QChar(0x00B0), QLatin1Char(' ')).remove(QLatin1Char('\''));
        break;
    case check::ValueKind::Azimuth:
        shown.remove(QChar(0x00B0));
        break;
    case check::ValueKind::TableValue:
        break;
    }
    return shown;
}

// The dialog is window-modal, and the program's watchdog closes any modal
// window it finds open; these tests open it on purpose, close it
// themselves and make sure none is left.
class CheckDialogTest : public WindowFixture {
  protected:
    void SetUp() override {
        WindowFixture::SetUp();
        programWatchdog->setPaused(true);
    }
    void TearDown() override {
        if (app::CheckDialog* left = dialog()) {
            ADD_FAILURE() << "a Check My Work dialog was left open";
            left->close();
        }
        programWatchdog->setPaused(false);
        WindowFixture::TearDown();
    }

    app::Surface* surface() { return control<app::Surface>("surface"); }

    app::CheckDialog* dialog() { return form.findChild<app::CheckDialog*>(); }

    // Closes the dialog as a user does and lets it go.
    void closeDialog() {
        app::CheckDialog* open = dialog();
        ASSERT_NE(open, nullptr);
        QTest::keyClick(open, Qt::Key_Escape);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_EQ(dialog(), nullptr);
        form.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    }

    // Right-clicks the printout area and chooses the command from the menu
    // by the keyboard; what the menu offered is kept.
    void chooseFromMenu() {
        QTimer::singleShot(0, [this] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            if (menu == nullptr)
                return;
            for (QAction* each : menu->actions()) {
                menuItems.append(each->text());
                if (each->text() == checkCommand && each->isEnabled())
                    menu->setActiveAction(each);
            }
            QTest::keyClick(menu, Qt::Key_Return);
        });
        const QPoint at = surface()->mapTo(&form, QPoint(surface()->width() - 20, 20));
        QTest::mouseClick(handle(), Qt::RightButton, Qt::NoModifier, at);
    }

    template <typename T> T* inDialog(const QString& name) {
        T* found = dialog() == nullptr ? nullptr : dialog()->findChild<T*>(name);
        EXPECT_NE(found, nullptr) << name.toStdString();
        return found;
    }
    QLineEdit* box(ValueId id) { return inDialog<QLineEdit>(name(id)); }
    QString sign(const QString& markName) { return inDialog<QLabel>(markName)->text(); }
    static QString name(ValueId id) { return QString::fromUtf8(check::valueName(id).data()); }

    // Types a student's sheet into the open dialog's boxes, then checks it.
    void typeSheet(const check::WorkedValues& sheet) {
        bool spaced = false;
        for (const ValueId id : check::allValues()) {
            if (!sheet[id])
                continue;
            QLineEdit* edit = box(id);
            ASSERT_NE(edit, nullptr);
            edit->setFocus();
            QTest::keyClicks(edit, handwritten(id, *sheet[id], spaced));
            spaced = !spaced;
        }
        QTest::keyClick(box(ValueId::Zn), Qt::Key_Return); // Enter checks
    }

    QStringList menuItems;
};

// The command opens the dialog from the menu, from F7 (or Alt+K) wherever
// the focus is in the window, and from the worked form's accessible actions; F7 does
// nothing while an entry field holds the focus with a value out of range,
// as the access keys do.
TEST_F(CheckDialogTest, OpensFromTheMenuTheKeyboardAndAssistiveTechnology) {
    typeFirstExample();
    chooseFromMenu();
    EXPECT_TRUE(menuItems.contains(checkCommand)) << menuItems.join(" | ").toStdString();
    ASSERT_NE(dialog(), nullptr) << "from the menu";
    EXPECT_TRUE(dialog()->isVisible());
    EXPECT_EQ(dialog()->windowModality(), Qt::WindowModal);
    EXPECT_EQ(dialog()->windowTitle(), app::CheckDialog::title);
    closeDialog();

    const struct {
        const char* focused;
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
    } keys[] = {{"txtLoMin", Qt::Key_F7, Qt::NoModifier},
                {"cmdQ", Qt::Key_F7, Qt::NoModifier},
                {"optQ", Qt::Key_F7, Qt::NoModifier},
                {"txtGHADeg", Qt::Key_K, Qt::AltModifier}};
    for (const auto& row : keys) {
        SCOPED_TRACE(row.focused);
        control<QWidget>(row.focused)->setFocus();
        key(row.key, row.modifiers);
        ASSERT_NE(dialog(), nullptr) << "from the keyboard";
        closeDialog();
    }

    QAccessibleActionInterface* actions =
        QAccessible::queryAccessibleInterface(surface())->actionInterface();
    ASSERT_NE(actions, nullptr);
    ASSERT_TRUE(actions->actionNames().contains(checkCommand));
    EXPECT_EQ(actions->keyBindingsForAction(checkCommand),
              (QStringList{QStringLiteral("F7"), QStringLiteral("Alt+K")}));
    actions->doAction(checkCommand);
    ASSERT_NE(dialog(), nullptr) << "from the accessible action";
    closeDialog();

    retype("txtGHADeg", "800");
    ASSERT_EQ(toolkit.messages, QStringList{QStringLiteral("Out of Range")});
    key(Qt::Key_F7);
    EXPECT_EQ(dialog(), nullptr) << "F7 must not get past a field that holds the focus";
    EXPECT_EQ(focused(), field("txtGHADeg"));
}

// A sheet with one slip: the slip's box is marked ✗, every box before it and
// every later box that the slip leaves as the right form has it ✓, every
// other later box → (right from the student's own numbers); one slip line,
// naming the slip at its value. The window behind is untouched.
TEST_F(CheckDialogTest, SheetWithOneSlipIsMarkedBoxByBoxWithOneSlipLine) {
    const struct {
        const char* row;
        check::SlipId slip;
        ValueId at;
        bool follows; // later values change
    } rows[] = {
        {"Q(90-x) for Q(t)", check::SlipId::ComplementLookedUp, ValueId::Q_tUsed, true},
        {"t rule where t < 90", check::SlipId::TRuleWrong, ValueId::tUsed, false},
        {"longitude added for west", check::SlipId::LongitudeWrongWay, ValueId::LHA, true},
    };
    typeFirstExample();
    click(control<QPushButton>("cmdQ"));
    const reduction::ReductionRecord recordBefore = form.record();
    const std::vector<std::string> printedBefore = printout::renderLines(surface()->form());
    ASSERT_EQ(printedBefore, firstExampleForm);
    const reduction::ReductionInput entries = testentries::firstExample();
    const check::WorkedValues right = check::workWithSlips(entries, {});

    for (const auto& row : rows) {
        SCOPED_TRACE(row.row);
        const check::InjectedSlip slip{row.slip, row.at};
        const check::WorkedValues sheet = check::workWithSlips(entries, {&slip, 1});
        key(Qt::Key_F7);
        ASSERT_NE(dialog(), nullptr);
        typeSheet(sheet);

        bool before = true;
        int followed = 0;
        std::map<QString, std::set<QRgb>> colours;
        for (const ValueId id : check::allValues()) {
            SCOPED_TRACE(name(id).toStdString());
            const QString shown = sign(QStringLiteral("mark_") + name(id));
            if (!sheet[id]) {
                // The slipped work stopped short (u below 0): nothing typed,
                // nothing marked.
                EXPECT_TRUE(shown.isEmpty());
                continue;
            }
            const bool asRight =
                check::printedUnits(id, *sheet[id]) == check::printedUnits(id, *right[id]);
            if (id == row.at) {
                before = false;
                EXPECT_EQ(shown, QStringLiteral("\u2717"));
            } else if (before || asRight) {
                EXPECT_EQ(shown, QStringLiteral("\u2713"));
            } else {
                EXPECT_EQ(shown, QStringLiteral("\u2192"));
                ++followed;
            }
            colours[shown].insert(box(id)->palette().color(QPalette::Base).rgb());
        }
        EXPECT_EQ(followed > 0, row.follows);
        // The colour says it too: every box of one mark alike, no two marks
        // alike, and none the colour of an unmarked box.
        std::set<QRgb> distinct{dialog()->palette().color(QPalette::Base).rgb()};
        for (const auto& [mark, used] : colours) {
            EXPECT_EQ(used.size(), 1u) << mark.toStdString();
            distinct.insert(used.begin(), used.end());
        }
        EXPECT_EQ(distinct.size(), colours.size() + 1);
        // A value shown twice on the form is marked at both places.
        EXPECT_EQ(sign(QStringLiteral("mark_tUsed_again")), sign(QStringLiteral("mark_tUsed")));
        EXPECT_EQ(inDialog<QLabel>(QStringLiteral("tUsed_again"))->text(),
                  box(ValueId::tUsed)->text());

        const QStringList slipLines =
            inDialog<QPlainTextEdit>(QStringLiteral("txtSlips"))->toPlainText().split('\n');
        ASSERT_EQ(slipLines.size(), 1) << slipLines.join('\n').toStdString();
        EXPECT_TRUE(slipLines[0].startsWith(QString::fromUtf8(check::valueLabel(row.at).data()) +
                                            QLatin1Char(' ')))
            << slipLines[0].toStdString();
        EXPECT_TRUE(slipLines[0].contains(
            QString::fromUtf8(check::slipSpec(row.slip).name.data(),
                              qsizetype(check::slipSpec(row.slip).name.size()))))
            << slipLines[0].toStdString();
        EXPECT_TRUE(slipLines[0].endsWith(QString::fromStdString(
            "the right value is " + check::valueText(row.at, *right[row.at]))))
            << slipLines[0].toStdString();

        // Changing a box takes the marks away until the next Check.
        QTest::keyClick(box(ValueId::LHA), Qt::Key_End);
        QTest::keyClick(box(ValueId::LHA), Qt::Key_Backspace);
        EXPECT_TRUE(sign(QStringLiteral("mark_LHA")).isEmpty());
        EXPECT_TRUE(inDialog<QPlainTextEdit>(QStringLiteral("txtSlips"))->toPlainText().isEmpty());
        closeDialog();

        EXPECT_EQ(form.record(), recordBefore);
        EXPECT_EQ(printout::renderLines(surface()->form()), printedBefore);
        EXPECT_EQ(field("txtGHAMin")->text(), QStringLiteral("12.3"));
    }
    EXPECT_TRUE(toolkit.messages.isEmpty()) << toolkit.messages.join(" | ").toStdString();
}

// A table value 0.3 off agrees within table reading by default and differs
// under "exact", and changing the choice checks again; a box whose text is
// not a value of its kind is marked ? at each of its places and named in
// the list, and the rest is still checked.
TEST_F(CheckDialogTest, ToleranceChoiceChecksAgainAndUnreadableBoxesAreNamed) {
    typeFirstExample();
    key(Qt::Key_F7);
    ASSERT_NE(dialog(), nullptr);
    check::WorkedValues sheet = check::workWithSlips(testentries::firstExample(), {});
    sheet[ValueId::Q_coDec].reset();
    sheet[ValueId::v].reset();
    typeSheet(sheet);
    QTest::keyClicks(box(ValueId::Q_coDec), QStringLiteral("63.50")); // the form has 63.80
    QTest::keyClicks(box(ValueId::v), QStringLiteral("14.8"));        // degrees, not 14 48.0
    QTest::keyClick(box(ValueId::v), Qt::Key_Return);

    EXPECT_EQ(sign(QStringLiteral("mark_Q_coDec")), QStringLiteral("\u2248"));
    EXPECT_EQ(sign(QStringLiteral("mark_v")), QStringLiteral("?"));
    EXPECT_EQ(sign(QStringLiteral("mark_v_again")), QStringLiteral("?"));
    EXPECT_EQ(sign(QStringLiteral("mark_Zn")), QStringLiteral("\u2713"));
    const QString listed = inDialog<QPlainTextEdit>(QStringLiteral("txtSlips"))->toPlainText();
    EXPECT_TRUE(listed.startsWith(QStringLiteral("v: "))) << listed.toStdString();
    EXPECT_EQ(listed.count(QLatin1Char('\n')), 0) << "no slip: " << listed.toStdString();

    auto* tolerance = inDialog<QComboBox>(QStringLiteral("cboTolerance"));
    tolerance->setCurrentIndex(tolerance->findText(QStringLiteral("exact")));
    EXPECT_EQ(sign(QStringLiteral("mark_Q_coDec")), QStringLiteral("\u2717"));
    EXPECT_TRUE(inDialog<QPlainTextEdit>(QStringLiteral("txtSlips"))
                    ->toPlainText()
                    .contains(QStringLiteral("Q_coDec 63.50: ")));
    closeDialog();
}

// The form a student copies into gives nothing away: its text holds none of
// the right values, only labels, formulas, arrows and footnotes; Tab goes
// through the boxes line by line, left to right, then to the controls
// below; every control has a name for a screen reader.
TEST_F(CheckDialogTest, FormHidesTheValuesTabFollowsTheFormAndEveryControlIsNamed) {
    typeFirstExample();
    key(Qt::Key_F7);
    app::CheckDialog* open = dialog();
    ASSERT_NE(open, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowActive(open));

    // Every box stands on the form in reading order: each Tab moves down a
    // line or right along it.
    QWidget* at = open->focusWidget();
    ASSERT_EQ(at, box(ValueId::LHA));
    std::vector<QString> visited;
    QPoint last(-1, -1);
    while (qobject_cast<QLineEdit*>(at) != nullptr) {
        const QPoint corner = at->geometry().topLeft();
        EXPECT_TRUE(corner.y() > last.y() || (corner.y() == last.y() && corner.x() > last.x()))
            << at->objectName().toStdString();
        last = corner;
        visited.push_back(at->objectName());
        QTest::keyClick(at, Qt::Key_Tab);
        at = open->focusWidget();
    }
    EXPECT_EQ(visited.size(), check::valueCount) << "one box per value, each reached once";
    EXPECT_EQ(at, inDialog<QWidget>(QStringLiteral("cboTolerance")));
    QTest::keyClick(at, Qt::Key_Tab);
    EXPECT_EQ(open->focusWidget(), inDialog<QWidget>(QStringLiteral("cmdCheck")));

    for (QWidget* widget : open->findChildren<QWidget*>()) {
        const bool control = qobject_cast<QLineEdit*>(widget) || qobject_cast<QLabel*>(widget) ||
                             qobject_cast<QComboBox*>(widget) ||
                             qobject_cast<QPushButton*>(widget) ||
                             qobject_cast<QPlainTextEdit*>(widget);
        if (!control || widget->objectName().isEmpty())
            continue;
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget);
        ASSERT_NE(accessible, nullptr);
        EXPECT_FALSE(accessible->text(QAccessible::Name).isEmpty())
            << widget->objectName().toStdString();
    }

    // No right value shows before the student has typed anything.
    QStringList shown;
    for (QLabel* label : open->findChildren<QLabel*>())
        shown.append(label->text());
    const QString entriesLine = inDialog<QLabel>(QStringLiteral("lblEntries"))->text();
    // The entries as the fields hold them.
    EXPECT_EQ(entriesLine.toStdString(), printout::entriesText(testentries::entries(
                                             reduction::Method::Q, "54", "12.3", "N", "20", "15.0",
                                             "N", "40", "0", "W", "70", "0")));
    for (const char* value :
         {"344\u00B012.3'", "14\u00B048.0'", "66\u00B004.2'", "141.0", "1365.03"}) {
        EXPECT_FALSE(shown.join('\n').contains(QString::fromUtf8(value))) << value;
    }
    closeDialog();
}

// Entries the tables cannot reduce get no form to fill in: the dialog says
// why, in the words the window's own message box uses, and the window keeps
// its printout.
TEST_F(CheckDialogTest, EntriesThatCannotBeReducedAreExplainedAsTheWindowExplainsThem) {
    const struct {
        const char* row;
        const char* ghaDeg;
        const char* decDeg;
        const char* decMin;
        const char* latDeg;
    } rows[] = {
        {"body below the horizon", "180", "20", "", "40"},
        {"t at 90 leaves Qw below 0", "90", "2", "13.3", "10"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.row);
        click(control<QPushButton>("cmdClear"));
        retype("txtGHADeg", row.ghaDeg);
        retype("txtDecDeg", row.decDeg);
        retype("txtDecMin", row.decMin);
        retype("txtLDeg", row.latDeg);
        toolkit.messages.clear();
        click(control<QPushButton>("cmdQ"));
        ASSERT_EQ(toolkit.messages.size(), 1);
        key(Qt::Key_F7);
        ASSERT_NE(dialog(), nullptr);
        EXPECT_EQ(inDialog<QLabel>(QStringLiteral("lblSummary"))->text(), toolkit.messages[0]);
        EXPECT_EQ(dialog()->findChild<QLineEdit*>(), nullptr);
        EXPECT_EQ(dialog()->findChild<QPushButton*>(QStringLiteral("cmdCheck")), nullptr);
        closeDialog();
        EXPECT_TRUE(surface()->isEmpty());
    }
}

} // namespace

namespace {

// Whatever the sight, the boxes lie on the form apart from each other, and
// each holds the longest value of its kind as a student writes it without
// scrolling.
TEST(CheckDialogLayout, BoxesNeverOverlapAndHoldTheLongestValueOfTheirKind) {
    reduction::ReductionInput tiny = testentries::firstExample();
    tiny.ghaDeg = "70";
    tiny.ghaMin = "0.1"; // t of 0.1': table values of five digits
    const reduction::ReductionInput sights[] = {testentries::firstExample(),
                                                testentries::secondExample(),
                                                testentries::contraryExample(), tiny};
    const QString longest[] = {QStringLiteral("359\u00B059.9'"), QStringLiteral("359.9"),
                               QStringLiteral("10446.37")};
    for (const reduction::ReductionInput& sight : sights) {
        SCOPED_TRACE(printout::entriesText(sight));
        app::CheckDialog dialog(sight);
        auto* area = dialog.findChild<QWidget*>(QStringLiteral("form"));
        ASSERT_NE(area, nullptr);
        std::vector<QWidget*> boxes;
        for (QWidget* child : area->findChildren<QWidget*>())
            if (!child->objectName().startsWith(QStringLiteral("mark_")))
                boxes.push_back(child);
        ASSERT_EQ(boxes.size(), 32u) << "26 values, six of them shown twice";
        for (std::size_t i = 0; i < boxes.size(); ++i) {
            const QRect box = boxes[i]->geometry();
            const std::string name = boxes[i]->objectName().toStdString();
            EXPECT_TRUE(area->rect().contains(box)) << name;
            for (std::size_t j = i + 1; j < boxes.size(); ++j)
                EXPECT_FALSE(box.intersects(boxes[j]->geometry()))
                    << name << " and " << boxes[j]->objectName().toStdString();
            QString value = boxes[i]->objectName();
            if (value.endsWith(QStringLiteral("_again")))
                value.chop(6);
            const auto id = check::valueFromName(value.toStdString());
            ASSERT_TRUE(id) << name;
            const QString& text = longest[int(check::valueKind(*id))];
            EXPECT_GE(box.width(), QFontMetrics(boxes[i]->font()).horizontalAdvance(text) + 4)
                << name;
        }
    }
}

} // namespace
