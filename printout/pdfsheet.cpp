#include "printout/pdfsheet.h"

#include <QBuffer>
#include <QFontMetricsF>
#include <QLocale>
#include <QMarginsF>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

#include <algorithm>
#include <cmath>
#include <functional>
#include <string_view>

#include "printout/patterns.h"
#include "printout/printfont.h"

namespace printout {
namespace {

// The longest printed line ends in column 95.
constexpr int formColumns = 95;
// Wide enough for a hole punch, narrow enough for 95 columns at 9 pt on A4.
constexpr double marginMm = 12.7;
// The largest printout size; a page narrower than 95 columns of it gets a
// smaller one.
constexpr double largestPointSize = 10;
// The window's page heading is this much smaller than the form.
constexpr double headingScale = 0.8;
// An exercise sheet spaces its lines wider, room for handwritten values.
constexpr double handwritingSpacing = 1.6;

QString failure(const QString& path, const QString& reason) {
    return QStringLiteral("Cannot save %1: %2").arg(path, reason);
}

// The two printout fonts on one PDF page, sized so that the longest line
// fits the page's width.
struct PageFonts {
    QFont regular;
    QFont bold;
    double column = 0; // device units
    double line = 0;
    double ascent = 0;
};

PageFonts pageFonts(QPdfWriter& writer, double scale = 1, int columns = formColumns) {
    const QFontMetricsF largest(printFont(largestPointSize, false), &writer);
    const double fitting =
        largestPointSize * writer.width() / (columns * largest.horizontalAdvance(u'0'));
    // A quarter point below the fitting size, so rounding never pushes the
    // last column past the margin.
    const double size = std::floor(std::min(largestPointSize, fitting) * 4 - 1) / 4 * scale;
    PageFonts fonts{printFont(size, false), printFont(size, true)};
    const QFontMetricsF metrics(fonts.regular, &writer);
    fonts.column = metrics.horizontalAdvance(u'0');
    fonts.line = metrics.lineSpacing();
    fonts.ascent = metrics.ascent();
    return fonts;
}

// Draws one line of text at column 1; returns the top of the next line.
double drawText(QPainter& painter, const PageFonts& fonts, double top, const std::string& text) {
    painter.setFont(fonts.regular);
    painter.drawText(QPointF(0, top + fonts.ascent), QString::fromStdString(text));
    return top + fonts.line;
}

// Draws the form's runs at their columns from top; returns the top of the
// line below it. The blanks before a run are drawn with it as spaces: text
// extraction reads a narrow gap between two runs as one blank, however wide
// it is, but keeps spaces that are there.
double drawForm(QPainter& painter, const PageFonts& fonts, double top, const WorkedForm& form,
                double lineSpacing) {
    for (const WorkedFormLine& runs : form.lines) {
        int column = 1;
        for (const TextRun& run : runs) {
            const int gap = std::max(run.column - column, 0);
            painter.setFont(run.bold ? fonts.bold : fonts.regular);
            painter.drawText(QPointF((column - 1) * fonts.column, top + fonts.ascent),
                             QString(gap, QLatin1Char(' ')) + QString::fromStdString(run.text));
            column += gap + columnCount(run.text);
        }
        top += lineSpacing;
    }
    return top;
}

// Columns the widest line of the form takes.
int formWidth(const WorkedForm& form) {
    int widest = 0;
    for (const WorkedFormLine& runs : form.lines)
        for (const TextRun& run : runs)
            widest = std::max(widest, run.column - 1 + columnCount(run.text));
    return widest;
}

// text broken at blanks into lines of at most columns (a longer word stands
// alone), the lines after the first indented by two blanks.
std::vector<std::string> wrapped(const std::string& text, int columns) {
    constexpr std::string_view indent = "  ";
    if (columnCount(text) <= columns)
        return {text}; // as it stands, its blanks too
    std::vector<std::string> lines;
    std::string line;
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t blank = text.find(' ', at);
        const std::size_t end = blank == std::string::npos ? text.size() : blank;
        const std::string word = text.substr(at, end - at);
        at = end + 1;
        if (word.empty())
            continue;
        const bool first = line.empty();
        if (!first && columnCount(line) + 1 + columnCount(word) > columns) {
            lines.push_back(line);
            line = std::string(indent);
        }
        line += (line.empty() || line == indent ? "" : " ") + word;
    }
    if (!line.empty())
        lines.push_back(line);
    return lines;
}

// Renders the pages into memory, then replaces the file in one step, so a
// failure leaves no half-written file and an earlier file untouched.
std::optional<QString> writePdf(const QString& path, const QPageSize& pageSize,
                                const std::function<void(QPdfWriter&, QPainter&)>& draw,
                                const QString& title = QStringLiteral("Worked form")) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return failure(path, file.errorString());
    QBuffer pdf;
    pdf.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&pdf);
        writer.setCreator(QStringLiteral("sightcheck"));
        writer.setTitle(title);
        writer.setPageLayout(QPageLayout(pageSize, QPageLayout::Portrait,
                                         QMarginsF(marginMm, marginMm, marginMm, marginMm),
                                         QPageLayout::Millimeter));
        QPainter painter;
        if (!painter.begin(&writer))
            return failure(path, QStringLiteral("the PDF writer could not start"));
        draw(writer, painter);
        if (!painter.end())
            return failure(path, QStringLiteral("the PDF writer could not finish"));
    }
    if (file.write(pdf.data()) != pdf.data().size() || !file.commit())
        return failure(path, file.errorString());
    return std::nullopt;
}

} // namespace

