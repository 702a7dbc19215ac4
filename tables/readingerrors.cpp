#include "tables/readingerrors.h"

#include <cmath>
#include <cstdio>

#include "tables/tablebook.h"

namespace tables {
namespace {

// A two-decimal table value lies within 0.5 of the value looked up while the
// unrounded one is within this: the table's rounding moves it up to 0.005.
constexpr double allowedSpread = 0.5 + 0.005;

} // namespace

ReadingCheck::ReadingCheck(reduction::Method method)
    : method_(method), entries_(tableEntries(method)), steepEndDeg_(angleDeg(steepEnd(entries_))) {}

void ReadingCheck::readBothWays(int tenths) {
    const reduction::Method method = method_;
    ReadingErrors& errors = errors_;
    const double table = reduction::Q(angleDeg(tenths), method);
    const long long tableHundredths = std::llround(table * 100);
    const long long readHundredths = readValue(entries_, tenths).valueTenths * 10;
    const double error = std::abs(double(readHundredths - tableHundredths)) / 100;
    ++errors.forwardReads;
    if (error > errors.forward) {
        errors.forward = error;
        errors.forwardAt = tenths;
    }
    readBack(table);
}

void ReadingCheck::readBack(double value) {
    const reduction::Method method = method_;
    ReadingErrors& errors = errors_;
    const std::optional<AngleReading> read = readAngle(entries_, value);
    if (!read) {
        ++errors.unread;
        return;
    }
    const double angle = angleDeg(read->tenths);
    const double lowest = reduction::unroundedInvQ(value + allowedSpread, method);
    const double highest =
        value > allowedSpread ? reduction::unroundedInvQ(value - allowedSpread, method) : 90.0;
    const double outside = angle < lowest    ? (lowest - angle) * 60
                           : angle > highest ? (angle - highest) * 60
                                             : 0.0;
    ++errors.backwardReads;
    if (outside > errors.backward) {
        errors.backward = outside;
        errors.backwardValue = value;
    }
    const double exact = reduction::unroundedInvQ(value, method);
    if (exact < steepEndDeg_) {
        const double off = std::abs(angle - exact) * 60;
        ++errors.steepReads;
        if (off > errors.steepAngle) {
            errors.steepAngle = off;
            errors.steepValue = value;
        }
    }
}

std::string errorsText(const ReadingErrors& errors) {
    char text[512];
    std::snprintf(text, sizeof text,
                  "value read from an angle: worst %.2f off the table value (at %s), %lld "
                  "readings\n"
                  "angle read from a value: worst %.4f' outside the angles within 0.5 (value "
                  "%.2f), %lld readings\n"
                  "angle read where the values fall by 10 or more a minute: worst %.4f' off the "
                  "angle itself (value %.2f), %lld readings\n",
                  errors.forward, angleText(errors.forwardAt).c_str(), errors.forwardReads,
                  errors.backward, errors.backwardValue, errors.backwardReads, errors.steepAngle,
                  errors.steepValue, errors.steepReads);
    return text;
}

} // namespace tables
