#include "entry/textvalue.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

int digitValue(char c, int radix) {
    int value = radix;
    if (c >= '0' && c <= '9')
        value = c - '0';
    else if (c >= 'a' && c <= 'f')
        value = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F')
        value = c - 'A' + 10;
    return value < radix ? value : -1;
}

// "&H1F", "&o17": a whole number in that radix, as far as its digits go.
double radixNumber(std::string_view digits, int radix) {
    double value = 0;
    for (char c : digits) {
        const int d = digitValue(c, radix);
        if (d < 0)
            break;
        value = value * radix + d;
    }
    return value;
}

// The decimal number at the start of text, in the form from_chars reads
// (no leading "+", "e" for the exponent); empty when there is none.
std::string leadingDecimal(std::string_view text) {
    std::size_t i = 0;
    std::string number;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        if (text[i] == '-')
            number += '-';
        ++i;
    }
    bool anyDigit = false;
    bool point = false;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (isDigit(c)) {
            anyDigit = true;
        } else if (c == '.' && !point) {
            point = true;
        } else {
            break;
        }
        number += c;
    }
    if (!anyDigit)
        return {};
    // The exponent counts only with at least one digit: "1E" is 1, "3D-" is 3.
    if (i < text.size() && (text[i] == 'E' || text[i] == 'e' || text[i] == 'D' || text[i] == 'd')) {
        std::size_t j = i + 1;
        std::string exponent = "e";
        if (j < text.size() && (text[j] == '+' || text[j] == '-'))
            exponent += text[j++];
        const std::size_t firstDigit = j;
        while (j < text.size() && isDigit(text[j]))
            exponent += text[j++];
        if (j > firstDigit)
            number += exponent;
    }
    return number;
}

// from_chars leaves the value untouched when it is out of the double range:
// tell an overflow from an underflow by where the first significant digit
// stands once the exponent is applied.
double outOfRange(const std::string& number) {
    const bool negative = number.front() == '-';
    long long magnitude = 0; // decimal exponent of the first significant digit
    bool seenSignificant = false;
    bool afterPoint = false;
    std::size_t i = negative ? 1 : 0;
    for (; i < number.size() && number[i] != 'e'; ++i) {
        const char c = number[i];
        if (c == '.') {
            afterPoint = true;
        } else if (!seenSignificant && c == '0') {
            if (afterPoint)
                --magnitude;
        } else if (!seenSignificant) {
            seenSignificant = true;
            if (afterPoint)
                --magnitude;
        } else if (!afterPoint) {
            ++magnitude;
        }
    }
    long long exponent = 0;
    if (i < number.size()) {
        const char* first = number.data() + i + 1;
        const auto [end, ec] = std::from_chars(first, number.data() + number.size(), exponent);
        if (ec == std::errc::result_out_of_range)
            exponent =
                (*first == '-') ? std::numeric_limits<int>::min() : std::numeric_limits<int>::max();
        (void)end;
    }
    const double size = magnitude + exponent > 0 ? HUGE_VAL : 0.0;
    return negative ? -size : size;
}

} // namespace

double TextValue(std::string_view text) {
    std::string kept;
    kept.reserve(text.size());
    for (char c : text)
        if (c != ' ' && c != '\t' && c != '\n')
            kept += c;

    if (kept.size() >= 2 && kept[0] == '&') {
        const char kind = kept[1];
        if (kind == 'H' || kind == 'h')
            return radixNumber(std::string_view(kept).substr(2), 16);
        if (kind == 'O' || kind == 'o')
            return radixNumber(std::string_view(kept).substr(2), 8);
    }

    const std::string number = leadingDecimal(kept);
    if (number.empty())
        return 0;
    double value = 0;
    const auto [end, ec] = std::from_chars(number.data(), number.data() + number.size(), value);
    if (ec == std::errc::result_out_of_range)
        return outOfRange(number);
    (void)end;
    return value;
}
