#pragma once

#include <string>
#include <string_view>

// The number patterns of the worked form. Every pattern first writes the
// number to 15 significant digits and then rounds that decimal text half away
// from zero, so the double nearest to 95.05 (which lies just below it) still
// prints as 95.1: a printed form must show what the navigator would write,
// not the binary value's tail. The decimal mark is always the point.

namespace printout {

enum class Pattern {
    Whole,          // "0": whole number, no leading zeros
    TwoDigitTenths, // "00.0": at least two integer digits, one decimal (minutes)
    Tenths,         // "0.0": one decimal (minutes of v and w, azimuths)
    Hundredths,     // "0.00": two decimals (table values)
};

// value in the pattern; a negative value keeps its "-" even when it rounds to
// zero. Not-a-number and infinities, which no complete reduction holds, print
// as "nan", "inf" and "-inf" rather than as digits.
std::string formatNumber(double value, Pattern pattern);

// Degrees, then the degree sign (U+00B0, UTF-8), then the minutes in
// minutesPattern: 5 and 7.2 with TwoDigitTenths give "5°07.2".
std::string angleText(int degrees, double minutes, Pattern minutesPattern);

// L(d): the number of decimal digits of |degrees| plus one, the width of the
// degrees with their leading blank or minus sign. Right-aligned angle texts
// start at Tab(k - L(d)) so that the degree sign lands in column k - 1.
int degreesWidth(int degrees);

// Columns a UTF-8 text takes in the fixed-pitch form: one per character, so
// the two bytes of the degree sign count once.
int columnCount(std::string_view utf8);

} // namespace printout
