#include "help/form1.h"

#include <QPlainTextEdit>
#include <QString>

#include "help/helptext.h"
#include "layout/twips.h"

namespace help {

namespace {

using layout::toPixels;

constexpr int clientWidthTwips = 8130;
constexpr int clientHeightTwips = 6120;
// 45 twips wider and 15 twips higher than the client area: the field's own
// right and bottom border lie just outside the window.
constexpr int textWidthTwips = 8175;
constexpr int textHeightTwips = 6135;

// The text widget breaks lines at "\n" only; a CR left in would be drawn as a
// glyph of its own.
QString displayText() {
    const std::string_view text = helpText();
    QString shown = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return shown;
}

} // namespace

Form1::Form1(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Form1"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("QQ(x) Help"));
    resize(toPixels(clientWidthTwips), toPixels(clientHeightTwips));

    // No layout: the field keeps its designed size when the window is resized.
    Text1 = new QPlainTextEdit(this);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setGeometry(0, 0, toPixels(textWidthTwips), toPixels(textHeightTwips));
    Text1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Text1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Text1->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    Text1->setWordWrapMode(QTextOption::WordWrap);
    Text1->setPlainText(displayText());
    Text1->setFocus();
}

Form1::~Form1() = default;

} // namespace help
