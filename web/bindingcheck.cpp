// The page's way into Check My Work: the form with a box at each value,
// opened on the fields as they stand, and the check of what the boxes hold,
// each answered in one JSON text as the rest of the binding answers.

#include <emscripten/emscripten.h>

#include <algorithm>
#include <array>
#include <span>
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

// Bytes of a box's text that the checker reads: several times the longest
// value with its signs and blanks.
constexpr std::size_t longestBoxText = 64;

// The two differences, which a slip earlier on can take below zero: their
// boxes need a keyboard with a minus sign.
bool canBeNegative(check::ValueId id) {
    return id == check::ValueId::Qw || id == check::ValueId::QZ;
}

// The form works down its left column from LHA to the w step and down its
// right from the u step on. A value the form writes twice is typed where
// its own step writes it (90 - v and Q(90 - v) in the w step, not where the
// Hc step takes them up again), so that the boxes, taken in the order of
// working, go down the left column and then down the right. The place
// where the value is typed comes first, the copies after it in line order.
void typedPlaceFirst(check::CheckLayout& layout) {
    const auto firstRight =
        std::find(check::allValues().begin(), check::allValues().end(), check::ValueId::u);
    int rightColumn = 0;
    for (auto id = firstRight; id != check::allValues().end(); ++id)
        for (const check::FormPlace& place : layout.places[check::index(*id)])
            if (rightColumn == 0 || place.span.first < rightColumn)
                rightColumn = place.span.first;
    for (auto id = check::allValues().begin(); id != check::allValues().end(); ++id) {
        const bool onTheRight = id >= firstRight;
        std::stable_partition(layout.places[check::index(*id)].begin(),
                              layout.places[check::index(*id)].end(),
                              [&](const check::FormPlace& place) {
                                  return (place.span.first >= rightColumn) == onTheRight;
                              });
    }
}

// The characters of a form line in the given columns, blanks around them
// dropped: one column per character, as the form counts them.
std::string_view columnsOf(std::string_view line, printout::ColumnSpan span) {
    std::size_t from = line.size();
    std::size_t to = line.size();
    int column = 1;
    for (std::size_t at = 0; at < line.size(); ++at) {
        if ((static_cast<unsigned char>(line[at]) & 0xC0) == 0x80)
            continue; // a continuation byte of the character before
        if (column == span.first)
            from = at;
        if (column == span.first + span.count) {
            to = at;
            break;
        }
        ++column;
    }
    std::string_view shown = line.substr(std::min(from, to), to - std::min(from, to));
    while (!shown.empty() && shown.front() == ' ')
        shown.remove_prefix(1);
    while (!shown.empty() && shown.back() == ' ')
        shown.remove_suffix(1);
    return shown;
}

// No entry field holds anything: there is no sight yet whose form a sheet
// could be checked against.
bool noEntries(const reduction::ReductionInput& entries) {
    const auto blank = [](const std::string& text) {
        return text.find_first_not_of(" \t") == std::string::npos;
    };
    return blank(entries.ghaDeg) && blank(entries.ghaMin) && blank(entries.decDeg) &&
           blank(entries.decMin) && blank(entries.latDeg) && blank(entries.latMin) &&
           blank(entries.loDeg) && blank(entries.loMin);
}

// The checker's own key to the marks, each sign with the key the page
// colours it by: the marks in their order, then the unreadable box.
void writeLegend(Writer& json) {
    constexpr std::array marks{check::Mark::Agrees, check::Mark::WithinReading,
                               check::Mark::Follows, check::Mark::Differs};
    key(json, "legend");
    json.StartArray();
    const std::span<const check::LegendEntry> legend = check::markLegend();
    for (std::size_t i = 0; i < legend.size(); ++i) {
        json.StartObject();
        key(json, "mark");
        text(json, i < marks.size() ? check::markKey(marks[i]) : "unreadable");
        key(json, "sign");
        text(json, legend[i].sign);
        key(json, "words");
        text(json, legend[i].words);
        json.EndObject();
    }
    json.EndArray();
}

} // namespace

