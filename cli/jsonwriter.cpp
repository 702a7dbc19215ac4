#include "cli/jsonwriter.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace cli {
namespace {

// Whole numbers up to this magnitude are exact doubles and are written as
// integers; beyond it a double's shortest digits are shorter than its value.
constexpr double largestExactWhole = 9007199254740992.0; // 2^53

constexpr double uniqueDecimalBound = 2251799813685248.0; // 2^51

// Exponent digits at least, as in "1e-05".
constexpr int minExponentDigits = 2;

void scientificDigits(double value, char* digits, int& digitCount, int& exponent);
bool shortDecimal(double value, char* digits, int& digitCount, int& exponent);
char* layOut(char* out, const char* digits, int digitCount, int exponent);

bool needsEscapeByte(unsigned char c) {
    return c == '"' || c == '\\' || c < 0x20;
}

// Whether a text holds a quote, a backslash or a control character, tested
// eight bytes at a time: a byte of word w is zero where "haszero" finds it,
// and below 0x20 where w - 0x20 borrows into its top bit.
bool needsEscape(std::string_view text) {
    constexpr std::uint64_t ones = 0x0101010101010101;
    constexpr std::uint64_t highs = 0x8080808080808080;
    const auto hasZero = [](std::uint64_t w) { return (w - ones) & ~w & highs; };
    std::size_t at = 0;
    for (; at + 8 <= text.size(); at += 8) {
        std::uint64_t w = 0;
        std::memcpy(&w, text.data() + at, 8);
        if ((hasZero(w ^ (ones * '"')) | hasZero(w ^ (ones * '\\')) |
             ((w - ones * 0x20) & ~w & highs)) != 0) {
            return true;
        }
    }
    for (; at < text.size(); ++at) {
        if (needsEscapeByte(static_cast<unsigned char>(text[at]))) {
            return true;
        }
    }
    return false;
}

} // namespace

std::size_t jsonNumber(double value, char* text) {
    if (!std::isfinite(value)) {
        std::memcpy(text, "null", 4);
        return 4;
    }
    if (std::floor(value) == value && std::fabs(value) <= largestExactWhole) {
        const auto whole = static_cast<std::int64_t>(value); // -0 becomes 0
        return static_cast<std::size_t>(std::to_chars(text, text + jsonNumberCapacity, whole).ptr -
                                        text);
    }

    char digits[20];
    int digitCount = 0;
    int exponent = 0; // of the first digit
    char* out = text;
    if (std::floor(value) == value) {
        // Past 2^53: the shortest digits, padded with zeros where to_chars
        // would write the exact whole number.
        scientificDigits(value, digits, digitCount, exponent);
    } else if (!shortDecimal(value, digits, digitCount, exponent)) {
        // Not a whole number: to_chars's own choice between the forms (the
        // shorter, ties going to decimal) is the one wanted.
        return static_cast<std::size_t>(std::to_chars(text, text + jsonNumberCapacity, value).ptr -
                                        text);
    }
    if (value < 0) {
        *out++ = '-';
    }
    return static_cast<std::size_t>(layOut(out, digits, digitCount, exponent) - text);
}

