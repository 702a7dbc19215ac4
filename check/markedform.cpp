#include "check/markedform.h"

#include <algorithm>
#include <string>
#include <vector>

#include "printout/patterns.h"

namespace check {
namespace {

// One printed column: a UTF-8 character (the degree sign takes two bytes).
struct Cell {
    std::string character = " ";
    bool bold = false;
    bool place = false; // a column of a value's place

    bool blank() const { return character == " "; }
};

bool continuationByte(char byte) {
    return (static_cast<unsigned char>(byte) & 0xC0) == 0x80;
}

// The line as a row of columns, blanks where no run stands.
std::vector<Cell> cellsOf(const printout::WorkedFormLine& runs) {
    std::vector<Cell> cells;
    for (const printout::TextRun& run : runs) {
        std::size_t at = static_cast<std::size_t>(run.column - 1);
        for (std::size_t i = 0; i < run.text.size();) {
            std::size_t end = i + 1;
            while (end < run.text.size() && continuationByte(run.text[end])) {
                ++end;
            }
            if (cells.size() <= at) {
                cells.resize(at + 1);
            }
            cells[at++] = {run.text.substr(i, end - i), run.bold};
            i = end;
        }
    }
    return cells;
}

// The columns as runs: one per stretch of text of one weight between
// places, each without blanks at either end.
printout::WorkedFormLine runsOf(const std::vector<Cell>& cells) {
    printout::WorkedFormLine runs;
    for (std::size_t first = 0; first < cells.size();) {
        if (cells[first].blank()) {
            ++first;
            continue;
        }
        std::size_t end = first;
        std::size_t lastText = first;
        while (end < cells.size() && !cells[end].place && cells[end].bold == cells[first].bold) {
            if (!cells[end].blank()) {
                lastText = end;
            }
            ++end;
        }
        printout::TextRun run{static_cast<int>(first) + 1, {}, cells[first].bold};
        for (std::size_t i = first; i <= lastText; ++i) {
            run.text += cells[i].character;
        }
        runs.push_back(std::move(run));
        first = lastText + 1;
    }
    return runs;
}

struct PlaceOnLine {
    ValueId id;
    int first;
    int count;
};

} // namespace

int longestColumns(ValueKind kind) {
    switch (kind) {
    case ValueKind::Angle:
        return 9;
    case ValueKind::Azimuth:
        return 6;
    case ValueKind::TableValue:
        return 8;
    }
    return 9;
}

CheckLayout openLayout(const CheckLayout& layout, int extra) {
    CheckLayout open;
    const std::size_t lineCount = layout.form.lines.size();
    open.form.values.resize(lineCount);
    for (std::size_t line = 0; line < lineCount; ++line) {
        const std::vector<Cell> printed = cellsOf(layout.form.lines[line]);
        std::vector<PlaceOnLine> onLine;
        for (const ValueId id : allValues()) {
            for (const FormPlace& place : layout.places[index(id)]) {
                if (place.line == static_cast<int>(line)) {
                    onLine.push_back({id, place.span.first, place.span.count});
                }
            }
        }

        std::vector<Cell> shown;
        std::size_t grown = 0; // columns the line is longer by so far
        for (std::size_t column = 0; column < printed.size();) {
            const auto place = std::find_if(onLine.begin(), onLine.end(), [&](const auto& p) {
                return p.first == static_cast<int>(column) + 1;
            });
            if (place != onLine.end()) {
                const int width =
                    std::max(longestColumns(valueKind(place->id)), place->count) + extra;
                const printout::ColumnSpan span{static_cast<int>(shown.size()) + 1, width};
                open.places[index(place->id)].push_back({static_cast<int>(line), span});
                open.form.values[line].push_back({span, place->id});
                shown.resize(shown.size() + static_cast<std::size_t>(width),
                             Cell{" ", false, true});
                grown += static_cast<std::size_t>(width - place->count);
                column += static_cast<std::size_t>(place->count);
                continue;
            }
            if (!printed[column].blank() || grown == 0) {
                shown.push_back(printed[column++]);
                continue;
            }
            std::size_t blanks = 0;
            while (column + blanks < printed.size() && printed[column + blanks].blank()) {
                ++blanks;
            }
            const std::size_t kept = blanks > grown ? blanks - grown : 1;
            grown -= blanks - kept;
            shown.resize(shown.size() + kept);
            column += blanks;
        }
        open.form.lines.push_back(runsOf(shown));
    }
    return open;
}

printout::WorkedForm markedForm(const CheckResult& result, reduction::Method method) {
    if (!result.message.empty() || result.calculation.outcome != reduction::Outcome::Complete) {
        return {};
    }
    CheckLayout open = openLayout(checkLayout(result.record, method), markColumns);
    for (const ValueCheck& value : result.values) {
        for (const FormPlace& place : open.places[index(value.id)]) {
            printout::WorkedFormLine& runs = open.form.lines[static_cast<std::size_t>(place.line)];
            // A number longer than any the form prints (six digits before
            // the point) pushes its mark and the rest of the line on.
            const int signColumn =
                std::max(place.span.first + place.span.count - 1,
                         place.span.first + printout::columnCount(value.givenText) + 1);
            runs.push_back({place.span.first, value.givenText, false});
            runs.push_back({signColumn, std::string(markSign(value.mark)), false});
        }
    }
    for (printout::WorkedFormLine& runs : open.form.lines) {
        std::stable_sort(runs.begin(), runs.end(),
                         [](const auto& a, const auto& b) { return a.column < b.column; });
    }
    return std::move(open.form);
}

} // namespace check
