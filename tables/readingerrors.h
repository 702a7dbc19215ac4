#pragma once

#include <span>
#include <string>
#include <vector>

#include "reduction/table.h"
#include "tables/tableentries.h"

// How far readings of the printed table stray from the program's table, for
// the tests and for tablereadings, which reads every tenth and every
// hundredth of a value.
//
// A value read forward is held against Q of the angle (two decimals). An
// angle read backward is held against the angles whose table value lies
// within 0.5 of the value looked up: whole entries tell apart no angles
// closer than that, so its error is how far (in minutes) it lies outside
// them. Where the values fall by 10 or more a minute the angle itself is
// known that closely, and its plain error is also kept.

namespace tables {

struct ReadingErrors {
    double forward = 0; // table units
    int forwardAt = 0;  // tenths
    long long forwardReads = 0;
    double backward = 0; // minutes of arc outside the angles the value allows
    double backwardValue = 0;
    long long backwardReads = 0;
    double steepAngle = 0; // minutes of arc from the angle itself, where steep
    double steepValue = 0;
    long long steepReads = 0;
    long long unread = 0; // values the table gave no angle for
};

// Reads one method's table both ways and keeps the worst errors.
class ReadingCheck {
  public:
    explicit ReadingCheck(reduction::Method method);
    // The value of the angle at tenths read forward, and that value (two
    // decimals) read back.
    void readBothWays(int tenths);
    // value (table units) read back to an angle.
    void readBack(double value);
    const ReadingErrors& errors() const { return errors_; }
    const std::vector<Entry>& entries() const { return entries_; }

  private:
    reduction::Method method_;
    std::vector<Entry> entries_;
    double steepEndDeg_;
    ReadingErrors errors_;
};

// The worst errors, one line each, naming where they were found.
std::string errorsText(const ReadingErrors& errors);

} // namespace tables
