#include "cli/arguments.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "cli/batchrow.h"
#include "cli/checkreport.h"
#include "cli/options.h"
#include "cli/program.h"
#include "entry/fields.h"
#include "exercises/exercises.h"

namespace cli {
namespace {

using entry::FieldId;

// The option an argument names, or nullptr. "--name=value" names it too.
const OptionSpec* optionNamed(std::string_view argument) {
    for (const OptionSpec& spec : optionSpecs) {
        if (!spec.shortName.empty() && argument == spec.shortName) {
            return &spec;
        }
        if (argument.starts_with("--") && argument.substr(2, spec.name.size()) == spec.name) {
            const std::string_view rest = argument.substr(2 + spec.name.size());
            if (rest.empty() || rest.front() == '=') {
                return &spec;
            }
        }
    }
    return nullptr;
}

struct GivenOption {
    const OptionSpec* spec;
    std::vector<std::string> values;
};

std::string takes(const OptionSpec& spec) {
    return dashed(spec) + " takes " + std::string(spec.syntax);
}

// A value that is the name of a long option was most likely meant as one: the
// values before it are too few.
std::string misplaced(const OptionSpec& spec, const std::string& value, std::string_view part) {
    return takes(spec) + ": " + quotedText(value) + " stands where " + std::string(part) +
           " should; give every value, an empty text as \"\"";
}

bool namesLongOption(std::string_view value) {
    return value.starts_with("--") && optionNamed(value) != nullptr;
}

// When the arguments do not add up, the likely cause: an option given too
// few values, which took the next option's name as one of them.
std::optional<std::string> misplacedOption(const std::vector<GivenOption>& given) {
    for (const GivenOption& option : given) {
        for (std::size_t i = 0; i < option.values.size(); ++i) {
            if (namesLongOption(option.values[i])) {
                const std::string syntax(option.spec->syntax);
                std::size_t start = 0;
                for (std::size_t skip = 0; skip < i; ++skip) {
                    start = syntax.find(' ', start) + 1;
                }
                return misplaced(*option.spec, option.values[i],
                                 syntax.substr(start, syntax.find(' ', start) - start));
            }
        }
    }
    return std::nullopt;
}

// Fills the angle's fields and returns nullopt, or the usage problem.
std::optional<std::string> readAngle(const GivenOption& given, const AngleOption& angle,
                                     Arguments& arguments) {
    const std::string usage = takes(*given.spec);
    std::size_t at = 0;
    if (angle.names) {
        const std::string& text = given.values[at++];
        const auto [first, second] = *angle.names;
        if (text != first && text != second) {
            if (namesLongOption(text)) {
                return misplaced(*given.spec, text, "the name");
            }
            return usage + ": the name is " + std::string(first) + " or " + std::string(second) +
                   ", not " + quotedText(text);
        }
        if (angle.id == OptionId::Dec) {
            arguments.sight.decName = *reduction::northSouthFromText(text);
        } else if (angle.id == OptionId::Lat) {
            arguments.sight.latName = *reduction::northSouthFromText(text);
        } else {
            arguments.sight.loName = *reduction::westEastFromText(text);
        }
    }
    const std::array<std::pair<FieldId, const char*>, 2> parts{
        {{angle.degField, "DEG"}, {angle.minField, "MIN"}}};
    for (const auto& [field, part] : parts) {
        const std::string& text = given.values[at++];
        if (const auto problem = fieldTextProblem(text, field)) {
            if (namesLongOption(text)) {
                return misplaced(*given.spec, text, part);
            }
            return usage + ": " + part + " is " + *problem;
        }
        fieldText(arguments.sight, field) = text;
    }
    return std::nullopt;
}

} // namespace

ReadArguments readArguments(const std::vector<std::string>& arguments) {
    // First every option with the values that follow it, in the order given.
    std::vector<GivenOption> given;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        const OptionSpec* spec = optionNamed(argument);
        if (spec == nullptr) {
            if (auto problem = misplacedOption(given)) {
                return {std::nullopt, std::move(*problem)};
            }
            if (argument.starts_with("-") && argument != "-") {
                return {std::nullopt, "unknown option " + quotedText(argument)};
            }
            return {std::nullopt, "unexpected argument " + quotedText(argument)};
        }
        for (const GivenOption& earlier : given) {
            if (earlier.spec == spec) {
                return {std::nullopt, dashed(*spec) + " is given more than once"};
            }
        }
        GivenOption option{spec, {}};
        if (const auto equals = argument.find('='); equals != std::string::npos) {
            if (spec->valueCount == 0) {
                return {std::nullopt, dashed(*spec) + " takes no value"};
            }
            option.values.push_back(argument.substr(equals + 1));
        }
        while (option.values.size() < spec->valueCount) {
            if (++i == arguments.size()) {
                if (auto problem = misplacedOption(given)) {
                    return {std::nullopt, std::move(*problem)};
                }
                return {std::nullopt, dashed(*spec) + " takes " + std::string(spec->syntax) +
                                          "; give every value, an empty text as \"\""};
            }
            option.values.push_back(arguments[i]);
        }
        given.push_back(std::move(option));
    }

    Arguments read;
    for (const GivenOption& option : given) {
        read.help = read.help || option.spec->id == OptionId::Help;
        read.version = read.version || option.spec->id == OptionId::Version;
    }
    if (read.help || read.version) {
        return {std::move(read), {}};
    }

