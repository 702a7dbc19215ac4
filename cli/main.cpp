// sightform: the worked form of one sight, or of a batch of sights, on the
// command line, for scripts, batch checks and exercise sheets.

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QJsonDocument>
#include <QJsonObject>
#include <QString>
#include <QStringList>

#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "cli/batchrow.h"
#include "cli/sightreport.h"
#include "entry/fields.h"
#include "reduction/calculate.h"

namespace {

using entry::FieldId;
using reduction::Outcome;

// Exit statuses; 64 to 66 are those of sysexits.h.
constexpr int exitComplete = 0;
constexpr int exitCheckData = 1;
constexpr int exitArithmeticFailure = 2;
constexpr int exitUsage = 64;
constexpr int exitMalformedRows = 65;
constexpr int exitNoInput = 66;

const char* const description =
    R"(Works one sight reduction by the Q(x) or QQ(x) table method, as the
sightcheck window does, and prints its worked form.

  sightform [--method Q|QQ] [--gha DEG MIN] [--dec N|S DEG MIN]
            [--lat N|S DEG MIN] [--lon W|E DEG MIN] [--json] [--exact]
  sightform --batch FILE [--json] [--exact]

DEG and MIN are field texts exactly as they would stand in the window's
entry fields, read the same way: any text up to the field's length (GHA and
longitude degrees 3 characters, declination and latitude degrees 2, all
minutes 4), empty allowed (""). A missing option leaves its fields empty;
the names default to N, N and W, the method to Q. The values of an option
follow it directly. A text longer than its field, an unknown name or
method, or a malformed option is a usage error.

Output: the worked-form lines on stdout. "Check your data." (the body is
below the horizon or the entries do not belong together) goes to stderr
with nothing on stdout; so does a line saying that the entries cannot be
reduced and why (no table value exists for a step).

--json prints one object instead:
  {"outcome": "complete" | "check-data" | "arithmetic-failure",
   "message": null or the message,
   "record": every field of the reduction record (GHA, Lo, LHA, LHADeg,
             LHAMin, ..., Z, ZUsed, Zn): degrees as integers, flags as
             booleans, other values as shortest round-trip numbers (null
             if not finite),
   "form": the printed lines (empty unless complete)}

--exact adds, for a complete calculation, the exact solution of the same
LHA, latitude and declination by spherical trigonometry and the table
method's differences from it (table minus exact): two lines after the form,
or in JSON "exact": {"Hc", "Zn" (degrees), "dHcArcmin", "dZnDeg"}, with Zn
and dZnDeg null where no azimuth exists (body at the zenith).

--batch FILE (- for standard input) reads CSV rows
  method,ghaDeg,ghaMin,decName,decDeg,decMin,latName,latDeg,latMin,lonName,lonDeg,lonMin
with an optional first line beginning with "method" as header. Empty cells
are empty fields; an empty method or name cell takes its default. A cell
may be quoted with double quotes. Blank lines are skipped; rows are
numbered by their line in the file. Each row is reduced on its own. Text
output: each complete form followed by an empty line, or the row's message
and an empty line. With --json: one object per row and line, with its
"row". A malformed row gives "Row N: problem" (JSON: {"row": N, "error":
...}) and processing goes on.

Exit status: 0 complete, 1 "Check your data.", 2 cannot be reduced,
64 usage error; with --batch: 0, or 65 when a row was malformed, 66 when
the file cannot be read.)";

void writeOut(const std::string& text) {
    std::fwrite(text.data(), 1, text.size(), stdout);
}

void writeErr(const std::string& text) {
    std::fwrite(text.data(), 1, text.size(), stderr);
}

int usageError(const QString& message) {
    writeErr("sightform: " + message.toStdString() + " (see --help)\n");
    return exitUsage;
}

std::string joinLines(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) {
        text += line;
        text += '\n';
    }
    return text;
}

std::string jsonLine(const QJsonObject& object) {
    return QJsonDocument(object).toJson(QJsonDocument::Compact).toStdString() + "\n";
}

// An option followed by its further values as positional arguments: "--dec N
// 20 15.0" is the option dec with the value N, then 20 and 15.0.
struct AngleOption {
    QCommandLineOption option;
    const char* syntax; // what it accepts, for help and usage errors
    std::optional<std::pair<const char*, const char*>> names;
    FieldId degField;
    FieldId minField;
    std::string* name = nullptr;
    std::string* deg = nullptr;
    std::string* min = nullptr;

    QString key() const { return option.names().first(); }
    int followingValues() const { return 2 - (names ? 0 : 1); }
};

