#include "cli/checkrows.h"

#include <algorithm>
#include <string_view>
#include <vector>

#include "cli/batchrow.h"

namespace cli {
namespace {

// The value columns after the entry columns, each at most once.
struct Header {
    std::vector<check::ValueId> values;
};

bool sameLetters(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               const auto lower = [](char c) {
                   return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
               };
               return lower(x) == lower(y);
           });
}

std::string valueColumnNames() {
    std::string names;
    for (const check::ValueId id : check::allValues()) {
        names += (names.empty() ? "" : ",") + std::string(check::valueName(id));
    }
    return names;
}

// The header, or why it cannot be one.
std::optional<Header> readHeader(std::string_view line, std::string& problem) {
    const auto cells = splitCsvLine(line);
    const std::string shape = "the first line must name the columns: " + batchHeader() +
                              ", then any of " + valueColumnNames();
    if (!cells || cells->size() < batchColumns.size()) {
        problem = shape;
        return std::nullopt;
    }
    for (std::size_t i = 0; i < batchColumns.size(); ++i) {
        if (!sameLetters((*cells)[i], batchColumns[i].name)) {
            problem =
                shape + "; column " + std::to_string(i + 1) + " is " + quotedText((*cells)[i]);
            return std::nullopt;
        }
    }
    Header header;
    for (std::size_t i = batchColumns.size(); i < cells->size(); ++i) {
        const auto id = check::valueFromName((*cells)[i]);
        if (!id) {
            problem = "the header names no value column " + quotedText((*cells)[i]) +
                      "; the value columns are " + valueColumnNames();
            return std::nullopt;
        }
        if (std::find(header.values.begin(), header.values.end(), *id) != header.values.end()) {
            problem = "the header names " + std::string(check::valueName(*id)) + " twice";
            return std::nullopt;
        }
        header.values.push_back(*id);
    }
    return header;
}

// A cell as a CSV cell again, so that the entry cells go through the very
// reading of a --batch row.
std::string quotedCell(const std::string& cell) {
    std::string quoted = "\"";
    for (const char c : cell) {
        quoted += c;
        if (c == '"') {
            quoted += '"';
        }
    }
    return quoted + "\"";
}

CheckRow readRow(long long number, std::string_view line, const Header& header) {
    CheckRow row;
    row.number = number;
    const auto cells = splitCsvLine(line);
    if (!cells) {
        row.problem = "a quoted cell is not closed properly";
        return row;
    }
    // A spreadsheet may leave out empty cells at the end of a row.
    const std::size_t columns = batchColumns.size() + header.values.size();
    if (cells->size() < batchColumns.size() || cells->size() > columns) {
        row.problem = "expected " + std::to_string(columns) + " cells as the header names, found " +
                      std::to_string(cells->size());
        return row;
    }
    std::string entries;
    for (std::size_t i = 0; i < batchColumns.size(); ++i) {
        entries += (i == 0 ? "" : ",") + quotedCell((*cells)[i]);
    }
    BatchRow read = parseBatchRow(entries);
    if (!read.input) {
        row.problem = std::move(read.problem);
        return row;
    }
    for (std::size_t i = batchColumns.size(); i < cells->size(); ++i) {
        const check::ValueId id = header.values[i - batchColumns.size()];
        const check::ReadValue value = check::readValue(id, (*cells)[i]);
        if (!value.problem.empty()) {
            row.problem = value.problem;
            return row;
        }
        row.values[id] = value.value;
    }
    row.input = std::move(read.input);
    return row;
}

// Reads the header from the first line, then checks every row.
class RowChecker : public LineHandler {
  public:
    RowChecker(check::Tolerance tolerance, CheckRowHandler& rows, CheckSummary& summary)
        : tolerance_(tolerance), rows_(rows), summary_(summary) {}

    bool line(long long number, std::string_view text, bool overlong) override {
        if (text.ends_with('\r')) {
            text.remove_suffix(1);
        }
        if (!header_) {
            if (!overlong) {
                header_ = readHeader(text, summary_.headerProblem);
            }
            if (!header_ && summary_.headerProblem.empty()) {
                summary_.headerProblem =
                    "the header is longer than " + std::to_string(maxBatchLineBytes) + " bytes";
            }
            return header_.has_value();
        }
        if (!overlong && isBlankLine(text)) {
            return true;
        }
        ++summary_.rows;
        CheckRow row = overlong
                           ? CheckRow{number,
                                      std::nullopt,
                                      {},
                                      "longer than " + std::to_string(maxBatchLineBytes) + " bytes",
                                      {}}
                           : readRow(number, text, *header_);
        if (!row.input) {
            ++summary_.malformed;
        } else {
            row.result = check::checkWorkedForm(*row.input, row.values, tolerance_);
            if (!row.result.message.empty()) {
                ++summary_.unchecked;
            } else if (row.result.blank) {
                ++summary_.blank;
            } else if (!row.result.slips.empty()) {
                ++summary_.withSlips;
            }
        }
        rows_.row(row);
        return true;
    }

    bool headerRead() const { return header_.has_value(); }

  private:
    check::Tolerance tolerance_;
    CheckRowHandler& rows_;
    CheckSummary& summary_;
    std::optional<Header> header_;
};

} // namespace

CheckSummary checkRows(ByteSource& in, check::Tolerance tolerance, CheckRowHandler& rows) {
    CheckSummary summary;
    RowChecker checker(tolerance, rows, summary);
    summary.end = readBatchLines(in, checker);
    if (summary.end == BatchEnd::Read && !checker.headerRead() && summary.headerProblem.empty()) {
        std::string shape;
        readHeader("", shape);
        summary.headerProblem = "the input is empty; " + shape;
    }
    return summary;
}

} // namespace cli
