#pragma once

// A PDF's text read back with poppler's pdftotext (and its faces with
// pdftohtml), for tests of the printed sheets.

#include <QMap>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QString>
#include <QStringList>

#include <algorithm>
#include <cmath>
#include <vector>

namespace pdftext {

inline bool available() {
    return !QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty();
}

inline QString pdftotext(QStringList arguments) {
    QProcess process;
    process.start(QStringLiteral("pdftotext"), arguments);
    if (!process.waitForFinished() || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0)
        return {};
    return QString::fromUtf8(process.readAllStandardOutput());
}

// The text of every run set in a bold face, page by page, each collapsed as
// below: poppler's pdftohtml marks a run <b> by the font it is drawn in, so
// a run drawn in the regular face is not among them however it reads.
inline std::vector<QStringList> boldRuns(const QString& path) {
    QProcess process;
    process.start(QStringLiteral("pdftohtml"),
                  {QStringLiteral("-xml"), QStringLiteral("-i"), QStringLiteral("-q"),
                   QStringLiteral("-stdout"), path});
    if (!process.waitForFinished() || process.exitCode() != 0)
        return {};
    const QString xml = QString::fromUtf8(process.readAllStandardOutput());
    static const QRegularExpression pageStart(QStringLiteral("<page "));
    static const QRegularExpression bold(QStringLiteral("<b>(.*?)</b>"));
    std::vector<QStringList> pages;
    QStringList pageTexts = xml.split(pageStart);
    pageTexts.removeFirst();
    for (const QString& page : pageTexts) {
        QStringList runs;
        for (auto match = bold.globalMatch(page); match.hasNext();) {
            QString text = match.next().captured(1);
            text.replace(QStringLiteral("&apos;"), QStringLiteral("'"))
                .replace(QStringLiteral("&quot;"), QStringLiteral("\""))
                .replace(QStringLiteral("&lt;"), QStringLiteral("<"))
                .replace(QStringLiteral("&gt;"), QStringLiteral(">"))
                .replace(QStringLiteral("&amp;"), QStringLiteral("&"));
            runs.append(text.simplified());
        }
        pages.push_back(runs);
    }
    return pages;
}

// Every run of blanks as one blank, none at either end.
inline QString collapsed(const QString& line) {
    return line.simplified();
}

// pdftotext -layout, one list per page, blank lines left out and each line
// collapsed: its layout mode reads a gap of two blanks between words as one
// (it keeps wider gaps), so only the words and their order are compared
// here; columnPages checks where each word stands.
inline std::vector<QStringList> layoutPages(const QString& path) {
    std::vector<QStringList> pages;
    const QString text = pdftotext({QStringLiteral("-layout"), path, QStringLiteral("-")});
    QStringList pageTexts = text.split(QLatin1Char('\f'));
    if (!pageTexts.isEmpty() && pageTexts.back().trimmed().isEmpty())
        pageTexts.removeLast();
    for (const QString& page : pageTexts) {
        QStringList lines;
        for (const QString& line : page.split(QLatin1Char('\n')))
            if (!line.trimmed().isEmpty())
                lines.append(collapsed(line));
        pages.push_back(lines);
    }
    return pages;
}

// The lines of each page rebuilt from the word boxes (pdftotext -bbox): each
// word in the column its left edge stands in, counted in its line's
// character widths from the leftmost word of the page. Exact for text in a
// fixed-pitch font of one size per line; blank lines left out.
inline std::vector<QStringList> columnPages(const QString& path) {
    struct Word {
        double xMin, xMax;
        QString text;
    };
    const QString xml = pdftotext({QStringLiteral("-bbox"), path, QStringLiteral("-")});
    static const QRegularExpression pageStart(QStringLiteral("<page "));
    static const QRegularExpression wordPattern(
        QStringLiteral("<word xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\" xMax=\"([0-9.]+)\" "
                       "yMax=\"[0-9.]+\">([^<]*)</word>"));
    std::vector<QStringList> pages;
    QStringList pageTexts = xml.split(pageStart);
    pageTexts.removeFirst();
    for (const QString& page : pageTexts) {
        QMap<double, std::vector<Word>> lines; // by the top of the line
        double left = 1e9;
        for (auto match = wordPattern.globalMatch(page); match.hasNext();) {
            const auto word = match.next();
            QString text = word.captured(4);
            text.replace(QStringLiteral("&apos;"), QStringLiteral("'"))
                .replace(QStringLiteral("&quot;"), QStringLiteral("\""))
                .replace(QStringLiteral("&lt;"), QStringLiteral("<"))
                .replace(QStringLiteral("&gt;"), QStringLiteral(">"))
                .replace(QStringLiteral("&amp;"), QStringLiteral("&"));
            const double xMin = word.captured(1).toDouble();
            lines[word.captured(2).toDouble()].push_back({xMin, word.captured(3).toDouble(), text});
            left = std::min(left, xMin);
        }
        QStringList rebuilt;
        for (std::vector<Word>& words : lines) {
            std::sort(words.begin(), words.end(),
                      [](const Word& a, const Word& b) { return a.xMin < b.xMin; });
            double width = 0;
            for (const Word& word : words)
                width = std::max(width, (word.xMax - word.xMin) / double(word.text.size()));
            QString line;
            for (const Word& word : words) {
                const auto column = qsizetype(std::lround((word.xMin - left) / width));
                if (line.size() < column)
                    line.append(QString(column - line.size(), QLatin1Char(' ')));
                else if (!line.isEmpty())
                    line.append(QLatin1Char(' ')); // overlapping words stay apart
                line.append(word.text);
            }
            rebuilt.append(line);
        }
        pages.push_back(rebuilt);
    }
    return pages;
}

} // namespace pdftext
