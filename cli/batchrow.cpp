#include "cli/batchrow.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <string>

#include "entry/textvalue.h"
#include "printout/patterns.h"

namespace cli {
namespace {

using entry::FieldId;

// Characters of a text an error message quotes before cutting it.
constexpr std::size_t quotedCharacters = 40;

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

bool isControl(unsigned char c) {
    return c < 0x20 || c == 0x7F;
}

// Bytes of the well-formed UTF-8 character at text[at], or 0 when the bytes
// there are not one (a stray continuation byte, an overlong form, a
// surrogate, a value past U+10FFFF, a cut sequence).
std::size_t utf8Length(std::string_view text, std::size_t at) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(at);
    if (lead < 0x80) {
        return 1;
    }
    std::size_t length = 0;
    unsigned char low = 0x80; // the second byte's range; later bytes take 80..BF
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return 0;
    }
    if (at + length > text.size()) {
        return 0;
    }
    if (byte(at + 1) < low || byte(at + 1) > high) {
        return 0;
    }
    for (std::size_t i = 2; i < length; ++i) {
        if (byte(at + i) < 0x80 || byte(at + i) > 0xBF) {
            return 0;
        }
    }
    return length;
}

std::string hexByte(unsigned char c) {
    constexpr std::string_view digits = "0123456789ABCDEF";
    return {digits[c >> 4], digits[c & 0xF]};
}

// Why a line cannot be a row whatever its cells: a control character or
// bytes that are not UTF-8, with the column (in bytes, from 1) where they
// stand.
std::optional<std::string> byteProblem(std::string_view line) {
    for (std::size_t at = 0; at < line.size();) {
        const auto c = static_cast<unsigned char>(line[at]);
        const auto column = [at] { return " at column " + std::to_string(at + 1); };
        if (c != '\t' && isControl(c)) {
            return "holds the control character 0x" + hexByte(c) + column();
        }
        const std::size_t length = utf8Length(line, at);
        if (length == 0) {
            return "is not valid UTF-8 (byte 0x" + hexByte(c) + column() + ")";
        }
        at += length;
    }
    return std::nullopt;
}

char lowerCase(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string upperCase(std::string_view text) {
    std::string upper(text);
    for (char& c : upper) {
        c = c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
    }
    return upper;
}

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && isBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && isBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

} // namespace

std::string boundText(double bound) {
    char text[32];
    const auto written = std::to_chars(text, text + sizeof text, bound);
    return {text, written.ptr};
}

std::string batchHeader(std::string_view separator) {
    std::string header;
    for (const BatchColumn& column : batchColumns) {
        if (!header.empty()) {
            header += separator;
        }
        header += column.name;
    }
    return header;
}

std::string& fieldText(reduction::ReductionInput& input, FieldId field) {
    switch (field) {
    case FieldId::GHADeg:
        return input.ghaDeg;
    case FieldId::GHAMin:
        return input.ghaMin;
    case FieldId::DecDeg:
        return input.decDeg;
    case FieldId::DecMin:
        return input.decMin;
    case FieldId::LDeg:
        return input.latDeg;
    case FieldId::LMin:
        return input.latMin;
    case FieldId::LoDeg:
        return input.loDeg;
    case FieldId::LoMin:
        break;
    }
    return input.loMin;
}

const std::string& fieldText(const reduction::ReductionInput& input, FieldId field) {
    // The one table of fields above, read without writing.
    return fieldText(const_cast<reduction::ReductionInput&>(input), field);
}

std::string quotedText(std::string_view text) {
    std::string shown = "'";
    std::size_t characters = 0;
    for (std::size_t at = 0; at < text.size();) {
        if (characters == quotedCharacters) {
            shown += "...";
            break;
        }
        const auto c = static_cast<unsigned char>(text[at]);
        const std::size_t length = utf8Length(text, at);
        if (length == 0 || isControl(c)) {
            shown += "\\x" + hexByte(c);
            ++at;
        } else {
            shown.append(text.substr(at, length));
            at += length;
        }
        ++characters;
    }
    return shown + "'";
}

