#pragma once

#include <cstddef>

#include <rapidjson/stringbuffer.h>
#include <rapidjson/writer.h>

#include "reduction/record.h"

// sightform's JSON goes through RapidJSON's streaming writer straight into a
// buffer: no tree of objects is built for a row.

namespace cli {

using JsonBuffer = rapidjson::StringBuffer;
using JsonWriter = rapidjson::Writer<JsonBuffer>;

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

// Every field of the record except pi, under its own name, keys in the order
// of their UTF-16 code units (upper case before lower case): degrees as
// integers, flags as booleans, other values through writeNumber.
void writeRecord(JsonWriter& writer, const reduction::ReductionRecord& record);

} // namespace cli