namespace {

// The shortest round-trip digits, from to_chars's "d.ddde±x".
void scientificDigits(double value, char* digits, int& digitCount, int& exponent) {
    char scientific[jsonNumberCapacity];
    const char* end = std::to_chars(scientific, scientific + sizeof scientific, value,
                                    std::chars_format::scientific)
                          .ptr;
    const char* at = scientific;
    if (*at == '-') {
        ++at;
    }
    digitCount = 0;
    for (; *at != 'e'; ++at) {
        if (*at != '.') {
            digits[digitCount++] = *at;
        }
    }
    const char* exponentText = at + 1;
    if (*exponentText == '+') {
        ++exponentText;
    }
    std::from_chars(exponentText, end, exponent);
}

// The shortest round-trip digits of a value with few decimals (minutes to a
// tenth, table values and angles to a hundredth), found faster than to_chars
// finds them. m / 10^k is the double nearest to the decimal m × 10^-k (m and
// 10^k are exact doubles, the division is correctly rounded), so when it
// gives back value, the text of m with k decimals reads back as value; the
// smallest such k gives the fewest digits, and value is not a whole number,
// so no text without decimals reads back as it. false when no k up to the
// limit works.
bool shortDecimal(double value, char* digits, int& digitCount, int& exponent) {
    constexpr std::array<double, 5> powersOfTen{1, 10, 100, 1000, 10000};
    const double magnitude = std::fabs(value);
    // Most values with more decimals are told apart at once: scaled by the
    // largest power they are not within a few ulps of a whole number.
    const double scaledMost = magnitude * powersOfTen.back();
    if (!(scaledMost < uniqueDecimalBound)) {
        return false;
    }
    const auto nearestMost = static_cast<std::int64_t>(scaledMost + 0.5);
    if (std::fabs(scaledMost - static_cast<double>(nearestMost)) > scaledMost * 0x1p-48) {
        return false;
    }
    for (std::size_t k = 1; k < powersOfTen.size(); ++k) {
        // Below 2^51 the decimals k apart by 10^-k lie more than an ulp of
        // value apart, so at most one of them reads back as value: the one
        // found is the nearest, as to_chars would choose.
        const double scaled = magnitude * powersOfTen[k];
        if (!(scaled < uniqueDecimalBound)) {
            return false;
        }
        // Any nearby whole number will do: the test below decides.
        auto whole = static_cast<std::int64_t>(scaled + 0.5);
        if (static_cast<double>(whole) / powersOfTen[k] != magnitude) {
            continue;
        }
        char reversed[20];
        int count = 0;
        for (; whole != 0; whole /= 10) {
            reversed[count++] = static_cast<char>('0' + whole % 10);
        }
        digitCount = count;
        for (int i = 0; i < count; ++i) {
            digits[i] = reversed[count - 1 - i];
        }
        exponent = count - 1 - static_cast<int>(k);
        return true;
    }
    return false;
}

// Decimal or exponent form, whichever is shorter, ties going to decimal.
char* layOut(char* out, const char* digits, int digitCount, int exponent) {
    const int decpt = exponent + 1; // digits before the point

    // Characters the exponent form spends beyond the digits ("e", sign,
    // exponent digits), against the zeros the decimal form pads with; each
    // form has a point only where it has digits on both sides of it.
    int bias = 2 + minExponentDigits;
    if (digitCount <= decpt && digitCount > 1) {
        ++bias;
    } else if (digitCount == 1 && decpt <= 0) {
        --bias;
    }
    const bool useDecimal = decpt <= 0            ? 1 - decpt <= bias
                            : decpt <= digitCount ? 0 <= bias
                                                  : decpt <= digitCount + bias;
    // A handful of characters at a time: a loop beats a call of memcpy.
    const auto put = [&out](std::string_view part) {
        for (const char c : part) {
            *out++ = c;
        }
    };
    const std::string_view all(digits, static_cast<std::size_t>(digitCount));
    if (useDecimal) {
        if (decpt <= 0) {
            put("0.");
            for (int i = 0; i < -decpt; ++i) {
                *out++ = '0';
            }
            put(all);
        } else if (decpt >= digitCount) {
            put(all);
            for (int i = digitCount; i < decpt; ++i) {
                *out++ = '0';
            }
        } else {
            put(all.substr(0, static_cast<std::size_t>(decpt)));
            *out++ = '.';
            put(all.substr(static_cast<std::size_t>(decpt)));
        }
    } else {
        *out++ = digits[0];
        if (digitCount > 1) {
            *out++ = '.';
            put(all.substr(1));
        }
        *out++ = 'e';
        *out++ = exponent < 0 ? '-' : '+';
        const int magnitude = exponent < 0 ? -exponent : exponent;
        if (magnitude < 10) {
            *out++ = '0';
        }
        out = std::to_chars(out, out + 4, magnitude).ptr;
    }
    return out;
}

} // namespace

