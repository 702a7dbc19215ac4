#include "cli/checkrows.h"

#include <string_view>

namespace cli {
namespace {

CheckRow readRow(long long number, std::string_view line, const ColumnLayout& layout) {
    CheckRow row;
    row.number = number;
    const auto cells = splitRow(line, layout, row.problem);
    if (!cells) {
        return row;
    }
    row.others = otherCells(*cells, layout);
    BatchRow read = readEntries(*cells, layout);
    if (!read.input) {
        row.problem = std::move(read.problem);
        return row;
    }
    for (const auto& [at, id] : layout.valueAt) {
        const std::string text = layout.numberText((*cells)[at]);
        const check::ReadValue value = check::readValue(id, text);
        if (!value.problem.empty()) {
            row.problem = quotedAsWritten(value.problem, text, (*cells)[at]);
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
                header_ = readColumnLayout(text, summary_.headerProblem);
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
        CheckRow row;
        if (overlong) {
            row.number = number;
            row.problem = "longer than " + std::to_string(maxBatchLineBytes) + " bytes";
        } else {
            row = readRow(number, text, *header_);
        }
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
    std::optional<ColumnLayout> header_;
};

} // namespace

CheckSummary checkRows(ByteSource& in, check::Tolerance tolerance, CheckRowHandler& rows) {
    CheckSummary summary;
    RowChecker checker(tolerance, rows, summary);
    summary.end = readBatchLines(in, checker);
    if (summary.end == BatchEnd::Read && !checker.headerRead() && summary.headerProblem.empty()) {
        summary.headerProblem = "the input is empty; " + headerShape();
    }
    return summary;
}

} // namespace cli
