#include "tables/lookup.h"

#include <string>
#include <string_view>
#include <vector>

#include "printout/patterns.h"

namespace tables {
namespace {

constexpr std::string_view times = "\xC3\x97";

// The page that holds the argument.
std::size_t pageOf(const TableBook& book, int tenths) {
    for (std::size_t p = 0; p < book.pages.size(); ++p)
        for (const PrintedEntry& printed : book.pages[p].printed)
            if (book.entries[printed.entry].tenths == tenths)
                return p;
    return 0;
}

std::string tenthsText(long long valueTenths) {
    return std::to_string(valueTenths / 10) + "." + std::to_string(valueTenths % 10);
}

// Where an entry stands on its page, as a reader finds it: "column 23°,
// row 17", or on the page of 0°, "row 12, column .4".
std::string whereText(int tenths) {
    const int minute = tenths % tenthsPerDegree / tenthsPerMinute;
    if (tenths < tenthsPerDegree)
        return "row " + std::to_string(minute) + ", column ." +
               std::to_string(tenths % tenthsPerMinute);
    return "column " + degreesText(tenths / tenthsPerDegree) + ", row " + std::to_string(minute);
}

std::string minutesText(double minutes) {
    return printout::formatNumber(minutes, printout::Pattern::Hundredths) + "'";
}

} // namespace

std::string valueText(double value) {
    std::string text = printout::formatNumber(value, printout::Pattern::Hundredths);
    text.erase(text.find_last_not_of('0') + 1);
    if (text.back() == '.')
        text.pop_back();
    return text;
}

std::optional<LookUp> lookUpValue(const TableBook& book, int tenths) {
    if (tenths < 0 || tenths > lastTenths || book.entries.empty())
        return std::nullopt;
    const std::vector<Entry>& entries = book.entries;
    const std::string x(times);
    const ValueReading read = readValue(entries, tenths);
    const Entry& at = entries[read.entry];
    LookUp look{pageOf(book, at.tenths), read.entry, tenthsText(read.valueTenths), {}};
    std::string working = "Page " + pageNumber(look.page) + ", " + whereText(at.tenths) +
                          ": entry " + std::to_string(at.value);
    if (at.tenths == tenths) {
        look.result = std::to_string(at.value);
        look.working = working + ".";
        return look;
    }
    const Entry& next = entries[read.entry + 1];
    const long long d = at.value - next.value;
    if (next.tenths - at.tenths == tenthsPerMinute) {
        look.working = working + ", d " + std::to_string(d) + ". " + std::to_string(at.value) +
                       " - " + std::to_string(d) + " " + x + " " +
                       std::to_string(tenths - at.tenths) + " / 10 = " + look.result + ".";
    } else {
        look.working = working + ", and the next, " + std::to_string(next.value) + ". (" +
                       std::to_string(at.value) + " + " + std::to_string(next.value) +
                       ") / 2 = " + look.result + ".";
    }
    return look;
}

std::optional<LookUp> lookUpAngle(const TableBook& book, double value) {
    const std::optional<AngleReading> read = readAngle(book.entries, value);
    if (!read)
        return std::nullopt;
    const std::vector<Entry>& entries = book.entries;
    const Entry& from = entries[read->entry];
    LookUp look{pageOf(book, from.tenths), read->entry, angleText(read->tenths), {}};
    std::string working = "Page " + pageNumber(look.page) + ", " + whereText(from.tenths) +
                          ": entry " + std::to_string(from.value);
    // A value that a run of equal entries shares fixes no angle in it.
    std::size_t run = read->entry;
    while (run > 0 && entries[run - 1].value == from.value)
        --run;
    if (run < read->entry && double(from.value) == value) {
        look.working = working + ", as every entry from " + angleText(entries[run].tenths) +
                       " on: any of their angles gives the value back.";
        return look;
    }
    if (read->entry + 1 == entries.size()) {
        look.working = working + ", the last.";
        return look;
    }
    const Entry& next = entries[read->entry + 1];
    const long long d = from.value - next.value;
    const int step = next.tenths - from.tenths;
    const double part = (double(from.value) - value) / double(d);
    const std::string below = "the next entry, " + std::to_string(next.value) + ", is below " +
                              valueText(value) + ". (" + std::to_string(from.value) + " - " +
                              valueText(value) + ") / ";
    if (step == tenthsPerMinute) {
        look.working = working + ", d " + std::to_string(d) + "; " + below + std::to_string(d) +
                       " = " + printout::formatNumber(part, printout::Pattern::Hundredths) +
                       ", so " + angleText(from.tenths) + " + " + minutesText(part) + " = " +
                       look.result + ".";
    } else {
        const double minutes = part * step / tenthsPerMinute;
        look.working =
            working + "; " + below + std::to_string(d) + " = " +
            printout::formatNumber(part, printout::Pattern::Hundredths) + " of " +
            printout::formatNumber(double(step) / tenthsPerMinute, printout::Pattern::Tenths) +
            "'" + ", so " + angleText(from.tenths) + " + " + minutesText(minutes) + " = " +
            look.result + ".";
    }
    return look;
}

} // namespace tables