void JsonWriter::rawNumber(std::string_view json) {
    Prefix(rapidjson::kNumberType);
    std::memcpy(os_->Push(json.size()), json.data(), json.size());
    EndValue(true);
}

void JsonWriter::plainKey(std::string_view name) {
    copyString(name);
}

void JsonWriter::copyString(std::string_view plain) {
    Prefix(rapidjson::kStringType);
    char* out = os_->Push(plain.size() + 2);
    out[0] = '"';
    std::memcpy(out + 1, plain.data(), plain.size());
    out[plain.size() + 1] = '"';
    EndValue(true);
}

void JsonWriter::text(std::string_view utf8) {
    if (needsEscape(utf8)) {
        String(utf8.data(), static_cast<rapidjson::SizeType>(utf8.size()));
    } else {
        copyString(utf8);
    }
}

void writeNumber(JsonWriter& writer, double value) {
    if (!std::isfinite(value)) {
        writer.Null();
        return;
    }
    char text[jsonNumberCapacity];
    const std::size_t length = jsonNumber(value, text);
    writer.rawNumber(std::string_view(text, length));
}

void writeRecord(JsonWriter& w, const reduction::ReductionRecord& r) {
    const auto key = [&w](std::string_view name) { w.plainKey(name); };
    const auto number = [&](std::string_view name, double value) {
        key(name);
        writeNumber(w, value);
    };
    const auto degrees = [&](std::string_view name, std::int16_t value) {
        key(name);
        w.Int(value);
    };
    const auto flag = [&](std::string_view name, bool value) {
        key(name);
        w.Bool(value);
    };
    w.StartObject();
    number("Dec", r.Dec);
    degrees("DecDeg", r.DecDeg);
    number("DecMin", r.DecMin);
    number("GHA", r.GHA);
    number("Hc", r.Hc);
    degrees("HcDeg", r.HcDeg);
    number("HcMin", r.HcMin);
    number("LHA", r.LHA);
    degrees("LHADeg", r.LHADeg);
    number("LHAMin", r.LHAMin);
    number("Lat", r.Lat);
    degrees("LatDeg", r.LatDeg);
    number("LatMin", r.LatMin);
    number("Lo", r.Lo);
    number("QHc", r.QHc);
    number("QZ", r.QZ);
    number("Qv", r.Qv);
    number("Qw", r.Qw);
    number("Z", r.Z);
    number("ZUsed", r.ZUsed);
    number("Zn", r.Zn);
    number("coDec", r.coDec);
    degrees("coDecDeg", r.coDecDeg);
    number("coDecMin", r.coDecMin);
    number("coHc", r.coHc);
    degrees("coHcDeg", r.coHcDeg);
    number("coHcMin", r.coHcMin);
    number("coV", r.coV);
    degrees("coVDeg", r.coVDeg);
    number("coVMin", r.coVMin);
    flag("sameNames", r.sameNames);
    number("t", r.t);
    degrees("tDeg", r.tDeg);
    number("tMin", r.tMin);
    flag("tOver90", r.tOver90);
    number("tUsed", r.tUsed);
    degrees("tUsedDeg", r.tUsedDeg);
    number("tUsedMin", r.tUsedMin);
    number("u", r.u);
    degrees("uDeg", r.uDeg);
    number("uMin", r.uMin);
    flag("uOver90", r.uOver90);
    number("uUsed", r.uUsed);
    degrees("uUsedDeg", r.uUsedDeg);
    number("uUsedMin", r.uUsedMin);
    number("v", r.v);
    degrees("vDeg", r.vDeg);
    number("vMin", r.vMin);
    number("w", r.w);
    degrees("wDeg", r.wDeg);
    number("wMin", r.wMin);
    number("wUsed", r.wUsed);
    degrees("wUsedDeg", r.wUsedDeg);
    number("wUsedMin", r.wUsedMin);
    w.EndObject();
}

} // namespace cli
