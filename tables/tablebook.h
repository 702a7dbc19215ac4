#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "printout/workedform.h"
#include "reduction/table.h"
#include "tables/tableentries.h"

// A method's table laid out in pages for hand work: a first page on how to
// read it both ways, a page for 0° (where the steps are finer than 1'), then
// ten degrees a page, minutes down the side. Every page is fixed-pitch text
// in runs, as the worked form is, so the text output, the PDF booklet and
// the web page print the same characters.

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

// The steps of the bands: "every 0.1' to 0°10', every 0.2' to 0°40', then
// every 1'".
std::string bandsText();

// "Q(x)" or "QQ(x)".
std::string methodName(reduction::Method method);

// The whole booklet of the method's table.
TableBook tableBook(reduction::Method method);

// An angle as the pages write it: "23°17'", or with tenths where the
// argument has them, "0°12.4'".
std::string angleText(int tenths);

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

// The booklet as plain text: every page's lines, runs at their columns,
// trailing blanks trimmed, a blank line between two pages.
std::string bookText(const TableBook& book);

// "deg,min,value", then one line for every printed entry: whole degrees,
// minutes (with one decimal in the bands finer than 1'), the whole value.
std::string bookCsv(const TableBook& book);

} // namespace tables
