#include "printout/scientific.h"

#include <algorithm>
#include <array>
#include <clocale>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <version>

namespace printout {
namespace {

// GCC and Clang's 128-bit integer, in WebAssembly too.
__extension__ using Wide = unsigned __int128;

// 5^0 to 5^27, every power of five that fits 64 bits.
constexpr std::array<std::uint64_t, 28> powersOfFive = [] {
    std::array<std::uint64_t, 28> powers{1};
    for (std::size_t i = 1; i < powers.size(); ++i)
        powers[i] = powers[i - 1] * 5;
    return powers;
}();

// 10^0 to 10^18: up to 18 significant digits, 17 decimals.
constexpr int mostDecimals = 17;
constexpr std::array<std::uint64_t, mostDecimals + 2> powersOfTen = [] {
    std::array<std::uint64_t, mostDecimals + 2> powers{1};
    for (std::size_t i = 1; i < powers.size(); ++i)
        powers[i] = powers[i - 1] * 10;
    return powers;
}();

// A positive value as significand × 10^exponent, the significand holding
// exactly `digits` decimal digits.
struct Rounded {
    std::uint64_t significand;
    int exponent;
};

// A positive normal double rounded to `digits` significant decimal digits,
// half to even, from its exact value m × 2^q: the digits are m × 5^p × 2^(q + p)
// for the power of ten p that brings them to `digits` places, worked out in
// 128 bits with the bits shifted out kept for the rounding. Nothing when 5^p
// or the shift does not fit.
std::optional<Rounded> roundToDigits(std::uint64_t bits, int digits) {
    const int q = static_cast<int>(bits >> 52) - 1075;
    const std::uint64_t m = (bits & ((std::uint64_t{1} << 52) - 1)) | (std::uint64_t{1} << 52);
    // floor(log10(2^(q + 52))), exact for binary exponents up to ±2620: the
    // value's decimal exponent, or one less.
    int exponent = ((q + 52) * 315653) >> 20;
    const std::uint64_t lowest = powersOfTen[static_cast<std::size_t>(digits - 1)];
    const std::uint64_t beyond = powersOfTen[static_cast<std::size_t>(digits)];
    for (int attempt = 0; attempt < 2; ++attempt, ++exponent) {
        const int p = digits - 1 - exponent;
        const int shift = q + p;
        if (p < 0 || p >= static_cast<int>(powersOfFive.size()) || shift > 10 || shift < -120)
            return std::nullopt;
        const Wide scaled = Wide{m} * powersOfFive[static_cast<std::size_t>(p)];
        if (shift >= 0) {
            // A whole number of units: nothing to round.
            if ((scaled << shift) >= beyond)
                continue;
            return Rounded{static_cast<std::uint64_t>(scaled << shift), exponent};
        }
        Wide kept = scaled >> -shift;
        if (kept >= beyond)
            continue;
        const Wide rest = scaled & ((Wide{1} << -shift) - 1);
        const Wide half = Wide{1} << (-shift - 1);
        if (rest > half || (rest == half && (kept & 1) != 0))
            ++kept;
        if (kept == beyond)
            return Rounded{lowest, exponent + 1};
        return Rounded{static_cast<std::uint64_t>(kept), exponent};
    }
    return std::nullopt;
}

} // namespace

std::to_chars_result writeScientific(char* first, char* last, double value, int decimals) {
#if defined(__cpp_lib_to_chars)
    return std::to_chars(first, last, value, std::chars_format::scientific, decimals);
#else
    return writeScientificByIntegers(first, last, value, decimals);
#endif
}

std::to_chars_result writeScientificByIntegers(char* first, char* last, double value,
                                               int decimals) {
    if (decimals < 0 || decimals > mostDecimals)
        return writeScientificBySnprintf(first, last, value, decimals);
    std::uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    const bool negative = (bits >> 63) != 0;
    bits &= ~(std::uint64_t{1} << 63);
    Rounded rounded{0, 0};
    if (bits != 0) {
        // Subnormals, infinities and NaN have the exponent field all 0 or all 1.
        const auto biased = bits >> 52;
        const auto found =
            biased == 0 || biased == 0x7FF ? std::nullopt : roundToDigits(bits, decimals + 1);
        if (!found)
            return writeScientificBySnprintf(first, last, value, decimals);
        rounded = *found;
    }

    // "-d.ddd" then "e±xx" (three exponent digits from 100 on).
    char text[40];
    char* out = text;
    if (negative)
        *out++ = '-';
    char digits[20] = {};
    const auto end = std::to_chars(digits, digits + sizeof digits, rounded.significand).ptr;
    const auto written = static_cast<int>(end - digits);
    *out++ = digits[0];
    if (decimals > 0) {
        *out++ = '.';
        // Zero has one digit written; the rest of its decimals are zeros.
        out = std::copy(digits + 1, end, out);
        out = std::fill_n(out, decimals + 1 - written, '0');
    }
    *out++ = 'e';
    *out++ = rounded.exponent < 0 ? '-' : '+';
    const int magnitude = rounded.exponent < 0 ? -rounded.exponent : rounded.exponent;
    if (magnitude < 10)
        *out++ = '0';
    out = std::to_chars(out, text + sizeof text, magnitude).ptr;

    const auto length = out - text;
    if (length > last - first)
        return {last, std::errc::value_too_large};
    return {std::copy(text, out, first), std::errc{}};
}

std::to_chars_result writeScientificBySnprintf(char* first, char* last, double value,
                                               int decimals) {
    // Room for the forms the worked form prints without reaching for the heap.
    char shortText[64];
    std::string longText;
    char* text = shortText;
    int length = std::snprintf(shortText, sizeof shortText, "%.*e", decimals, value);
    if (length < 0)
        return {last, std::errc::value_too_large};
    if (static_cast<std::size_t>(length) >= sizeof shortText) {
        longText.resize(static_cast<std::size_t>(length) + 1);
        std::snprintf(longText.data(), longText.size(), "%.*e", decimals, value);
        text = longText.data();
    }
    // snprintf writes the locale's decimal mark; a desktop program runs under
    // the user's locale.
    if (const std::string mark = std::localeconv()->decimal_point; mark != ".") {
        const std::string_view written(text, static_cast<std::size_t>(length));
        if (const auto at = written.find(mark); at != std::string_view::npos) {
            text[at] = '.';
            std::copy(text + at + mark.size(), text + length, text + at + 1);
            length -= static_cast<int>(mark.size()) - 1;
        }
    }
    if (length > last - first)
        return {last, std::errc::value_too_large};
    return {std::copy(text, text + length, first), std::errc{}};
}

} // namespace printout
