#include "printout/patterns.h"

#include "printout/scientific.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <string>

namespace printout {
namespace {

// Significant digits written before the pattern's own rounding.
constexpr int significantDigits = 15;

struct PatternShape {
    int decimals;
    int minIntegerDigits;
};

constexpr PatternShape shapeOf(Pattern pattern) {
    switch (pattern) {
    case Pattern::Whole:
        return {0, 1};
    case Pattern::TwoDigitTenths:
        return {1, 2};
    case Pattern::Tenths:
        return {1, 1};
    case Pattern::Hundredths:
        return {2, 1};
    }
    return {0, 1};
}

// The longest text of a pattern: a sign, the 309 integer digits of the
// largest double and a carry, the point and two decimals.
constexpr std::size_t longestNumber = 1 + 310 + 1 + 2;

// Writes value in the pattern at out and returns the end. Everything is
// worked in the caller's buffer: the form prints some forty numbers, and
// WebAssembly's strings hold no more than ten characters without the heap.
char* writeNumber(char* out, double value, Pattern pattern) {
    if (std::isnan(value)) {
        return std::copy_n("nan", 3, out);
    }
    if (std::isinf(value)) {
        return value < 0 ? std::copy_n("-inf", 4, out) : std::copy_n("inf", 3, out);
    }
    const auto [decimals, minIntegerDigits] = shapeOf(pattern);

    // |value| to 15 significant digits: "d.ddddddddddddde±x".
    char scientific[40];
    const auto written = writeScientific(scientific, scientific + sizeof scientific,
                                         std::fabs(value), significantDigits - 1);
    char digits[significantDigits];
    digits[0] = scientific[0];
    std::copy_n(scientific + 2, significantDigits - 1, digits + 1);
    int exponent = 0;
    const char* exponentStart = scientific + 2 + (significantDigits - 1) + 1; // after 'e'
    if (*exponentStart == '+') {
        ++exponentStart;
    }
    std::from_chars(exponentStart, written.ptr, exponent);

    // |value| × 10^decimals rounded half away from zero: digits[i] stands for
    // 10^(exponent - i), and those down to 10^-decimals are kept, after a
    // place left for a carry.
    // Room in front for a carry, or for the pattern's leading zeros.
    constexpr int front = 4;
    char scaled[front + longestNumber];
    char* from = scaled + front;
    char* last = from;
    const int keep = exponent + 1 + decimals;
    if (keep <= 0) {
        *last++ = keep == 0 && digits[0] >= '5' ? '1' : '0';
    } else {
        const int fromDigits = std::min(keep, significantDigits);
        last = std::copy_n(digits, fromDigits, last);
        last = std::fill_n(last, keep - fromDigits, '0');
        if (keep < significantDigits && digits[keep] >= '5') {
            // One more in the last digit kept; a carry out of the first
            // makes a new first digit.
            char* digit = last;
            while (digit != from && *(digit - 1) == '9') {
                *--digit = '0';
            }
            if (digit == from) {
                *--from = '1';
            } else {
                ++*(digit - 1);
            }
        }
    }
    while (from + 1 < last && *from == '0') {
        ++from;
    }

    // Leading zeros up to the pattern's digits, the sign, the point.
    while (last - from < decimals + minIntegerDigits) {
        *--from = '0';
    }
    if (value < 0) {
        *out++ = '-';
    }
    if (decimals == 0) {
        return std::copy(from, last, out);
    }
    out = std::copy(from, last - decimals, out);
    *out++ = '.';
    return std::copy(last - decimals, last, out);
}

} // namespace

std::string formatNumber(double value, Pattern pattern) {
    char text[longestNumber];
    return std::string(text, writeNumber(text, value, pattern));
}

std::string angleText(int degrees, double minutes, Pattern minutesPattern) {
    char text[12 + 2 + longestNumber];
    char* out = std::to_chars(text, text + 12, degrees).ptr;
    out = std::copy_n("\u00B0", 2, out);
    return std::string(text, writeNumber(out, minutes, minutesPattern));
}

int degreesWidth(int degrees) {
    int digits = 1;
    for (long long rest = std::llabs(degrees); rest >= 10; rest /= 10) {
        ++digits;
    }
    return digits + 1;
}

int columnCount(std::string_view utf8) {
    int columns = 0;
    for (const char c : utf8) {
        // UTF-8 continuation bytes (10xxxxxx) belong to the character before.
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) {
            ++columns;
        }
    }
    return columns;
}

} // namespace printout
