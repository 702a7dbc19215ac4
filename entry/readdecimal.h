#pragma once

#include <charconv>

// std::from_chars for a double in the general format, where the standard
// library has it. Where it does not (Emscripten's libc++), readDecimalByStrtod
// takes its place, so both builds read every text to the same double.
std::from_chars_result readDecimal(const char* first, const char* last, double& value);

// The same reading through strtod, which glibc and musl round correctly: an
// optional "-", digits with at most one point, then an exponent ("e" or "E",
// an optional sign, at least one digit) if one follows. As std::from_chars it
// reads no leading blank or "+", no hexadecimal, and whatever the locale the
// point is the decimal mark; a result outside the double range (overflow, or
// underflow to zero) gives result_out_of_range with value untouched and ptr
// past the number. Unlike std::from_chars it does not read "inf" or "nan":
// no caller passes them.
std::from_chars_result readDecimalByStrtod(const char* first, const char* last, double& value);
