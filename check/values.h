#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "printout/workedform.h"

// The numbers a navigator writes on a worked form, named as the form names
// them, and the reading and printing of one such number.

namespace check {

// Every number of the form that the navigator works out (the entries
// themselves excluded), in the order the form works them: each value is
// worked from values before it. The form's own runs are tagged with them.
using ValueId = printout::FormValue;
inline constexpr std::size_t valueCount = printout::formValueCount;

constexpr std::size_t index(ValueId id) {
    return static_cast<std::size_t>(id);
}

// All values, in the order of the form.
const std::array<ValueId, valueCount>& allValues();

enum class ValueKind {
    Angle,      // degrees and minutes to a tenth, as 15°47.7' (held in decimal degrees)
    Azimuth,    // degrees to a tenth, as 141.0
    TableValue, // a table value or a sum or difference of two, to two decimals
};

// "LHA", "Q_coDec", ...: the name of the CSV column, the JSON key and the
// report's label.
std::string_view valueName(ValueId id);
// The value as the form writes it, for people: "Q(90 - dec)", "t used",
// "90 - v", "Z after its rule". Qv, the sum, is "Q(v)"; Q_v, the table value
// of v in the Z step, is "Q(v) in Q(Z)".
std::string_view valueLabel(ValueId id);
std::optional<ValueId> valueFromName(std::string_view name);
ValueKind valueKind(ValueId id);

// The navigator's values, each one given or not. Angles and azimuths in
// decimal degrees, table values in table units.
struct WorkedValues {
    std::array<std::optional<double>, valueCount> values{};

    std::optional<double>& operator[](ValueId id) { return values[index(id)]; }
    const std::optional<double>& operator[](ValueId id) const { return values[index(id)]; }
    bool operator==(const WorkedValues&) const = default;
};

// One value as typed. An empty text (or blanks only) is a value not given:
// no value and no problem.
struct ReadValue {
    std::optional<double> value;
    std::string problem; // why the text is not a value of its kind; empty when read
};

// Reads a value's text in its kind's unit:
//   Angle:      degrees and minutes, "15°47.7'" or "15 47.7" (the minute
//               mark may be left out, minutes from 0 up to 59.9 with at most
//               one decimal, whole degrees up to 999);
//   Azimuth:    degrees with at most one decimal, "141.0" or "141";
//   TableValue: a number with at most two decimals, "1365.03" or "1365".
// The degree sign may be typed as º, the minute mark as ′ or ’, and the
// decimal point as a comma where it cannot be a thousands separator (at
// most two digits after it). Blanks around the text are dropped. A text in
// another kind's unit (an angle in an azimuth column, a bare number in an
// angle column), a sign, an exponent or anything else is a problem that
// names the value as the form writes it and what its kind takes.
ReadValue readValue(ValueId id, std::string_view text);

// The value as the worked form prints it: "15°47.7'", "141.0°", "1365.03".
// Angles are rounded to a tenth of a minute, with the minutes' carry.
std::string valueText(ValueId id, double value);

// The value as read back from its printed text: what a navigator who wrote
// it down works on with.
double writtenValue(ValueId id, double value);

// The value in units of its last printed digit (tenths of a minute, tenths
// of a degree, hundredths), rounded to the nearest: two values print alike
// when these are equal. A value that is not finite has none: the lowest
// long long.
long long printedUnits(ValueId id, double value);

} // namespace check
