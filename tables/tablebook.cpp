#include "tables/tablebook.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "printout/patterns.h"
#include "tables/lookup.h"

namespace tables {
namespace {

using printout::TextRun;
using printout::WorkedFormLine;

constexpr std::string_view times = "\xC3\x97";

// The page of 0° and the first page describe three bands: entries every
// tenth, entries two tenths apart (a tenth between two is their mean), and
// every minute with its d.
static_assert(bands.size() == 3 && bands[0].stepTenths == 1 && bands[1].stepTenths == 2 &&
              bands[2].stepTenths == tenthsPerMinute && bands[2].fromTenths < tenthsPerDegree);

// Ten degrees a page keeps each page's grid within 100 columns, so the PDF
// prints it at 8.75 points on A4 and on US Letter alike.
constexpr int degreesPerPage = 10;
// Minute rows come in groups of ten with a blank line between, as printed
// tables space them, so the eye finds a row by counting.
constexpr int rowsPerGroup = 10;
// Blanks between two degree columns, and between a value and its d.
constexpr int columnGap = 2;
// The minutes on either side of the grid, right-aligned in two columns.
constexpr int labelWidth = 2;
// Where a grid's first column starts: after the minutes and two blanks.
constexpr int gridStart = labelWidth + 3;
// The two lines every page begins with: its heading, then a blank.
constexpr std::size_t headingLines = 2;

// A page being laid out: runs placed line by line, in any order.
class PageText {
  public:
    void put(std::size_t line, int column, std::string text, bool bold = false) {
        if (lines_.size() <= line)
            lines_.resize(line + 1);
        lines_[line].push_back(TextRun{column, std::move(text), bold});
    }
    // The text ending at column last.
    void putRight(std::size_t line, int last, std::string text, bool bold = false) {
        const int column = last - printout::columnCount(text) + 1;
        put(line, column, std::move(text), bold);
    }
    std::vector<WorkedFormLine> lines() {
        for (WorkedFormLine& runs : lines_)
            std::stable_sort(runs.begin(), runs.end(), [](const TextRun& a, const TextRun& b) {
                return a.column < b.column;
            });
        return std::move(lines_);
    }

