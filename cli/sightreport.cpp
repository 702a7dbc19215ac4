#include "cli/sightreport.h"

#include "cli/exactlines.h"
#include "printout/workedform.h"

namespace cli {
namespace {

using reduction::ExactSolution;
using reduction::Outcome;

bool complete(const Sight& sight) {
    return sight.result.outcome == Outcome::Complete;
}

ExactSolution exactOf(const Sight& sight) {
    return reduction::exactSolution(sight.record, sight.input.latName == reduction::NorthSouth::S,
                                    sight.input.decName == reduction::NorthSouth::S);
}

} // namespace

Sight reduceSight(const reduction::ReductionInput& input) {
    Sight sight{input, {}, {}};
    sight.result = reduction::calculateReduction(sight.input, sight.record);
    return sight;
}

const char* outcomeName(Outcome outcome) {
    switch (outcome) {
    case Outcome::Complete:
        return "complete";
    case Outcome::CheckData:
        return "check-data";
    case Outcome::ArithmeticFailure:
        return "arithmetic-failure";
    }
    return "arithmetic-failure";
}

std::string sightMessage(const Sight& sight) {
    switch (sight.result.outcome) {
    case Outcome::Complete:
        return {};
    case Outcome::CheckData:
        return std::string(reduction::checkDataMessage);
    case Outcome::ArithmeticFailure:
        break;
    }
    const std::string& why = sight.result.reason;
    std::string message =
        "The entries cannot be reduced: " + (why.empty() ? "an arithmetic step failed" : why);
    if (!message.ends_with('.')) {
        message += '.';
    }
    return message;
}

std::vector<std::string> sightLines(const Sight& sight, bool withExact) {
    if (!complete(sight)) {
        return {};
    }
    std::vector<std::string> lines =
        printout::renderLines(printout::buildWorkedForm(sight.record, sight.input.method));
    if (withExact) {
        for (std::string& line : exactSolutionLines(exactOf(sight))) {
            lines.push_back(std::move(line));
        }
    }
    return lines;
}

void writeSightJson(JsonWriter& w, const Sight& sight, bool withExact, std::optional<long long> row,
                    const OtherCells& others) {
    const auto key = [&w](std::string_view name) { w.plainKey(name); };
    const auto string = [&w](std::string_view text) { w.text(text); };
    w.StartObject();
    writeColumnsJson(w, others);
    if (withExact && complete(sight)) {
        const ExactSolution exact = exactOf(sight);
        key("exact");
        w.StartObject();
        key("Hc");
        writeNumber(w, exact.Hc);
        key("Zn");
        writeNumber(w, exact.Zn); // an undefined azimuth (NaN) is null
        key("dHcArcmin");
        writeNumber(w, exact.dHcArcmin);
        key("dZnDeg");
        writeNumber(w, exact.dZnDeg);
        w.EndObject();
    }
    key("form");
    w.StartArray();
    for (const std::string& line : sightLines(sight, false)) {
        string(line);
    }
    w.EndArray();
    key("message");
    if (complete(sight)) {
        w.Null();
    } else {
        string(sightMessage(sight));
    }
    key("outcome");
    string(outcomeName(sight.result.outcome));
    key("record");
    writeRecord(w, sight.record);
    if (row) {
        key("row");
        w.Int64(*row);
    }
    w.EndObject();
}

void writeRowErrorJson(JsonWriter& w, long long row, std::string_view problem,
                       const OtherCells& others) {
    w.StartObject();
    writeColumnsJson(w, others);
    w.plainKey("error");
    w.text(problem);
    w.plainKey("row");
    w.Int64(row);
    w.EndObject();
}

void writeColumnsJson(JsonWriter& w, const OtherCells& others) {
    if (others.empty()) {
        return;
    }
    w.plainKey("columns");
    w.StartObject();
    for (const OtherCell& cell : others) {
        w.Key(cell.column.data(), static_cast<rapidjson::SizeType>(cell.column.size()));
        w.text(cell.text);
    }
    w.EndObject();
}

} // namespace cli
