// The page's way into the printed tables: a method's pages as the booklet
// prints them, and a look-up each way worked as the table's first page
// shows it, each answered in one JSON text as the rest of the binding
// answers.

#include <emscripten/emscripten.h>

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>
#include <string_view>

#include "check/values.h"
#include "printout/patterns.h"
#include "reduction/table.h"
#include "tables/tablebook.h"
#include "web/page.h"

using binding::finish;
using binding::key;
using binding::Page;
using binding::text;
using binding::writeFormLines;
using binding::Writer;

namespace {

// Entries shown around the ones a look-up reads, on either side.
constexpr std::size_t entriesAround = 2;

reduction::Method methodOf(int method) {
    return method == 1 ? reduction::Method::QQ : reduction::Method::Q;
}

const char* refused(Page& page, std::string_view message) {
    rapidjson::StringBuffer buffer;
    Writer json(buffer);
    json.StartObject();
    key(json, "ok");
    json.Bool(false);
    key(json, "message");
    text(json, message);
    json.EndObject();
    return finish(page, buffer);
}

// The look-up, and the entries around the one it reads from, those it reads
// marked "used".
const char* lookedUp(Page& page, const tables::TableBook& book, const tables::LookUp& look,
                     std::size_t used, std::optional<double> programValue) {
    rapidjson::StringBuffer buffer;
    Writer json(buffer);
    json.StartObject();
    key(json, "ok");
    json.Bool(true);
    key(json, "result");
    text(json, look.result);
    key(json, "working");
    text(json, look.working);
    key(json, "page");
    json.Uint(static_cast<unsigned>(look.page));
    if (programValue) {
        key(json, "program");
        text(json, printout::formatNumber(*programValue, printout::Pattern::Hundredths));
    }
    key(json, "entries");
    json.StartArray();
    const std::size_t first = look.entry - std::min(look.entry, entriesAround);
    const std::size_t end = std::min(book.entries.size(), look.entry + used + entriesAround);
    for (std::size_t i = first; i < end; ++i) {
        const tables::Entry& entry = book.entries[i];
        json.StartObject();
        key(json, "angle");
        text(json, tables::angleText(entry.tenths));
        key(json, "value");
        text(json, std::to_string(entry.value));
        key(json, "used");
        json.Bool(i >= look.entry && i < look.entry + used);
        json.EndObject();
    }
    json.EndArray();
    json.EndObject();
    return finish(page, buffer);
}

} // namespace

extern "C" {

// The method's table (0 Q(x), 1 QQ(x)) as the booklet prints it:
// {"pages": [{"range", "lines": [{"text", "bold"}]}]}, the lines as the
// worked form's are given.
EMSCRIPTEN_KEEPALIVE const char* sight_table_pages(Page* page, int method) {
    const tables::TableBook book = tables::tableBook(methodOf(method));
    rapidjson::StringBuffer buffer;
    Writer json(buffer);
    json.StartObject();
    key(json, "pages");
    json.StartArray();
    for (const tables::TablePage& tablePage : book.pages) {
        json.StartObject();
        key(json, "range");
        text(json, tablePage.range);
        writeFormLines(json, "lines", printout::WorkedForm{tablePage.lines});
        json.EndObject();
    }
    json.EndArray();
    json.EndObject();
    return finish(*page, buffer);
}

// The value of an angle typed as on the form ("23 17.4", "23°17.4'"):
// {"ok": true, "result", "working", "page" (from 0), "program" (the table
// value to two decimals), "entries": [{"angle", "value", "used"}]}, or
// {"ok": false, "message"}.
EMSCRIPTEN_KEEPALIVE const char* sight_table_value(Page* page, int method, const char* angle) {
    const check::ReadValue read = check::readValue(check::ValueId::v, angle);
    if (!read.value)
        return refused(*page, "Type the angle in degrees and minutes, as 23 17.4 or "
                              "23\u00B017.4'.");
    const long long tenths = std::llround(*read.value * tables::tenthsPerDegree);
    if (tenths > tables::lastTenths)
        return refused(*page, "The table goes from 0\u00B000' to 90\u00B000'.");
    const tables::TableBook book = tables::tableBook(methodOf(method));
    const auto look = tables::lookUpValue(book, static_cast<int>(tenths));
    if (!look)
        return refused(*page, "The table goes from 0\u00B000' to 90\u00B000'.");
    const bool between = book.entries[look->entry].tenths != tenths;
    return lookedUp(*page, book, *look, between ? 2 : 1,
                    reduction::Q(tables::angleDeg(static_cast<int>(tenths)), book.method));
}

// The angle of a table value typed with at most two decimals ("2333.4"):
// as sight_table_value, without "program".
EMSCRIPTEN_KEEPALIVE const char* sight_table_angle(Page* page, int method, const char* value) {
    const check::ReadValue read = check::readValue(check::ValueId::Qv, value);
    if (!read.value)
        return refused(*page, "Type a table value with at most two decimals, as 2333.4.");
    const tables::TableBook book = tables::tableBook(methodOf(method));
    const auto look = tables::lookUpAngle(book, *read.value);
    if (!look)
        return refused(*page, "No angle of the table has a value above " +
                                  std::to_string(book.entries.front().value) + ".");
    const bool last = look->entry + 1 == book.entries.size();
    const bool atEntry = double(book.entries[look->entry].value) == *read.value;
    return lookedUp(*page, book, *look, last || atEntry ? 1 : 2, std::nullopt);
}

} // extern "C"
