#pragma once

#include <string_view>

// The numeric reading of an entry field's text. Never fails: blanks, tabs and
// line feeds are dropped wherever they stand; then the longest leading number
// is read (sign, digits with at most one point, an optional E or D exponent
// with at least one digit), or "&H"/"&O" followed by a hexadecimal or octal
// whole number. Anything after the number is ignored, and a text without a
// leading number reads 0. The point is always the decimal mark.
double TextValue(std::string_view text);
