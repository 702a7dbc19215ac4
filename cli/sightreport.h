#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/columnlayout.h"
#include "cli/jsonwriter.h"
#include "reduction/calculate.h"
#include "reduction/record.h"

// One sight as sightform reports it: reduced from a fresh record, then
// written as the worked form (text) or as one JSON object.

namespace cli {

struct Sight {
    reduction::ReductionInput input;
    reduction::ReductionRecord record;
    reduction::CalculationResult result;
};

// Reduces input from a fresh record, as the window does for one Calculate.
Sight reduceSight(const reduction::ReductionInput& input);

// The outcome as the JSON contract names it: "complete", "check-data",
// "arithmetic-failure".
const char* outcomeName(reduction::Outcome outcome);

// The message of a calculation that stopped: "Check your data.", or a line
// saying the entries cannot be reduced and why. Empty when complete.
std::string sightMessage(const Sight& sight);

// The worked form's lines, then with withExact the two lines of the exact
// solution. Empty unless the calculation is complete.
std::vector<std::string> sightLines(const Sight& sight, bool withExact);

// One object: {"outcome", "message" (null when complete), "record", "form"},
// with withExact, for a complete calculation, "exact": {Hc, Zn, dHcArcmin,
// dZnDeg}, and in a batch the "row" and, from a file with other columns,
// their "columns". Keys in the order of their code units, as scripts have
// always received them.
void writeSightJson(JsonWriter& writer, const Sight& sight, bool withExact,
                    std::optional<long long> row = std::nullopt, const OtherCells& others = {});

// {"error": problem, "row": row}: a malformed batch row, with the "columns"
// of its other cells where there are any.
void writeRowErrorJson(JsonWriter& writer, long long row, std::string_view problem,
                       const OtherCells& others = {});

// "columns": {name: text, ...} in the order of the header, when others is
// not empty: the key and its object, inside an object being written.
void writeColumnsJson(JsonWriter& writer, const OtherCells& others);

} // namespace cli
