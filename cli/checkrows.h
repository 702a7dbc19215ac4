#pragma once

#include <optional>
#include <string>

#include "check/check.h"
#include "cli/batch.h"
#include "cli/columnlayout.h"
#include "reduction/calculate.h"

// sightform --check: a class's forms, one CSV row each. The first line is
// the header (see ColumnLayout): the twelve entry columns of --batch, any of
// the value columns (LHA, t, tUsed, ... Zn) as the checker names them, and
// any other columns, which are carried to the row's report. Each row is
// read, checked and handed on before the next is read.

namespace cli {

// One row: the form's entries and values and its check, or why the row is
// malformed.
struct CheckRow {
    long long number = 0; // its line in the file
    std::optional<reduction::ReductionInput> input;
    check::WorkedValues values;
    std::string problem;       // when malformed: names the column
    check::CheckResult result; // when read: the check (result.message if the
                               // entries cannot be reduced)
    OtherCells others;         // the cells of the other columns (empty when malformed
                               // before they could be told apart)
};

// What becomes of each row, in row order (the text or JSON report, or
// sheets).
class CheckRowHandler {
  public:
    virtual ~CheckRowHandler() = default;
    virtual void row(const CheckRow& row) = 0;
};

struct CheckSummary {
    BatchEnd end = BatchEnd::Read;
    // Not empty when the header cannot be read: no row was checked.
    std::string headerProblem;
    long long rows = 0;      // rows handed on (the header and blank lines not counted)
    long long malformed = 0; // of them, malformed
    long long unchecked = 0; // read, but the entries cannot be reduced
    long long blank = 0;     // read and reduced, but no value given
    long long withSlips = 0; // checked, and a value differs
};

// Reads the header and every row of in, checks each row at the tolerance
// and hands it to rows.
CheckSummary checkRows(ByteSource& in, check::Tolerance tolerance, CheckRowHandler& rows);

} // namespace cli
