#pragma once

#include <QFont>

namespace app {

// The window's font: Tahoma 8.25 pt, regular. Where the desktop has no
// Tahoma, the metric-compatible one that Debian's fonts-wine keeps outside
// fontconfig's folders is loaded; failing that, Liberation Sans, which is
// narrower, so every caption still fits its designed box. Never a family
// picked silently by fontconfig, which tends to be wider. Needs a
// QGuiApplication.
QFont windowFont();

} // namespace app
