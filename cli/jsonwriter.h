#pragma once

#include <cstddef>
#include <string_view>

#include <rapidjson/stringbuffer.h>
#include <rapidjson/writer.h>

#include "reduction/record.h"

// sightform's JSON goes through RapidJSON's streaming writer straight into a
// buffer: no tree of objects is built for a row.

namespace cli {

using JsonBuffer = rapidjson::StringBuffer;

// RapidJSON's writer, with two ways to put a value's text into the buffer in
// one piece, where the writer would copy it a character at a time: the
// writer still places the comma or colon before it and keeps the nesting,
// as its own PrettyWriter does through the same protected members.
class JsonWriter : public rapidjson::Writer<JsonBuffer> {
  public:
    explicit JsonWriter(JsonBuffer& buffer) : Writer(buffer) {}

    // A number whose JSON text the caller has made.
    void rawNumber(std::string_view json);

    // An object's key that is known to need no escape (the program's own
    // plain ASCII names).
    void plainKey(std::string_view name);

    // A string; one without a character that needs an escape (a quote, a
    // backslash, a control character) is copied whole.
    void text(std::string_view utf8);

  private:
    // A key or string value that needs no escape, in its quotes.
    void copyString(std::string_view plain);
};

// Longest text jsonNumber writes, with room to spare.
inline constexpr std::size_t jsonNumberCapacity = 32;

// A double as sightform's JSON has always written it: a whole number of at
// most 2^53 in magnitude as an integer ("54", and -0 as "0"); any other
// finite value as the shortest digits that read back as the very same double
// (std::to_chars), laid out in decimal or with an exponent of at least two
// digits, whichever is shorter, ties going to decimal ("0.0001" is "1e-04",
// "100000.5" stays decimal); a NaN or an infinity as null. Returns the
// length written into text (at least jsonNumberCapacity bytes).
std::size_t jsonNumber(double value, char* text);

// value as a JSON number (null when not finite).
void writeNumber(JsonWriter& writer, double value);

// Every field of the record, under its own name, keys in the order
// of their UTF-16 code units (upper case before lower case): degrees as
// integers, flags as booleans, other values through writeNumber.
void writeRecord(JsonWriter& writer, const reduction::ReductionRecord& record);

} // namespace cli
