#include "cli/columnlayout.h"

#include <algorithm>

namespace cli {
namespace {

std::string valueColumnNames() {
    std::string names;
    for (const check::ValueId id : check::allValues()) {
        names += (names.empty() ? "" : ",") + std::string(check::valueName(id));
    }
    return names;
}

std::optional<std::size_t> entryColumnNamed(std::string_view name) {
    for (std::size_t i = 0; i < batchColumns.size(); ++i) {
        if (sameLetters(name, batchColumns[i].name)) {
            return i;
        }
    }
    return std::nullopt;
}

std::optional<check::ValueId> valueColumnNamed(std::string_view name) {
    for (const check::ValueId id : check::allValues()) {
        if (sameLetters(name, check::valueName(id))) {
            return id;
        }
    }
    return std::nullopt;
}

} // namespace

std::string headerShape() {
    return "the first line must name the columns: " + batchHeader() +
           " in this order, and any of " + valueColumnNames();
}

std::optional<ColumnLayout> readColumnLayout(std::string_view header, std::string& problem) {
    ColumnLayout layout;
    layout.separator = csvSeparator(header);
    std::string notText;
    const auto cells = rowCells(header, layout.separator, notText);
    if (!cells) {
        problem = headerShape() + "; " + notText;
        return std::nullopt;
    }
    layout.width = cells->size();
    std::array<std::optional<std::size_t>, batchColumns.size()> entries{};
    std::size_t nextEntry = 0;
    std::string outOfOrder;
    std::string twice;
    const auto namedTwice = [&](std::string_view name) {
        if (twice.empty()) {
            twice = "the header names " + std::string(name) + " twice";
        }
    };
    for (std::size_t at = 0; at < cells->size(); ++at) {
        const std::string& name = (*cells)[at];
        if (name.empty()) {
            continue;
        }
        if (const auto entry = entryColumnNamed(name)) {
            if (entries[*entry]) {
                namedTwice(batchColumns[*entry].name);
            } else if (*entry != nextEntry && outOfOrder.empty()) {
                outOfOrder = headerShape() + "; column " + std::to_string(at + 1) + " is " +
                             quotedText(name);
            }
            entries[*entry] = at;
            nextEntry = *entry + 1;
        } else if (const auto value = valueColumnNamed(name)) {
            if (std::any_of(layout.valueAt.begin(), layout.valueAt.end(),
                            [&](const auto& column) { return column.second == *value; })) {
                namedTwice(check::valueName(*value));
            }
            layout.valueAt.emplace_back(at, *value);
        } else {
            if (std::any_of(layout.otherAt.begin(), layout.otherAt.end(),
                            [&](const auto& column) { return sameLetters(column.second, name); })) {
                namedTwice(quotedText(name));
            }
            layout.otherAt.emplace_back(at, name);
        }
    }
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (!entries[i]) {
            problem = headerShape() + "; no column is named " + std::string(batchColumns[i].name);
            return std::nullopt;
        }
        layout.entryAt[i] = *entries[i];
    }
    problem = !outOfOrder.empty() ? outOfOrder : twice;
    if (!problem.empty()) {
        return std::nullopt;
    }
    return layout;
}

std::optional<std::vector<std::string>> splitRow(std::string_view line, const ColumnLayout& layout,
                                                 std::string& problem) {
    auto cells = rowCells(line, layout.separator, problem);
    if (!cells) {
        return std::nullopt;
    }
    // A spreadsheet leaves out empty cells at the end of a row, or writes
    // empty ones as far as its widest row.
    const std::size_t needed = *std::max_element(layout.entryAt.begin(), layout.entryAt.end()) + 1;
    const bool emptyPast = std::all_of(
        cells->begin() + static_cast<std::ptrdiff_t>(std::min(layout.width, cells->size())),
        cells->end(), [](const std::string& cell) { return cell.empty(); });
    if (cells->size() < needed || !emptyPast) {
        problem = "expected " + std::to_string(layout.width) +
                  " cells as the header names, found " + std::to_string(cells->size());
        return std::nullopt;
    }
    cells->resize(layout.width);
    return cells;
}

BatchRow readEntries(const std::vector<std::string>& cells, const ColumnLayout& layout) {
    std::array<std::string, batchColumns.size()> entries;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        entries[i] = cells[layout.entryAt[i]];
    }
    return readEntryCells(entries, layout.separator == ';');
}

OtherCells otherCells(const std::vector<std::string>& cells, const ColumnLayout& layout) {
    OtherCells others;
    for (const auto& [at, name] : layout.otherAt) {
        others.push_back({name, cells[at]});
    }
    return others;
}

std::string otherCellsText(const OtherCells& others) {
    std::string text;
    for (const OtherCell& cell : others) {
        if (!cell.text.empty()) {
            text += (text.empty() ? "" : ", ") + cell.column + ": " + cell.text;
        }
    }
    return text;
}

std::string rowTitle(long long number, const OtherCells& others) {
    const std::string title = "Row " + std::to_string(number);
    const std::string text = otherCellsText(others);
    return text.empty() ? title : title + " (" + text + ")";
}

} // namespace cli
