#include "printout/printfont.h"

#include <QFontDatabase>

namespace printout {

QString printFamily() {
    // Checked against the registered families, not font matching: matching
    // would accept whatever fontconfig substitutes for the name.
    for (const QString& family : {QStringLiteral("Courier New"), QStringLiteral("Liberation Mono")})
        if (QFontDatabase::hasFamily(family))
            return family;
    return QFontDatabase::systemFont(QFontDatabase::FixedFont).family();
}

QFont printFont(double pointSize, bool bold) {
    QFont font(printFamily());
    font.setPointSizeF(pointSize);
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    font.setBold(bold);
    return font;
}

} // namespace printout
