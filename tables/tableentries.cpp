#include "tables/tableentries.h"

#include <algorithm>
#include <cmath>

namespace tables {

int stepAt(int tenths) {
    int step = bands.front().stepTenths;
    for (const Band& band : bands)
        if (tenths >= band.fromTenths)
            step = band.stepTenths;
    return step;
}

double angleDeg(int tenths) {
    const double minutes = (tenths % tenthsPerDegree) / double(tenthsPerMinute);
    return tenths / tenthsPerDegree + minutes / 60;
}

long long wholeValue(int tenths, reduction::Method method) {
    return static_cast<long long>(std::floor(reduction::Q(angleDeg(tenths), method) + 0.5));
}

std::vector<Entry> tableEntries(reduction::Method method) {
    std::vector<Entry> entries;
    for (int tenths = 0; tenths <= lastTenths; tenths += stepAt(tenths))
        entries.push_back({tenths, wholeValue(tenths, method)});
    return entries;
}

namespace {

// The entry at or before tenths.
std::size_t entryAtOrBefore(std::span<const Entry> entries, int tenths) {
    const auto after =
        std::upper_bound(entries.begin(), entries.end(), tenths,
                         [](int wanted, const Entry& entry) { return wanted < entry.tenths; });
    return static_cast<std::size_t>(after - entries.begin()) - 1;
}

} // namespace

ValueReading readValue(std::span<const Entry> entries, int tenths) {
    const std::size_t i = entryAtOrBefore(entries, std::clamp(tenths, 0, lastTenths));
    const Entry& at = entries[i];
    if (at.tenths == tenths || i + 1 == entries.size())
        return {i, at.value * 10};
    const Entry& next = entries[i + 1];
    const long long d = at.value - next.value;
    const long long step = next.tenths - at.tenths;
    // d × (fraction of the step) in tenths of a unit; exact, as every step
    // divides a minute's ten tenths.
    return {i, at.value * 10 - d * (tenths - at.tenths) * 10 / step};
}

std::optional<AngleReading> readAngle(std::span<const Entry> entries, double value) {
    if (entries.empty() || !(value >= 0) || value > double(entries.front().value))
        return std::nullopt;
    // The values fall as the angle grows: the first entry below the value
    // follows the last one not below it.
    const auto below =
        std::partition_point(entries.begin(), entries.end(),
                             [value](const Entry& entry) { return double(entry.value) >= value; });
    const std::size_t i = static_cast<std::size_t>(below - entries.begin()) - 1;
    const Entry& at = entries[i];
    if (below == entries.end())
        return AngleReading{i, at.tenths};
    const double d = double(at.value - below->value);
    const double step = below->tenths - at.tenths;
    const int further = static_cast<int>(std::floor(step * (double(at.value) - value) / d + 0.5));
    return AngleReading{i, at.tenths + further};
}

int steepEnd(std::span<const Entry> entries) {
    for (std::size_t i = 0; i + 1 < entries.size(); ++i)
        if (entries[i].tenths >= bands.back().fromTenths &&
            entries[i].value - entries[i + 1].value < 10)
            return entries[i].tenths;
    return lastTenths;
}

} // namespace tables