    reduction::ReductionInput& sight = read.sight;
    const GivenOption* sightOption = nullptr; // the first option --batch cannot go with
    for (const GivenOption& option : given) {
        const OptionId id = option.spec->id;
        switch (id) {
        case OptionId::Method:
            if (const auto method = methodFromText(option.values[0])) {
                sight.method = *method;
            } else {
                return {std::nullopt,
                        "--method takes Q or QQ, not " + quotedText(option.values[0])};
            }
            break;
        case OptionId::Gha:
        case OptionId::Dec:
        case OptionId::Lat:
        case OptionId::Lon:
            for (const AngleOption& angle : angleOptions) {
                if (angle.id != id) {
                    continue;
                }
                if (auto problem = readAngle(option, angle, read)) {
                    return {std::nullopt, std::move(*problem)};
                }
            }
            break;
        case OptionId::Json:
            read.json = true;
            break;
        case OptionId::Exact:
            read.exact = true;
            break;
        case OptionId::Batch:
            read.batch = option.values[0];
            break;
        case OptionId::Check:
            read.check = option.values[0];
            break;
        case OptionId::Tolerance:
            if (const auto tolerance = check::toleranceFromText(option.values[0])) {
                read.tolerance = *tolerance;
            } else {
                return {std::nullopt, "--tolerance takes whole, tenths or exact, not " +
                                          quotedText(option.values[0])};
            }
            break;
        case OptionId::Pdf:
            read.pdf = option.values[0];
            break;
        case OptionId::Blank:
            read.blank = true;
            break;
        case OptionId::Quiet:
            read.quiet = true;
            break;
        case OptionId::Exercises: {
            const auto count = exercises::seedFromText(option.values[0]);
            if (!count || *count == 0) {
                return {std::nullopt, "--exercises takes N, a whole number from 1, not " +
                                          quotedText(option.values[0])};
            }
            read.exercises = count;
            break;
        }
        case OptionId::Seed:
            read.seed = exercises::seedFromText(option.values[0]);
            if (!read.seed) {
                return {std::nullopt,
                        "--seed takes a whole number from 0 to 18446744073709551615, not " +
                            quotedText(option.values[0])};
            }
            break;
        case OptionId::Table:
            if (const auto method = methodFromText(option.values[0])) {
                read.table = *method;
            } else {
                return {std::nullopt, "--table takes Q or QQ, not " + quotedText(option.values[0])};
            }
            break;
        case OptionId::Csv:
            read.csv = true;
            break;
        case OptionId::Help:
        case OptionId::Version:
            break;
        }
        if (sightOption == nullptr && isSightOption(id)) {
            sightOption = &option;
        }
        read.methodGiven = read.methodGiven || id == OptionId::Method;
    }
    if (read.seed && !read.exercises) {
        return {std::nullopt, "--seed takes effect only with --exercises N"};
    }
    if (read.exercises) {
        // Only the seed and the method shape the exercises; they are the
        // entries, so nothing else can go with them.
        for (const GivenOption& option : given) {
            const OptionId id = option.spec->id;
            if (id != OptionId::Exercises && id != OptionId::Seed && id != OptionId::Method) {
                return {std::nullopt, dashed(*option.spec) +
                                          " cannot be combined with --exercises, which "
                                          "writes the entries for --batch"};
            }
        }
    }
    const bool toleranceGiven = std::any_of(given.begin(), given.end(), [](const auto& option) {
        return option.spec->id == OptionId::Tolerance;
    });
    if (toleranceGiven && !read.check) {
        return {std::nullopt, "--tolerance takes effect only with --check FILE"};
    }
    if (read.check) {
        if (sightOption != nullptr) {
            return {std::nullopt,
                    dashed(*sightOption->spec) +
                        " cannot be combined with --check, whose rows hold the entries"};
        }
        if (read.batch || read.exact || read.blank) {
            return {std::nullopt, std::string(read.batch   ? "--batch"
                                              : read.exact ? "--exact"
                                                           : "--blank") +
                                      " cannot be combined with --check"};
        }
    }
    if (read.batch && sightOption != nullptr) {
        return {std::nullopt, dashed(*sightOption->spec) +
                                  " cannot be combined with --batch, whose rows hold the entries"};
    }
    if (read.blank && !read.pdf) {
        return {std::nullopt, "--blank takes effect only with --pdf FILE"};
    }
    if (read.pdf && (read.json || read.exact)) {
        return {std::nullopt, std::string(read.json ? "--json" : "--exact") +
                                  " cannot be combined with --pdf, whose sheets hold the forms"};
    }
    if (read.table) {
        // The table is the whole output: nothing of a sight goes with it.
        for (const GivenOption& option : given) {
            const OptionId id = option.spec->id;
            if (id != OptionId::Table && id != OptionId::Csv && id != OptionId::Pdf) {
                return {std::nullopt, dashed(*option.spec) + " cannot be combined with --table"};
            }
        }
        if (read.csv && read.pdf) {
            return {std::nullopt, "--csv cannot be combined with --pdf"};
        }
    } else if (read.csv) {
        return {std::nullopt, "--csv takes effect only with --table Q|QQ"};
    }
    if (read.pdf && read.pdf->empty()) {
        return {std::nullopt, "--pdf takes FILE, not an empty text"};
    }
    return {std::move(read), {}};
}

} // namespace cli
