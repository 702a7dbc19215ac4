#pragma once

#include <QColor>
#include <QPalette>

#include "check/check.h"

namespace app {

// The colour of a box marked so; the sign beside each box says the same
// without colour.
QColor markColour(check::Mark mark);

// The palette of a widget painted in a mark's colour: background and text
// as a pair, in every colour group.
QPalette markedPalette(QPalette palette, QPalette::ColorRole background, QPalette::ColorRole text,
                       const QColor& colour);

} // namespace app
