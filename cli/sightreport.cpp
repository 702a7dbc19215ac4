#include "cli/sightreport.h"

#include <QJsonArray>
#include <QJsonValue>
#include <QString>

#include "cli/exactsolution.h"
#include "cli/recordjson.h"
#include "printout/workedform.h"

namespace cli {
namespace {

using reduction::Outcome;

bool complete(const Sight& sight) {
    return sight.result.outcome == Outcome::Complete;
}

ExactSolution exactOf(const Sight& sight) {
    return exactSolution(sight.record, sight.input.latName == reduction::NorthSouth::S,
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
    std::vector<std::string> lines = printout::renderLines(printout::buildWorkedForm(sight.record, sight.input.method));
    if (withExact) {
        for (std::string& line : exactSolutionLines(exactOf(sight))) {
            lines.push_back(std::move(line));
        }
    }
    return lines;
}

QJsonObject sightJson(const Sight& sight, bool withExact) {
    QJsonArray form;
    if (complete(sight)) {
        for (const std::string& line : printout::renderLines(printout::buildWorkedForm(sight.record, sight.input.method))) {
            form.append(QString::fromStdString(line));
        }
    }
    const std::string message = sightMessage(sight);
    QJsonObject object{
        {"outcome", outcomeName(sight.result.outcome)},
        {"message", complete(sight) ? QJsonValue() : QJsonValue(QString::fromStdString(message))},
        {"record", recordToJson(sight.record)},
        {"form", form},
    };
    if (withExact && complete(sight)) {
        const ExactSolution exact = exactOf(sight);
        // An undefined azimuth (NaN) is written as null.
        object.insert("exact", QJsonObject{{"Hc", exact.Hc},
                                           {"Zn", exact.Zn},
                                           {"dHcArcmin", exact.dHcArcmin},
                                           {"dZnDeg", exact.dZnDeg}});
    }
    return object;
}

} // namespace cli
