// The page's way into the core, for the window's own controls: plain C
// functions that the page's JavaScript calls through the module's ccall.
// Each call hands over plain numbers and texts, calls the core (the control
// table, the field rules, the reduction, the worked form, the help text) and
// answers in one JSON text, so no rule of the window is written again in
// JavaScript.

#include <emscripten/emscripten.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "entry/fields.h"
#include "help/helptext.h"
#include "layout/form8layout.h"
#include "layout/twips.h"
#include "printout/workedform.h"
#include "reduction/calculate.h"
#include "reduction/record.h"
#include "web/page.h"

using binding::finish;
using binding::key;
using binding::noNames;
using binding::Page;
using binding::readEntries;
using binding::text;
using binding::writeFormLines;
using binding::Writer;

namespace {

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
// "lines", "narrowLines" (the form's parts one above the other, for a
// narrow screen), "entries" and "description" when complete}.
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
        const printout::WorkedForm form = printout::buildWorkedForm(page->record, input.method);
        writeFormLines(json, "lines", form);
        writeFormLines(json, "narrowLines", printout::stackedForm(form));
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

} // extern "C"
