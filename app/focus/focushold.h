#pragma once

#include <QObject>
#include <QPointer>

#include <functional>

class QWidget;

namespace app {

// Keeps the keyboard focus in the focused control of one top-level window for
// as long as that control refuses to let it go. While it refuses, the user
// cannot move the focus away by Tab or Shift+Tab, by a mouse click on any
// other control of the window, or by an access key: the input is swallowed
// before any widget sees it, so the clicked button does not act, the option
// button does not change, the list does not open and the focus never moves.
//
// Qt cannot take back a focus change once it has happened, so the hold works
// on the input that would cause one. Mouse presses are caught while they are
// still addressed to the window's QWindow (a widget only sees its press after
// the focus has moved to it), together with the moves and the release that
// belong to them. Tab and Shift+Tab are caught as key presses on their way to
// the focused widget, access keys as the Shortcut event on its way to the
// control that owns it (a push button clicks on its access key without ever
// taking the focus).
//
// The hold never reacts to focus changes themselves: a modal box that takes
// the focus and gives it back, or a focus change made by the program
// (setFocus), passes without asking anything. Input addressed to other
// windows (the box, another top-level window) is never touched.
class FocusHold final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY(FocusHold)

  public:
    // Asked whenever input would take the focus, or act, away from the focused
    // control. focused is the window's focus widget; target is the control the
    // user addressed: the one under the mouse, the next one in tab order, or
    // the owner of the access key (nullptr where there is none). Return true
    // to let the input through, false to swallow it. Asked often, so it must
    // show nothing and change nothing.
    using MayLeave = std::function<bool(QWidget* focused, QWidget* target)>;

    // Starts holding for window, a top-level widget, and lives as its child.
    FocusHold(QWidget* window, MayLeave mayLeave);
    ~FocusHold() override;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    bool holds(QWidget* target) const;
    bool isWindowHandle(const QObject* object) const;
    bool belongsToWindow(const QWidget* widget) const;
    bool filterMouse(QObject* watched, QEvent* event);
    bool filterTab(QObject* watched, QEvent* event) const;
    bool filterShortcut(QObject* watched) const;

    QPointer<QWidget> window_;
    MayLeave mayLeave_;
    // A press was swallowed: its moves and its release go with it.
    bool swallowingMouse_ = false;
};

} // namespace app