QPageSize localePageSize(const QLocale& locale) {
    return QPageSize(locale.measurementSystem() == QLocale::ImperialUSSystem ? QPageSize::Letter
                                                                             : QPageSize::A4);
}

std::optional<QString> writeWorkedFormPdf(const QString& path, const std::string& heading,
                                          const WorkedForm& form, const QPageSize& pageSize) {
    return writePdf(path, pageSize, [&](QPdfWriter& writer, QPainter& painter) {
        const PageFonts fonts = pageFonts(writer);
        const PageFonts small = pageFonts(writer, headingScale);
        const double below = drawText(painter, small, 0, heading);
        drawForm(painter, fonts, below + fonts.line, form, fonts.line);
    });
}

std::optional<QString> writeSheetPdf(const QString& path, const std::vector<SheetItem>& items,
                                     SheetMode mode, const QPageSize& pageSize) {
    int columns = formColumns;
    for (const SheetItem& item : items)
        if (item.form)
            columns = std::max(columns, formWidth(*item.form));
    const std::size_t perPage = mode == SheetMode::Marked ? 1 : 2;
    return writePdf(path, pageSize, [&](QPdfWriter& writer, QPainter& painter) {
        const PageFonts fonts = pageFonts(writer, 1, columns);
        // Each sight at the top of its part of the page.
        const double part = writer.height() / double(perPage);
        for (std::size_t i = 0; i < items.size(); ++i) {
            const SheetItem& item = items[i];
            if (i > 0 && i % perPage == 0)
                writer.newPage();
            double top = double(i % perPage) * part;
            std::string heading = item.entries;
            std::string title = item.row > 0 ? "Row " + std::to_string(item.row) : "";
            if (!item.label.empty()) {
                // The entries fill a line of their own.
                top = drawText(painter, fonts, top,
                               title + (title.empty() ? "" : "   ") + item.label);
                title.clear();
            }
            if (!title.empty())
                heading = title + (heading.empty() ? "" : "   ") + heading;
            top = drawText(painter, fonts, top, heading) + fonts.line;
            if (!item.form)
                top = drawText(painter, fonts, top, item.message);
            else if (mode == SheetMode::Blank)
                top = drawForm(painter, fonts, top, withoutValues(*item.form),
                               fonts.line * handwritingSpacing);
            else
                top = drawForm(painter, fonts, top, *item.form, fonts.line);
            if (!item.notes.empty())
                top += fonts.line;
            for (const std::string& note : item.notes)
                for (const std::string& line : wrapped(note, columns))
                    top = drawText(painter, fonts, top, line);
        }
    });
}

std::optional<QString> writeTextPagesPdf(const QString& path, const QString& title,
                                         const std::vector<std::vector<WorkedFormLine>>& pages,
                                         const QPageSize& pageSize) {
    int columns = 1;
    std::size_t lines = 1;
    for (const std::vector<WorkedFormLine>& page : pages) {
        columns = std::max(columns, formWidth(WorkedForm{page}));
        lines = std::max(lines, page.size());
    }
    return writePdf(
        path, pageSize,
        [&](QPdfWriter& writer, QPainter& painter) {
            PageFonts fonts = pageFonts(writer, 1, columns);
            const double tallest = double(lines) * fonts.line;
            if (tallest > writer.height())
                fonts = pageFonts(writer, writer.height() / tallest, columns);
            for (std::size_t p = 0; p < pages.size(); ++p) {
                if (p > 0)
                    writer.newPage();
                drawForm(painter, fonts, 0, WorkedForm{pages[p]}, fonts.line);
            }
        },
        title);
}

} // namespace printout
