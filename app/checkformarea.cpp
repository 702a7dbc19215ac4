#include "app/checkformarea.h"

#include <QApplication>
#include <QFontMetricsF>
#include <QPainter>
#include <QPen>

#include <algorithm>
#include <cmath>
#include <utility>

#include "printout/patterns.h"
#include "printout/workedform.h"

namespace app {
namespace {

// Columns the widest line of the form takes, its value places included.
int formColumns(const printout::WorkedForm& form) {
    int columns = 0;
    for (std::size_t line = 0; line < form.lines.size(); ++line) {
        for (const printout::TextRun& run : form.lines[line])
            columns = std::max(columns, run.column - 1 + printout::columnCount(run.text));
        for (const printout::ColumnSpan& span : form.values[line])
            columns = std::max(columns, span.first - 1 + span.count);
    }
    return columns;
}

} // namespace

CheckFormArea::CheckFormArea(const check::CheckLayout& layout, const QFont& font, QWidget* parent)
    : QWidget(parent), fonts_(font) {
    const QFontMetricsF metrics(printFont());
    column_ = fonts_.columnWidth();
    ascent_ = metrics.ascent();
    boxHeight_ = int(std::ceil(metrics.height())) + 2 * textMargin;
    const int markHeight = int(std::ceil(metrics.height()));
    const std::size_t lines = layout.form.lines.size();
    std::vector<bool> holdsValues(lines, false);
    for (const std::vector<check::FormPlace>& places : layout.places)
        for (const check::FormPlace& place : places)
            holdsValues[std::size_t(place.line)] = true;
    int top = 0;
    for (std::size_t line = 0; line < lines; ++line) {
        lineTops_.push_back(top);
        top += boxHeight_ + (holdsValues[line] ? markHeight : 0);
    }
    runs_ = placeRuns(layout.form, fonts_,
                      [this](std::size_t line) { return lineTops_[line] + textMargin + ascent_; });
    const int columns = formColumns(layout.form);
    setFixedSize(int(std::ceil(columns * column_)) + 1, top);
    setFocusPolicy(Qt::NoFocus);
    // The outline of the focused box follows the focus.
    connect(qApp, &QApplication::focusChanged, this, [this] { update(); });
}

QRect CheckFormArea::boxRect(const check::FormPlace& place) const {
    const int left = int(std::lround((place.span.first - 1) * column_)) + 1;
    const int right = int(std::lround((place.span.first - 1 + place.span.count) * column_)) - 1;
    return QRect(left, lineTops_[std::size_t(place.line)], right - left, boxHeight_);
}

QRect CheckFormArea::markRect(const check::FormPlace& place) const {
    const QRect box = boxRect(place);
    const std::size_t next = std::size_t(place.line) + 1;
    const int bottom = next < lineTops_.size() ? lineTops_[next] : height();
    return QRect(box.left(), box.bottom() + 1, box.width(), bottom - box.bottom() - 1);
}

void CheckFormArea::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::WindowText));
    drawRuns(painter, runs_, fonts_);
    const QWidget* focused = QApplication::focusWidget();
    for (const QWidget* box : boxes_) {
        const bool hasFocus = box == focused;
        painter.setPen(QPen(palette().color(hasFocus ? QPalette::Highlight : QPalette::Mid),
                            hasFocus ? 2 : 1));
        painter.drawRect(box->geometry().adjusted(-1, -1, 0, 0));
    }
}

} // namespace app
