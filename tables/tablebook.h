#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "reduction/table.h"
#include "tables/lookup.h"
#include "tables/tablepages.h"

// A method's table laid out in pages for hand work: a first page on how to
// read it both ways, a page for 0° (where the steps are finer than 1'), then
// ten degrees a page, minutes down the side. Every page is fixed-pitch text
// in runs, as the worked form is, so the text output, the PDF booklet and
// the web page print the same characters.

namespace tables {

// The steps of the bands: "every 0.1' to 0°10', every 0.2' to 0°40', then
// every 1'".
std::string bandsText();

// "Q(x)" or "QQ(x)".
std::string methodName(reduction::Method method);

// The whole booklet of the method's table.
TableBook tableBook(reduction::Method method);

// The booklet as plain text: every page's lines, runs at their columns,
// trailing blanks trimmed, a blank line between two pages.
std::string bookText(const TableBook& book);

// "deg,min,value", then one line for every printed entry: whole degrees,
// minutes (with one decimal in the bands finer than 1'), the whole value.
std::string bookCsv(const TableBook& book);

} // namespace tables