std::optional<std::string> fieldTextProblem(std::string_view text, FieldId field) {
    const entry::FieldSpec& spec = entry::spec(field);
    const auto maxLength = static_cast<std::size_t>(spec.maxLength);
    if (static_cast<std::size_t>(printout::columnCount(text)) > maxLength) {
        return "at most " + std::to_string(maxLength) + " characters, not " + quotedText(text);
    }
    if (entry::validateCancels(entry::Field{std::string(text)}, spec.bound)) {
        return "at most " + boundText(spec.bound) + ", not " + quotedText(text);
    }
    return std::nullopt;
}

std::optional<reduction::Method> methodFromText(std::string_view text) {
    if (text == "Q") {
        return reduction::Method::Q;
    }
    if (text == "QQ") {
        return reduction::Method::QQ;
    }
    return std::nullopt;
}

std::string_view methodText(reduction::Method method) {
    return method == reduction::Method::Q ? "Q" : "QQ";
}

std::string batchRowText(const reduction::ReductionInput& input) {
    std::string row;
    for (const BatchColumn& column : batchColumns) {
        if (!row.empty()) {
            row += ',';
        }
        switch (column.cell) {
        case BatchCell::Method:
            row += methodText(input.method);
            break;
        case BatchCell::DecName:
            row += reduction::nameText(input.decName);
            break;
        case BatchCell::LatName:
            row += reduction::nameText(input.latName);
            break;
        case BatchCell::LonName:
            row += reduction::nameText(input.loName);
            break;
        case BatchCell::FieldText:
            row += fieldText(input, column.field);
            break;
        }
    }
    return row;
}

std::optional<std::vector<std::string>> splitCsvLine(std::string_view line, char separator) {
    std::vector<std::string> cells;
    std::size_t pos = 0;
    const auto skipBlanks = [&] {
        while (pos < line.size() && isBlank(line[pos])) {
            ++pos;
        }
    };
    while (true) {
        std::string cell;
        skipBlanks();
        if (pos < line.size() && line[pos] == '"') {
            ++pos;
            while (true) {
                if (pos >= line.size()) {
                    return std::nullopt; // the quote is never closed
                }
                if (line[pos] == '"') {
                    if (pos + 1 < line.size() && line[pos + 1] == '"') {
                        cell += '"';
                        pos += 2;
                        continue;
                    }
                    ++pos;
                    break;
                }
                cell += line[pos++];
            }
            skipBlanks();
            if (pos < line.size() && line[pos] != separator) {
                return std::nullopt; // text after the closing quote
            }
        } else {
            const std::size_t end = std::min(line.find(separator, pos), line.size());
            cell.assign(trimmed(line.substr(pos, end - pos)));
            pos = end;
        }
        cells.push_back(std::move(cell));
        if (pos >= line.size()) {
            return cells;
        }
        ++pos; // the separator
    }
}

char csvSeparator(std::string_view headerLine) {
    std::size_t commas = 0;
    std::size_t semicolons = 0;
    bool quoted = false; // a doubled quote inside a cell toggles twice
    for (const char c : headerLine) {
        quoted = quoted != (c == '"');
        commas += !quoted && c == ',' ? 1 : 0;
        semicolons += !quoted && c == ';' ? 1 : 0;
    }
    return semicolons > commas ? ';' : ',';
}

bool sameLetters(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return lowerCase(x) == lowerCase(y);
           });
}

bool isHeaderLine(std::string_view line) {
    const std::string_view method = batchColumns.front().name;
    if (sameLetters(line.substr(0, method.size()), method)) {
        return true;
    }
    const auto cells = splitCsvLine(line, csvSeparator(line));
    return cells && std::any_of(cells->begin(), cells->end(),
                                [&](const std::string& cell) { return sameLetters(cell, method); });
}

bool isBlankLine(std::string_view line) {
    return std::all_of(line.begin(), line.end(), [](char c) { return isBlank(c) || c == '\r'; });
}

