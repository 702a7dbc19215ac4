#pragma once

// sightform's JSON read back in the tests. The accessors forgive as a test
// needs: a missing member reads as null, a value of another kind as empty or
// as the fallback given, so a wrong output fails the comparison that follows
// instead of an assertion inside the reader.

#include <rapidjson/document.h>

#include <cmath>
#include <cstdint>
#include <string>
#include <string_view>

namespace jsonread {

using Value = rapidjson::Value;

// In full precision: RapidJSON's default reading may be a few units in the
// last place off, and the tests compare the doubles read with the record's.
inline rapidjson::Document parse(std::string_view text) {
    rapidjson::Document document;
    document.Parse<rapidjson::kParseFullPrecisionFlag>(text.data(), text.size());
    return document;
}

inline bool has(const Value& object, const char* name) {
    return object.IsObject() && object.HasMember(name);
}

// The member, or null when there is none.
inline const Value& member(const Value& object, const char* name) {
    static const Value null;
    if (!object.IsObject()) {
        return null;
    }
    const auto found = object.FindMember(name);
    return found == object.MemberEnd() ? null : found->value;
}

inline const Value& array(const Value& value) {
    static const Value empty(rapidjson::kArrayType);
    return value.IsArray() ? value : empty;
}

inline const Value& object(const Value& value) {
    static const Value empty(rapidjson::kObjectType);
    return value.IsObject() ? value : empty;
}

inline std::string text(const Value& value) {
    return value.IsString() ? std::string(value.GetString(), value.GetStringLength()) : "";
}

inline double number(const Value& value, double otherwise = 0) {
    return value.IsNumber() ? value.GetDouble() : otherwise;
}

// A number with a whole value, however it is written.
inline std::int64_t integer(const Value& value, std::int64_t otherwise = 0) {
    if (value.IsInt64()) {
        return value.GetInt64();
    }
    if (value.IsNumber()) {
        const double d = value.GetDouble();
        if (std::trunc(d) == d && std::fabs(d) < 0x1p63) {
            return static_cast<std::int64_t>(d);
        }
    }
    return otherwise;
}

} // namespace jsonread
