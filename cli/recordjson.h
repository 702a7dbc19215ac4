#pragma once

#include <QJsonObject>

#include "reduction/record.h"

namespace cli {

// Every field of the record except pi, under its own name: degrees as
// integers, flags as booleans, other values as JSON numbers. QJsonDocument
// writes a double in its shortest round-trip form, so reading a value back
// gives the very double of the record; a non-finite value (left by a failed
// step) is written as null, and -0 as 0.
QJsonObject recordToJson(const reduction::ReductionRecord& record);

} // namespace cli
