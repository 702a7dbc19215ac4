#include <QAccessible>
#include <QAccessibleInterface>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
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

    // Closes the dialog as a user does (Escape, Close or the title bar's
    // close box) and lets it go.
    void closeDialog(int way = 0) {
        app::CheckDialog* open = dialog();
        ASSERT_NE(open, nullptr);
        if (way == 0)
            QTest::keyClick(open, Qt::Key_Escape);
        else if (way == 1)
            inDialog<QPushButton>(QStringLiteral("cmdClose"))->click();
        else
            open->close();
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

    // Types a student's sheet into the open dialog's boxes afresh as a
    // student does: from the first box, in the order of working, Tab after
    // each (past a value not given); then Enter checks.
    void typeSheet(const check::WorkedValues& sheet, ValueId last = ValueId::Zn) {
        ASSERT_TRUE(QTest::qWaitForWindowActive(dialog()));
        inDialog<QPushButton>(QStringLiteral("cmdAfresh"))->click();
        bool spaced = false;
        for (const ValueId id : check::allValues()) {
            QWidget* at = dialog()->focusWidget();
            ASSERT_EQ(at, box(id)) << "Tab reached " << at->objectName().toStdString();
            if (sheet[id])
                QTest::keyClicks(at, handwritten(id, *sheet[id], spaced = !spaced));
            if (id == last)
                return QTest::keyClick(at, Qt::Key_Return); // Enter checks
            QTest::keyClick(at, Qt::Key_Tab);
        }
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
                    .contains(QStringLiteral("Q(90 - dec) 63.50: ")));
    closeDialog();
}

