#include "entry/textvalue.h"

#include "entry/readdecimal.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n';
}

bool isExponentLetter(char c) {
    return c == 'E' || c == 'e' || c == 'D' || c == 'd';
}

bool isDigitOrPoint(char c) {
    return isDigit(c) || c == '.';
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

// The length of the decimal number at the start of text (sign, digits with at
// most one point, an exponent with at least one digit); 0 when there is none.
std::size_t leadingDecimalLength(std::string_view text) {
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        ++i;
    bool anyDigit = false;
    bool point = false;
    for (; i < text.size(); ++i) {
        if (isDigit(text[i]))
            anyDigit = true;
        else if (text[i] == '.' && !point)
            point = true;
        else
            break;
    }
    if (!anyDigit)
        return 0;
    // The exponent counts only with at least one digit: "1E" is 1, "3D-" is 3.
    if (i < text.size() && isExponentLetter(text[i])) {
        std::size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-'))
            ++j;
        const std::size_t firstDigit = j;
        while (j < text.size() && isDigit(text[j]))
            ++j;
        if (j > firstDigit)
            i = j;
    }
    return i;
}

// readDecimal leaves the value untouched when it is out of the double range:
// tell an overflow from an underflow by where the first significant digit
// stands once the exponent is applied.
double outOfRange(std::string_view number) {
    const bool negative = number.front() == '-';
    const bool hasSign = number.front() == '-' || number.front() == '+';
    long long magnitude = 0; // decimal exponent of the first significant digit
    bool seenSignificant = false;
    bool afterPoint = false;
    std::size_t i = hasSign ? 1 : 0;
    for (; i < number.size() && isDigitOrPoint(number[i]); ++i) {
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
        if (*first == '+')
            ++first;
        const auto [end, ec] = std::from_chars(first, number.data() + number.size(), exponent);
        if (ec == std::errc::result_out_of_range)
            exponent = (*first == '-') ? std::numeric_limits<long long>::min()
                                       : std::numeric_limits<long long>::max();
        (void)end;
    }
    // magnitude + exponent > 0, without the sum: an exponent of many digits
    // is near the end of long long, where the sum would overflow. magnitude
    // counts digits of the text, so its negation always fits.
    const double size = exponent > -magnitude ? HUGE_VAL : 0.0;
    return negative ? -size : size;
}

// Digits with at most one point and nothing else, the text a field's key
// filter lets through: read without the general path. With at most 15
// digits the digits form a whole number m below 2^53 and 10^k (k decimals)
// is exact too, so m / 10^k, one correctly rounded division, is the double
// nearest to the text's value: the very double readDecimal gives. false for
// any other text, which the general path reads.
bool plainDecimal(std::string_view text, double& value) {
    constexpr int maxDigits = 15;
    constexpr double powersOfTen[maxDigits + 1] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                                   1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    std::int64_t digits = 0;
    int count = 0;
    int decimals = 0;
    bool point = false;
    for (const char c : text) {
        if (isDigit(c)) {
            if (++count > maxDigits)
                return false;
            digits = digits * 10 + (c - '0');
            decimals += point ? 1 : 0;
        } else if (c == '.' && !point) {
            point = true;
        } else {
            return false;
        }
    }
    if (count == 0)
        return false;
    value = static_cast<double>(digits) / powersOfTen[decimals];
    return true;
}

} // namespace

double TextValue(std::string_view text) {
    if (double value = 0; plainDecimal(text, value))
        return value;

    // Blanks may stand anywhere, even inside the number; only then is a copy
    // needed.
    std::string kept;
    if (std::any_of(text.begin(), text.end(), isBlank)) {
        kept.reserve(text.size());
        for (char c : text)
            if (!isBlank(c))
                kept += c;
        text = kept;
    }

    if (text.size() >= 2 && text[0] == '&') {
        const char kind = text[1];
        if (kind == 'H' || kind == 'h')
            return radixNumber(text.substr(2), 16);
        if (kind == 'O' || kind == 'o')
            return radixNumber(text.substr(2), 8);
    }

    const std::string_view number = text.substr(0, leadingDecimalLength(text));
    if (number.empty())
        return 0;
    // readDecimal reads neither a leading "+" nor a D for the exponent.
    std::string_view digits = number.front() == '+' ? number.substr(1) : number;
    std::string withE;
    if (const auto d = digits.find_first_of("Dd"); d != std::string_view::npos) {
        withE = digits;
        withE[d] = 'e';
        digits = withE;
    }
    double value = 0;
    const auto [end, ec] = readDecimal(digits.data(), digits.data() + digits.size(), value);
    if (ec == std::errc::result_out_of_range)
        return outOfRange(number);
    (void)end;
    return value;
}
