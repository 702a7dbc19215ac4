#include <QAccessible>
#include <QAccessibleInterface>
#include <QClipboard>
#include <QGuiApplication>
#include <QPushButton>
#include <QRadioButton>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/surface.h"
#include "app/tests/windowfixture.h"
#include "help/form1.h"
#include "printout/workedform.h"
#include "testing/expectedforms.h"

namespace {

using testforms::firstExampleForm;

class AccessibilityTest : public WindowFixture {
  protected:
    QAccessibleInterface* accessible(const char* name) {
        QAccessibleInterface* found = QAccessible::queryAccessibleInterface(control<QWidget>(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    QAccessibleTextInterface* surfaceText() {
        QAccessibleInterface* surface = accessible("surface");
        return surface == nullptr ? nullptr : surface->textInterface();
    }
    QString wholeText() {
        QAccessibleTextInterface* text = surfaceText();
        return text->text(0, text->characterCount());
    }
    static QString joined(const std::vector<std::string>& lines) {
        QStringList all;
        for (const std::string& line : lines)
            all.append(QString::fromStdString(line));
        return all.join(QLatin1Char('\n'));
    }
    void calculate() { click(control<QPushButton>("cmdQ")); }
};

TEST_F(AccessibilityTest, EveryControlHasTheNameAScreenReaderShouldSay) {
    // Written from the window's captions and labels, not from its code.
    const struct {
        const char* control;
        const char* name;
    } expected[] = {
        {"txtGHADeg", "GHA degrees"},
        {"txtGHAMin", "GHA minutes"},
        {"txtDecDeg", "Dec degrees"},
        {"txtDecMin", "Dec minutes"},
        {"cboDec", "Dec name"},
        {"txtLDeg", "DR L degrees"},
        {"txtLMin", "DR L minutes"},
        {"cboL", "DR L name"},
        {"txtLoDeg", "DR Lo degrees"},
        {"txtLoMin", "DR Lo minutes"},
        {"cboLo", "DR Lo name"},
        {"cmdClear", "Clear All"},
        {"cmdClearSome", "Clear except DR"},
        {"cmdQ", "Calculate"},
        {"cmdHelp", "?"},
        {"Frame1", "Method"},
        {"optQ", "Q(x)"},
        {"optQQ", "QQ(x)"},
        {"surface", "Worked form"},
    };
    for (const auto& row : expected) {
        QAccessibleInterface* control = accessible(row.control);
        ASSERT_NE(control, nullptr);
        const QString name = QString::fromUtf8(row.name);
        EXPECT_EQ(control->object()->property("accessibleName").toString(), name) << row.control;
        // Except on Unix desktops, where Qt gives a closed drop-down list its
        // current item as its name (a screen reader reads the label through
        // a relation there), the name is what the toolkit hands on.
        if (control->role() == QAccessible::ComboBox)
            continue;
        EXPECT_EQ(control->text(QAccessible::Name).toStdString(), row.name) << row.control;
    }
    // Tool tips stay as they were.
    EXPECT_EQ(field("txtLoDeg")->toolTip(), QStringLiteral("Range 0 to 180"));
}

TEST_F(AccessibilityTest, SurfaceIsReadOnlyTextOfThePrintedLinesRefreshedByCalculateAndClear) {
    QAccessibleInterface* surface = accessible("surface");
    QAccessibleTextInterface* text = surfaceText();
    ASSERT_NE(text, nullptr);
    EXPECT_TRUE(surface->state().readOnly);
    EXPECT_TRUE(surface->state().multiLine);
    EXPECT_EQ(text->characterCount(), 0);

    typeFirstExample();
    calculate();
    EXPECT_EQ(wholeText(), joined(firstExampleForm));
    EXPECT_EQ(surface->text(QAccessible::Description),
              QStringLiteral("Printed by the Q(x) table method"));

    // A screen reader reads it line by line: each line comes back whole,
    // wherever in the line the offset stands.
    int offset = 0;
    for (const std::string& line : firstExampleForm) {
        const QString expected = QString::fromStdString(line);
        int start = -1;
        int end = -1;
        const QString read =
            text->textAtOffset(offset + 3, QAccessible::LineBoundary, &start, &end);
        EXPECT_EQ(read.trimmed(), expected.trimmed()) << line;
        EXPECT_EQ(start, offset) << line;
        offset += int(expected.size()) + 1;
    }
    // And a magnifier finds the characters where they are drawn: Hc's bold
    // run starts in column 52 of line 8.
    const int hc = int(wholeText().indexOf(QStringLiteral("Hc = ")));
    const QRect cell = text->characterRect(hc);
    auto* drawn = control<app::Surface>("surface");
    EXPECT_NEAR(drawn->mapFromGlobal(cell.topLeft()).x(), 51 * drawn->columnWidth(), 1);
    EXPECT_EQ(text->offsetAtPoint(cell.center()), hc);

    click(control<QRadioButton>("optQQ"));
    EXPECT_EQ(surface->text(QAccessible::Description),
              QStringLiteral("Printed by the QQ(x) table method"));
    EXPECT_TRUE(wholeText().startsWith(
        QStringLiteral("                                 Sight Reduction by QQ(x) Table\n")));

    click(control<QPushButton>("cmdClear"));
    EXPECT_EQ(text->characterCount(), 0);
    EXPECT_TRUE(wholeText().isEmpty());
    EXPECT_TRUE(surface->text(QAccessible::Description).isEmpty());
}

TEST_F(AccessibilityTest, ContextMenuCommandsAreActionsOfTheWorkedFormWhileItIsPrinted) {
    QAccessibleActionInterface* actions = accessible("surface")->actionInterface();
    ASSERT_NE(actions, nullptr);
    const QString copy = QStringLiteral("Copy Worked Form");
    EXPECT_FALSE(actions->actionNames().contains(copy));

    typeFirstExample();
    calculate();
    EXPECT_TRUE(actions->actionNames().contains(copy));
    EXPECT_TRUE(actions->actionNames().contains(QStringLiteral("Save Worked Form as PDF\u2026")));
    QGuiApplication::clipboard()->clear();
    actions->doAction(copy);
    EXPECT_EQ(QGuiApplication::clipboard()->text().section(QLatin1Char('\n'), 0, 0),
              QString::fromStdString(firstExampleForm[0]));
}

// Enter and Return press whichever command button has the focus, as on any
// desktop; what each press does is seen in the window.
TEST_F(AccessibilityTest, EnterAndReturnPressTheFocusedCommandButton) {
    for (const Qt::Key pressed : {Qt::Key_Return, Qt::Key_Enter}) {
        SCOPED_TRACE(pressed == Qt::Key_Return ? "Return" : "Enter");
        const Qt::KeyboardModifiers modifiers =
            pressed == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier;
        typeFirstExample();

        // As a new user does: Tab from the last field to "Calculate".
        field("txtLoMin")->setFocus();
        while (focused() != control<QWidget>("cmdQ") && focused() != field("txtGHADeg"))
            key(Qt::Key_Tab);
        ASSERT_EQ(focused(), control<QWidget>("cmdQ"));
        key(pressed, modifiers);
        EXPECT_EQ(printout::renderLines(control<app::Surface>("surface")->form()),
                  firstExampleForm);

        control<QWidget>("cmdClearSome")->setFocus();
        key(pressed, modifiers);
        EXPECT_TRUE(field("txtGHADeg")->text().isEmpty());
        EXPECT_EQ(field("txtLDeg")->text(), QStringLiteral("40"));

        control<QWidget>("cmdClear")->setFocus();
        key(pressed, modifiers);
        EXPECT_TRUE(field("txtLDeg")->text().isEmpty());

        control<QWidget>("cmdHelp")->setFocus();
        key(pressed, modifiers);
        ASSERT_NE(form.helpWindow(), nullptr);
        EXPECT_TRUE(form.helpWindow()->isVisible());
        form.helpWindow()->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        form.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    }
    EXPECT_TRUE(toolkit.messages.isEmpty());
    EXPECT_EQ(toolkit.beeps, 0);
}

} // namespace
