#include "check/values.h"

#include <cmath>
#include <limits>

#include "entry/readdecimal.h"
#include "printout/patterns.h"
#include "reduction/calculate.h"
#include "reduction/steps.h"

namespace check {
namespace {

using printout::Pattern;

struct ValueSpec {
    ValueId id;
    std::string_view name;
    std::string_view label; // as the form writes it
    ValueKind kind;
};

constexpr std::array<ValueSpec, valueCount> valueSpecs{{
    {ValueId::LHA, "LHA", "LHA", ValueKind::Angle},
    {ValueId::t, "t", "t", ValueKind::Angle},
    {ValueId::tUsed, "tUsed", "t used", ValueKind::Angle},
    {ValueId::coDec, "coDec", "90 - dec", ValueKind::Angle},
    {ValueId::Q_coDec, "Q_coDec", "Q(90 - dec)", ValueKind::TableValue},
    {ValueId::Q_tUsed, "Q_tUsed", "Q(t)", ValueKind::TableValue},
    {ValueId::Qv, "Qv", "Q(v)", ValueKind::TableValue},
    {ValueId::v, "v", "v", ValueKind::Angle},
    {ValueId::coV, "coV", "90 - v", ValueKind::Angle},
    {ValueId::Q_dec, "Q_dec", "Q(dec)", ValueKind::TableValue},
    {ValueId::Q_coV, "Q_coV", "Q(90 - v)", ValueKind::TableValue},
    {ValueId::Qw, "Qw", "Q(w)", ValueKind::TableValue},
    {ValueId::w, "w", "w", ValueKind::Angle},
    {ValueId::wUsed, "wUsed", "w used", ValueKind::Angle},
    {ValueId::u, "u", "u", ValueKind::Angle},
    {ValueId::uUsed, "uUsed", "u used", ValueKind::Angle},
    {ValueId::Q_uUsed, "Q_uUsed", "Q(u)", ValueKind::TableValue},
    {ValueId::QHc, "QHc", "Q(Hc)", ValueKind::TableValue},
    {ValueId::Hc, "Hc", "Hc", ValueKind::Angle},
    {ValueId::coHc, "coHc", "90 - Hc", ValueKind::Angle},
    {ValueId::Q_v, "Q_v", "Q(v) in Q(Z)", ValueKind::TableValue},
    {ValueId::Q_coHc, "Q_coHc", "Q(90 - Hc)", ValueKind::TableValue},
    {ValueId::QZ, "QZ", "Q(Z)", ValueKind::TableValue},
    {ValueId::Z, "Z", "Z", ValueKind::Azimuth},
    {ValueId::ZUsed, "ZUsed", "Z after its rule", ValueKind::Azimuth},
    {ValueId::Zn, "Zn", "Zn", ValueKind::Azimuth},
}};

// Each row at its value's index, so that a value finds its row by index.
constexpr bool inOrder() {
    for (std::size_t i = 0; i < valueSpecs.size(); ++i) {
        if (index(valueSpecs[i].id) != i) {
            return false;
        }
    }
    return true;
}
static_assert(inOrder());

// No two values read alike to a person (Qv and Q_v are both Q(v) on the form).
constexpr bool labelsApart() {
    for (std::size_t i = 0; i < valueSpecs.size(); ++i) {
        for (std::size_t j = i + 1; j < valueSpecs.size(); ++j) {
            if (valueSpecs[i].label == valueSpecs[j].label) {
                return false;
            }
        }
    }
    return true;
}
static_assert(labelsApart());

constexpr std::array<ValueId, valueCount> orderOfTheForm = [] {
    std::array<ValueId, valueCount> ids{};
    for (std::size_t i = 0; i < valueCount; ++i) {
        ids[i] = valueSpecs[i].id;
    }
    return ids;
}();

// The widest values a form holds: LHA left above 360 by a slip still has
// three digits of degrees, and a sum of two table values at the table's end
// six digits.
constexpr std::size_t maxDegreeDigits = 3;
constexpr std::size_t maxTableDigits = 6;

constexpr std::string_view degreeSign = "\u00B0";

// What students type for the degree sign and the minute mark: the
// masculine ordinal (º) that stands beside ° on many keyboards, the prime
// and the right single quote that word processors put for an apostrophe.
constexpr std::array<std::string_view, 2> degreeSigns{degreeSign, "\u00BA"};
constexpr std::array<std::string_view, 3> minuteMarks{"'", "\u2032", "\u2019"};

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && isBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && isBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

// A plain decimal number at the front of text: digits, then optionally a
// point and digits. A comma stands for the point: no value of the form has
// more than two decimals, so a comma that leaves more than two digits after
// it (1,301: a thousands separator) never reads. Counts what it read and
// moves text past it.
struct Decimal {
    double value = 0;
    std::size_t integerDigits = 0;
    std::size_t decimals = 0;
    bool point = false;
};

std::optional<Decimal> takeDecimal(std::string_view& text) {
    Decimal d;
    std::size_t at = 0;
    while (at < text.size() && isDigit(text[at])) {
        ++at;
    }
    d.integerDigits = at;
    if (at < text.size() && (text[at] == '.' || text[at] == ',')) {
        d.point = true;
        ++at;
        while (at < text.size() && isDigit(text[at])) {
            ++at;
            ++d.decimals;
        }
    }
    if (d.integerDigits + d.decimals == 0) {
        return std::nullopt;
    }
    // Reads "5." and ".5" as well as "5.5".
    std::string number(text.substr(0, at));
    if (d.point) {
        number[d.integerDigits] = '.';
    }
    readDecimal(number.data(), number.data() + number.size(), d.value);
    text.remove_prefix(at);
    return d;
}

bool takePrefix(std::string_view& text, std::string_view prefix) {
    if (!text.starts_with(prefix)) {
        return false;
    }
    text.remove_prefix(prefix.size());
    return true;
}

template <std::size_t n>
bool takeOneOf(std::string_view& text, const std::array<std::string_view, n>& prefixes) {
    for (const std::string_view prefix : prefixes) {
        if (takePrefix(text, prefix)) {
            return true;
        }
    }
    return false;
}

std::string quoted(std::string_view text) {
    return "'" + std::string(text) + "'";
}

std::string_view unitOf(ValueKind kind) {
    switch (kind) {
    case ValueKind::Angle:
        return "degrees and minutes (as 15\u00B047.7' or 15 47.7)";
    case ValueKind::Azimuth:
        return "degrees to a tenth (as 141.0)";
    case ValueKind::TableValue:
        return "a table value with at most two decimals (as 1365.03)";
    }
    return "";
}

ReadValue notOfKind(ValueId id, std::string_view text) {
    return {std::nullopt, std::string(valueLabel(id)) + " takes " +
                              std::string(unitOf(valueKind(id))) + ", not " + quoted(text)};
}

ReadValue readAngle(ValueId id, std::string_view text) {
    std::string_view rest = text;
    const auto degrees = takeDecimal(rest);
    if (!degrees || degrees->point || degrees->integerDigits > maxDegreeDigits) {
        return notOfKind(id, text);
    }
    const bool marked = takeOneOf(rest, degreeSigns);
    const std::size_t blanks = rest.size() - trimmed(rest).size();
    rest = trimmed(rest);
    if (!marked && blanks == 0) {
        return notOfKind(id, text); // a bare number: decimal degrees or an azimuth
    }
    const auto minutes = takeDecimal(rest);
    if (!minutes || minutes->integerDigits == 0 || minutes->integerDigits > 2 ||
        minutes->decimals > 1) {
        return notOfKind(id, text);
    }
    takeOneOf(rest, minuteMarks);
    if (!rest.empty()) {
        return notOfKind(id, text);
    }
    if (minutes->value >= 60) {
        return {std::nullopt,
                std::string(valueLabel(id)) + " takes minutes below 60, not " + quoted(text)};
    }
    // Rebuilt as the form rebuilds an angle from its pair.
    return {minutes->value / 60 + degrees->value, {}};
}

ReadValue readNumber(ValueId id, std::string_view text, std::size_t maxIntegerDigits,
                     std::size_t maxDecimals, bool signAllowed) {
    std::string_view rest = text;
    const bool negative = signAllowed && takePrefix(rest, "-");
    const auto number = takeDecimal(rest);
    if (valueKind(id) == ValueKind::Azimuth) {
        takeOneOf(rest, degreeSigns); // the form prints the sign after an azimuth
    }
    if (!number || !rest.empty() || number->integerDigits == 0 ||
        number->integerDigits > maxIntegerDigits || number->decimals > maxDecimals) {
        return notOfKind(id, text);
    }
    return {negative ? -number->value : number->value, {}};
}

double roundingOf(ValueId id) {
    // The hour angles round their minutes as the reduction does.
    const bool hourAngle = id == ValueId::LHA || id == ValueId::t || id == ValueId::tUsed;
    return hourAngle ? reduction::hourAngleRounding : reduction::angleRounding;
}

// The azimuths after Z are rounded to a tenth before they are printed.
double asPrinted(ValueId id, double value) {
    if (id == ValueId::ZUsed || id == ValueId::Zn) {
        return reduction::roundTenth(value);
    }
    return value;
}

Pattern patternOf(ValueKind kind) {
    return kind == ValueKind::TableValue ? Pattern::Hundredths : Pattern::Tenths;
}

} // namespace

const std::array<ValueId, valueCount>& allValues() {
    return orderOfTheForm;
}

std::string_view valueName(ValueId id) {
    return valueSpecs[index(id)].name;
}

std::string_view valueLabel(ValueId id) {
    return valueSpecs[index(id)].label;
}

std::optional<ValueId> valueFromName(std::string_view name) {
    for (const ValueSpec& spec : valueSpecs) {
        if (spec.name == name) {
            return spec.id;
        }
    }
    return std::nullopt;
}

ValueKind valueKind(ValueId id) {
    return valueSpecs[index(id)].kind;
}

ReadValue readValue(ValueId id, std::string_view text) {
    text = trimmed(text);
    if (text.empty()) {
        return {};
    }
    switch (valueKind(id)) {
    case ValueKind::Angle:
        return readAngle(id, text);
    case ValueKind::Azimuth:
        return readNumber(id, text, maxDegreeDigits, 1, false);
    case ValueKind::TableValue:
        // A difference can come out negative in a slipped form.
        return readNumber(id, text, maxTableDigits, 2, true);
    }
    return notOfKind(id, text);
}

std::string valueText(ValueId id, double value) {
    const ValueKind kind = valueKind(id);
    if (kind == ValueKind::Angle) {
        const auto pair = reduction::splitDegMin(value, roundingOf(id));
        if (!pair) {
            return printout::formatNumber(value, Pattern::Tenths); // "nan", "inf"
        }
        return printout::angleText(pair->deg, pair->min, Pattern::TwoDigitTenths) + "'";
    }
    std::string text = printout::formatNumber(asPrinted(id, value), patternOf(kind));
    if (kind == ValueKind::Azimuth) {
        text += degreeSign;
    }
    return text;
}

double writtenValue(ValueId id, double value) {
    if (!std::isfinite(value)) {
        return value;
    }
    switch (valueKind(id)) {
    case ValueKind::Angle:
        if (const auto pair = reduction::splitDegMin(value, roundingOf(id))) {
            return reduction::rebuiltAngle(*pair); // as readValue rebuilds a typed angle
        }
        return value;
    case ValueKind::Azimuth:
        return static_cast<double>(printedUnits(id, value)) / 10;
    case ValueKind::TableValue:
        return static_cast<double>(printedUnits(id, value)) / 100;
    }
    return value;
}

long long printedUnits(ValueId id, double value) {
    if (!std::isfinite(value)) {
        return std::numeric_limits<long long>::min();
    }
    const ValueKind kind = valueKind(id);
    if (kind == ValueKind::Angle) {
        const auto pair = reduction::splitDegMin(value, roundingOf(id));
        if (!pair) {
            return std::llround(value * 600);
        }
        return pair->deg * 600LL + std::llround(pair->min * 10);
    }
    // Away from a half of the last digit, the nearest unit is what the form
    // prints; on a half (within far more than the error of the scaling), the
    // printed digits themselves decide, as the form rounds them.
    const double scaled = asPrinted(id, value) * (kind == ValueKind::TableValue ? 100 : 10);
    const double nearest = std::round(scaled);
    constexpr double nearAHalf = 1e-6;
    if (std::fabs(std::fabs(scaled - nearest) - 0.5) > nearAHalf) {
        return static_cast<long long>(nearest);
    }
    const std::string text = printout::formatNumber(asPrinted(id, value), patternOf(kind));
    long long units = 0;
    for (const char c : text) {
        if (isDigit(c)) {
            units = units * 10 + (c - '0');
        }
    }
    return text.starts_with('-') ? -units : units;
}

} // namespace check
