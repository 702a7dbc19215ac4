#include "cli/batchrow.h"

#include <algorithm>
#include <array>
#include <string>

namespace cli {
namespace {

using entry::FieldId;

std::string quoted(std::string_view text) {
    return "'" + std::string(text) + "'";
}

} // namespace

std::size_t characterCount(std::string_view utf8) {
    std::size_t count = 0;
    for (const char c : utf8) {
        // Continuation bytes (10xxxxxx) belong to the character before them.
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) {
            ++count;
        }
    }
    return count;
}

std::optional<std::string> fieldTextProblem(std::string_view text, FieldId field) {
    const auto maxLength = static_cast<std::size_t>(entry::spec(field).maxLength);
    if (characterCount(text) <= maxLength) {
        return std::nullopt;
    }
    return "at most " + std::to_string(maxLength) + " characters, not " + quoted(text);
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
    while (true) {
        std::string cell;
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
            if (pos < line.size() && line[pos] != ',') {
                return std::nullopt; // text after the closing quote
            }
        } else {
            const std::size_t end = std::min(line.find(',', pos), line.size());
            cell.assign(line.substr(pos, end - pos));
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
    return line.starts_with("method");
}

BatchRow parseBatchRow(std::string_view line) {
    if (line.ends_with('\r')) {
        line.remove_suffix(1);
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
            return {std::nullopt, "method must be Q or QQ, not " + quoted(c[0])};
        }
        in.method = *method;
    }

    // An empty name cell keeps the default name.
    const auto nameProblem = [](const char* column, const char* names, const std::string& text) {
        return std::string(column) + " must be " + names + ", not " + quoted(text);
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
