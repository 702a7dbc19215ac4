#pragma once

#include <QFont>
#include <QString>

namespace printout {

// The family the worked form is printed in: "Courier New", or Liberation
// Mono, which has its metrics, where the desktop has no Courier New; failing
// both, the desktop's fixed-pitch font. Needs a QGuiApplication.
QString printFamily();

// The printout font at pointSize: printFamily(), fixed pitch, bold or not.
QFont printFont(double pointSize, bool bold);

} // namespace printout
