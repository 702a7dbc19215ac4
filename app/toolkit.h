#pragma once

#include <QString>

namespace app {

// What the window's rules need from the desktop beyond drawing their own
// controls. Kept behind an interface so the rules run in tests without a
// screen and without a modal box waiting for a click.
class Toolkit {
  public:
    virtual ~Toolkit() = default;

    // Modal: returns when the user has closed the box. Text and an OK button
    // only, no icon, captioned with the application title.
    virtual void messageBox(const QString& text) = 0;

    // The desktop's alert sound.
    virtual void beep() = 0;

    // Modal file dialog for a new PDF file, starting at suggestedPath. The
    // chosen path, or empty when the user cancelled.
    virtual QString savePdfFileName(const QString& title, const QString& suggestedPath) = 0;
};

} // namespace app
