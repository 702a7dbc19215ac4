#include "web/page.h"

namespace binding {

void text(Writer& json, std::string_view value) {
    json.String(value.data(), static_cast<rapidjson::SizeType>(value.size()));
}

void key(Writer& json, std::string_view name) {
    json.Key(name.data(), static_cast<rapidjson::SizeType>(name.size()));
}

void writeFormLines(Writer& json, std::string_view name, const printout::WorkedForm& form) {
    const std::vector<std::string> lines = printout::renderLines(form);
    key(json, name);
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

const char* finish(Page& page, const rapidjson::StringBuffer& buffer) {
    page.answer.assign(buffer.GetString(), buffer.GetSize());
    return page.answer.c_str();
}

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

} // namespace binding