std::optional<std::vector<std::string>> rowCells(std::string_view line, char separator,
                                                 std::string& problem) {
    if (line.ends_with('\r')) {
        line.remove_suffix(1);
    }
    if (const auto bytes = byteProblem(line)) {
        problem = "the line " + *bytes;
        return std::nullopt;
    }
    auto cells = splitCsvLine(line, separator);
    if (!cells) {
        problem = "a quoted cell is not closed properly";
    }
    return cells;
}

std::string withDecimalPoint(std::string_view text) {
    std::string point(text);
    std::replace(point.begin(), point.end(), ',', '.');
    return point;
}

std::string quotedAsWritten(std::string problem, std::string_view read, std::string_view written) {
    const std::size_t at = problem.rfind(read);
    if (read != written && at != std::string::npos) {
        problem.replace(at, read.size(), written);
    }
    return problem;
}

BatchRow parseBatchRow(std::string_view line) {
    std::string problem;
    const auto cells = rowCells(line, ',', problem);
    if (!cells) {
        return {std::nullopt, std::move(problem)};
    }
    if (cells->size() != batchColumns.size()) {
        return {std::nullopt, "expected " + std::to_string(batchColumns.size()) + " cells (" +
                                  batchHeader() + "), found " + std::to_string(cells->size())};
    }
    return readEntryCells(std::span<const std::string, batchColumns.size()>(*cells), false);
}

BatchRow readEntryCells(std::span<const std::string, batchColumns.size()> cells,
                        bool decimalComma) {
    reduction::ReductionInput in;
    // An empty method or name cell keeps the default.
    const auto wrongName = [](const BatchColumn& column, auto first, auto second,
                              const std::string& text) {
        return std::string(column.name) + " must be " + std::string(reduction::nameText(first)) +
               " or " + std::string(reduction::nameText(second)) + ", not " + quotedText(text);
    };
    // The method and the names first, then the field texts: a row wrong in
    // both is reported by its name, whatever the order of the columns.
    for (std::size_t i = 0; i < batchColumns.size(); ++i) {
        const BatchColumn& column = batchColumns[i];
        const std::string& text = cells[i];
        // Typed into a spreadsheet, a method or a name is as often in lower
        // case.
        const std::string upper = upperCase(text);
        switch (column.cell) {
        case BatchCell::Method:
            if (!text.empty()) {
                const auto method = methodFromText(upper);
                if (!method) {
                    return {std::nullopt, "method must be Q or QQ, not " + quotedText(text)};
                }
                in.method = *method;
            }
            break;
        case BatchCell::DecName:
        case BatchCell::LatName:
            if (!text.empty()) {
                const auto name = reduction::northSouthFromText(upper);
                if (!name) {
                    return {std::nullopt, wrongName(column, reduction::NorthSouth::N,
                                                    reduction::NorthSouth::S, text)};
                }
                (column.cell == BatchCell::DecName ? in.decName : in.latName) = *name;
            }
            break;
        case BatchCell::LonName:
            if (!text.empty()) {
                const auto name = reduction::westEastFromText(upper);
                if (!name) {
                    return {std::nullopt, wrongName(column, reduction::WestEast::W,
                                                    reduction::WestEast::E, text)};
                }
                in.loName = *name;
            }
            break;
        case BatchCell::FieldText:
            break;
        }
    }
    for (std::size_t i = 0; i < batchColumns.size(); ++i) {
        const BatchColumn& column = batchColumns[i];
        if (column.cell != BatchCell::FieldText) {
            continue;
        }
        const std::string text = decimalComma ? withDecimalPoint(cells[i]) : cells[i];
        if (const auto problem = fieldTextProblem(text, column.field)) {
            return {std::nullopt, std::string(column.name) + " takes " +
                                      quotedAsWritten(*problem, text, cells[i])};
        }
        fieldText(in, column.field) = text;
    }
    return {std::move(in), {}};
}

} // namespace cli
