#include "app/surface.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QAction>
#include <QEvent>
#include <QFontMetricsF>
#include <QPaintEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <string>
#include <utility>

namespace app {
namespace {

// The surface as assistive technology sees it: a read-only multi-line text
// with the printed lines, one character per column, so that a screen reader
// can read it by line, by word or by character, and a magnifier can follow
// the characters on the screen.
class SurfaceAccessible final : public QAccessibleWidget, public QAccessibleTextInterface {
  public:
    explicit SurfaceAccessible(Surface* surface)
        : QAccessibleWidget(surface, QAccessible::EditableText) {}

    QAccessible::State state() const override {
        QAccessible::State shown = QAccessibleWidget::state();
        shown.readOnly = true;
        shown.multiLine = true;
        shown.editable = false;
        shown.focusable = false;
        return shown;
    }

    QString text(QAccessible::Text kind) const override {
        if (kind == QAccessible::Value)
            return surface()->text();
        return QAccessibleWidget::text(kind);
    }

    // The commands of the surface's context menu, for users who cannot
    // right-click: a screen reader offers them as the text's actions.
    QStringList actionNames() const override {
        QStringList names;
        for (const QAction* action : widget()->actions())
            if (action->isEnabled())
                names.append(action->text());
        return names;
    }
    void doAction(const QString& name) override {
        for (QAction* action : widget()->actions())
            if (action->isEnabled() && action->text() == name)
                action->trigger();
    }
    QStringList keyBindingsForAction(const QString& name) const override {
        QStringList keys;
        for (const QAction* action : widget()->actions())
            if (action->text() == name)
                for (const QKeySequence& shortcut : action->shortcuts())
                    keys.append(shortcut.toString(QKeySequence::NativeText));
        return keys;
    }

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    // Nothing can be selected or edited, and there is no caret.
    void selection(int /*selectionIndex*/, int* startOffset, int* endOffset) const override {
        *startOffset = 0;
        *endOffset = 0;
    }
    int selectionCount() const override { return 0; }
    void addSelection(int /*startOffset*/, int /*endOffset*/) override {}
    void removeSelection(int /*selectionIndex*/) override {}
    void setSelection(int /*selectionIndex*/, int /*startOffset*/, int /*endOffset*/) override {}
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int /*position*/) override {}
    void scrollToSubstring(int /*startIndex*/, int /*endIndex*/) override {}

    QString text(int startOffset, int endOffset) const override {
        const QString& all = surface()->text();
        if (endOffset < 0 || endOffset > all.size())
            endOffset = int(all.size());
        startOffset = std::clamp(startOffset, 0, endOffset);
        return all.mid(startOffset, endOffset - startOffset);
    }

    int characterCount() const override { return int(surface()->text().size()); }

    QRect characterRect(int offset) const override {
        const QString& all = surface()->text();
        if (offset < 0 || offset >= all.size())
            return {};
        // Line and column of the offset: the text holds one character per
        // printed column, lines apart by one "\n".
        const int line = int(all.left(offset).count(QLatin1Char('\n')));
        const int lineStart = int(all.lastIndexOf(QLatin1Char('\n'), offset - 1)) + 1;
        const int column = offset - lineStart;
        const Surface* s = surface();
        const QRectF cell(column * s->columnWidth(), line * s->lineHeight(), s->columnWidth(),
                          s->lineHeight());
        return QRect(s->mapToGlobal(cell.topLeft().toPoint()), cell.size().toSize());
    }

    int offsetAtPoint(const QPoint& point) const override {
        const Surface* s = surface();
        const QPoint local = s->mapFromGlobal(point);
        if (!s->rect().contains(local))
            return -1;
        const int line = int(std::floor(local.y() / s->lineHeight()));
        const int column = int(std::floor(local.x() / s->columnWidth()));
        const QStringList lines = s->text().split(QLatin1Char('\n'));
        if (line >= lines.size() || column >= lines[line].size())
            return -1;
        int offset = 0;
        for (int i = 0; i < line; ++i)
            offset += int(lines[i].size()) + 1;
        return offset + column;
    }

    QString attributes(int offset, int* startOffset, int* endOffset) const override {
        *startOffset = offset;
        *endOffset = offset;
        return {};
    }

  private:
    const Surface* surface() const { return static_cast<const Surface*>(object()); }
};

QAccessibleInterface* surfaceAccessible(const QString& /*className*/, QObject* object) {
    if (auto* surface = qobject_cast<Surface*>(object))
        return new SurfaceAccessible(surface);
    return nullptr;
}

} // namespace

Surface::Surface(QWidget* parent) : QWidget(parent), fonts_(font()) {
    // Installing the same factory again is a no-op, so every surface may ask.
    QAccessible::installFactory(surfaceAccessible);
    setAccessibleName(QStringLiteral("Worked form"));
    // The window's background shows through; the surface paints only text.
    setAttribute(Qt::WA_OpaquePaintEvent, false);
    setAutoFillBackground(false);
    setFocusPolicy(Qt::NoFocus);
}

void Surface::showForm(printout::WorkedForm form, const QString& description) {
    form_ = std::move(form);
    placeRuns();
    const QString before = std::exchange(text_, plainText(u"\n"));
    text_.chop(text_.isEmpty() ? 0 : 1);
    setAccessibleDescription(description);
    announceText(before);
    update();
}

void Surface::clear() {
    form_ = {};
    placed_.clear();
    const QString before = std::exchange(text_, QString());
    setAccessibleDescription(QString());
    announceText(before);
    update();
}

QString Surface::plainText(QStringView lineEnd) const {
    QString all;
    for (const std::string& line : printout::renderLines(form_)) {
        all += QString::fromStdString(line);
        all += lineEnd;
    }
    return all;
}

void Surface::announceText(const QString& before) {
    if (before == text_)
        return;
    QAccessibleTextUpdateEvent event(this, 0, before, text_);
    QAccessible::updateAccessibility(&event);
}

double Surface::columnWidth() const {
    return fonts_.columnWidth();
}

double Surface::lineHeight() const {
    return QFontMetricsF(printFont()).height();
}

void Surface::placeRuns() {
    const QFontMetricsF metrics(printFont());
    placed_ = app::placeRuns(form_, fonts_, [&metrics](std::size_t line) {
        return double(line) * metrics.height() + metrics.ascent();
    });
}

void Surface::paintEvent(QPaintEvent* /*event*/) {
    if (placed_.empty())
        return;
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::WindowText));
    drawRuns(painter, placed_, fonts_);
}

void Surface::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange) {
        fonts_ = PrintFonts(font());
        placeRuns();
    }
    QWidget::changeEvent(event);
}

} // namespace app
