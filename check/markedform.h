#pragma once

#include "check/check.h"
#include "check/values.h"
#include "printout/workedform.h"
#include "reduction/table.h"

// A navigator's own numbers on the worked form: the form laid out with room
// for them (the window's entry boxes, the printed sheets), and the form
// filled in with them and their marks.

namespace check {

// Columns the longest value of a kind takes as the form prints it:
// "359°59.9'" (9), "359.9°" (6), "10446.37" (8, the table value of the
// smallest angle the form can hold).
int longestColumns(ValueKind kind);

// layout with every value left out and each place `extra` columns wider
// than the longest value of its kind (or than the value printed there, where
// that one is longer). What stands after a place on its line moves right and
// takes the room back from the next run of blanks, of which one stays, so
// the right-hand column keeps its columns wherever the line has room. The
// places keep their order; the form's value spans are the new places, and
// its arrows, labels, formulas and footnotes stay as printed.
CheckLayout openLayout(const CheckLayout& layout, int extra);

// Columns a marked form gives a place beyond its longest value: a blank,
// then the mark.
inline constexpr int markColumns = 2;

// The form of a checked sheet: the open layout (markColumns) of the entries'
// form with each given value as the form prints it at every place of that
// value, and its mark's sign (markSign) in the last column of the place; the
// places of values not given stay blank. result must hold a complete
// reduction (an empty message); otherwise the form is empty.
printout::WorkedForm markedForm(const CheckResult& result, reduction::Method method);

} // namespace check
