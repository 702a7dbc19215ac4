#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include <gtest/gtest.h>

#include "app/qttoolkit.h"
#include "app/surface.h"
#include "app/tests/modalwatchdog.h"
#include "app/tests/windowfixture.h"

namespace {

const QString outOfRange = QStringLiteral("Out of Range");

class EntryFieldsTest : public WindowFixture {
  protected:
    app::Surface* surface() { return control<app::Surface>("surface"); }
};

TEST_F(EntryFieldsTest, NineThenOneTurnsDecDegRedWithOneMessageAndLeavesDecMinEnabled) {
    QLineEdit* dec = field("txtDecDeg");
    QLineEdit* decMin = field("txtDecMin");
    QColor behindTheBox;
    toolkit.whileBoxOpen = [&](const QString&) { behindTheBox = shownBase(dec); };

    typeInto("txtDecDeg", "9");
    EXPECT_EQ(dec->text(), QStringLiteral("9"));
    EXPECT_TRUE(toolkit.messages.isEmpty());
    EXPECT_EQ(shownBase(dec), windowBackground(dec));

    type("1");
    EXPECT_EQ(dec->text(), QStringLiteral("91"));
    EXPECT_EQ(toolkit.messages, QStringList{outOfRange});
    EXPECT_EQ(behindTheBox, red()) << "the field is red before the box opens";
    EXPECT_EQ(shownBase(dec), red());
    EXPECT_TRUE(decMin->isEnabled());
    EXPECT_EQ(shownBase(decMin), windowBackground(decMin));
    EXPECT_EQ(toolkit.beeps, 0);
}

TEST_F(EntryFieldsTest, ValueAboveItsBoundHoldsTheFocusAgainstTabClicksAndAccessKeys) {
    typeInto("txtGHADeg", "5");
    typeInto("txtDecDeg", "91");
    ASSERT_EQ(toolkit.messages.size(), 1);
    QLineEdit* dec = field("txtDecDeg");

    key(Qt::Key_Tab);
    EXPECT_EQ(focused(), dec);
    key(Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(focused(), dec);

    click(field("txtLDeg"));
    EXPECT_EQ(focused(), dec);

    click(control<QPushButton>("cmdClear"));
    EXPECT_EQ(field("txtGHADeg")->text(), QStringLiteral("5")) << "Clear All did not run";
    EXPECT_EQ(dec->text(), QStringLiteral("91"));

    click(control<QPushButton>("cmdQ"));
    EXPECT_TRUE(surface()->form().lines.empty()) << "Calculate did not run";

    click(control<QRadioButton>("optQQ"));
    EXPECT_FALSE(control<QRadioButton>("optQQ")->isChecked());

    // An access key presses its button at once and clicks it when a short
    // animation ends: none of them was pressed.
    key(Qt::Key_A, Qt::AltModifier);
    key(Qt::Key_C, Qt::AltModifier);
    for (const char* name : {"cmdClear", "cmdClearSome", "cmdQ"})
        EXPECT_FALSE(control<QPushButton>(name)->isDown()) << name;
    EXPECT_EQ(field("txtGHADeg")->text(), QStringLiteral("5"));
    EXPECT_TRUE(surface()->form().lines.empty());

    EXPECT_EQ(focused(), dec);
    EXPECT_EQ(toolkit.messages.size(), 1) << "the hold shows nothing";
    EXPECT_EQ(shownBase(dec), red());
}

TEST_F(EntryFieldsTest, BackspaceToAValueInRangeRestoresTheColourAndReleasesTheFocus) {
    typeInto("txtDecDeg", "91");
    key(Qt::Key_Backspace);
    QLineEdit* dec = field("txtDecDeg");
    EXPECT_EQ(dec->text(), QStringLiteral("9"));
    EXPECT_EQ(shownBase(dec), windowBackground(dec));
    EXPECT_EQ(toolkit.messages.size(), 1);
    EXPECT_EQ(toolkit.beeps, 0) << "Backspace passes the filter";

    key(Qt::Key_Tab);
    EXPECT_EQ(focused(), field("txtDecMin"));
}

struct BoundRow {
    const char* title;
    const char* degree;
    const char* minute;
    const char* degreeText;
    const char* minuteText;
    bool reported;
};

class DegreeAtItsBoundTest : public EntryFieldsTest,
                             public ::testing::WithParamInterface<BoundRow> {};

TEST_P(DegreeAtItsBoundTest, LocksTheMinuteFieldGreyAndLetsTheFocusGo) {
    const BoundRow& row = GetParam();
    QLineEdit* degree = field(row.degree);
    QLineEdit* minute = field(row.minute);
    typeInto(row.minute, row.minuteText);
    typeInto(row.degree, row.degreeText);

    EXPECT_FALSE(minute->isEnabled());
    EXPECT_EQ(minute->text(), QString::fromLatin1(row.minuteText)) << "the text stays";
    EXPECT_EQ(shownBase(minute, QPalette::Disabled), inactiveBorder(minute));
    EXPECT_EQ(shownBase(degree), row.reported ? red() : windowBackground(degree));
    EXPECT_EQ(toolkit.messages, row.reported ? QStringList{outOfRange} : QStringList{});

    // At its bound the degree field lets the focus go, also while it is red;
    // Tab passes over the locked minute field.
    key(Qt::Key_Tab);
    EXPECT_NE(focused(), degree);
    EXPECT_NE(focused(), minute);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, DegreeAtItsBoundTest,
    ::testing::Values(BoundRow{"LatitudeMinutesEmpty", "txtLDeg", "txtLMin", "90", "", false},
                      BoundRow{"DecMinutesZero", "txtDecDeg", "txtDecMin", "90", "0", false},
                      BoundRow{"DecMinutesZeroZero", "txtDecDeg", "txtDecMin", "90", "00", false},
                      BoundRow{"DecMinutesLonePoint", "txtDecDeg", "txtDecMin", "90", ".", false},
                      BoundRow{"DecMinutesNotZero", "txtDecDeg", "txtDecMin", "90", "0.5", true},
                      BoundRow{"LatitudeMinutesNotZero", "txtLDeg", "txtLMin", "90", "12", true},
                      BoundRow{"LongitudeAt180", "txtLoDeg", "txtLoMin", "180", "", false}),
    [](const auto& info) { return std::string(info.param.title); });

TEST_F(EntryFieldsTest, BackspaceFromTheBoundUnlocksTheMinuteField) {
    typeInto("txtLDeg", "90");
    QLineEdit* minute = field("txtLMin");
    ASSERT_FALSE(minute->isEnabled());
    key(Qt::Key_Backspace);
    EXPECT_TRUE(minute->isEnabled());
    EXPECT_EQ(shownBase(minute), windowBackground(minute));
    key(Qt::Key_Tab);
    EXPECT_EQ(focused(), minute);
}

TEST_F(EntryFieldsTest, PasteLongerThanTheFieldIsCutToItsLengthAndRunsTheRangeRule) {
    QGuiApplication::clipboard()->setText(QStringLiteral("123456789"));
    typeInto("txtGHAMin", "");
    key(Qt::Key_Insert, Qt::ShiftModifier);
    QLineEdit* minute = field("txtGHAMin");
    EXPECT_EQ(minute->text(), QStringLiteral("1234"));
    EXPECT_EQ(shownBase(minute), red());
    EXPECT_EQ(toolkit.messages, QStringList{outOfRange});
    EXPECT_EQ(toolkit.beeps, 0) << "a paste passes no key filter";

    // The context menu's paste takes the same path through the field.
    toolkit.messages.clear();
    QGuiApplication::clipboard()->setText(QStringLiteral("12.3456"));
    QLineEdit* dec = field("txtDecMin");
    dec->setFocus();
    dec->paste();
    EXPECT_EQ(dec->text(), QStringLiteral("12.3"));
    EXPECT_TRUE(toolkit.messages.isEmpty());
}

TEST_F(EntryFieldsTest, PastedTextIsNotFilteredButItsValueIsMarked) {
    QGuiApplication::clipboard()->setText(QStringLiteral("75x"));
    typeInto("txtDecMin", "");
    key(Qt::Key_Insert, Qt::ShiftModifier);
    EXPECT_EQ(field("txtDecMin")->text(), QStringLiteral("75x"));
    EXPECT_EQ(shownBase(field("txtDecMin")), red());
    EXPECT_EQ(toolkit.messages, QStringList{outOfRange});
}

TEST_F(EntryFieldsTest, CopyCutPasteAndUndoKeysAreDroppedWithABeep) {
    QGuiApplication::clipboard()->setText(QStringLiteral("5"));
    typeInto("txtGHAMin", "12");
    QLineEdit* minute = field("txtGHAMin");
    ASSERT_EQ(toolkit.beeps, 0);

    key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(minute->text(), QStringLiteral("12"));
    minute->selectAll();
    key(Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(minute->text(), QStringLiteral("12"));
    key(Qt::Key_C, Qt::ControlModifier);
    key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(minute->text(), QStringLiteral("12"));
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("5")) << "nothing copied";
    EXPECT_EQ(toolkit.beeps, 4);

    // Where the platform gives the press its control character as text (X11
    // does), the result is the same.
    QKeyEvent paste(QEvent::KeyPress, Qt::Key_V, Qt::ControlModifier, QStringLiteral("\x16"));
    QApplication::sendEvent(minute, &paste);
    EXPECT_EQ(minute->text(), QStringLiteral("12"));
    EXPECT_EQ(toolkit.beeps, 5);
}

TEST_F(EntryFieldsTest, SecondPointIsDroppedWithABeepAlsoWhenTheFirstIsSelected) {
    typeInto("txtDecMin", "1.5");
    type(".");
    QLineEdit* minute = field("txtDecMin");
    EXPECT_EQ(minute->text(), QStringLiteral("1.5"));
    EXPECT_EQ(toolkit.beeps, 1);

    minute->setSelection(1, 1); // the "." itself
    type(".");
    EXPECT_EQ(minute->text(), QStringLiteral("1.5"));
    EXPECT_EQ(toolkit.beeps, 2);

    typeInto("txtDecDeg", ".");
    EXPECT_TRUE(field("txtDecDeg")->text().isEmpty()) << "no point in a degree field";
    EXPECT_EQ(toolkit.beeps, 3);
}

struct KeyRow {
    const char* title;
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    const char* textAfter; // typed into a field holding "12", caret at the end
    int beeps;
};

class KeyFilterTest : public EntryFieldsTest, public ::testing::WithParamInterface<KeyRow> {};

TEST_P(KeyFilterTest, KeyOnAFieldHolding12) {
    const KeyRow& row = GetParam();
    typeInto("txtGHADeg", "12");
    key(row.key, row.modifiers);
    EXPECT_EQ(field("txtGHADeg")->text(), QString::fromLatin1(row.textAfter));
    EXPECT_EQ(toolkit.beeps, row.beeps);
    EXPECT_TRUE(toolkit.messages.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Keys, KeyFilterTest,
    ::testing::Values(KeyRow{"Digit", Qt::Key_3, Qt::NoModifier, "123", 0},
                      KeyRow{"Letter", Qt::Key_A, Qt::NoModifier, "12", 1},
                      KeyRow{"Minus", Qt::Key_Minus, Qt::NoModifier, "12", 1},
                      KeyRow{"Space", Qt::Key_Space, Qt::NoModifier, "12", 1},
                      KeyRow{"Enter", Qt::Key_Return, Qt::NoModifier, "12", 1},
                      KeyRow{"Escape", Qt::Key_Escape, Qt::NoModifier, "12", 1},
                      KeyRow{"Backspace", Qt::Key_Backspace, Qt::NoModifier, "1", 0},
                      KeyRow{"LeftArrowTypesNothing", Qt::Key_Left, Qt::NoModifier, "12", 0},
                      KeyRow{"HomeTypesNothing", Qt::Key_Home, Qt::NoModifier, "12", 0}),
    [](const auto& info) { return std::string(info.param.title); });

TEST_F(EntryFieldsTest, InputMethodCommitsPassTheKeyFilterToo) {
    typeInto("txtGHADeg", "");
    QInputMethodEvent letters(QString(), {});
    letters.setCommitString(QStringLiteral("5x"));
    QApplication::sendEvent(field("txtGHADeg"), &letters);
    EXPECT_TRUE(field("txtGHADeg")->text().isEmpty());
    EXPECT_EQ(toolkit.beeps, 1);

    QInputMethodEvent digits(QString(), {});
    digits.setCommitString(QStringLiteral("72"));
    QApplication::sendEvent(field("txtGHADeg"), &digits);
    EXPECT_EQ(field("txtGHADeg")->text(), QStringLiteral("72"));
    EXPECT_EQ(toolkit.beeps, 1);
}

TEST_F(EntryFieldsTest, DeleteAndArrowKeysEditWithoutTheFilter) {
    typeInto("txtGHADeg", "123");
    key(Qt::Key_Home);
    key(Qt::Key_Delete);
    EXPECT_EQ(field("txtGHADeg")->text(), QStringLiteral("23"));
    key(Qt::Key_End);
    type("4");
    EXPECT_EQ(field("txtGHADeg")->text(), QStringLiteral("234"));
    EXPECT_EQ(toolkit.beeps, 0);
}

TEST_F(EntryFieldsTest, TypingStopsAtTheMaximumLength) {
    typeInto("txtDecDeg", "123");
    typeInto("txtGHADeg", "7190");
    typeInto("txtLoMin", "12345");
    EXPECT_EQ(field("txtDecDeg")->text(), QStringLiteral("12"));
    EXPECT_EQ(field("txtGHADeg")->text(), QStringLiteral("719"));
    EXPECT_EQ(field("txtLoMin")->text(), QStringLiteral("1234"));
}

TEST_F(EntryFieldsTest, EveryChangeAboveTheBoundReportsAgain) {
    typeInto("txtLoMin", "60");
    type(".");
    EXPECT_EQ(toolkit.messages, (QStringList{outOfRange, outOfRange}));
    EXPECT_EQ(shownBase(field("txtLoMin")), red());
}

// The real box from the real toolkit, closed as a user closes it: its focus
// round trip neither runs a rule again nor lifts the hold.
TEST_F(EntryFieldsTest, ModalBoxRoundTripRunsNoRuleAgainAndKeepsTheHold) {
    programWatchdog->setPaused(true);
    app::QtToolkit realToolkit(app::applicationTitle);
    int boxes = 0;
    QColor behindTheBox;
    QLineEdit* dec = nullptr;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            ++boxes;
            behindTheBox = shownBase(dec);
            EXPECT_EQ(box->text(), outOfRange);
            EXPECT_EQ(box->windowTitle(), app::applicationTitle);
            box->accept();
        }
    });
    closer.start(20);
    {
        app::Form8 window(realToolkit);
        window.show();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        dec = window.findChild<QLineEdit*>(QStringLiteral("txtDecDeg"));
        dec->setFocus();
        QTest::keyClick(window.windowHandle(), '9');
        QTest::keyClick(window.windowHandle(), '5');
        EXPECT_EQ(boxes, 1);
        // The offscreen platform does not hand activation back by itself.
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        // A rule run by the focus coming back would have opened its box
        // while the events of the activation were handled.
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
        EXPECT_EQ(boxes, 1) << "getting the focus back runs no rule";
        EXPECT_EQ(window.focusWidget(), dec);
        EXPECT_EQ(dec->palette().color(QPalette::Base), red());
        QTest::keyClick(window.windowHandle(), Qt::Key_Tab);
        EXPECT_EQ(window.focusWidget(), dec) << "the hold is still in force";
    }
    closer.stop();
    dec = nullptr;
    programWatchdog->setPaused(false);
    EXPECT_EQ(behindTheBox, QColor(255, 0, 0));
}

} // namespace
