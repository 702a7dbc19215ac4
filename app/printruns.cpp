#include "app/printruns.h"

#include <QFontMetricsF>
#include <QPainter>

#include "printout/printfont.h"

namespace app {

PrintFonts::PrintFonts(const QFont& base) : regular_(base) {
    regular_.setFamily(printout::printFamily());
    regular_.setStyleHint(QFont::TypeWriter);
    regular_.setFixedPitch(true);
    regular_.setBold(false);
    bold_ = regular_;
    bold_.setBold(true);
}

double PrintFonts::columnWidth() const {
    return QFontMetricsF(regular_).horizontalAdvance(QLatin1Char('0'));
}

std::vector<PlacedRun> placeRuns(const printout::WorkedForm& form, const PrintFonts& fonts,
                                 const std::function<double(std::size_t line)>& baseline) {
    std::vector<PlacedRun> placed;
    const double column = fonts.columnWidth();
    for (std::size_t line = 0; line < form.lines.size(); ++line)
        for (const printout::TextRun& run : form.lines[line])
            placed.push_back({QPointF((run.column - 1) * column, baseline(line)),
                              QString::fromStdString(run.text), run.bold});
    return placed;
}

void drawRuns(QPainter& painter, const std::vector<PlacedRun>& runs, const PrintFonts& fonts) {
    for (const PlacedRun& run : runs) {
        painter.setFont(fonts.face(run.bold));
        painter.drawText(run.origin, run.text);
    }
}

} // namespace app
