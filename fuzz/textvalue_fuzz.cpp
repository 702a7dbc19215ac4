// TextValue on any bytes: it never fails, and where the text is a plain
// decimal number (sign, digits with at most one point, an E exponent) it
// reads the same double as the C library.

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "entry/textvalue.h"

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

std::size_t digitsFrom(std::string_view text, std::size_t i) {
    while (i < text.size() && isDigit(text[i]))
        ++i;
    return i;
}

// [+-]? (digits [. digits?] | . digits) ([eE] [+-]? digits)?, nothing else.
bool isPlainDecimal(std::string_view text) {
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        ++i;
    const std::size_t integerEnd = digitsFrom(text, i);
    bool anyDigit = integerEnd > i;
    i = integerEnd;
    if (i < text.size() && text[i] == '.') {
        const std::size_t fractionEnd = digitsFrom(text, i + 1);
        anyDigit = anyDigit || fractionEnd > i + 1;
        i = fractionEnd;
    }
    if (!anyDigit)
        return false;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-'))
            ++j;
        const std::size_t exponentEnd = digitsFrom(text, j);
        if (exponentEnd == j)
            return false;
        i = exponentEnd;
    }
    return i == text.size();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const double value = TextValue(text);
    if (!isPlainDecimal(text))
        return 0;
    const std::string copy(text);
    const double expected = std::strtod(copy.c_str(), nullptr);
    if (value != expected || std::signbit(value) != std::signbit(expected)) {
        std::fprintf(stderr, "TextValue(\"%s\") = %.17g, strtod reads %.17g\n", copy.c_str(), value,
                     expected);
        std::abort();
    }
    return 0;
}
