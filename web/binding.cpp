// The page's way into the core: plain C functions that the page's JavaScript
// calls through the module's ccall. Each call hands over plain numbers and
// texts, calls the core (the control table, the field rules, the reduction,
// the worked form, the help text, the check of a navigator's own form) and
// answers in one JSON text, so no rule of the window is written again in
// JavaScript.
//
// The answer lives in the page's own buffer until the next call that
// answers; the JavaScript side reads it at once.

#include <emscripten/emscripten.h>

#include <rapidjson/stringbuffer.h>
#include <rapidjson/writer.h>

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "check/check.h"
#include "check/markedform.h"
#include "check/values.h"
#include "entry/fields.h"
#include "help/helptext.h"
#include "layout/form8layout.h"
#include "layout/twips.h"
#include "printout/workedform.h"
#include "reduction/calculate.h"
#include "reduction/record.h"

namespace {

using Writer = rapidjson::Writer<rapidjson::StringBuffer>;

// The rules' message box and beep, kept until the page has shown them. The
// rules take no step after their message that the page would show, so
// showing the box once the rule has returned, with the red field already
// drawn behind it, looks to the user as the window's box does.
class RecordedAlerts final : public entry::Alerts {
  public:
    void message(std::string_view text) override { messages.emplace_back(text); }
    void beep() override { ++beeps; }

