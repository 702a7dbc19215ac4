#include <QComboBox>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "app/surface.h"
#include "app/tests/windowfixture.h"
#include "help/form1.h"
#include "help/helptext.h"
#include "printout/workedform.h"

namespace {

const char* const allFields[] = {"txtGHADeg", "txtGHAMin", "txtDecDeg", "txtDecMin",
                                 "txtLDeg",   "txtLMin",   "txtLoDeg",  "txtLoMin"};

class CommandsTest : public WindowFixture {
  protected:
    app::Surface* surface() { return control<app::Surface>("surface"); }
    std::vector<std::string> printedLines() { return printout::renderLines(surface()->form()); }
    QComboBox* list(const char* name) { return control<QComboBox>(name); }
    QRadioButton* option(const char* name) { return control<QRadioButton>(name); }

    // The first worked example, typed and calculated.
    void enterAndCalculate() {
        typeFirstExample();
        click(control<QPushButton>("cmdQ"));
        ASSERT_TRUE(toolkit.messages.isEmpty()) << toolkit.messages.join(" | ").toStdString();
        ASSERT_FALSE(printedLines().empty());
    }

    void expectEmptyEnabledAndPlain(const char* name) {
        QLineEdit* edit = field(name);
        EXPECT_TRUE(edit->text().isEmpty()) << name;
        EXPECT_TRUE(edit->isEnabled()) << name;
        EXPECT_EQ(shownBase(edit), windowBackground(edit)) << name;
    }

    static bool titledFor(const std::vector<std::string>& lines, const char* method) {
        return !lines.empty() &&
               lines.front().find(std::string("by ") + method + " Table") != std::string::npos;
    }

    static QString designedHelpText() {
        const std::string_view text = help::helpText();
        QString shown = QString::fromUtf8(text.data(), qsizetype(text.size()));
        shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        return shown;
    }

