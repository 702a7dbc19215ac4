#include "app/markcolours.h"

namespace app {
namespace {

// The marks' colours are light in every theme, so what is written on them
// is dark in every theme: a theme's own text colour is light on a dark
// desktop.
const QColor textOnMarkColour(0, 0, 0);

} // namespace

QColor markColour(check::Mark mark) {
    using check::Mark;
    switch (mark) {
    case Mark::Agrees:
        return QColor(198, 239, 206);
    case Mark::WithinReading:
        return QColor(226, 239, 180);
    case Mark::Follows:
        return QColor(255, 235, 156);
    case Mark::Differs:
        return QColor(255, 199, 206);
    }
    return {};
}

QPalette markedPalette(QPalette palette, QPalette::ColorRole background, QPalette::ColorRole text,
                       const QColor& colour) {
    palette.setColor(background, colour);
    palette.setColor(text, textOnMarkColour);
    return palette;
}

} // namespace app
