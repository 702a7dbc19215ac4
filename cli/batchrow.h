#pragma once

#include <array>
#include <optional>
#include <span>
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

// What a batch column holds.
enum class BatchCell { Method, DecName, LatName, LonName, FieldText };

struct BatchColumn {
    std::string_view name; // as the header line names it
    BatchCell cell;
    entry::FieldId field = entry::FieldId::GHADeg; // the field of a FieldText cell
};

// The batch columns, in order. The header line, the number of cells a row
// must have and the row reader all come from here.
inline constexpr std::array<BatchColumn, 12> batchColumns{{
    {"method", BatchCell::Method},
    {"ghaDeg", BatchCell::FieldText, entry::FieldId::GHADeg},
    {"ghaMin", BatchCell::FieldText, entry::FieldId::GHAMin},
    {"decName", BatchCell::DecName},
    {"decDeg", BatchCell::FieldText, entry::FieldId::DecDeg},
    {"decMin", BatchCell::FieldText, entry::FieldId::DecMin},
    {"latName", BatchCell::LatName},
    {"latDeg", BatchCell::FieldText, entry::FieldId::LDeg},
    {"latMin", BatchCell::FieldText, entry::FieldId::LMin},
    {"lonName", BatchCell::LonName},
    {"lonDeg", BatchCell::FieldText, entry::FieldId::LoDeg},
    {"lonMin", BatchCell::FieldText, entry::FieldId::LoMin},
}};

// The column names joined by separator: with "," the header line
// "method,ghaDeg,...,lonMin".
std::string batchHeader(std::string_view separator = ",");

// The text of the input that holds field.
std::string& fieldText(reduction::ReductionInput& input, entry::FieldId field);
const std::string& fieldText(const reduction::ReductionInput& input, entry::FieldId field);

// A field's bound as its messages write it: "719", "59.9".
std::string boundText(double bound);

// A batch line longer than this is malformed; reading stops storing it there,
// so one endless line cannot grow memory.
inline constexpr std::size_t maxBatchLineBytes = 1024;

// A text as an error message quotes it: in single quotes, cut to a readable
// number of characters (then ending in "..."), with control characters and
// bytes that are not UTF-8 shown as \xHH, so a message is always one line of
// valid UTF-8 whatever it quotes.
std::string quotedText(std::string_view text);

// Why text cannot stand in the field, or nullopt when the window would
// calculate with it. Two reasons: it is longer than the field's maximum
// length ("at most 4 characters, not '12.34'"), or its value (read with
// TextValue) is above the field's bound, where the window holds the focus and
// never calculates ("at most 59.9, not '60'"). Each field is judged alone, as
// the window's Validate rule judges it, so a degree field at its bound passes
// whatever its minutes hold; negative values pass, since only upper bounds
// are tested. Any other text that fits is accepted, the empty text included.
std::optional<std::string> fieldTextProblem(std::string_view text, entry::FieldId field);

// "Q" or "QQ", exactly.
std::optional<reduction::Method> methodFromText(std::string_view text);
std::string_view methodText(reduction::Method method);

// The sight as one batch row, without its line end: the cells in the order
// of batchColumns, the field texts as they are. parseBatchRow reads it back
// as this sight when the texts hold no comma, quote or blank at either end.
std::string batchRowText(const reduction::ReductionInput& input);

// The cells of one CSV line: separated by separator (a comma, or the
// semicolon of a file saved where the comma is the decimal mark); blanks
// (spaces and tabs) around a cell are dropped. A cell may be quoted with
// double quotes, inside which blanks and separators are text and "" is one
// quote. nullopt when a quote is not closed or is followed by anything but
// blanks and a separator.
std::optional<std::vector<std::string>> splitCsvLine(std::string_view line, char separator = ',');

// The separator of a file, from its header line: a semicolon when the line
// holds more semicolons than commas outside quoted cells, as a spreadsheet
// saves CSV where the comma is the decimal mark; a comma otherwise.
char csvSeparator(std::string_view headerLine);

// a and b alike in any ASCII letter case.
bool sameLetters(std::string_view a, std::string_view b);

// True for the optional header line of --batch: it begins with "method" in
// any letter case, or one of its cells (split at its own separator) is
// "method" in any letter case, as when a student's column comes first.
bool isHeaderLine(std::string_view line);

// True for a line of nothing but blanks (spaces, tabs, a carriage return),
// which the batch skips.
bool isBlankLine(std::string_view line);

// One batch row read into the window's inputs, or the problem that makes it
// malformed. An empty method or name cell takes the default (Q, N, N, W), as
// a missing option does; a method or name is read in any letter case ("qq",
// "s"); empty field cells are empty fields. A line holding a control
// character (other than a tab) or bytes that are not UTF-8 is malformed: such
// a cell is never read as a number.
struct BatchRow {
    std::optional<reduction::ReductionInput> input;
    std::string problem;
};

// line without its line end (a trailing carriage return is dropped here).
BatchRow parseBatchRow(std::string_view line);

// The cells of a row's line, a trailing carriage return dropped; or nullopt
// with the problem that makes the line no row whatever its cells: a control
// character (other than a tab), bytes that are not UTF-8, a quoted cell not
// closed properly.
std::optional<std::vector<std::string>> rowCells(std::string_view line, char separator,
                                                 std::string& problem);

// The twelve entry cells, in the order of batchColumns, read as
// parseBatchRow reads a row's. decimalComma: the file writes a decimal comma,
// which becomes the point before the field rules read a field text.
BatchRow readEntryCells(std::span<const std::string, batchColumns.size()> cells, bool decimalComma);

// text with each comma made a point: a number written with a decimal comma
// as the field rules and the value reading take it.
std::string withDecimalPoint(std::string_view text);

// problem, which quotes read last, quoting written in its place: a cell read
// with a decimal point is quoted as the file writes it.
std::string quotedAsWritten(std::string problem, std::string_view read, std::string_view written);

} // namespace cli