    static void closeAndFlush(QWidget* window) {
        window->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
};

TEST_F(CommandsTest, StartsEmptyWithTheFirstListItemsQMethodAndNothingCalculated) {
    for (const char* name : allFields)
        expectEmptyEnabledAndPlain(name);
    EXPECT_EQ(list("cboDec")->currentText(), QStringLiteral("N"));
    EXPECT_EQ(list("cboL")->currentText(), QStringLiteral("N"));
    EXPECT_EQ(list("cboLo")->currentText(), QStringLiteral("W"));
    EXPECT_TRUE(option("optQ")->isChecked());
    EXPECT_TRUE(printedLines().empty());
    EXPECT_TRUE(toolkit.messages.isEmpty());
    EXPECT_EQ(toolkit.beeps, 0);
    EXPECT_EQ(form.helpWindow(), nullptr);
    // Nothing calculated: the record is as a fresh one.
    EXPECT_EQ(form.record(), reduction::ReductionRecord{});
}

TEST_F(CommandsTest, ClearAllEmptiesEveryFieldUnlocksAndErasesButKeepsListsMethodAndRecord) {
    enterAndCalculate();
    // Lock the declination and the latitude minutes, each still holding text.
    retype("txtDecMin", "0");
    retype("txtDecDeg", "90");
    retype("txtLMin", "00");
    retype("txtLDeg", "90");
    ASSERT_FALSE(field("txtDecMin")->isEnabled());
    ASSERT_FALSE(field("txtLMin")->isEnabled());
    const reduction::ReductionRecord before = form.record();
    list("cboLo")->setCurrentIndex(1); // E, so a clear that reset the lists would show

    click(control<QPushButton>("cmdClear"));

    for (const char* name : allFields)
        expectEmptyEnabledAndPlain(name);
    EXPECT_TRUE(surface()->form().lines.empty());
    EXPECT_TRUE(surface()->placedRuns().empty()) << "nothing comes back on repaint";
    EXPECT_EQ(focused(), field("txtGHADeg"));
    EXPECT_EQ(list("cboDec")->currentText(), QStringLiteral("N"));
    EXPECT_EQ(list("cboLo")->currentText(), QStringLiteral("E"));
    EXPECT_TRUE(option("optQ")->isChecked());
    EXPECT_EQ(form.record(), before);
    EXPECT_TRUE(toolkit.messages.isEmpty());
}

TEST_F(CommandsTest, ClearExceptDrEmptiesGhaAndDeclinationOnly) {
    enterAndCalculate();
    retype("txtDecMin", "");
    retype("txtDecDeg", "90");
    ASSERT_FALSE(field("txtDecMin")->isEnabled());
    list("cboLo")->setCurrentIndex(1);

    click(control<QPushButton>("cmdClearSome"));

    for (const char* name : {"txtGHADeg", "txtGHAMin", "txtDecDeg", "txtDecMin"})
        expectEmptyEnabledAndPlain(name);
    EXPECT_EQ(field("txtLDeg")->text(), QStringLiteral("40"));
    EXPECT_EQ(field("txtLMin")->text(), QStringLiteral("0"));
    EXPECT_EQ(field("txtLoDeg")->text(), QStringLiteral("70"));
    EXPECT_EQ(field("txtLoMin")->text(), QStringLiteral("0"));
    EXPECT_TRUE(surface()->form().lines.empty());
    EXPECT_EQ(focused(), field("txtGHADeg"));
    EXPECT_EQ(list("cboLo")->currentText(), QStringLiteral("E"));
    EXPECT_TRUE(toolkit.messages.isEmpty());
}

TEST_F(CommandsTest, ClearOfEmptyFieldsShowsNothing) {
    click(control<QPushButton>("cmdClear"));
    click(control<QPushButton>("cmdClearSome"));
    EXPECT_TRUE(toolkit.messages.isEmpty());
    EXPECT_EQ(toolkit.beeps, 0);
    EXPECT_EQ(focused(), field("txtGHADeg"));
}

TEST_F(CommandsTest, ClearAccessKeyEmptiesTheFields) {
    typeInto("txtDecDeg", "12");
    key(Qt::Key_A, Qt::AltModifier);
    EXPECT_TRUE(QTest::qWaitFor([&] { return field("txtDecDeg")->text().isEmpty(); }));
    EXPECT_EQ(focused(), field("txtGHADeg"));
}

TEST_F(CommandsTest, HoldBlocksClearAllWhileMinutesAreAboveTheirBound) {
    enterAndCalculate();
    retype("txtDecMin", "75");
    ASSERT_EQ(toolkit.messages.size(), 1);

    click(control<QPushButton>("cmdClear"));
    click(control<QPushButton>("cmdClearSome"));

    EXPECT_EQ(focused(), field("txtDecMin"));
    EXPECT_EQ(field("txtDecMin")->text(), QStringLiteral("75"));
    EXPECT_EQ(field("txtGHADeg")->text(), QStringLiteral("54"));
    EXPECT_FALSE(printedLines().empty()) << "the printout stays";
    EXPECT_EQ(toolkit.messages.size(), 1);
}

TEST_F(CommandsTest, SwitchingTheMethodReprintsTheFormForTheOtherMethod) {
    enterAndCalculate();
    const std::vector<std::string> byQ = printedLines();
    ASSERT_TRUE(titledFor(byQ, "Q(x)"));

    click(option("optQQ"));
    ASSERT_TRUE(option("optQQ")->isChecked());
    const std::vector<std::string> byQQ = printedLines();
    EXPECT_TRUE(titledFor(byQQ, "QQ(x)"));
    EXPECT_NE(byQQ, byQ);
    // Exactly what "Calculate" prints with the same fields.
    click(control<QPushButton>("cmdQ"));
    EXPECT_EQ(printedLines(), byQQ);

    click(option("optQ"));
    EXPECT_EQ(printedLines(), byQ);
    EXPECT_TRUE(toolkit.messages.isEmpty());
}

TEST_F(CommandsTest, SwitchingTheMethodWithEmptyFieldsDoesWhatCalculateDoes) {
    click(option("optQQ"));
    const QStringList afterSwitch = toolkit.messages;
    const std::vector<std::string> printedBySwitch = printedLines();
    EXPECT_TRUE(!afterSwitch.isEmpty() || !printedBySwitch.empty()) << "the switch calculated";

    toolkit.messages.clear();
    surface()->clear();
    click(control<QPushButton>("cmdQ"));
    EXPECT_EQ(toolkit.messages, afterSwitch);
    EXPECT_EQ(printedLines(), printedBySwitch);
}

TEST_F(CommandsTest, ReselectingTheSelectedMethodDoesNotRecalculate) {
    enterAndCalculate();
    const std::vector<std::string> printed = printedLines();
    const reduction::ReductionRecord before = form.record();
    // Changed but not calculated: a recalculation would print another form.
    retype("txtGHADeg", "100");

    click(option("optQ"));
    key(Qt::Key_Space); // the focused, selected option pressed again

    EXPECT_TRUE(option("optQ")->isChecked());
    EXPECT_EQ(printedLines(), printed);
    EXPECT_EQ(form.record(), before);
    EXPECT_TRUE(toolkit.messages.isEmpty());
}

TEST_F(CommandsTest, ArrowKeyInTheMethodGroupSwitchesAndRecalculates) {
    enterAndCalculate();
    option("optQ")->setFocus();
    key(Qt::Key_Right);
    ASSERT_TRUE(option("optQQ")->isChecked());
    EXPECT_TRUE(titledFor(printedLines(), "QQ(x)"));
}

TEST_F(CommandsTest, HoldKeepsTheMethodAndTheHelpWindowFromActing) {
    typeInto("txtGHAMin", "60");
    ASSERT_EQ(toolkit.messages.size(), 1);
    click(option("optQQ"));
    click(control<QPushButton>("cmdHelp"));
    EXPECT_TRUE(option("optQ")->isChecked());
    EXPECT_TRUE(printedLines().empty());
    EXPECT_EQ(form.helpWindow(), nullptr);
    EXPECT_EQ(focused(), field("txtGHAMin"));
}

TEST_F(CommandsTest, HelpTwiceGivesOneModelessWindowWithoutOwner) {
    click(control<QPushButton>("cmdHelp"));
    QPointer<help::Form1> first = form.helpWindow();
    ASSERT_NE(first, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(first));
    EXPECT_EQ(first->parentWidget(), nullptr);
    EXPECT_EQ(first->windowModality(), Qt::NonModal);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);

