#include "app/fonts.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QLabel>
#include <QStringList>

namespace app {
namespace {

constexpr double windowFontPoints = 8.25;

const QString liberationSans = QStringLiteral("Liberation Sans");

const QStringList wineTahomaFiles = {
    QStringLiteral("/usr/share/wine/fonts/tahoma.ttf"),
    QStringLiteral("/usr/share/wine/fonts/tahomabd.ttf"),
};

QString windowFamily() {
    const QString tahoma = QStringLiteral("Tahoma");
    if (QFontDatabase::hasFamily(tahoma))
        return tahoma;
    for (const QString& file : wineTahomaFiles)
        QFontDatabase::addApplicationFont(file);
    if (QFontDatabase::hasFamily(tahoma))
        return tahoma;
    if (QFontDatabase::hasFamily(liberationSans))
        return liberationSans;
    return QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
}

QFont sizedWindowFont(const QString& family) {
    QFont font(family);
    font.setPointSizeF(windowFontPoints);
    font.setWeight(QFont::Normal);
    font.setItalic(false);
    font.setUnderline(false);
    font.setStrikeOut(false);
    return font;
}

// Smaller than this a caption is no longer worth reading; the fitting stops.
constexpr double smallestCaptionPoints = 6;
constexpr double captionStepPoints = 0.25;

// Whether the label's caption, in its present font, lies within its box and
// clear of every control stacked above it (the later siblings).
bool showsWhole(const QLabel& label) {
    const QRect box = label.contentsRect();
    const int flags = int(label.alignment()) | (label.wordWrap() ? Qt::TextWordWrap : 0);
    const QRect text = label.fontMetrics().boundingRect(box, flags, label.text());
    if (!box.contains(text))
        return false;
    const QRect onWindow = text.translated(label.pos());
    const QObjectList& siblings = label.parentWidget()->children();
    for (qsizetype i = siblings.indexOf(&label) + 1; i < siblings.size(); ++i) {
        const auto* above = qobject_cast<const QWidget*>(siblings[i]);
        if (above != nullptr && !above->isHidden() && above->geometry().intersects(onWindow))
            return false;
    }
    return true;
}

} // namespace

QFont windowFont() {
    return sizedWindowFont(windowFamily());
}

QFont fallbackWindowFont() {
    return sizedWindowFont(liberationSans);
}

void fitCaptions(QWidget& window) {
    for (QLabel* label : window.findChildren<QLabel*>(Qt::FindDirectChildrenOnly)) {
        if (label->text().isEmpty())
            continue;
        // Back to the window's font first, so a window given another font
        // is fitted afresh.
        label->setFont(QFont());
        while (!showsWhole(*label) &&
               label->font().pointSizeF() - captionStepPoints >= smallestCaptionPoints) {
            QFont smaller = label->font();
            smaller.setPointSizeF(smaller.pointSizeF() - captionStepPoints);
            label->setFont(smaller);
        }
    }
}

} // namespace app
