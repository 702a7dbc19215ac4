// The page's way into Check My Work: the form with a box at each value,
// opened on the fields as they stand, and the check of what the boxes hold,
// each answered in one JSON text as the rest of the binding answers.

#include <emscripten/emscripten.h>

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "check/check.h"
#include "check/markedform.h"
#include "check/values.h"
#include "printout/workedform.h"
#include "reduction/calculate.h"
#include "web/page.h"

using binding::finish;
using binding::key;
using binding::noNames;
using binding::outcomeKey;
using binding::Page;
using binding::readEntries;
using binding::text;
using binding::Writer;

namespace {

std::string_view kindKey(check::ValueKind kind) {
    switch (kind) {
    case check::ValueKind::Angle:
        return "angle";
    case check::ValueKind::Azimuth:
        return "azimuth";
    case check::ValueKind::TableValue:
        return "table";
    }
    return "angle";
}

} // namespace

extern "C" {

// "Check My Work…" opened on the fields as they stand, with the names and
// the method as for Calculate. When the entries can be reduced:
// {"outcome": "complete", "entries", "lines": the form's lines with every
// value left blank, "values": each value of the form in its order, with
// its name, kind and places ([line from 0, first column from 1, columns])};
// otherwise {"outcome", "message"}, the message as Calculate gives it. The
// page's own reduction and form are left as they are, and the boxes start
// empty.
EMSCRIPTEN_KEEPALIVE const char* sight_check_open(Page* page, int method, const char* decName,
                                                  const char* latName, const char* loName) {
    const auto entries = readEntries(*page, method, decName, latName, loName);
    page->sheet = {};
    if (!entries)
        return noNames(*page);
    const check::CheckResult reduced = check::checkWorkedForm(*entries, {});

    rapidjson::StringBuffer buffer;
    Writer json(buffer);
    json.StartObject();
    key(json, "outcome");
    text(json, outcomeKey(reduced.calculation.outcome));
    if (!reduced.message.empty()) {
        key(json, "message");
        text(json, reduced.message);
        json.EndObject();
        return finish(*page, buffer);
    }
    page->sheet.entries = entries;
    key(json, "entries");
    text(json, printout::entriesText(*entries));
    const check::CheckLayout layout =
        check::openLayout(check::checkLayout(reduced.record, entries->method), 1);
    key(json, "lines");
    json.StartArray();
    for (const std::string& line : printout::renderLines(printout::withoutValues(layout.form)))
        text(json, line);
    json.EndArray();
    key(json, "values");
    json.StartArray();
    for (const check::ValueId id : check::allValues()) {
        json.StartObject();
        key(json, "name");
        text(json, check::valueName(id));
        key(json, "kind");
        text(json, kindKey(check::valueKind(id)));
        key(json, "places");
        json.StartArray();
        for (const check::FormPlace& place : layout.places[check::index(id)]) {
            json.StartArray();
            json.Int(place.line);
            json.Int(place.span.first);
            json.Int(place.span.count);
            json.EndArray();
        }
        json.EndArray();
        json.EndObject();
    }
    json.EndArray();
    json.EndObject();
    return finish(*page, buffer);
}

// What the box of value `value` (its index in the form's order) holds now.
EMSCRIPTEN_KEEPALIVE void sight_check_set_text(Page* page, int value, const char* utf8) {
    if (value >= 0 && value < static_cast<int>(check::valueCount))
        page->sheet.texts[static_cast<std::size_t>(value)] = utf8;
}

// Checks the boxes against the entries the check was opened on, with the
// tolerance "whole", "tenths" or "exact": {"outcome", "summary",
// "allAgree", "values": each box that holds a value, in the form's order,
// with its "name", "mark" (key), "sign", "description" ("differs; the form
// has 63.80"), "given", "right" and "expected" (or null); "problems": each
// box whose text is not a value of its kind, with its "name" and
// "problem"; "slips": one line each, in the form's order}.
EMSCRIPTEN_KEEPALIVE const char* sight_check(Page* page, const char* toleranceName) {
    const auto tolerance = check::toleranceFromText(toleranceName);
    rapidjson::StringBuffer buffer;
    Writer json(buffer);
    json.StartObject();
    if (!page->sheet.entries || !tolerance) {
        // The page checks only a sheet it has opened, with one of the three
        // tolerances it offers.
        key(json, "outcome");
        text(json, "not-open");
        key(json, "summary");
        text(json, "No form is open to check.");
        json.EndObject();
        return finish(*page, buffer);
    }
    check::WorkedValues given;
    std::vector<std::pair<check::ValueId, std::string>> problems;
    for (const check::ValueId id : check::allValues()) {
        check::ReadValue read = check::readValue(id, page->sheet.texts[check::index(id)]);
        if (read.value)
            given[id] = read.value;
        else if (!read.problem.empty())
            problems.emplace_back(id, std::move(read.problem));
    }
    const check::CheckResult result =
        check::checkWorkedForm(*page->sheet.entries, given, *tolerance);

    key(json, "outcome");
    text(json, outcomeKey(result.calculation.outcome));
    key(json, "summary");
    text(json, check::checkSummary(result, problems.size()));
    key(json, "allAgree");
    json.Bool(result.message.empty() && problems.empty() && result.allAgree());
    key(json, "values");
    json.StartArray();
    for (const check::ValueCheck& value : result.values) {
        json.StartObject();
        key(json, "name");
        text(json, check::valueName(value.id));
        key(json, "mark");
        text(json, check::markKey(value.mark));
        key(json, "sign");
        text(json, check::markSign(value.mark));
        std::string description(check::markText(value.mark));
        if (value.mark != check::Mark::Agrees)
            description += "; the form has " + value.rightText;
        key(json, "description");
        text(json, description);
        key(json, "given");
        text(json, value.givenText);
        key(json, "right");
        text(json, value.rightText);
        key(json, "expected");
        if (value.expectedText)
            text(json, *value.expectedText);
        else
            json.Null();
        json.EndObject();
    }
    json.EndArray();
    key(json, "problems");
    json.StartArray();
    for (const auto& [id, problem] : problems) {
        json.StartObject();
        key(json, "name");
        text(json, check::valueName(id));
        key(json, "problem");
        text(json, problem);
        json.EndObject();
    }
    json.EndArray();
    key(json, "slips");
    json.StartArray();
    for (const check::FoundSlip& slip : result.slips)
        text(json, check::slipText(slip));
    json.EndArray();
    json.EndObject();
    return finish(*page, buffer);
}

} // extern "C"
