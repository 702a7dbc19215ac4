#include "app/focus/focushold.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <gtest/gtest.h>

#include <memory>

namespace {

// A small window with the kinds of control the main window has. edit1 plays
// the entry field whose value is above its bound: it refuses to let the focus
// go while it holds "91".
struct TestWindow {
    QWidget window;
    QLineEdit* edit1 = new QLineEdit(&window);
    QLineEdit* edit2 = new QLineEdit(&window);
    QPushButton* go = new QPushButton(QStringLiteral("&Go"), &window);
    QPushButton* clearAll = new QPushButton(QStringLiteral("Clear &All"), &window);
    QRadioButton* optA = new QRadioButton(QStringLiteral("Option A"), &window);
    QRadioButton* optB = new QRadioButton(QStringLiteral("Option &B"), &window);
    QComboBox* combo = new QComboBox(&window);
    QLineEdit* under = new QLineEdit(&window);
    QPushButton* over = new QPushButton(QStringLiteral("?"), &window); // lies over `under`
    QLabel* buddyLabel = new QLabel(QStringLiteral("&Name"), &window);

    int goClicks = 0;
    int clearClicks = 0;
    int overClicks = 0;
    int asked = 0;
    QWidget* lastTarget = nullptr;

    TestWindow() {
        edit1->setGeometry(10, 10, 100, 24);
        edit2->setGeometry(120, 10, 100, 24);
        go->setGeometry(10, 50, 100, 30);
        clearAll->setGeometry(120, 50, 100, 30);
        optA->setGeometry(10, 90, 100, 24);
        optB->setGeometry(120, 90, 100, 24);
        combo->setGeometry(10, 130, 100, 24);
        combo->addItems({QStringLiteral("N"), QStringLiteral("S")});
        under->setGeometry(120, 130, 100, 24);
        over->setGeometry(150, 130, 30, 24);
        over->raise();
        buddyLabel->setGeometry(10, 170, 60, 24);
        buddyLabel->setBuddy(edit2);
        optA->setChecked(true);
        QObject::connect(go, &QPushButton::clicked, &window, [this] { ++goClicks; });
        QObject::connect(clearAll, &QPushButton::clicked, &window, [this] { ++clearClicks; });
        QObject::connect(over, &QPushButton::clicked, &window, [this] { ++overClicks; });
        window.resize(240, 210);
        new app::FocusHold(&window, [this](QWidget* focused, QWidget* target) {
            ++asked;
            lastTarget = target;
            return !(focused == edit1 && edit1->text() == QStringLiteral("91"));
        });
    }
};

class FocusHoldTest : public testing::Test {
  protected:
    void SetUp() override {
        w = std::make_unique<TestWindow>();
        w->window.show();
        w->window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&w->window));
        w->edit1->setFocus();
        ASSERT_TRUE(w->edit1->hasFocus());
    }

    void hold() { w->edit1->setText(QStringLiteral("91")); }
    void release() { w->edit1->setText(QStringLiteral("9")); }

    QWindow* handle() const { return w->window.windowHandle(); }

    // A real click: through the window, the way the platform delivers it.
    void click(QWidget* widget) const {
        const QPoint at = widget->mapTo(&w->window, widget->rect().center());
        QTest::mouseClick(handle(), Qt::LeftButton, Qt::NoModifier, at);
    }
    void key(Qt::Key k, Qt::KeyboardModifiers modifiers = Qt::NoModifier) const {
        QTest::keyClick(handle(), k, modifiers);
    }

    std::unique_ptr<TestWindow> w;
};

TEST_F(FocusHoldTest, HoldKeepsFocusAgainstTab) {
    hold();
    key(Qt::Key_Tab);
    EXPECT_TRUE(w->edit1->hasFocus());
    EXPECT_EQ(w->lastTarget, w->edit2) << "the next control in tab order is named";
    // Sent straight to the widget, as some callers do, it is held as well.
    QTest::keyClick(w->edit1, Qt::Key_Tab);
    EXPECT_TRUE(w->edit1->hasFocus());
}

