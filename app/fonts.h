#pragma once

#include <QFont>

class QWidget;

namespace app {

// The window's font: Tahoma 8.25 pt, regular. Where the desktop has no
// Tahoma, the metric-compatible one that Debian's fonts-wine keeps outside
// fontconfig's folders is loaded; failing that, fallbackWindowFont(). Never
// a family picked silently by fontconfig. Needs a QGuiApplication.
QFont windowFont();

// Liberation Sans at the window's size: what a desktop without any Tahoma
// gets (fonts-liberation2 is always installed with the program).
QFont fallbackWindowFont();

// The captions were laid out for Tahoma, whose lines are closer together
// than most faces'. A label whose caption, drawn in its font, would not show
// whole (past its own box, or under a control stacked above it, as the
// hint's last line would run under "Clear except DR" in Liberation Sans)
// gets the largest smaller size, in quarter points, at which it does. In
// Tahoma every caption shows whole and nothing changes.
void fitCaptions(QWidget& window);

} // namespace app