extern "C" {

// "Check My Work…" opened on the fields as they stand, with the names and
// the method as for Calculate. When the entries can be reduced:
// {"outcome": "complete", "entries", "lines": the form's lines with every
// value left blank, "values": each value of the form in its order of
// working, with its "name", "label" (as the form writes it), "kind",
// "negative" (a slip can take it below zero), "right" (as the form prints
// it) and "places" ([line from 0, first column from 1, columns], where it
// is typed first), "rightForm": the right worked form's lines as Calculate
// prints them, and "legend": each mark's "mark", "sign" and "words"};
// otherwise {"outcome", "message"}, the message as Calculate gives it, or,
// when no entry field holds anything, outcome "no-entries" and a message
// that asks for the sight first. The page's own reduction and form are left
// as they are, and the boxes start empty.
EMSCRIPTEN_KEEPALIVE const char* sight_check_open(Page* page, int method, const char* decName,
                                                  const char* latName, const char* loName) {
    const auto entries = readEntries(*page, method, decName, latName, loName);
    page->sheet = {};
    if (!entries)
        return noNames(*page);

    rapidjson::StringBuffer buffer;
    Writer json(buffer);
    json.StartObject();
    if (noEntries(*entries)) {
        key(json, "outcome");
        text(json, "no-entries");
        key(json, "message");
        text(json, "Enter the sight first: GHA, Dec, DR L and DR Lo, as for Calculate. "
                   "Check My Work holds your sheet against the form these entries give.");
        json.EndObject();
        return finish(*page, buffer);
    }
    const check::CheckResult reduced = check::checkWorkedForm(*entries, {});
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
    const check::CheckLayout printed = check::checkLayout(reduced.record, entries->method);
    const std::vector<std::string> filled = printout::renderLines(printed.form);
    check::CheckLayout layout = check::openLayout(printed, 1);
    typedPlaceFirst(layout);
    key(json, "lines");
    json.StartArray();
    for (const std::string& line : printout::renderLines(printout::withoutValues(layout.form)))
        text(json, line);
    json.EndArray();
    key(json, "values");
    json.StartArray();
    for (const check::ValueId id : check::allValues()) {
        const std::vector<check::FormPlace>& places = layout.places[check::index(id)];
        const std::vector<check::FormPlace>& printedAt = printed.places[check::index(id)];
        json.StartObject();
        key(json, "name");
        text(json, check::valueName(id));
        key(json, "label");
        text(json, check::valueLabel(id));
        key(json, "kind");
        text(json, kindKey(check::valueKind(id)));
        key(json, "negative");
        json.Bool(canBeNegative(id));
        key(json, "right");
        text(json, printedAt.empty()
                       ? std::string_view()
                       : columnsOf(filled[static_cast<std::size_t>(printedAt[0].line)],
                                   printedAt[0].span));
        key(json, "places");
        json.StartArray();
        for (const check::FormPlace& place : places) {
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
    key(json, "rightForm");
    json.StartArray();
    for (const std::string& line :
         printout::renderLines(printout::buildWorkedForm(reduced.record, entries->method)))
        text(json, line);
    json.EndArray();
    writeLegend(json);
    json.EndObject();
    return finish(*page, buffer);
}

// What the box of value `value` (its index in the form's order) holds now.
// Blanks around the text are dropped, and a text still longer than any
// value can be is cut, with "…" after it: it cannot be read either way, and
// the reason given for it quotes the text.
EMSCRIPTEN_KEEPALIVE void sight_check_set_text(Page* page, int value, const char* utf8) {
    if (value < 0 || value >= static_cast<int>(check::valueCount))
        return;
    std::string_view typed(utf8);
    const std::size_t first = typed.find_first_not_of(" \t");
    typed = first == std::string_view::npos
                ? std::string_view()
                : typed.substr(first, typed.find_last_not_of(" \t") - first + 1);
    std::string& kept = page->sheet.texts[static_cast<std::size_t>(value)];
    if (typed.size() <= longestBoxText) {
        kept = typed;
        return;
    }
    std::size_t cut = longestBoxText;
    while (cut > 0 && (static_cast<unsigned char>(typed[cut]) & 0xC0) == 0x80)
        --cut; // not inside a character
    kept = std::string(typed.substr(0, cut)) + "\u2026";
}

// Checks the boxes against the entries the check was opened on, with the
// tolerance "whole", "tenths" or "exact": {"outcome", "summary",
// "allAgree", "values": each box that holds a value, in the form's order,
// with its "name", "mark" (key), "sign", "description" ("differs; the form
// has 63.80"), "given", "right", "expected" (or null) and "slip" (the slip's
// line where a slip shows at it, or null); "problems": each box whose text
// is not a value of its kind, with its "name", "problem" and "sign";
// "slips": one line each, in the form's order}.
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
        key(json, "slip");
        const auto slip = std::find_if(
            result.slips.begin(), result.slips.end(),
            [&value](const check::FoundSlip& found) { return found.shownAt == value.id; });
        if (slip != result.slips.end())
            text(json, check::slipText(*slip));
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
        key(json, "sign");
        text(json, check::unreadableSign);
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