// Fills the inputs the angle options point to; the usage problem otherwise.
std::optional<QString> readAngleOptions(const QCommandLineParser& parser,
                                        const std::vector<AngleOption>& options) {
    const QStringList positional = parser.positionalArguments();
    qsizetype next = 0;
    QStringList seen;
    for (const QString& name : parser.optionNames()) {
        if (seen.contains(name)) {
            return "--" + name + " is given more than once";
        }
        seen.append(name);
        for (const AngleOption& angle : options) {
            if (angle.key() != name) {
                continue;
            }
            const QString usage = "--" + name + " takes " + angle.syntax;
            if (positional.size() - next < angle.followingValues()) {
                return usage + "; give every value, an empty text as \"\"";
            }
            std::vector<std::string> values{parser.value(angle.option).toStdString()};
            for (int i = 0; i < angle.followingValues(); ++i) {
                values.push_back(positional[next++].toStdString());
            }
            std::size_t at = 0;
            if (angle.names) {
                const std::string& text = values[at++];
                if (text != angle.names->first && text != angle.names->second) {
                    return usage + ": the name is " + angle.names->first + " or " +
                           angle.names->second + ", not '" + QString::fromStdString(text) + "'";
                }
                *angle.name = text;
            }
            const std::pair<FieldId, std::string*> parts[] = {{angle.degField, angle.deg},
                                                              {angle.minField, angle.min}};
            for (const auto& [field, target] : parts) {
                const std::string& text = values[at++];
                if (const auto problem = cli::fieldTextProblem(text, field)) {
                    const bool degrees = field == angle.degField;
                    return usage + ": " + (degrees ? "DEG" : "MIN") + " is " +
                           QString::fromStdString(*problem);
                }
                *target = text;
            }
        }
    }
    if (next < positional.size()) {
        return "unexpected argument '" + positional[next] + "'";
    }
    return std::nullopt;
}

int reduceOne(const reduction::ReductionInput& input, bool json, bool exact) {
    const cli::Sight sight = cli::reduceSight(input);
    if (json) {
        writeOut(jsonLine(cli::sightJson(sight, exact)));
    } else if (sight.result.outcome == Outcome::Complete) {
        writeOut(joinLines(cli::sightLines(sight, exact)));
    } else {
        writeErr(cli::sightMessage(sight) + "\n");
    }
    switch (sight.result.outcome) {
    case Outcome::Complete:
        return exitComplete;
    case Outcome::CheckData:
        return exitCheckData;
    case Outcome::ArithmeticFailure:
        break;
    }
    return exitArithmeticFailure;
}

// One line of in (without its end) into line; false at the end of the input.
// Past maxBatchLineBytes the line is no longer stored, only flagged.
bool readLine(std::FILE* in, std::string& line, bool& overlong) {
    line.clear();
    overlong = false;
    char chunk[256];
    bool any = false;
    while (std::fgets(chunk, sizeof chunk, in) != nullptr) {
        any = true;
        std::string_view part(chunk);
        const bool ended = part.ends_with('\n');
        if (ended) {
            part.remove_suffix(1);
        }
        if (!overlong) {
            if (line.size() + part.size() > cli::maxBatchLineBytes) {
                overlong = true;
                line.clear();
            } else {
                line.append(part);
            }
        }
        if (ended) {
            return true;
        }
    }
    return any;
}

