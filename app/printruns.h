#pragma once

#include <QFont>
#include <QPointF>
#include <QString>

#include <cstddef>
#include <functional>
#include <vector>

#include "printout/workedform.h"

class QPainter;

namespace app {

// The printout's two faces made from a widget's font: its size and every
// other attribute kept, in the printout's fixed-pitch family ("Courier New",
// or Liberation Mono, which has its metrics, where the desktop has none).
struct PrintFonts {
    explicit PrintFonts(const QFont& base);

    const QFont& face(bool bold) const { return bold ? bold_ : regular_; }
    // Width of one character column, pixels.
    double columnWidth() const;

  private:
    QFont regular_;
    QFont bold_;
};

// A run as it is painted: its baseline origin in widget pixels.
struct PlacedRun {
    QPointF origin;
    QString text;
    bool bold = false;
};

// Every run of the form at its column; baseline(line) gives the baseline of
// a line (0-based), pixels from the widget's top.
std::vector<PlacedRun> placeRuns(const printout::WorkedForm& form, const PrintFonts& fonts,
                                 const std::function<double(std::size_t line)>& baseline);

// Paints the runs in the painter's pen.
void drawRuns(QPainter& painter, const std::vector<PlacedRun>& runs, const PrintFonts& fonts);

} // namespace app
