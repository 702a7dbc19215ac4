#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "check/values.h"
#include "cli/batchrow.h"

// The columns of a class file as its header line names them, as
// spreadsheets write such files: the twelve entry columns of --batch in
// their order, the value columns of --check in any order, and before,
// between or after them any other column (a student's name, an id), whose
// cells are carried to each row's report so that a teacher can tell the rows
// apart. Names are matched in any letter case; the header may be written
// with semicolons, and then every number in the file with a decimal comma.

namespace cli {

// A cell of a column sightform does not read, as given.
struct OtherCell {
    std::string column; // its name in the header
    std::string text;
    bool operator==(const OtherCell&) const = default;
};
using OtherCells = std::vector<OtherCell>;

struct ColumnLayout {
    char separator = ',';
    // The cell of each entry column, in the order of batchColumns.
    std::array<std::size_t, batchColumns.size()> entryAt = [] {
        std::array<std::size_t, batchColumns.size()> at{};
        for (std::size_t i = 0; i < at.size(); ++i) {
            at[i] = i;
        }
        return at;
    }();
    std::vector<std::pair<std::size_t, check::ValueId>> valueAt;
    std::vector<std::pair<std::size_t, std::string>> otherAt; // cell and column name
    std::size_t width = batchColumns.size();                  // the header's cells

    // A number cell's text as the field rules and the value reading take it.
    std::string numberText(const std::string& cell) const {
        return separator == ';' ? withDecimalPoint(cell) : cell;
    }
};

// The columns header (one line without its end) names, or nullopt with
// problem saying why it names none: an entry column missing, out of order or
// named twice, a value or other column named twice. A column whose header
// cell is empty is not read.
std::optional<ColumnLayout> readColumnLayout(std::string_view header, std::string& problem);

// "the first line must name the columns: ...": what a header must hold.
std::string headerShape();

// One row's cells (line without its end), one per column of the layout,
// missing cells at its end empty; or nullopt with the problem that makes it
// malformed: as rowCells, too few cells to reach the last entry column, or a
// cell past the header's columns that is not empty.
std::optional<std::vector<std::string>> splitRow(std::string_view line, const ColumnLayout& layout,
                                                 std::string& problem);

// The row's entries read from its cells, as parseBatchRow reads them.
BatchRow readEntries(const std::vector<std::string>& cells, const ColumnLayout& layout);

// The row's cells of the other columns, one for each, in the header's order.
OtherCells otherCells(const std::vector<std::string>& cells, const ColumnLayout& layout);

// "Row 12", and the other cells that are not empty: "Row 12 (student: Anna
// Schmidt, id: 17)".
std::string rowTitle(long long number, const OtherCells& others);

// "student: Anna Schmidt, id: 17": the other cells that are not empty.
std::string otherCellsText(const OtherCells& others);

} // namespace cli
