#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "entry/fields.h"
#include "reduction/calculate.h"
#include "reduction/table.h"

// The pieces of sightform's input handling that do not need the command line
// itself: the checks of field texts, names and methods that the options and
// the batch rows share, and the reading of one batch row.

namespace cli {

// The batch columns, in order.
inline constexpr std::string_view batchColumns =
    "method,ghaDeg,ghaMin,decName,decDeg,decMin,latName,latDeg,latMin,lonName,lonDeg,lonMin";
inline constexpr std::size_t batchCellCount = 12;

// A batch line longer than this is malformed; reading stops storing it there,
// so one endless line cannot grow memory.
inline constexpr std::size_t maxBatchLineBytes = 1024;

// Characters of a UTF-8 text, as a field counts them against its maximum
// length.
std::size_t characterCount(std::string_view utf8);

// Why text cannot stand in the field (it is longer than the field's maximum
// length), or nullopt when it can. Any text that fits is accepted, the empty
// text included: the field reads it with TextValue.
std::optional<std::string> fieldTextProblem(std::string_view text, entry::FieldId field);

// "Q" or "QQ", exactly.
std::optional<reduction::Method> methodFromText(std::string_view text);

// The cells of one CSV line: separated by commas; a cell may be quoted with
// double quotes, inside which a comma is text and "" is one quote. nullopt
// when a quote is not closed or is followed by anything but a comma.
std::optional<std::vector<std::string>> splitCsvLine(std::string_view line);

// True for the optional header line, which begins with "method".
bool isHeaderLine(std::string_view line);

// One batch row read into the window's inputs, or the problem that makes it
// malformed. An empty method or name cell takes the default (Q, N, N, W), as
// a missing option does; empty field cells are empty fields.
struct BatchRow {
    std::optional<reduction::ReductionInput> input;
    std::string problem;
};

// line without its line end (a trailing carriage return is dropped here).
BatchRow parseBatchRow(std::string_view line);

} // namespace cli
