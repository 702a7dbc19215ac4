#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "reduction/calculate.h"
#include "reduction/record.h"
#include "reduction/table.h"

namespace printout {

// One piece of printed text at a 1-based character column.
struct TextRun {
    int column = 1;
    std::string text; // UTF-8; the degree sign is U+00B0
    bool bold = false;

    bool operator==(const TextRun&) const = default;
};

using WorkedFormLine = std::vector<TextRun>;

// Columns first to first + count - 1 of one line.
struct ColumnSpan {
    int first = 1;
    int count = 0;

    bool operator==(const ColumnSpan&) const = default;
};

// Every number of the form that the navigator works out (the entries
// copied onto it excluded), in the order the form works them: each is
// worked from numbers before it. Named as the record names the value, or
// Q_ and the field for the table value the form looks up for it again.
enum class FormValue {
    LHA,
    t,
    tUsed,
    coDec,
    Q_coDec,
    Q_tUsed,
    Qv,
    v,
    coV,
    Q_dec,
    Q_coV,
    Qw,
    w,
    wUsed,
    u,
    uUsed,
    Q_uUsed,
    QHc,
    Hc,
    coHc,
    Q_v,
    Q_coHc,
    QZ,
    Z,
    ZUsed,
    Zn,
};
inline constexpr std::size_t formValueCount = static_cast<std::size_t>(FormValue::Zn) + 1;

// The columns of one value on a line, and which value they show: a number
// worked on the form, or none for an entry copied onto it (the latitude, the
// declination) and for the arrow that shows a rule was applied.
struct ValueSpan : ColumnSpan {
    std::optional<FormValue> shows;

    bool operator==(const ValueSpan&) const = default;
};

// The printed worked form: fifteen lines of runs, drawn from the top down.
struct WorkedForm {
    std::vector<WorkedFormLine> lines;
    // For each line, the columns that hold values of the reduction, as
    // opposed to the form's own labels, formulas and footnotes, in the order
    // printed. Empty when the form was not built by buildWorkedForm.
    std::vector<std::vector<ValueSpan>> values = {};
};

// The worked form of a complete reduction in the given method.
WorkedForm buildWorkedForm(const reduction::ReductionRecord& record, reduction::Method method);

// The column where the form's right-hand working (u, Hc and Z) starts; its
// left-hand working (LHA, t, v and w) ends before it. Between the title, the
// first line, and the two lines of footnotes at the end.
inline constexpr int rightColumn = 47;
inline constexpr std::size_t footnoteLines = 2;

// The form of buildWorkedForm for a narrow screen, its parts one above the
// other with a blank line between them: the title; the left-hand working,
// line for line; the right-hand working, moved left to start in column 1
// (its equals signs still in one column); each footnote on a line of its
// own. The runs are the form's own, bold where the form has them, with the
// blanks that led them to their columns left out.
WorkedForm stackedForm(const WorkedForm& form);

// The same form with every value column left blank: the labels, formulas
// and footnotes of an exercise sheet, each where the full form has it.
WorkedForm withoutValues(const WorkedForm& form);

// The entries a form was worked from, on one line: the field texts as typed
// (an empty field, which reads as 0, as "0"), the names and the method, e.g.
// "GHA 54°12.3'   Dec N 20°15.0'   DR L N 40°0'   DR Lo W 70°0'   Q(x) table".
std::string entriesText(const reduction::ReductionInput& input);

// The form as plain text, one string per line: runs at their columns, blanks
// between them, trailing blanks trimmed.
std::vector<std::string> renderLines(const WorkedForm& form);

} // namespace printout
