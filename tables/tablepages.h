#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "printout/workedform.h"
#include "tables/tableentries.h"

// The pages of a method's printed table as plain data, and the few ways
// every page writes a number, shared by the pages and the look-ups worked
// on them.

namespace tables {

// One entry as a page prints it.
struct PrintedEntry {
    std::size_t entry; // index into TableBook::entries
    std::size_t line;  // 0-based line of the page
    int column;        // 1-based column where the value's text starts
    std::string text;
    // The entry's difference d, its fall to the next entry, where the page
    // prints one beside it (column 0: none).
    int differenceColumn = 0;
    std::string differenceText = {};
};

struct TablePage {
    // What the page covers, as its heading says: "0°00' to 0°59'",
    // "1° to 10°"; empty on the first page.
    std::string range;
    std::vector<printout::WorkedFormLine> lines; // heading first
    std::vector<PrintedEntry> printed;           // in order of the argument
};

struct TableBook {
    reduction::Method method;
    std::vector<Entry> entries; // tableEntries(method)
    std::vector<TablePage> pages;
};

inline constexpr std::string_view degreeSign = "\xC2\xB0";

// Whole degrees as the pages write them: "23°".
inline std::string degreesText(int deg) {
    return std::to_string(deg) + std::string(degreeSign);
}

// An angle as the pages write it: "23°17'", or with tenths where the
// argument has them, "0°12.4'".
inline std::string angleText(int tenths) {
    const int deg = tenths / tenthsPerDegree;
    const int inDegree = tenths % tenthsPerDegree;
    std::string minutes = std::to_string(inDegree / tenthsPerMinute);
    if (minutes.size() < 2)
        minutes = "0" + minutes;
    if (inDegree % tenthsPerMinute != 0)
        minutes += "." + std::to_string(inDegree % tenthsPerMinute);
    return degreesText(deg) + minutes + "'";
}

// A page's number as printed: the first page is 1.
inline std::string pageNumber(std::size_t index) {
    return std::to_string(index + 1);
}

} // namespace tables