// The form a student copies into gives nothing away: its text holds none of
// the right values, only labels, formulas, arrows and footnotes; Tab goes
// through the boxes in the order of working, then to the controls below;
// every control has a name for a screen reader; a legend tells the marks.
TEST_F(CheckDialogTest, FormHidesTheValuesTabFollowsTheFormAndEveryControlIsNamed) {
    typeFirstExample();
    key(Qt::Key_F7);
    app::CheckDialog* open = dialog();
    ASSERT_NE(open, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowActive(open));

    // Tab goes down the form's left column, then down its right, in the
    // order a navigator works the values; assistive technology lists the
    // boxes in the same order, each named as the form writes it.
    QWidget* at = open->focusWidget();
    std::vector<QString> visited, listed, names, labels;
    while (qobject_cast<QLineEdit*>(at) != nullptr) {
        visited.push_back(at->objectName());
        QTest::keyClick(at, Qt::Key_Tab);
        at = open->focusWidget();
    }
    QAccessibleInterface* area = QAccessible::queryAccessibleInterface(inDialog<QWidget>("form"));
    for (int i = 0; i < area->childCount(); ++i)
        if (area->child(i)->role() == QAccessible::EditableText)
            listed.push_back(area->child(i)->text(QAccessible::Name));
    for (const ValueId id : check::allValues()) {
        names.push_back(name(id));
        labels.push_back(QString::fromUtf8(check::valueLabel(id).data()));
    }
    EXPECT_EQ(visited, names);
    EXPECT_EQ(listed, labels);
    EXPECT_EQ(at, inDialog<QWidget>(QStringLiteral("cboTolerance")));
    QTest::keyClick(at, Qt::Key_Tab);
    EXPECT_EQ(open->focusWidget(), inDialog<QWidget>(QStringLiteral("chkMarkAsIGo")));
    const QString legend = inDialog<QLabel>(QStringLiteral("lblLegend"))->text();
    for (const check::Mark mark : {check::Mark::Agrees, check::Mark::WithinReading,
                                   check::Mark::Follows, check::Mark::Differs})
        EXPECT_TRUE(legend.contains(QString::fromUtf8(check::markSign(mark).data()) + ' ' +
                                    QString::fromUtf8(check::markText(mark).data())));

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

// What is typed is kept, however the dialog is closed, with the tolerance
// and the marks, until the entries are cleared; a sheet typed for other
// entries comes back as typed, with a note that says so.
TEST_F(CheckDialogTest, SheetIsKeptUntilTheEntriesAreClearedAndSaysWhenTheyChanged) {
    const QString typed = QStringLiteral("63.50");
    typeFirstExample();
    key(Qt::Key_F7);
    QTest::keyClicks(box(ValueId::Q_coDec), typed);
    auto* tolerance = inDialog<QComboBox>(QStringLiteral("cboTolerance"));
    tolerance->setCurrentIndex(tolerance->findText(QStringLiteral("exact")));
    inDialog<QPushButton>(QStringLiteral("cmdCheck"))->click();
    for (int way = 0; way < 3; ++way) {
        closeDialog(way);
        key(Qt::Key_F7);
        EXPECT_EQ(box(ValueId::Q_coDec)->text(), typed) << way;
        EXPECT_EQ(inDialog<QComboBox>(QStringLiteral("cboTolerance"))->currentText(), "exact");
        EXPECT_EQ(sign(QStringLiteral("mark_Q_coDec")), QStringLiteral("\u2717"));
        EXPECT_FALSE(inDialog<QLabel>(QStringLiteral("lblChanged"))->isVisibleTo(dialog()));
    }
    closeDialog();
    retype("txtGHAMin", "12.4");
    key(Qt::Key_F7);
    EXPECT_EQ(box(ValueId::Q_coDec)->text(), typed);
    EXPECT_TRUE(inDialog<QLabel>(QStringLiteral("lblChanged"))->isVisibleTo(dialog()));
    EXPECT_TRUE(
        inDialog<QLabel>(QStringLiteral("lblChanged"))->text().contains("GHA 54\u00B012.3'"));
    closeDialog();
    click(control<QPushButton>("cmdClear"));
    typeFirstExample();
    key(Qt::Key_F7);
    EXPECT_TRUE(box(ValueId::Q_coDec)->text().isEmpty());
    closeDialog();
}

// With no entry at all there is no sight to check: a message says the
// entries come first, and no form opens.
TEST_F(CheckDialogTest, EmptyEntriesOpenNoFormButSayTheSightComesFirst) {
    key(Qt::Key_F7);
    EXPECT_EQ(dialog(), nullptr);
    ASSERT_EQ(toolkit.messages.size(), 1);
    EXPECT_TRUE(toolkit.messages[0].contains(QStringLiteral("entries first")));
    retype("txtLDeg", "40");
    key(Qt::Key_F7);
    EXPECT_NE(dialog(), nullptr);
    closeDialog();
}

// WCAG's contrast ratio of two colours, 1 to 21.
double contrast(const QColor& a, const QColor& b) {
    const auto luminance = [](const QColor& c) {
        const auto linear = [](double v) {
            return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * linear(c.redF()) + 0.7152 * linear(c.greenF()) + 0.0722 * linear(c.blueF());
    };
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// Every marked box and copy reads as well in a dark desktop theme as in a
// light one: its text keeps a contrast of at least 4.5 on the mark's colour.
TEST_F(CheckDialogTest, MarkedBoxesCanBeReadInLightAndDarkThemes) {
    const QPalette light = QApplication::palette();
    QPalette dark(QColor(60, 60, 60), QColor(30, 30, 30));
    dark.setColor(QPalette::Text, QColor(230, 230, 230));
    dark.setColor(QPalette::WindowText, QColor(230, 230, 230));
    const check::InjectedSlip slip{check::SlipId::ComplementLookedUp, ValueId::Q_tUsed};
    typeFirstExample();
    for (const QPalette& theme : {light, dark}) {
        QApplication::setPalette(theme);
        key(Qt::Key_F7);
        typeSheet(check::workWithSlips(testentries::firstExample(), {&slip, 1}));
        for (QLineEdit* edit : dialog()->findChildren<QLineEdit*>())
            EXPECT_GE(contrast(edit->palette().color(QPalette::Text),
                               edit->palette().color(QPalette::Base)),
                      4.5)
                << edit->objectName().toStdString();
        for (QLabel* copy : dialog()->findChildren<QLabel*>(QRegularExpression("_again$")))
            EXPECT_GE(contrast(copy->palette().color(QPalette::WindowText),
                               copy->palette().color(QPalette::Window)),
                      4.5)
                << copy->objectName().toStdString();
        closeDialog();
    }
    QApplication::setPalette(light);
}

// "Mark as I go": each box is marked as it is left, by Tab or Enter; a slip's
// words stand beside it at once, a notification to a screen reader; corrected, the
// box is marked ✓; a later value worked on from a slip kept is marked →.
// "Show the Right Form" shows the right form.
TEST_F(CheckDialogTest, MarkAsIGoMarksEachBoxAsItIsLeftWithTheSlipBesideIt) {
    const check::InjectedSlip slip{check::SlipId::ComplementLookedUp, ValueId::Q_tUsed};
    const check::WorkedValues sheet = check::workWithSlips(testentries::firstExample(), {&slip, 1});
    const check::WorkedValues right = check::workWithSlips(testentries::firstExample(), {});
    typeFirstExample();
    key(Qt::Key_F7);
    inDialog<QCheckBox>(QStringLiteral("chkMarkAsIGo"))->setChecked(true);
    typeSheet(sheet, ValueId::Q_tUsed); // Enter leaves the box, as Tab does
    auto* note = inDialog<QLabel>(QStringLiteral("lblNote"));
    EXPECT_EQ(dialog()->focusWidget(), box(ValueId::Qv));
    EXPECT_EQ(sign(QStringLiteral("mark_Q_tUsed")), QStringLiteral("\u2717"));
    EXPECT_TRUE(note->isVisible());
    EXPECT_TRUE(note->text().contains(QString::fromUtf8(check::slipSpec(slip.slip).name.data())));
    EXPECT_EQ(QAccessible::queryAccessibleInterface(note)->role(), QAccessible::Notification);

    QTest::keyClick(box(ValueId::Qv), Qt::Key_Tab, Qt::ShiftModifier);
    box(ValueId::Q_tUsed)->selectAll();
    QTest::keyClicks(box(ValueId::Q_tUsed),
                     handwritten(ValueId::Q_tUsed, *right[ValueId::Q_tUsed], false));
    QTest::keyClick(box(ValueId::Q_tUsed), Qt::Key_Tab);
    EXPECT_EQ(sign(QStringLiteral("mark_Q_tUsed")), QStringLiteral("\u2713"));
    EXPECT_FALSE(note->isVisible());

    QTest::keyClick(box(ValueId::Qv), Qt::Key_Tab, Qt::ShiftModifier);
    box(ValueId::Q_tUsed)->selectAll();
    QTest::keyClicks(box(ValueId::Q_tUsed),
                     handwritten(ValueId::Q_tUsed, *sheet[ValueId::Q_tUsed], false));
    QTest::keyClick(box(ValueId::Q_tUsed), Qt::Key_Tab);
    QTest::keyClicks(box(ValueId::Qv), handwritten(ValueId::Qv, *sheet[ValueId::Qv], false));
    QTest::keyClick(box(ValueId::Qv), Qt::Key_Tab);
    EXPECT_EQ(sign(QStringLiteral("mark_Q_tUsed")), QStringLiteral("\u2717"));
    EXPECT_EQ(sign(QStringLiteral("mark_Qv")), QStringLiteral("\u2192"));
    EXPECT_TRUE(note->isVisible()) << "the kept slip's words stay beside it";

    inDialog<QPushButton>(QStringLiteral("cmdRightForm"))->click();
    auto* shown = inDialog<QPlainTextEdit>(QStringLiteral("txtRightForm"));
    EXPECT_TRUE(shown->isVisible());
    QStringList expected;
    for (const std::string& line : firstExampleForm)
        expected.append(QString::fromStdString(line));
    EXPECT_EQ(shown->toPlainText().split('\n'), expected);
    closeDialog();
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
