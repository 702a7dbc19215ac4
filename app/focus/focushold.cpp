#include "app/focus/focushold.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>
#include <QWidget>
#include <QWindow>

#include <utility>

namespace app {

namespace {

// The control that Tab (forward) or Shift+Tab would give the focus to, as
// QWidget::focusNextPrevChild picks it; nullptr when there is none.
QWidget* tabTarget(QWidget* focused, bool forward) {
    QWidget* window = focused->window();
    QWidget* candidate = focused;
    // The focus chain is a ring; going once round is enough.
    for (;;) {
        candidate = forward ? candidate->nextInFocusChain() : candidate->previousInFocusChain();
        if (candidate == nullptr || candidate == focused) {
            return nullptr;
        }
        if (candidate->window() == window && (candidate->focusPolicy() & Qt::TabFocus) &&
            candidate->isEnabled() && candidate->isVisibleTo(window)) {
            return candidate;
        }
    }
}

bool isTabKey(const QKeyEvent& key) {
    // QWidget::event leaves Tab with Ctrl or Alt to the widget itself.
    if (key.modifiers() & (Qt::ControlModifier | Qt::AltModifier)) {
        return false;
    }
    return key.key() == Qt::Key_Tab || key.key() == Qt::Key_Backtab;
}

bool isForwardTab(const QKeyEvent& key) {
    return key.key() == Qt::Key_Tab && !(key.modifiers() & Qt::ShiftModifier);
}

// The widget a shortcut belongs to: the receiver itself, or for a QShortcut
// or QAction the nearest widget above it.
QWidget* owningWidget(QObject* receiver) {
    for (QObject* object = receiver; object != nullptr; object = object->parent()) {
        if (object->isWidgetType()) {
            return static_cast<QWidget*>(object);
        }
    }
    return nullptr;
}

} // namespace

FocusHold::FocusHold(QWidget* window, MayLeave mayLeave)
    : QObject(window), window_(window), mayLeave_(std::move(mayLeave)) {
    // Application-wide, because the mouse press has to be seen while it is
    // still addressed to the QWindow, and the window handle can be replaced
    // (it is made when the window is first shown, remade after a reparent).
    qApp->installEventFilter(this);
}

FocusHold::~FocusHold() {
    qApp->removeEventFilter(this);
}

bool FocusHold::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::MouseButtonRelease:
    case QEvent::Wheel:
        return filterMouse(watched, event);
    case QEvent::KeyPress:
        return filterTab(watched, event);
    case QEvent::Shortcut:
        return filterShortcut(watched);
    default:
        return false;
    }
}

bool FocusHold::holds(QWidget* target) const {
    if (window_ == nullptr) {
        return false;
    }
    QWidget* focused = window_->focusWidget();
    if (focused == nullptr) {
        return false;
    }
    // Clicks inside the focused control (placing the caret, selecting) stay.
    if (target != nullptr && (target == focused || focused->isAncestorOf(target))) {
        return false;
    }
    return !mayLeave_(focused, target);
}

bool FocusHold::isWindowHandle(const QObject* object) const {
    return window_ != nullptr && object->isWindowType() && object == window_->windowHandle();
}

bool FocusHold::belongsToWindow(const QWidget* widget) const {
    return window_ != nullptr && widget != nullptr && widget->window() == window_;
}

bool FocusHold::filterMouse(QObject* watched, QEvent* event) {
    if (!isWindowHandle(watched)) {
        return false;
    }
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
        const auto* mouse = static_cast<const QMouseEvent*>(event);
        swallowingMouse_ = holds(window_->childAt(mouse->position().toPoint()));
        return swallowingMouse_;
    }
    case QEvent::MouseMove:
        return swallowingMouse_;
    case QEvent::MouseButtonRelease: {
        const bool swallow = swallowingMouse_;
        if (static_cast<const QMouseEvent*>(event)->buttons() == Qt::NoButton) {
            swallowingMouse_ = false;
        }
        return swallow;
    }
    case QEvent::Wheel: {
        // A wheel turned over a list changes its selection without the focus.
        const auto* wheel = static_cast<const QWheelEvent*>(event);
        return holds(window_->childAt(wheel->position().toPoint()));
    }
    default:
        return false;
    }
}

bool FocusHold::filterTab(QObject* watched, QEvent* event) const {
    // Caught on the way to the focused widget rather than at the QWindow, so
    // key events sent straight to a widget are held too; a key press moves no
    // focus before the widget itself handles it.
    if (!watched->isWidgetType() || !belongsToWindow(static_cast<QWidget*>(watched))) {
        return false;
    }
    const auto* key = static_cast<const QKeyEvent*>(event);
    if (!isTabKey(*key)) {
        return false;
    }
    QWidget* focused = window_->focusWidget();
    if (focused == nullptr) {
        return false;
    }
    return holds(tabTarget(focused, isForwardTab(*key)));
}

bool FocusHold::filterShortcut(QObject* watched) const {
    QWidget* owner = owningWidget(watched);
    if (!belongsToWindow(owner)) {
        return false;
    }
    return holds(owner);
}

} // namespace app
