#pragma once

#include <QApplication>
#include <QColor>
#include <QLineEdit>
#include <QPalette>
#include <QTest>
#include <QWidget>
#include <QWindow>

#include <gtest/gtest.h>

#include <ostream>

#include "app/form8.h"
#include "app/tests/recordingtoolkit.h"

// Failure messages show a QString as its text.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

// The main window shown and active, driven as a user drives it: keys and
// clicks go to the window handle, the way the platform delivers them, so they
// pass the window-wide focus hold and the shortcut handling like real input.
class WindowFixture : public ::testing::Test {
  protected:
    void SetUp() override {
        form.show();
        form.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    }

    void TearDown() override {
        // A help window left open by a failed test must not reach the next one.
        for (QWidget* window : QApplication::topLevelWidgets())
            if (window != &form && window->isVisible())
                window->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    template <typename T> T* control(const char* name) {
        T* found = form.findChild<T*>(QLatin1String(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    QLineEdit* field(const char* name) { return control<QLineEdit>(name); }

    QWindow* handle() { return form.windowHandle(); }

    void click(QWidget* widget) {
        const QPoint at = widget->mapTo(&form, widget->rect().center());
        QTest::mouseClick(handle(), Qt::LeftButton, Qt::NoModifier, at);
    }
    void key(Qt::Key k, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(handle(), k, modifiers);
    }
    void type(const char* text) {
        for (const char* c = text; *c != '\0'; ++c)
            QTest::keyClick(handle(), *c);
    }
    // Puts the focus in a field by the program, then types into it.
    void typeInto(const char* name, const char* text) {
        field(name)->setFocus();
        type(text);
    }

    QWidget* focused() { return form.focusWidget(); }

    // Replaces a field's text by typing, as a user who selects it all does.
    void retype(const char* name, const char* text) {
        field(name)->setFocus();
        field(name)->selectAll();
        if (*text == '\0')
            key(Qt::Key_Backspace);
        type(text);
    }
    // The first worked example (Q(x); GHA 54°12.3', Dec N 20°15.0', DR L
    // N 40°00.0', DR Lo W 70°00.0'), typed into the fields as they stand.
    void typeFirstExample() {
        const char* names[] = {"txtGHADeg", "txtGHAMin", "txtDecDeg", "txtDecMin",
                               "txtLDeg",   "txtLMin",   "txtLoDeg",  "txtLoMin"};
        const char* texts[] = {"54", "12.3", "20", "15.0", "40", "0", "70", "0"};
        for (int i = 0; i < 8; ++i)
            retype(names[i], texts[i]);
    }

    static QColor shownBase(const QLineEdit* edit, QPalette::ColorGroup group = QPalette::Active) {
        return edit->palette().color(group, QPalette::Base);
    }
    // The platform's colours the model's system colours map to: the window
    // background is the palette's Base, the inactive border its Button grey.
    static QColor windowBackground(const QLineEdit* edit) {
        return QApplication::palette(edit).color(QPalette::Base);
    }
    static QColor inactiveBorder(const QLineEdit* edit) {
        return QApplication::palette(edit).color(QPalette::Button);
    }
    static QColor red() { return QColor(255, 0, 0); }

    RecordingToolkit toolkit;
    app::Form8 form{toolkit};
};
