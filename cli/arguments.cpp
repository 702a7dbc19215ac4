#include "cli/arguments.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "cli/batchrow.h"
#include "cli/checkreport.h"
#include "cli/program.h"
#include "entry/fields.h"

namespace cli {
namespace {

using entry::FieldId;

enum class OptionId {
    Method,
    Gha,
    Dec,
    Lat,
    Lon,
    Json,
    Exact,
    Batch,
    Check,
    Tolerance,
    Pdf,
    Blank,
    Quiet,
    Help,
    Version
};

// One option: what follows it and how --help shows it. A new option is a row
// here and a line where readArguments interprets its values.
struct OptionSpec {
    OptionId id;
    std::string_view name;      // without "--"
    std::string_view shortName; // "-h", or empty
    std::string_view syntax;    // its values, as --help and usage errors show them
    std::size_t valueCount;
    std::string_view help;
};

constexpr std::array<OptionSpec, 15> optionSpecs{{
    {OptionId::Method, "method", "", "Q|QQ", 1, "table method: Q (default) or QQ"},
    {OptionId::Gha, "gha", "", "DEG MIN", 2, "GHA, or LHA with the longitude left empty or zero"},
    {OptionId::Dec, "dec", "", "N|S DEG MIN", 3, "declination: name N (default) or S"},
    {OptionId::Lat, "lat", "", "N|S DEG MIN", 3, "DR latitude: name N (default) or S"},
    {OptionId::Lon, "lon", "", "W|E DEG MIN", 3, "DR longitude: name W (default) or E"},
    {OptionId::Json, "json", "", "", 0, "print one JSON object (per row) instead of text"},
    {OptionId::Exact, "exact", "", "", 0, "add the exact solution and the table's differences"},
    {OptionId::Batch, "batch", "", "FILE", 1, "reduce every CSV row of FILE (- for stdin)"},
    {OptionId::Check, "check", "", "FILE", 1, "check the worked forms of FILE (- for stdin)"},
    {OptionId::Tolerance, "tolerance", "", "whole|tenths|exact", 1,
     "with --check: how far a table reading may stray"},
    {OptionId::Pdf, "pdf", "", "FILE", 1, "write answer sheets (--check: marked) to the PDF FILE"},
    {OptionId::Blank, "blank", "", "", 0, "with --pdf: an exercise sheet, without the values"},
    {OptionId::Quiet, "quiet", "", "", 0, "with --batch: no progress line on a terminal"},
    {OptionId::Help, "help", "-h", "", 0, "show this help and exit"},
    {OptionId::Version, "version", "", "", 0, "show the version and exit"},
}};

std::string dashed(const OptionSpec& spec) {
    return "--" + std::string(spec.name);
}

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

// An angle option: the name list it may have and the two fields it fills.
struct AngleOption {
    OptionId id;
    std::optional<std::pair<std::string_view, std::string_view>> names;
    FieldId degField;
    FieldId minField;
};

constexpr std::array<AngleOption, 4> angleOptions{{
    {OptionId::Gha, std::nullopt, FieldId::GHADeg, FieldId::GHAMin},
    {OptionId::Dec, std::pair{"N", "S"}, FieldId::DecDeg, FieldId::DecMin},
    {OptionId::Lat, std::pair{"N", "S"}, FieldId::LDeg, FieldId::LMin},
    {OptionId::Lon, std::pair{"W", "E"}, FieldId::LoDeg, FieldId::LoMin},
}};

// The options that hold the entries of one sight.
bool isSightOption(OptionId id) {
    return id == OptionId::Method ||
           std::any_of(angleOptions.begin(), angleOptions.end(),
                       [id](const AngleOption& angle) { return angle.id == id; });
}

const OptionSpec& optionSpec(OptionId id) {
    return *std::find_if(optionSpecs.begin(), optionSpecs.end(),
                         [id](const OptionSpec& spec) { return spec.id == id; });
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
        case OptionId::Help:
        case OptionId::Version:
            break;
        }
        if (sightOption == nullptr && isSightOption(id)) {
            sightOption = &option;
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
    if (read.pdf && read.pdf->empty()) {
        return {std::nullopt, "--pdf takes FILE, not an empty text"};
    }
    return {std::move(read), {}};
}

std::string versionText() {
    return std::string("sightform ") + SIGHT_VERSION;
}

namespace {

// Lines of --help are at most this long.
constexpr std::size_t helpWidth = 79;

// text as a paragraph indented by indent blanks, its lines broken between
// words, ending in "\n".
std::string paragraph(std::string_view text, std::size_t indent) {
    std::string out;
    std::string line(indent, ' ');
    while (!text.empty()) {
        const std::size_t space = text.find(' ');
        const std::string_view word = text.substr(0, space);
        text = space == std::string_view::npos ? std::string_view() : text.substr(space + 1);
        if (line.size() > indent && line.size() + 1 + word.size() > helpWidth) {
            out += line + "\n";
            line.assign(indent, ' ');
        }
        if (line.size() > indent) {
            line += ' ';
        }
        line += word;
    }
    return out + line + "\n";
}

// An item of a list: the tag, then the text from textColumn on (or two
// blanks after a longer tag), its further lines indented to match.
std::string tagged(std::string_view tag, std::string_view text, std::size_t indent,
                   std::size_t textColumn) {
    std::string head(indent, ' ');
    head += tag;
    const std::string body = paragraph(text, std::max(head.size() + 2, textColumn));
    return head + body.substr(head.size());
}

// The --method ... --lon options, "--a, --b and --c".
std::string sightOptionList() {
    std::vector<std::string> names;
    for (const OptionSpec& spec : optionSpecs) {
        if (isSightOption(spec.id)) {
            names.push_back(dashed(spec));
        }
    }
    std::string list;
    for (std::size_t i = 0; i < names.size(); ++i) {
        list += (i == 0 ? "" : i + 1 == names.size() ? " and " : ", ") + names[i];
    }
    return list;
}

std::string fieldLimits(const entry::FieldSpec& field) {
    return std::to_string(field.maxLength) + (field.maxLength == 1 ? " character" : " characters") +
           ", at most " + boundText(field.bound);
}

// Each angle option's degree field, then the minute fields, in one line
// when they are all alike.
std::string fieldLimitList() {
    constexpr std::size_t indent = 4;
    constexpr std::size_t column = 18;
    std::string list;
    for (const AngleOption& angle : angleOptions) {
        list += tagged(dashed(optionSpec(angle.id)) + " DEG",
                       fieldLimits(entry::spec(angle.degField)), indent, column);
    }
    const entry::FieldSpec& first = entry::spec(angleOptions.front().minField);
    const bool alike = std::all_of(angleOptions.begin(), angleOptions.end(), [&](const auto& a) {
        const entry::FieldSpec& minutes = entry::spec(a.minField);
        return minutes.maxLength == first.maxLength && minutes.bound == first.bound;
    });
    if (alike) {
        return list + tagged("every MIN", fieldLimits(first), indent, column);
    }
    for (const AngleOption& angle : angleOptions) {
        list += tagged(dashed(optionSpec(angle.id)) + " MIN",
                       fieldLimits(entry::spec(angle.minField)), indent, column);
    }
    return list;
}

std::string exitStatusList() {
    std::string list;
    for (const ExitStatusMeaning& exit : exitStatuses) {
        list += tagged(std::to_string(exit.status), exit.meaning, 2, 6);
    }
    return list;
}

} // namespace

// Laid out for help2man, which makes the manual page from it: the usage
// lines, each whole on one line; section headings ending in ":"; no double
// blank inside a sentence, which would read as the gap after a list's tag.
std::string helpText() {
    std::string text =
        "Usage: sightform [SIGHT OPTION]... [--json] [--exact]\n"
        "  or:  sightform --batch FILE|- [--json] [--exact] [--quiet]\n"
        "  or:  sightform [SIGHT OPTION]... --pdf FILE [--blank]\n"
        "  or:  sightform --batch FILE|- --pdf FILE [--blank] [--quiet]\n"
        "  or:  sightform --check FILE|- [--json] [--tolerance whole|tenths|exact]\n"
        "  or:  sightform --check FILE|- --pdf FILE [--tolerance whole|tenths|exact]\n"
        "  or:  sightform --help | --version\n";
    text += paragraph(
        "Works one sight reduction by the Q(x) or QQ(x) table method, as the "
        "sightcheck window does, and prints its worked form; with --batch, the "
        "form of every row of a file; with --check, marks the numbers of a navigator's own "
        "worked forms and names each slip. The sight options are " +
            sightOptionList() + ".",
        0);
    text += "\nOptions:\n";
    constexpr std::size_t helpColumn = 26;
    for (const OptionSpec& spec : optionSpecs) {
        std::string left = spec.shortName.empty() ? "    " : std::string(spec.shortName) + ", ";
        left += dashed(spec);
        if (!spec.syntax.empty()) {
            left += " " + std::string(spec.syntax);
        }
        text += tagged(left, spec.help, 2, helpColumn);
    }

    text += "\nEntries:\n";
    text += paragraph(
        "DEG and MIN are field texts exactly as they would stand in the window's entry fields, "
        "read the same way. A text may be empty (\"\") and as long as its field. As in the "
        "window, a value above the field's bound is refused, while a degree field at exactly its "
        "bound is reduced with whatever minutes it has; negative values are not refused:",
        2);
    text += fieldLimitList();
    text += paragraph(
        "A missing option leaves its fields empty. Each option takes exactly the arguments that "
        "follow it, whatever they look like, so \"--lat N 64 -.04\" and \"--gha -5 \"\"\" are "
        "read as written. An option's first value may also be given as --option=VALUE. Too few "
        "values, a text longer than its field, a value above its bound, an unknown name or "
        "method, an option given twice, or an unknown option is a usage error.",
        2);

    text += "\nOutput:\n";
    text += paragraph(
        "The worked-form lines go to stdout. \"Check your data.\" (the body is below the horizon "
        "or the entries do not belong together) goes to stderr with nothing on stdout; so does a "
        "line saying that the entries cannot be reduced and why (no table value exists for a "
        "step).",
        2);
    text += "\n";
    text += paragraph("With --json, one JSON object instead, with these keys, written in the "
                      "order of their characters (upper case first):",
                      2);
    constexpr std::size_t keyColumn = 13;
    text +=
        tagged("outcome", "\"complete\", \"check-data\" or \"arithmetic-failure\"", 4, keyColumn);
    text += tagged("message", "null, or the message", 4, keyColumn);
    text += tagged(
        "record",
        "every field of the reduction record under its own name (GHA, Lo, LHA, LHADeg, LHAMin, "
        "..., Z, ZUsed, Zn): degrees as integers, flags as booleans, other values as shortest "
        "round-trip numbers (null if not finite)",
        4, keyColumn);
    text += tagged("form", "the printed lines (empty unless complete)", 4, keyColumn);
    text += paragraph(
        "With --exact, a complete calculation also gets the exact solution of the same LHA, "
        "latitude and declination by spherical trigonometry and the table method's differences "
        "from it (table minus exact): two lines after the form, or in JSON \"exact\": {\"Hc\", "
        "\"Zn\" (degrees), \"dHcArcmin\", \"dZnDeg\"}, with Zn and dZnDeg null where no azimuth "
        "exists (body at the zenith).",
        2);

    text += "\nBatch format:\n";
    text += paragraph("With --batch FILE (- for standard input), every line of FILE is one sight, "
                      "in CSV and UTF-8, with these cells in this order; a first line that begins "
                      "with \"" +
                          std::string(batchColumns.front().name) +
                          "\" in any letter case is a header and skipped:",
                      2);
    text += paragraph(batchHeader(", "), 4);
    text += paragraph(
        "Empty cells are empty fields; an empty method or name cell takes its default. Blanks "
        "around a cell are dropped; a cell may be quoted with double quotes, and then keeps its "
        "blanks. Blank lines are skipped; rows are numbered by their line in the file, and each "
        "is reduced on its own. Text output: per row a block that begins with \"Row N:\", then "
        "the worked form, or the message on the same line, and ends with an empty line. With "
        "--json: one object per row and line, with its \"row\". A malformed row (wrong cells, a "
        "value out of range, a control character, bytes that are not UTF-8) gives \"Row N: "
        "problem\" (JSON: {\"error\": ..., \"row\": N}) and reading goes on. A UTF-16 file is "
        "refused as a whole: save it as UTF-8. While standard error is a terminal, a line there "
        "shows the rows done, the rate and the time left, unless --quiet is given.",
        2);

    text += "\nSheets:\n";
    text += paragraph(
        "With --pdf FILE the worked forms go to FILE as PDF instead: two sights to a page (A4, or "
        "Letter under a US locale), each under its row number and its entries, for an "
        "instructor's answer sheet. A sight that is not complete, or a malformed row, shows its "
        "message in its place. With --blank the sheet keeps the entries and the form's labels "
        "and formulas but leaves out every computed value: an exercise sheet to fill in by hand. "
        "Nothing is printed on stdout; the messages of a single sight still go to stderr, and the "
        "exit status is the same as without --pdf.",
        2);

    text += checkHelpText();

    text += "\nExit status:\n";
    text += exitStatusList();
    return text;
}

} // namespace cli
