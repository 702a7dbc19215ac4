#include "entry/readdecimal.h"

#include <clocale>
#include <cmath>
#include <cstdlib>
#include <string>
#include <version>

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

} // namespace

std::from_chars_result readDecimal(const char* first, const char* last, double& value) {
#if defined(__cpp_lib_to_chars)
    return std::from_chars(first, last, value);
#else
    return readDecimalByStrtod(first, last, value);
#endif
}

std::from_chars_result readDecimalByStrtod(const char* first, const char* last, double& value) {
    // Find the end of the number first, so strtod sees exactly the text that
    // std::from_chars would read and none of the forms only strtod takes.
    const char* p = first;
    if (p != last && *p == '-')
        ++p;
    bool anyDigit = false;
    bool nonZero = false;
    for (bool point = false; p != last; ++p) {
        if (isDigit(*p)) {
            anyDigit = true;
            nonZero = nonZero || *p != '0';
        } else if (*p == '.' && !point) {
            point = true;
        } else {
            break;
        }
    }
    if (!anyDigit)
        return {first, std::errc::invalid_argument};
    if (p != last && (*p == 'e' || *p == 'E')) {
        const char* q = p + 1;
        if (q != last && (*q == '+' || *q == '-'))
            ++q;
        if (q != last && isDigit(*q)) {
            while (q != last && isDigit(*q))
                ++q;
            p = q;
        }
    }

    std::string number(first, p);
    // strtod takes the locale's decimal mark; a desktop program runs under
    // the user's locale.
    if (const std::string mark = std::localeconv()->decimal_point; mark != ".")
        if (const auto at = number.find('.'); at != std::string::npos)
            number.replace(at, 1, mark);
    const double read = std::strtod(number.c_str(), nullptr);
    // strtod's ERANGE also flags subnormal results, which std::from_chars
    // reads as they are, so the range is told from the result instead: an
    // infinity from digits overflowed, a zero from a non-zero digit underflowed.
    if (std::isinf(read) || (read == 0 && nonZero))
        return {p, std::errc::result_out_of_range};
    value = read;
    return {p, std::errc{}};
}
