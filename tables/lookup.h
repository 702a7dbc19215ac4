#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "tables/tablepages.h"

// Reading the printed table both ways, worked as a navigator works it on
// the page: where to look, and the sum that gives the result.

namespace tables {

// A look-up worked as the first page shows it.
struct LookUp {
    std::size_t page;    // index of the page it is read on
    std::size_t entry;   // index of the entry it is read from
    std::string result;  // the value read ("927.6", "928") or the angle ("5°33.9'")
    std::string working; // where to look and the sum: "Page 5, column 23°, row 17: ..."
};

// The value of the angle at tenths (0 to lastTenths), read as readValue
// reads it; nullopt outside.
std::optional<LookUp> lookUpValue(const TableBook& book, int tenths);

// The angle of a value (table units), read as readAngle reads it; nullopt
// where readAngle has none.
std::optional<LookUp> lookUpAngle(const TableBook& book, double value);

// A value looked up, with no more decimals than it has: "2333.4", "2333".
std::string valueText(double value);

} // namespace tables