  private:
    std::vector<WorkedFormLine> lines_;
};

int digits(long long value) {
    return static_cast<int>(std::to_string(value).size());
}

std::size_t indexOf(const std::vector<Entry>& entries, int tenths) {
    const auto at =
        std::lower_bound(entries.begin(), entries.end(), tenths,
                         [](const Entry& entry, int wanted) { return entry.tenths < wanted; });
    return static_cast<std::size_t>(at - entries.begin());
}

long long difference(const std::vector<Entry>& entries, std::size_t i) {
    return i + 1 < entries.size() ? entries[i].value - entries[i + 1].value : 0;
}

// The line of minute row m below the grid's headings.
std::size_t rowLine(std::size_t firstRow, int minute) {
    return firstRow + static_cast<std::size_t>(minute + minute / rowsPerGroup);
}

// text broken at blanks into lines of at most width columns.
std::vector<std::string> wrapped(std::string_view text, int width) {
    std::vector<std::string> lines;
    std::string line;
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t end = text.find(' ', at);
        if (end == std::string_view::npos)
            end = text.size();
        const std::string_view word = text.substr(at, end - at);
        at = end + 1;
        if (word.empty())
            continue;
        if (!line.empty() &&
            printout::columnCount(line) + 1 + printout::columnCount(word) > width) {
            lines.push_back(line);
            line.clear();
        }
        line += (line.empty() ? "" : " ") + std::string(word);
    }
    if (!line.empty())
        lines.push_back(line);
    return lines;
}

// Notes below a grid, wrapped to its width.
void putNotes(PageText& page, std::size_t line, int width,
              std::initializer_list<std::string> notes) {
    for (const std::string& note : notes)
        for (std::string& text : wrapped(note, width))
            page.put(line++, 1, std::move(text));
}

std::string valueLabel(reduction::Method method) {
    return method == reduction::Method::Q ? "Q" : "QQ";
}

// The page of 0°: a row for each minute, a column for each tenth, filled
// where the band has an entry; d beside the rows that step by 1'.
TablePage zeroPage(const TableBook& book) {
    const std::vector<Entry>& entries = book.entries;
    const std::size_t end = indexOf(entries, tenthsPerDegree);
    int valueWidth = 1;
    int dWidth = 1;
    for (std::size_t i = 0; i < end; ++i) {
        valueWidth = std::max(valueWidth, digits(entries[i].value));
        if (stepAt(entries[i].tenths) == tenthsPerMinute)
            dWidth = std::max(dWidth, digits(difference(entries, i)));
    }
    const auto cellEnd = [&](int tenth) {
        return gridStart + tenth * (valueWidth + columnGap) + valueWidth - 1;
    };
    const int dEnd = cellEnd(tenthsPerMinute - 1) + 1 + columnGap + dWidth;
    const int width = dEnd + columnGap + labelWidth;

    TablePage result;
    result.range = "0" + std::string(degreeSign) + "00' to 0" + std::string(degreeSign) + "59'";
    PageText page;
    std::size_t line = headingLines;
    page.putRight(line, labelWidth, degreesText(0), true);
    ++line;
    page.putRight(line, labelWidth, "'", true);
    for (int tenth = 0; tenth < tenthsPerMinute; ++tenth)
        page.putRight(line, cellEnd(tenth), "." + std::to_string(tenth), true);
    page.putRight(line, dEnd, "d", true);
    page.put(line, width - labelWidth + 1, "'", true);
    const std::size_t firstRow = line + 1;
    for (std::size_t i = 0; i < end; ++i) {
        const Entry& entry = entries[i];
        const int minute = entry.tenths / tenthsPerMinute;
        const std::size_t at = rowLine(firstRow, minute);
        const int tenth = entry.tenths % tenthsPerMinute;
        PrintedEntry printed{i, at, 0, std::to_string(entry.value)};
        printed.column = cellEnd(tenth) - printout::columnCount(printed.text) + 1;
        page.put(at, printed.column, printed.text);
        if (stepAt(entry.tenths) == tenthsPerMinute) {
            printed.differenceText = std::to_string(difference(entries, i));
            printed.differenceColumn = dEnd - printout::columnCount(printed.differenceText) + 1;
            page.put(at, printed.differenceColumn, printed.differenceText);
        }
        if (tenth == 0) {
            page.putRight(at, labelWidth, std::to_string(minute));
            page.putRight(at, width, std::to_string(minute));
        }
        result.printed.push_back(std::move(printed));
    }
    line = rowLine(firstRow, 59) + 2;
    const std::string sign(degreeSign);
    putNotes(page, line, width,
             {"0" + sign + "00.0' holds the program's value for 0, that of 1E-11" + sign +
                  "; the table is read from 0" + sign + "01'.",
              "Up to " + angleText(bands[1].fromTenths) + " every 0.1' has its entry. Up to " +
                  angleText(bands[2].fromTenths) +
                  " the entries are 0.2' apart: a tenth between two is their mean.",
              "From " + angleText(bands[2].fromTenths) +
                  " on, every 1': d is the fall to the next minute, and a value at tenths is "
                  "entry - d " +
                  std::string(times) + " tenths / 10."});
    result.lines = page.lines();
    return result;
}

// Ten degrees, 1' apart: a column of value and d for each degree, every
// page's columns as wide as the widest value and d of all of them, so that a
// small value never sits so close to its d that the two read as one number.
TablePage degreesPage(const TableBook& book, int firstDeg) {
    const std::vector<Entry>& entries = book.entries;
    const int lastDeg = std::min(firstDeg + degreesPerPage - 1, 90);
    const std::size_t first = indexOf(entries, firstDeg * tenthsPerDegree);
    const std::size_t end =
        std::min(indexOf(entries, (lastDeg + 1) * tenthsPerDegree), entries.size());
    const std::string label = valueLabel(book.method);
    int valueWidth = printout::columnCount(label);
    int dWidth = 1;
    for (std::size_t i = indexOf(entries, tenthsPerDegree); i < entries.size(); ++i) {
        valueWidth = std::max(valueWidth, digits(entries[i].value));
        dWidth = std::max(dWidth, digits(difference(entries, i)));
    }
    const int columnWidth = valueWidth + 1 + dWidth;
    const auto valueEnd = [&](int deg) {
        return gridStart + (deg - firstDeg) * (columnWidth + columnGap) + valueWidth - 1;
    };
    const auto dEnd = [&](int deg) { return valueEnd(deg) + 1 + dWidth; };
    const int width = dEnd(firstDeg + degreesPerPage - 1) + columnGap + labelWidth;

    TablePage result;
    result.range = degreesText(firstDeg) + " to " + degreesText(lastDeg);
    PageText page;
    std::size_t line = headingLines;
    for (int deg = firstDeg; deg <= lastDeg; ++deg)
        page.putRight(line, valueEnd(deg), degreesText(deg), true);
    ++line;
    page.putRight(line, labelWidth, "'", true);
    for (int deg = firstDeg; deg <= lastDeg; ++deg) {
        page.putRight(line, valueEnd(deg), label, true);
        if (deg < 90)
            page.putRight(line, dEnd(deg), "d", true);
    }
    page.put(line, width - labelWidth + 1, "'", true);
    const std::size_t firstRow = line + 1;
    for (int minute = 0; minute < 60; ++minute) {
        const std::size_t at = rowLine(firstRow, minute);
        page.putRight(at, labelWidth, std::to_string(minute));
        page.putRight(at, width, std::to_string(minute));
    }
    for (std::size_t i = first; i < end; ++i) {
        const Entry& entry = entries[i];
        const int deg = entry.tenths / tenthsPerDegree;
        const int minute = entry.tenths % tenthsPerDegree / tenthsPerMinute;
        const std::size_t at = rowLine(firstRow, minute);
        PrintedEntry printed{i, at, 0, std::to_string(entry.value)};
        printed.column = valueEnd(deg) - printout::columnCount(printed.text) + 1;
        page.put(at, printed.column, printed.text);
        if (i + 1 < entries.size()) {
            printed.differenceText = std::to_string(difference(entries, i));
            printed.differenceColumn =
                dEnd(deg) - printout::columnCount(printed.differenceText) + 1;
            page.put(at, printed.differenceColumn, printed.differenceText);
        }
        result.printed.push_back(std::move(printed));
    }
    line = rowLine(firstRow, 59) + 2;
    putNotes(page, line, width,
             {"d is the fall to the next minute. A value at tenths of a minute: entry - d " +
                  std::string(times) + " tenths / 10.",
              "The angle of a value: the last entry not below it, and (entry - value) / d "
              "of a minute further on, to 0.1'."});
    result.lines = page.lines();
    return result;
}

// The first page: the pages and their steps, the two ways of reading with
// a look-up each, and how close a reading comes. Every number in it is read
// from the table it describes.
TablePage firstPage(const TableBook& book, int width) {
    using reduction::Method;
    const std::string sign(degreeSign);
    const std::string x(times);
    const std::vector<Entry>& entries = book.entries;
    PageText page;
    std::size_t line = headingLines;
    const auto paragraph = [&](const std::string& text, int indent = 2) {
        for (std::string& part : wrapped(text, width - indent))
            page.put(line++, indent + 1, std::move(part));
    };
    const auto heading = [&](std::string text) {
        ++line;
        page.put(line++, 1, std::move(text), true);
    };

    paragraph(book.method == Method::Q
                  ? "Q(x) = -1000 ln(sin x) for x from 0" + sign + " to 90" + sign +
                        ", each value rounded to a whole number: the table the program "
                        "computes to two decimals, laid out to be read by hand."
                  : "QQ(x) = Q(x) " + x +
                        " 10000 / 5840, where Q(x) = -1000 ln(sin x), for x "
                        "from 0" +
                        sign + " to 90" + sign +
                        ", each value rounded to a whole number: the table the program "
                        "computes to two decimals, laid out to be read by hand.",
              0);

    heading("Pages");
    for (std::size_t p = 1; p < book.pages.size(); ++p) {
        const std::string steps = p == 1 ? bandsText() : "every 1'";
        std::string number = pageNumber(p);
        page.putRight(line, 4, number);
        page.put(line, 7, book.pages[p].range);
        page.put(line++, 24, steps);
    }

    // Angle to value, at a minute's tenths on a page of whole degrees.
    const int forwardTenths = 23 * tenthsPerDegree + 17 * tenthsPerMinute + 4;
    heading("Angle to value");
    paragraph("Find the column of the degrees and the row of the minutes: the entry is the "
              "value at the whole minute, and d how far it falls to the next minute. For "
              "tenths of a minute take d " +
              x + " tenths / 10 from the entry. On page 2 every 0.1' has its own entry up to " +
              angleText(bands[1].fromTenths) + ", and up to " + angleText(bands[2].fromTenths) +
              " a tenth between two entries is their mean. Keep the tenth this gives; "
              "do not round it to a whole number.");
    if (const auto forward = lookUpValue(book, forwardTenths))
        paragraph("Example: " + valueLabel(book.method) + "(" + angleText(forwardTenths) + "). " +
                  forward->working + " The program's value is " +
                  printout::formatNumber(reduction::Q(angleDeg(forwardTenths), book.method),
                                         printout::Pattern::Hundredths) +
                  ".");

    // Value to angle, for a value with a tenth, as a sum of readings has.
    const double backwardValue = book.method == Method::Q ? 2333.4 : 3995.7;
    heading("Value to angle");
    paragraph("The values fall as the angle grows. Find the last entry that is not below the "
              "value: the angle is its own, and (entry - value) / d of a step further on, to "
              "the nearest 0.1' (the step is 1', or 0.2' or 0.1' on page 2). Where several "
              "entries equal the value, any of their angles will do.");
    if (const auto backward = lookUpAngle(book, backwardValue))
        paragraph("Example: the angle of " + valueText(backwardValue) + ". " + backward->working);

    // Where the values fall by 10 or more a minute, whole numbers pin the
    // angle itself; past the first entry of 0 they pin nothing finer than
    // the run of zeros.
    const int steep = steepEnd(entries);
    int flat = lastTenths;
    for (const Entry& entry : entries)
        if (entry.value == 0) {
            flat = entry.tenths;
            break;
        }
    heading("How close");
    paragraph("A value read this way is within 0.5 of the program's table value, which has "
              "two decimals, at every tenth of a minute from 0" +
              sign + "01' to 90" + sign + ".");
    paragraph("An angle read this way is within 0.1' of an angle whose table value is within "
              "0.5 of the value looked up. Up to " +
              angleText(steep) +
              ", where the values fall by 10 or more a minute, that is the angle itself to "
              "0.1'. Where they fall slowly, whole numbers cannot tell apart angles whose "
              "values round alike: there the angle read gives the value back to within 0.5, "
              "and a value says no more about its angle than that. Near 90" +
              sign + " this spans degrees: " + valueLabel(book.method) + "(89" + sign + ") is " +
              printout::formatNumber(reduction::Q(89, book.method), printout::Pattern::Hundredths) +
              ", and every entry from " + angleText(flat) + " on is 0.");
    TablePage result;
    result.lines = page.lines();
    return result;
}

// The heading of every page, right-aligned to the widest page: the table,
// what the page covers, its number.
void putHeading(TablePage& page, const std::string& title, std::size_t number, std::size_t count,
                int width) {
    const std::string right = (page.range.empty() ? "" : page.range + "    ") + "page " +
                              std::to_string(number + 1) + " of " + std::to_string(count);
    WorkedFormLine heading{TextRun{1, title, true},
                           TextRun{width - printout::columnCount(right) + 1, right, true}};
    if (page.lines.size() < headingLines)
        page.lines.resize(headingLines);
    page.lines[0] = std::move(heading);
}

int pageWidth(const TablePage& page) {
    int widest = 0;
    for (const WorkedFormLine& runs : page.lines)
        for (const TextRun& run : runs)
            widest = std::max(widest, run.column - 1 + printout::columnCount(run.text));
    return widest;
}

} // namespace

