#include "printout/patterns.h"

#include "printout/scientific.h"

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

// Adds one to a non-empty string of decimal digits.
void incrementDigits(std::string& digits) {
    for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
        if (*it != '9') {
            ++*it;
            return;
        }
        *it = '0';
    }
    digits.insert(digits.begin(), '1');
}

// |value| × 10^decimals rounded half away from zero, as decimal digits, taken
// from the 15-significant-digit decimal form of value.
std::string scaledDigits(double magnitude, int decimals) {
    char buffer[40];
    const auto written =
        writeScientific(buffer, buffer + sizeof buffer, magnitude, significantDigits - 1);
    // buffer holds "d.ddddddddddddde±x": the first digit, the point, 14 digits.
    std::string digits(1, buffer[0]);
    digits.append(buffer + 2, significantDigits - 1);
    int exponent = 0;
    const char* exponentStart = buffer + 2 + (significantDigits - 1) + 1; // after 'e'
    if (*exponentStart == '+') {
        ++exponentStart;
    }
    std::from_chars(exponentStart, written.ptr, exponent);

    // digits[i] stands for 10^(exponent - i); keep those down to 10^-decimals.
    const int keep = exponent + 1 + decimals;
    if (keep < 0) {
        return "0";
    }
    if (keep == 0) {
        return digits[0] >= '5' ? "1" : "0";
    }
    if (keep >= significantDigits) {
        return digits + std::string(static_cast<std::size_t>(keep - significantDigits), '0');
    }
    std::string kept = digits.substr(0, static_cast<std::size_t>(keep));
    if (digits[static_cast<std::size_t>(keep)] >= '5') {
        incrementDigits(kept);
    }
    return kept;
}

} // namespace

std::string formatNumber(double value, Pattern pattern) {
    if (std::isnan(value)) {
        return "nan";
    }
    if (std::isinf(value)) {
        return value < 0 ? "-inf" : "inf";
    }
    const auto [decimals, minIntegerDigits] = shapeOf(pattern);
    std::string digits = scaledDigits(std::fabs(value), decimals);

    const auto firstNonZero = digits.find_first_not_of('0');
    digits.erase(0, firstNonZero == std::string::npos ? digits.size() : firstNonZero);
    const auto minDigits = static_cast<std::size_t>(decimals + minIntegerDigits);
    if (digits.size() < minDigits) {
        digits.insert(0, minDigits - digits.size(), '0');
    }
    if (decimals > 0) {
        digits.insert(digits.size() - static_cast<std::size_t>(decimals), 1, '.');
    }
    return value < 0 ? "-" + digits : digits;
}

std::string angleText(int degrees, double minutes, Pattern minutesPattern) {
    return std::to_string(degrees) + "\u00B0" + formatNumber(minutes, minutesPattern);
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
