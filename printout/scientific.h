#pragma once

#include <charconv>

namespace printout {

// std::to_chars(first, last, value, std::chars_format::scientific, decimals)
// where the standard library has it. Where it does not (Emscripten's libc++),
// writeScientificByIntegers takes its place, so both builds print the same
// digits.
std::to_chars_result writeScientific(char* first, char* last, double value, int decimals);

// The same text through snprintf's "%.*e", which glibc and musl write from the
// exact binary value, rounded half to even as std::to_chars does: "d.ddde±xx"
// with decimals digits after the point and at least two exponent digits; the
// point whatever the locale; value_too_large (and ptr at last) when the text
// does not fit.
std::to_chars_result writeScientificBySnprintf(char* first, char* last, double value, int decimals);

// The same text again, worked out in integers from the double's own bits:
// exact, rounded half to even, and many times faster than snprintf in
// WebAssembly. It covers every value from about 1e-13 to 1e15 (and zero) at
// up to 17 decimals, which holds every number of a worked form; any other
// value or precision goes to writeScientificBySnprintf.
std::to_chars_result writeScientificByIntegers(char* first, char* last, double value, int decimals);

} // namespace printout
