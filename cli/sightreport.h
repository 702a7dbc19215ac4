#pragma once

#include <string>
#include <vector>

#include <QJsonObject>

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

// {"outcome", "message" (null when complete), "record", "form"}, and with
// withExact, for a complete calculation, "exact": {Hc, Zn, dHcArcmin, dZnDeg}.
QJsonObject sightJson(const Sight& sight, bool withExact);

} // namespace cli