TEST_F(FocusHoldTest, HoldKeepsFocusAgainstShiftTab) {
    hold();
    key(Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_TRUE(w->edit1->hasFocus());
    key(Qt::Key_Tab, Qt::ShiftModifier);
    EXPECT_TRUE(w->edit1->hasFocus());
}

TEST_F(FocusHoldTest, HoldSwallowsClickOnButton) {
    hold();
    click(w->go);
    click(w->clearAll);
    EXPECT_EQ(w->goClicks, 0);
    EXPECT_EQ(w->clearClicks, 0);
    EXPECT_FALSE(w->go->isDown());
    EXPECT_TRUE(w->edit1->hasFocus());
    EXPECT_EQ(w->lastTarget, w->clearAll);
}

TEST_F(FocusHoldTest, HoldSwallowsDoubleClickAndDragOnButton) {
    hold();
    const QPoint at = w->go->mapTo(&w->window, w->go->rect().center());
    QTest::mouseDClick(handle(), Qt::LeftButton, Qt::NoModifier, at);
    QTest::mousePress(handle(), Qt::LeftButton, Qt::NoModifier, at);
    QTest::mouseMove(handle(), at + QPoint(3, 0));
    QTest::mouseRelease(handle(), Qt::LeftButton, Qt::NoModifier, at + QPoint(3, 0));
    EXPECT_EQ(w->goClicks, 0);
    EXPECT_TRUE(w->edit1->hasFocus());
}

TEST_F(FocusHoldTest, HoldSwallowsClickOnButtonLyingOverAnotherControl) {
    hold();
    click(w->over);
    EXPECT_EQ(w->overClicks, 0);
    EXPECT_EQ(w->lastTarget, w->over);
    EXPECT_TRUE(w->edit1->hasFocus());
}

TEST_F(FocusHoldTest, HoldKeepsOptionButtonUnchanged) {
    hold();
    click(w->optB);
    EXPECT_FALSE(w->optB->isChecked());
    EXPECT_TRUE(w->optA->isChecked());
    EXPECT_TRUE(w->edit1->hasFocus());
}

TEST_F(FocusHoldTest, HoldKeepsListClosed) {
    hold();
    click(w->combo);
    EXPECT_FALSE(w->combo->view()->isVisible());
    EXPECT_TRUE(w->edit1->hasFocus());
}

TEST_F(FocusHoldTest, HoldSwallowsWheelOverList) {
    hold();
    const QPoint at = w->combo->mapTo(&w->window, w->combo->rect().center());
    QWheelEvent wheel(at, w->window.mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(handle(), &wheel);
    EXPECT_EQ(w->combo->currentIndex(), 0);
}

TEST_F(FocusHoldTest, HoldKeepsFocusAgainstClickOnOtherField) {
    hold();
    click(w->edit2);
    EXPECT_TRUE(w->edit1->hasFocus());
    EXPECT_EQ(w->lastTarget, w->edit2);
}

TEST_F(FocusHoldTest, HoldSwallowsAccessKeys) {
    hold();
    key(Qt::Key_G, Qt::AltModifier);
    key(Qt::Key_A, Qt::AltModifier);
    key(Qt::Key_B, Qt::AltModifier);
    key(Qt::Key_N, Qt::AltModifier);
    // An access key presses its button at once and clicks it when a short
    // animation ends; none of them was pressed.
    EXPECT_FALSE(w->go->isDown());
    EXPECT_FALSE(w->clearAll->isDown());
    EXPECT_FALSE(w->optB->isDown());
    EXPECT_TRUE(w->edit1->hasFocus());

    // Lifted, the same key presses its button, and its click comes after any
    // click the held keys could have started: nothing else has come by then.
    release();
    key(Qt::Key_G, Qt::AltModifier);
    EXPECT_TRUE(w->go->isDown());
    EXPECT_TRUE(QTest::qWaitFor([this] { return w->goClicks > 0; }));
    EXPECT_EQ(w->goClicks, 1);
    EXPECT_EQ(w->clearClicks, 0);
    EXPECT_FALSE(w->optB->isChecked());
}

TEST_F(FocusHoldTest, ClicksInsideTheHeldFieldStillWork) {
    hold();
    w->edit1->setCursorPosition(0);
    const int asked = w->asked;
    const QPoint end = w->edit1->mapTo(&w->window, QPoint(w->edit1->width() - 4, 12));
    QTest::mouseClick(handle(), Qt::LeftButton, Qt::NoModifier, end);
    EXPECT_EQ(w->edit1->cursorPosition(), 2);
    EXPECT_EQ(w->asked, asked) << "no question for the field's own clicks";
}

TEST_F(FocusHoldTest, EverythingWorksWhenAllowed) {
    release();
    key(Qt::Key_Tab);
    EXPECT_TRUE(w->edit2->hasFocus());
    key(Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_TRUE(w->edit1->hasFocus());

    click(w->go);
    EXPECT_EQ(w->goClicks, 1);
    EXPECT_TRUE(w->go->hasFocus());

    w->edit1->setFocus();
    click(w->optB);
    EXPECT_TRUE(w->optB->isChecked());

    w->edit1->setFocus();
    click(w->over);
    EXPECT_EQ(w->overClicks, 1);

    w->edit1->setFocus();
    key(Qt::Key_A, Qt::AltModifier);
    EXPECT_TRUE(QTest::qWaitFor([&] { return w->clearClicks == 1; }));

    w->edit1->setFocus();
    click(w->combo);
    EXPECT_EQ(w->window.focusWidget(), w->combo);
    EXPECT_TRUE(QTest::qWaitFor([&] { return w->combo->view()->isVisible(); }));
    w->combo->hidePopup();
}

TEST_F(FocusHoldTest, SwallowedPressDoesNotDisturbTheNextClick) {
    hold();
    const QPoint at = w->go->mapTo(&w->window, w->go->rect().center());
    QTest::mousePress(handle(), Qt::LeftButton, Qt::NoModifier, at);
    release(); // the field is corrected while the button is still down
    QTest::mouseRelease(handle(), Qt::LeftButton, Qt::NoModifier, at);
    EXPECT_EQ(w->goClicks, 0) << "the release of a swallowed press goes with it";
    click(w->go);
    EXPECT_EQ(w->goClicks, 1);
}

TEST_F(FocusHoldTest, ModalBoxRoundTripAsksNothingAndGivesTheFocusBack) {
    hold();
    const int asked = w->asked;
    // Closes the box as a user would; retried so a slow start cannot hang the test.
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            box->accept();
        }
    });
    closer.start(50);
    QMessageBox::information(&w->window, QStringLiteral("t"), QStringLiteral("Out of Range"));
    // The offscreen platform does not hand activation back by itself.
    w->window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w->window));
    EXPECT_TRUE(w->edit1->hasFocus());
    EXPECT_EQ(w->asked, asked);
    click(w->go); // and the hold is still in force afterwards
    EXPECT_EQ(w->goClicks, 0);
}

TEST_F(FocusHoldTest, InputToOtherWindowsIsNotHeld) {
    hold();
    QWidget other;
    auto* button = new QPushButton(QStringLiteral("x"), &other);
    int clicks = 0;
    QObject::connect(button, &QPushButton::clicked, &other, [&] { ++clicks; });
    other.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&other));
    QTest::mouseClick(other.windowHandle(), Qt::LeftButton, Qt::NoModifier,
                      button->geometry().center());
    EXPECT_EQ(clicks, 1);
}

} // namespace
