#pragma once

#include <string>

#include "check/check.h"
#include "cli/batch.h"
#include "cli/checkrows.h"
#include "cli/jsonwriter.h"

// sightform --check's report of one row: as text, every given value with
// its mark and the right value, then the slips; or one JSON object with the
// same content.

namespace cli {

// "Row N: " and the entries, a line per given value, a line per slip, and
// a closing line ("No slips." / "1 slip." / "2 slips."); or "Row N: " and
// why the row is malformed or cannot be checked. Each line ends with "\n";
// an empty line follows the block.
std::string checkReportText(const CheckRow& row);

// "No slips.", "1 slip.", "2 slips." ...: the report's closing line.
std::string slipsCount(std::size_t count);

// "Slip 1: " and the slip's text (check::slipText); index counts from 0.
std::string slipLine(std::size_t index, const check::FoundSlip& slip);

// {"allAgree", "message", "outcome", "row", "slips", "tolerance", "values"},
// or for a malformed row {"error", "row"}.
void writeCheckJson(JsonWriter& writer, const CheckRow& row, check::Tolerance tolerance);

// The text or JSON report of each row, written to out as it comes.
class CheckReport : public CheckRowHandler {
  public:
    CheckReport(TextSink& out, bool json, check::Tolerance tolerance);
    void row(const CheckRow& row) override;

  private:
    TextSink& out_;
    bool json_;
    check::Tolerance tolerance_;
    JsonBuffer buffer_;
    JsonWriter writer_;
};

// The "Check:" section of --help: the file, the marks, the tolerance, the
// exit statuses and the catalogue of slips, one line each.
std::string checkHelpText();

} // namespace cli
