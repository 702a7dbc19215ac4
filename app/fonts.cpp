#include "app/fonts.h"

#include <QFontDatabase>
#include <QStringList>

namespace app {
namespace {

constexpr double windowFontPoints = 8.25;

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
    const QString liberationSans = QStringLiteral("Liberation Sans");
    if (QFontDatabase::hasFamily(liberationSans))
        return liberationSans;
    return QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
}

} // namespace

QFont windowFont() {
    QFont font(windowFamily());
    font.setPointSizeF(windowFontPoints);
    font.setWeight(QFont::Normal);
    font.setItalic(false);
    font.setUnderline(false);
    font.setStrikeOut(false);
    return font;
}

} // namespace app
