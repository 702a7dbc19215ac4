#include "help/helptext.h"

namespace help {

namespace {

// Adjacent literals, one line each, so the hard breaks and the trailing
// spaces of the design stay visible here.
constexpr std::string_view text =
    "The Q(x) Table and QQ(x) Table sight reduction methods are Ageton derivatives.  "
    "The Q(x) Table is the table publisher's \r\n"
    "\"original (corrected)\" Q(x) Table method, as the publisher presents it in its own "
    "publications.    The QQ(x) Table \r\n"
    "is based on the Q(x) Table, with revisions suggested by a fellow navigator.  "
    "The primary differences are that it \r\n"
    "advances in 10' steps instead of 1\xC2\xB0 steps, and the scaling allows an increase in "
    "resolution of almost a factor of two. \r\n"
    "The procedures are identical.\r\n"
    "  \r\n"
    "All table values are shown calculated (not interpolated) to two decimal places, though "
    "mental interpolation would \r\n"
    "usually result in single decimal place values, and the table values are rounded to whole "
    "numbers.  Resultant angles \r\n"
    "are shown \"interpolated\" (actually calculated) to tenths of an arc-minute.\r\n"
    "\r\n"
    "Special rules are shown at the bottom of the \"form\".  When these special rules are "
    "applied, the original and \r\n"
    "resulting values are both displayed.\r\n"
    "\r\n"
    "Switching between Q(x) and QQ(x) has the same effect as pressing the Calculate button.\r\n"
    "\r\n"
    "Checker program written by a fellow navigator.  Comments and corrections are welcome "
    "through the place where you obtained it.\r\n";

} // namespace

std::string_view helpText() {
    return text;
}

} // namespace help