    std::vector<std::string> messages;
    int beeps = 0;
};

// The navigator's own form being checked: the entries it was opened on
// (later edits of the fields do not reach it) and the texts of its boxes.
struct CheckSheet {
    std::optional<reduction::ReductionInput> entries;
    std::array<std::string, check::valueCount> texts;
};

struct Page {
    RecordedAlerts alerts;
    entry::Fields fields{alerts};
    reduction::ReductionRecord record;
    CheckSheet sheet;
    std::string answer;
};

void text(Writer& json, std::string_view value) {
    json.String(value.data(), static_cast<rapidjson::SizeType>(value.size()));
}

void key(Writer& json, std::string_view name) {
    json.Key(name.data(), static_cast<rapidjson::SizeType>(name.size()));
}

const char* finish(Page& page, const rapidjson::StringBuffer& buffer) {
    page.answer.assign(buffer.GetString(), buffer.GetSize());
    return page.answer.c_str();
}

std::optional<entry::FieldId> fieldId(int index) {
    if (index < 0 || index >= static_cast<int>(entry::fieldCount))
        return std::nullopt;
    return static_cast<entry::FieldId>(index);
}

const entry::FieldSpec* fieldSpec(std::string_view name) {
    for (const entry::FieldSpec& spec : entry::fieldSpecs)
        if (spec.name == name)
            return &spec;
    return nullptr;
}

std::string_view kindName(layout::ControlKind kind) {
    switch (kind) {
    case layout::ControlKind::Label:
        return "Label";
    case layout::ControlKind::TextField:
        return "TextField";
    case layout::ControlKind::NameList:
        return "NameList";
    case layout::ControlKind::CommandButton:
        return "CommandButton";
    case layout::ControlKind::Frame:
        return "Frame";
    case layout::ControlKind::OptionButton:
        return "OptionButton";
    case layout::ControlKind::Line:
        return "Line";
    }
    return "Label";
}

// The browser's own names for the colours the rules set: CSS has system
// colours for a text field's background and for the 3-D faces of buttons,
// which is what the two system colours of the rules are.
std::string cssColour(entry::ColorValue value) {
    if (value == entry::inactiveBorder)
        return "ButtonFace";
    if (value == entry::windowBackground)
        return "Field";
    constexpr char hex[] = "0123456789abcdef";
    std::string css = "#";
    for (int shift : {0, 8, 16}) { // 0x00BBGGRR
        const unsigned byte = (value >> shift) & 0xFF;
        css += hex[byte >> 4];
        css += hex[byte & 0xF];
    }
    return css;
}

void pixels(Writer& json, std::string_view name, int twips) {
    key(json, name);
    json.Int(layout::toPixels(twips));
}

// What the rules have set since the last answer: every field's state, and the
// beeps and messages the page still has to give.
void writeFieldEvents(Writer& json, Page& page) {
    key(json, "fields");
    json.StartArray();
    for (std::size_t i = 0; i < entry::fieldCount; ++i) {
        const entry::Field& field = page.fields[static_cast<entry::FieldId>(i)];
        json.StartObject();
        key(json, "enabled");
        json.Bool(field.enabled);
        key(json, "colour");
        text(json, cssColour(field.backColor));
        json.EndObject();
    }
    json.EndArray();
    key(json, "beeps");
    json.Int(page.alerts.beeps);
    key(json, "messages");
    json.StartArray();
    for (const std::string& message : page.alerts.messages)
        text(json, message);
    json.EndArray();
    page.alerts.beeps = 0;
    page.alerts.messages.clear();
}

const char* fieldEvents(Page& page, std::optional<int> keyAscii = std::nullopt) {
    rapidjson::StringBuffer buffer;
    Writer json(buffer);
    json.StartObject();
    if (keyAscii) {
        key(json, "key");
        json.Int(*keyAscii);
    }
    writeFieldEvents(json, page);
    json.EndObject();
    return finish(page, buffer);
}

// A form line as its plain text (as sightform prints it) and the character
// columns of its bold runs, so the page can set those in bold without
// placing a single run itself.
void writeFormLines(Writer& json, const printout::WorkedForm& form) {
    const std::vector<std::string> lines = printout::renderLines(form);
    key(json, "lines");
    json.StartArray();
    for (std::size_t i = 0; i < lines.size(); ++i) {
        json.StartObject();
        key(json, "text");
        text(json, lines[i]);
        key(json, "bold");
        json.StartArray();
        for (const printout::TextRun& run : form.lines[i]) {
            if (!run.bold)
                continue;
            json.StartArray();
            json.Int(run.column);
            // Characters, not bytes: the degree sign takes two bytes.
            int characters = 0;
            for (const char byte : run.text)
                characters += (static_cast<unsigned char>(byte) & 0xC0) != 0x80;
            json.Int(characters);
            json.EndArray();
        }
        json.EndArray();
        json.EndObject();
    }
    json.EndArray();
}

// The entries as the fields hold them, with the names as the lists show
// them and the method (0 Q(x), 1 QQ(x)); nothing when a name is not one of
// its list's items.
std::optional<reduction::ReductionInput> readEntries(const Page& page, int method,
                                                     const char* decName, const char* latName,
                                                     const char* loName) {
    using entry::FieldId;
    const auto dec = reduction::northSouthFromText(decName);
    const auto lat = reduction::northSouthFromText(latName);
    const auto lo = reduction::westEastFromText(loName);
    if (!dec || !lat || !lo)
        return std::nullopt;
    reduction::ReductionInput input;
    input.ghaDeg = page.fields[FieldId::GHADeg].text;
    input.ghaMin = page.fields[FieldId::GHAMin].text;
    input.decDeg = page.fields[FieldId::DecDeg].text;
    input.decMin = page.fields[FieldId::DecMin].text;
    input.latDeg = page.fields[FieldId::LDeg].text;
    input.latMin = page.fields[FieldId::LMin].text;
    input.loDeg = page.fields[FieldId::LoDeg].text;
    input.loMin = page.fields[FieldId::LoMin].text;
    input.method = method == 1 ? reduction::Method::QQ : reduction::Method::Q;
    input.decName = *dec;
    input.latName = *lat;
    input.loName = *lo;
    return input;
}

// The lists hold only their two items; anything else is the page's own
// fault, reported rather than reduced.
const char* noNames(Page& page) {
    rapidjson::StringBuffer buffer;
    Writer json(buffer);
    json.StartObject();
    key(json, "outcome");
    text(json, "no-names");
    key(json, "message");
    text(json, "The name lists hold no name.");
    json.EndObject();
    return finish(page, buffer);
}

std::string_view outcomeKey(reduction::Outcome outcome) {
    switch (outcome) {
    case reduction::Outcome::Complete:
        return "complete";
    case reduction::Outcome::CheckData:
        return "check-data";
    case reduction::Outcome::ArithmeticFailure:
        return "arithmetic-failure";
    }
    return "complete";
}

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

// A page's state: the eight fields' model and the session's reduction record,
// kept for as long as the page is open.
EMSCRIPTEN_KEEPALIVE Page* sight_page_new() {
    return new Page;
}

// The window's controls in visual order, in CSS pixels, each text field
// joined with its field spec; the client area, the separator and the top of
// the printout.
EMSCRIPTEN_KEEPALIVE const char* sight_layout(Page* page) {
    rapidjson::StringBuffer buffer;
    Writer json(buffer);
    json.StartObject();
    pixels(json, "width", layout::form8Client.width);
    pixels(json, "height", layout::form8Client.height);
    pixels(json, "separatorTop", layout::separatorTop);
    pixels(json, "printoutTop", layout::printoutTop);
    key(json, "controls");
    json.StartArray();
    for (const layout::Control& control : layout::form8Controls()) {
        json.StartObject();
        key(json, "name");
        text(json, control.name);
        key(json, "kind");
        text(json, kindName(control.kind));
        // The caption as shown, and its access key with where its letter
        // stands in that text.
        key(json, "caption");
        text(json, layout::captionText(control.caption));
        if (const auto letter = layout::accessKey(control.caption)) {
            key(json, "accessKey");
            text(json, std::string(1, *letter));
            key(json, "accessKeyAt");
            json.Int(static_cast<int>(control.caption.find('&')));
        }
        key(json, "wraps");
        json.Bool(control.wraps);
        key(json, "items");
        json.StartArray();
        for (std::string_view item : control.items)
            if (!item.empty())
                text(json, item);
        json.EndArray();
        pixels(json, "left", control.rect.left);
        pixels(json, "top", control.rect.top);
        pixels(json, "width", control.rect.width);
        pixels(json, "height", control.rect.height);
        key(json, "tabIndex");
        json.Int(layout::takesFocus(control.kind) ? control.tabIndex : -1);
        key(json, "container");
        text(json, control.container);
        const entry::FieldSpec* spec = fieldSpec(control.name);
        // A field's name for assistive technology is the field rules' own.
        key(json, "accessibleName");
        text(json, spec ? spec->accessibleName : control.accessibleName);
        if (spec) {
            key(json, "field");
            json.Int(static_cast<int>(entry::index(spec->id)));
            key(json, "toolTip");
            text(json, spec->toolTip);
            key(json, "maxLength");
            json.Int(spec->maxLength);
            key(json, "fieldKind");
            text(json, spec->kind == entry::FieldKind::Degree ? "Degree" : "Minute");
        }
        json.EndObject();
    }
    json.EndArray();
    json.EndObject();
    return finish(*page, buffer);
}

// The method notes, lines ended by CR LF.
EMSCRIPTEN_KEEPALIVE const char* sight_help_text(Page* page) {
    page->answer = help::helpText();
    return page->answer.c_str();
}

// What a field holds now, before the page asks a rule about it.
EMSCRIPTEN_KEEPALIVE void sight_set_text(Page* page, int field, const char* utf8) {
    if (const auto id = fieldId(field))
        page->fields[*id].text = utf8;
}

// KeyPress: {"key": the code to apply (0 drops the key), the field events}.
EMSCRIPTEN_KEEPALIVE const char* sight_key_press(Page* page, int field, int keyAscii) {
    const auto id = fieldId(field);
    if (!id)
        return fieldEvents(*page, 0);
    return fieldEvents(*page, page->fields.keyPress(*id, static_cast<entry::KeyAscii>(keyAscii)));
}

// Change, after the field's text was set: the field events.
EMSCRIPTEN_KEEPALIVE const char* sight_change(Page* page, int field) {
    if (const auto id = fieldId(field))
        page->fields.change(*id);
    return fieldEvents(*page);
}

// Validate: 1 when the focus may not leave the field. Changes nothing.
EMSCRIPTEN_KEEPALIVE int sight_validate(Page* page, int field) {
    const auto id = fieldId(field);
    return id && page->fields.validate(*id) ? 1 : 0;
}

// "Clear &All" (all = 1) or "&Clear except DR" (all = 0): empties the fields
// one after the other, each running its Change rule as the window's do (an
// empty field reads 0, so a degree field unlocks its minute field before
// that is emptied in turn): {"emptied": field indexes, the field events}.
EMSCRIPTEN_KEEPALIVE const char* sight_clear(Page* page, int all) {
    using entry::FieldId;
    // The model's order is the order "Clear &All" empties the fields in; the
    // other clear takes the GHA and declination fields, the first four.
    const std::size_t count = all ? entry::fieldCount : entry::index(FieldId::LDeg);
    for (std::size_t i = 0; i < count; ++i) {
        page->fields[static_cast<FieldId>(i)].text.clear();
        page->fields.change(static_cast<FieldId>(i));
    }
    rapidjson::StringBuffer buffer;
    Writer json(buffer);
    json.StartObject();
    key(json, "emptied");
    json.StartArray();
    for (std::size_t i = 0; i < count; ++i)
        json.Int(static_cast<int>(i));
    json.EndArray();
    writeFieldEvents(json, *page);
    json.EndObject();
    return finish(*page, buffer);
}

// Calculate on the fields' texts, with the names as the lists show them and
// the method (0 Q(x), 1 QQ(x)): {"outcome", "message" when not complete;
// "lines", "entries" and "description" when complete}.
EMSCRIPTEN_KEEPALIVE const char* sight_calculate(Page* page, int method, const char* decName,
                                                 const char* latName, const char* loName) {
    const auto entries = readEntries(*page, method, decName, latName, loName);
    if (!entries)
        return noNames(*page);
    const reduction::ReductionInput& input = *entries;

    rapidjson::StringBuffer buffer;
    Writer json(buffer);
    json.StartObject();
    const reduction::CalculationResult result = reduction::calculateReduction(input, page->record);
    key(json, "outcome");
    switch (result.outcome) {
    case reduction::Outcome::Complete: {
        text(json, "complete");
        writeFormLines(json, printout::buildWorkedForm(page->record, input.method));
        key(json, "entries");
        text(json, printout::entriesText(input));
        key(json, "description");
        text(json, input.method == reduction::Method::Q ? "Printed by the Q(x) table method"
                                                        : "Printed by the QQ(x) table method");
        break;
    }
    case reduction::Outcome::CheckData:
        text(json, "check-data");
        key(json, "message");
        text(json, reduction::checkDataMessage);
        break;
    case reduction::Outcome::ArithmeticFailure:
        text(json, "arithmetic-failure");
        key(json, "message");
        text(json, reduction::arithmeticFailureText(result.reason));
        break;
    }
    json.EndObject();
    return finish(*page, buffer);
}

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
