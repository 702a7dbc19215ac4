#pragma once

#include <array>
#include <optional>
#include <span>
#include <vector>

#include "reduction/table.h"

// The printed table of a method, as a navigator works from it: every entry a
// whole number, each argument a whole number of tenths of a minute of arc,
// and the two ways of reading it, each with at most one linear
// interpolation. The pages (tablebook.h), the page's look-up and the tests
// all read the table from here.

namespace tables {

// Arguments in tenths of a minute of arc from 0°: 0 is 0°00.0', 54000 is 90°.
inline constexpr int tenthsPerMinute = 10;
inline constexpr int tenthsPerDegree = 60 * tenthsPerMinute;
inline constexpr int lastTenths = 90 * tenthsPerDegree;

// From fromTenths on (up to the next band), an entry every stepTenths.
struct Band {
    int fromTenths;
    int stepTenths;
};

// Near 0° the values fall by hundreds a minute and bend too fast for a
// straight line between entries a minute apart; the bands are the coarsest
// steps whose every tenth between two printed entries still reads within
// 0.5 of the table value, in both methods (the tests go over every tenth).
// Each step divides ten, so a tenth between two entries is d × k / 10, d / 2
// or no interpolation at all, and every value read has one decimal exactly.
inline constexpr std::array<Band, 3> bands{{
    {0, 1},    // 0°00.0' to 0°09.9', every 0.1'
    {100, 2},  // 0°10.0' to 0°39.8', every 0.2'
    {400, 10}, // 0°40' to 90°, every 1'
}};

static_assert(bands.front().fromTenths == 0);
static_assert(bands.back().stepTenths == tenthsPerMinute);
static_assert([] {
    for (std::size_t i = 0; i < bands.size(); ++i) {
        const Band& band = bands[i];
        const int end = i + 1 < bands.size() ? bands[i + 1].fromTenths : lastTenths;
        if (tenthsPerMinute % band.stepTenths != 0 || (end - band.fromTenths) % band.stepTenths)
            return false;
    }
    return true;
}());

// The step of the band that holds tenths (0 to lastTenths).
int stepAt(int tenths);

// The angle in decimal degrees, formed as the window forms one from its
// degree and minute fields (degrees + minutes / 60).
double angleDeg(int tenths);

// One printed entry: its argument and its value in whole table units.
struct Entry {
    int tenths;
    long long value;

    bool operator==(const Entry&) const = default;
};

// The table value Q of the method (two decimals) rounded to a whole number
// as the tables round, Int(x + 0.5): 29376.66 becomes 29377, 12.50 becomes
// 13.
long long wholeValue(int tenths, reduction::Method method);

// Every printed entry from 0°00.0' to 90°00' in order of the argument; the
// values never rise. 0°00.0' holds Q(0), the value of 1E-11 degree.
std::vector<Entry> tableEntries(reduction::Method method);

// A value read from the table: the interpolation between the entry at or
// before the angle and the next one, in tenths of a table unit (the value
// has one decimal exactly).
struct ValueReading {
    std::size_t entry; // index of the entry at or before the angle
    long long valueTenths;
};

// The value of the angle at tenths (0 to lastTenths) read from entries:
// the entry itself where the angle has one, otherwise the entry before it
// less its difference d (the fall to the next entry) times the fraction of
// the step.
ValueReading readValue(std::span<const Entry> entries, int tenths);

// An angle read from the table for a value.
struct AngleReading {
    std::size_t entry; // index of the last entry not below the value
    int tenths;        // the angle read, to 0.1'
};

// The angle of value (table units, two decimals or fewer) read from entries:
// the last entry not below the value, then (entry - value) / d of the step
// further on, rounded to the nearest tenth of a minute (a half up). nullopt
// for a value above the first entry or below 0, or not a number.
std::optional<AngleReading> readAngle(std::span<const Entry> entries, double value);

// The first argument of the band stepping by 1' from which the entries fall
// by less than 10 a minute: up to it, the whole entries fix an angle itself
// to 0.1'.
int steepEnd(std::span<const Entry> entries);

} // namespace tables