// Rows are read, reduced and written one at a time, so memory stays flat
// however long the input.
int reduceBatch(const QString& path, bool json, bool exact) {
    const bool standardInput = path == "-";
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(
        standardInput ? nullptr : std::fopen(path.toLocal8Bit().constData(), "rb"), &std::fclose);
    std::FILE* in = standardInput ? stdin : file.get();
    if (in == nullptr) {
        writeErr("sightform: cannot open " + path.toStdString() + "\n");
        return exitNoInput;
    }

    bool malformed = false;
    std::string line;
    bool overlong = false;
    for (long long row = 1; readLine(in, line, overlong); ++row) {
        std::string_view text(line);
        if (row == 1 && text.starts_with("\xEF\xBB\xBF")) {
            text.remove_prefix(3); // byte order mark of spreadsheet exports
        }
        if (row == 1 && cli::isHeaderLine(text)) {
            continue;
        }
        if (!overlong && (text.empty() || text == "\r")) {
            continue;
        }
        const cli::BatchRow parsed =
            overlong
                ? cli::BatchRow{std::nullopt,
                                "longer than " + std::to_string(cli::maxBatchLineBytes) + " bytes"}
                : cli::parseBatchRow(text);
        if (!parsed.input) {
            malformed = true;
            if (json) {
                writeOut(jsonLine(
                    QJsonObject{{"row", row}, {"error", QString::fromStdString(parsed.problem)}}));
            } else {
                writeOut("Row " + std::to_string(row) + ": " + parsed.problem + "\n\n");
            }
            continue;
        }
        const cli::Sight sight = cli::reduceSight(*parsed.input);
        if (json) {
            QJsonObject object = cli::sightJson(sight, exact);
            object.insert("row", row);
            writeOut(jsonLine(object));
        } else if (sight.result.outcome == Outcome::Complete) {
            writeOut(joinLines(cli::sightLines(sight, exact)) + "\n");
        } else {
            writeOut(cli::sightMessage(sight) + "\n\n");
        }
    }
    if (std::ferror(in) != 0) {
        writeErr("sightform: cannot read " + path.toStdString() + "\n");
        return exitNoInput;
    }
    return malformed ? exitMalformedRows : exitComplete;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName("sightform");
    QCoreApplication::setApplicationVersion(SIGHT_VERSION);

    reduction::ReductionInput input;
    // The name texts as given; checked while the options are read.
    std::string decName{"N"}, latName{"N"}, loName{"W"};
    QCommandLineParser parser;
    parser.setApplicationDescription(description);
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    const QCommandLineOption method("method", "Table method, Q (default) or QQ.", "Q|QQ");
    std::vector<AngleOption> angles{
        {{"gha", "GHA (or LHA with the longitude left empty): degrees, minutes.", "DEG MIN"},
         "DEG MIN",
         std::nullopt,
         FieldId::GHADeg,
         FieldId::GHAMin,
         nullptr,
         &input.ghaDeg,
         &input.ghaMin},
        {{"dec", "Declination: name N (default) or S, degrees, minutes.", "N|S DEG MIN"},
         "N|S DEG MIN",
         std::pair{"N", "S"},
         FieldId::DecDeg,
         FieldId::DecMin,
         &decName,
         &input.decDeg,
         &input.decMin},
        {{"lat", "DR latitude: name N (default) or S, degrees, minutes.", "N|S DEG MIN"},
         "N|S DEG MIN",
         std::pair{"N", "S"},
         FieldId::LDeg,
         FieldId::LMin,
         &latName,
         &input.latDeg,
         &input.latMin},
        {{"lon", "DR longitude: name W (default) or E, degrees, minutes.", "W|E DEG MIN"},
         "W|E DEG MIN",
         std::pair{"W", "E"},
         FieldId::LoDeg,
         FieldId::LoMin,
         &loName,
         &input.loDeg,
         &input.loMin},
    };
    const QCommandLineOption json("json", "Print one JSON object (per row) instead of text.");
    const QCommandLineOption exact("exact", "Add the exact solution and the table's differences.");
    const QCommandLineOption batch("batch", "Reduce every CSV row of FILE (- for stdin).", "FILE");
    parser.addOption(method);
    for (const AngleOption& angle : angles) {
        parser.addOption(angle.option);
    }
    parser.addOption(json);
    parser.addOption(exact);
    parser.addOption(batch);

    if (!parser.parse(QCoreApplication::arguments())) {
        return usageError(parser.errorText());
    }
    if (parser.isSet(help)) {
        writeOut(parser.helpText().toStdString());
        return exitComplete;
    }
    if (parser.isSet(version)) {
        writeOut("sightform " SIGHT_VERSION "\n");
        return exitComplete;
    }
    if (const auto problem = readAngleOptions(parser, angles)) {
        return usageError(*problem);
    }
    input.decName = reduction::northSouthFromText(decName).value();
    input.latName = reduction::northSouthFromText(latName).value();
    input.loName = reduction::westEastFromText(loName).value();
    if (parser.isSet(method)) {
        const auto chosen = cli::methodFromText(parser.value(method).toStdString());
        if (!chosen) {
            return usageError("--method takes Q or QQ, not '" + parser.value(method) + "'");
        }
        input.method = *chosen;
    }

    if (parser.isSet(batch)) {
        const std::initializer_list<const QCommandLineOption*> singleSight{
            &method, &angles[0].option, &angles[1].option, &angles[2].option, &angles[3].option};
        for (const QCommandLineOption* single : singleSight) {
            if (parser.isSet(*single)) {
                return usageError("--" + single->names().first() +
                                  " cannot be combined with --batch, whose rows hold the entries");
            }
        }
        return reduceBatch(parser.value(batch), parser.isSet(json), parser.isSet(exact));
    }
    return reduceOne(input, parser.isSet(json), parser.isSet(exact));
}