std::string bandsText() {
    std::string text;
    for (std::size_t i = 0; i < bands.size(); ++i) {
        const std::string step =
            "every " +
            printout::formatNumber(double(bands[i].stepTenths) / tenthsPerMinute,
                                   bands[i].stepTenths == tenthsPerMinute
                                       ? printout::Pattern::Whole
                                       : printout::Pattern::Tenths) +
            "'";
        if (i + 1 == bands.size())
            text += "then " + step;
        else
            text += step + " to " + angleText(bands[i + 1].fromTenths) + ", ";
    }
    return text;
}

std::string methodName(reduction::Method method) {
    return method == reduction::Method::Q ? "Q(x)" : "QQ(x)";
}

TableBook tableBook(reduction::Method method) {
    TableBook book{method, tableEntries(method), {}};
    book.pages.emplace_back(); // the first page, written once the others are known
    book.pages.push_back(zeroPage(book));
    for (int deg = 1; deg <= 90; deg += degreesPerPage)
        book.pages.push_back(degreesPage(book, deg));
    int width = 0;
    for (const TablePage& page : book.pages)
        width = std::max(width, pageWidth(page));
    book.pages.front() = firstPage(book, width);
    const std::string title = methodName(method) + " TABLE";
    for (std::size_t p = 0; p < book.pages.size(); ++p)
        putHeading(book.pages[p], title, p, book.pages.size(), width);
    return book;
}

std::string bookText(const TableBook& book) {
    std::string text;
    for (const TablePage& page : book.pages) {
        if (!text.empty())
            text += "\n";
        for (const std::string& line : printout::renderLines(printout::WorkedForm{page.lines}))
            text += line + "\n";
    }
    return text;
}

std::string bookCsv(const TableBook& book) {
    std::string csv = "deg,min,value\n";
    for (const Entry& entry : book.entries) {
        const int inDegree = entry.tenths % tenthsPerDegree;
        std::string minutes = std::to_string(inDegree / tenthsPerMinute);
        if (stepAt(entry.tenths) < tenthsPerMinute)
            minutes += "." + std::to_string(inDegree % tenthsPerMinute);
        csv += std::to_string(entry.tenths / tenthsPerDegree) + "," + minutes + "," +
               std::to_string(entry.value) + "\n";
    }
    return csv;
}

} // namespace tables
