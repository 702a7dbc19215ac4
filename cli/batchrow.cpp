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

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && isBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && isBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

std::string numberText(double value) {
    char text[32];
    const auto written = std::to_chars(text, text + sizeof text, value);
    return {text, written.ptr};
}

} // namespace

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
        return "at most " + numberText(spec.bound) + ", not " + quotedText(text);
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

std::optional<std::vector<std::string>> splitCsvLine(std::string_view line) {
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
            if (pos < line.size() && line[pos] != ',') {
                return std::nullopt; // text after the closing quote
            }
        } else {
            const std::size_t end = std::min(line.find(',', pos), line.size());
            cell.assign(trimmed(line.substr(pos, end - pos)));
            pos = end;
        }
        cells.push_back(std::move(cell));
        if (pos >= line.size()) {
            return cells;
        }
        ++pos; // the comma
    }
}

bool isHeaderLine(std::string_view line) {
    constexpr std::string_view first = "method";
    return line.size() >= first.size() &&
           std::equal(first.begin(), first.end(), line.begin(), [](char a, char b) {
               return a == (b >= 'A' && b <= 'Z' ? static_cast<char>(b - 'A' + 'a') : b);
           });
}

bool isBlankLine(std::string_view line) {
    return std::all_of(line.begin(), line.end(), [](char c) { return isBlank(c) || c == '\r'; });
}

BatchRow parseBatchRow(std::string_view line) {
    if (line.ends_with('\r')) {
        line.remove_suffix(1);
    }
    if (const auto problem = byteProblem(line)) {
        return {std::nullopt, "the line " + *problem};
    }
    const auto cells = splitCsvLine(line);
    if (!cells) {
        return {std::nullopt, "a quoted cell is not closed properly"};
    }
    if (cells->size() != batchCellCount) {
        return {std::nullopt, "expected " + std::to_string(batchCellCount) + " cells (" +
                                  std::string(batchColumns) + "), found " +
                                  std::to_string(cells->size())};
    }
    const auto& c = *cells;
    reduction::ReductionInput in;

    if (!c[0].empty()) {
        const auto method = methodFromText(c[0]);
        if (!method) {
            return {std::nullopt, "method must be Q or QQ, not " + quotedText(c[0])};
        }
        in.method = *method;
    }

    // An empty name cell keeps the default name.
    const auto nameProblem = [](const char* column, const char* names, const std::string& text) {
        return std::string(column) + " must be " + names + ", not " + quotedText(text);
    };
    if (!c[3].empty()) {
        const auto name = reduction::northSouthFromText(c[3]);
        if (!name) {
            return {std::nullopt, nameProblem("decName", "N or S", c[3])};
        }
        in.decName = *name;
    }
    if (!c[6].empty()) {
        const auto name = reduction::northSouthFromText(c[6]);
        if (!name) {
            return {std::nullopt, nameProblem("latName", "N or S", c[6])};
        }
        in.latName = *name;
    }
    if (!c[9].empty()) {
        const auto name = reduction::westEastFromText(c[9]);
        if (!name) {
            return {std::nullopt, nameProblem("lonName", "W or E", c[9])};
        }
        in.loName = *name;
    }

    struct FieldCell {
        std::size_t index;
        const char* column;
        FieldId field;
        std::string* target;
    };
    const std::array<FieldCell, 8> fields{{{1, "ghaDeg", FieldId::GHADeg, &in.ghaDeg},
                                           {2, "ghaMin", FieldId::GHAMin, &in.ghaMin},
                                           {4, "decDeg", FieldId::DecDeg, &in.decDeg},
                                           {5, "decMin", FieldId::DecMin, &in.decMin},
                                           {7, "latDeg", FieldId::LDeg, &in.latDeg},
                                           {8, "latMin", FieldId::LMin, &in.latMin},
                                           {10, "lonDeg", FieldId::LoDeg, &in.loDeg},
                                           {11, "lonMin", FieldId::LoMin, &in.loMin}}};
    for (const FieldCell& field : fields) {
        const std::string& text = c[field.index];
        if (const auto problem = fieldTextProblem(text, field.field)) {
            return {std::nullopt, std::string(field.column) + " takes " + *problem};
        }
        *field.target = text;
    }
    return {std::move(in), {}};
}

} // namespace cli
