#include "printout/surface.h"

#include <QEvent>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QPaintEvent>
#include <QPainter>

#include <utility>

namespace printout {

Surface::Surface(QWidget* parent) : QWidget(parent) {
    // The window's background shows through; the surface paints only text.
    setAttribute(Qt::WA_OpaquePaintEvent, false);
    setAutoFillBackground(false);
    setFocusPolicy(Qt::NoFocus);
    updateFonts();
}

void Surface::showForm(WorkedForm form) {
    form_ = std::move(form);
    placeRuns();
    update();
}

void Surface::clear() {
    form_ = {};
    placed_.clear();
    update();
}

QString Surface::printFamily() {
    // Checked against the registered families, not font matching: matching
    // would accept whatever fontconfig substitutes for the name.
    for (const QString& family : {QStringLiteral("Courier New"), QStringLiteral("Liberation Mono")})
        if (QFontDatabase::hasFamily(family))
            return family;
    return QFontDatabase::systemFont(QFontDatabase::FixedFont).family();
}

void Surface::updateFonts() {
    regular_ = font();
    regular_.setFamily(printFamily());
    regular_.setStyleHint(QFont::TypeWriter);
    regular_.setFixedPitch(true);
    regular_.setBold(false);
    bold_ = regular_;
    bold_.setBold(true);
}

double Surface::columnWidth() const {
    return QFontMetricsF(printFont()).horizontalAdvance(QLatin1Char('0'));
}

double Surface::lineHeight() const {
    return QFontMetricsF(printFont()).height();
}

void Surface::placeRuns() {
    placed_.clear();
    const QFontMetricsF metrics(printFont());
    const double column = metrics.horizontalAdvance(QLatin1Char('0'));
    const double line = metrics.height();
    double top = 0;
    for (const WorkedFormLine& runs : form_.lines) {
        for (const TextRun& run : runs) {
            const QPointF origin((run.column - 1) * column, top + metrics.ascent());
            placed_.push_back({origin, QString::fromStdString(run.text), run.bold});
        }
        top += line;
    }
}

void Surface::paintEvent(QPaintEvent* /*event*/) {
    if (placed_.empty())
        return;
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::WindowText));
    for (const PlacedRun& run : placed_) {
        painter.setFont(run.bold ? bold_ : regular_);
        painter.drawText(run.origin, run.text);
    }
}

void Surface::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange) {
        updateFonts();
        placeRuns();
    }
    QWidget::changeEvent(event);
}

} // namespace printout