    form.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    click(control<QPushButton>("cmdHelp"));
    EXPECT_EQ(form.helpWindow(), first);
    EXPECT_TRUE(QTest::qWaitForWindowActive(first)) << "brought to the front";

    int helpWindows = 0;
    for (QWidget* window : QApplication::topLevelWidgets())
        helpWindows += qobject_cast<help::Form1*>(window) != nullptr ? 1 : 0;
    EXPECT_EQ(helpWindows, 1);

    // The main window stays usable while the help window is open.
    form.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    typeInto("txtGHADeg", "7");
    EXPECT_EQ(field("txtGHADeg")->text(), QStringLiteral("7"));
}

TEST_F(CommandsTest, TypedHelpTextIsGoneAfterCloseAndReopen) {
    click(control<QPushButton>("cmdHelp"));
    QPointer<help::Form1> first = form.helpWindow();
    ASSERT_NE(first, nullptr);
    first->Text1->moveCursor(QTextCursor::Start);
    QTest::keyClicks(first->Text1, QStringLiteral("scribble"));
    ASSERT_NE(first->Text1->toPlainText(), designedHelpText());

    closeAndFlush(first);
    EXPECT_TRUE(first.isNull());
    EXPECT_EQ(form.helpWindow(), nullptr);

    form.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    click(control<QPushButton>("cmdHelp"));
    ASSERT_NE(form.helpWindow(), nullptr);
    EXPECT_EQ(form.helpWindow()->Text1->toPlainText(), designedHelpText());
}

TEST_F(CommandsTest, HelpWindowStaysOpenWhenTheMainWindowCloses) {
    click(control<QPushButton>("cmdHelp"));
    QPointer<help::Form1> help = form.helpWindow();
    ASSERT_NE(help, nullptr);
    form.close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_FALSE(help.isNull());
    EXPECT_TRUE(help->isVisible());
    EXPECT_TRUE(help->testAttribute(Qt::WA_QuitOnClose)) << "the program ends with it";
}

} // namespace
