// sightform: the worked form of one sight, or of a batch of sights, on the
// command line, for scripts, batch checks and exercise sheets.

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <QByteArray>
#include <QGuiApplication>
#include <QString>
#include <QtGlobal>

#include "cli/arguments.h"
#include "cli/batch.h"
#include "cli/sheets.h"
#include "cli/sightreport.h"

namespace {

using reduction::Outcome;

// Exit statuses; 64 to 66 and 74 are those of sysexits.h.
constexpr int exitComplete = 0;
constexpr int exitCheckData = 1;
constexpr int exitArithmeticFailure = 2;
constexpr int exitUsage = 64;
constexpr int exitDataError = 65;
constexpr int exitNoInput = 66;
constexpr int exitCannotCreate = 73;
constexpr int exitOutputError = 74;

void writeErr(const std::string& text) {
    std::fwrite(text.data(), 1, text.size(), stderr);
}

int usageError(const std::string& message) {
    writeErr("sightform: " + message + " (see --help)\n");
    return exitUsage;
}

// A status that says the output is complete is a lie when stdout could not
// take it (a full disk, a closed pipe).
int afterOutput(int status) {
    if (std::fflush(stdout) != 0 || std::ferror(stdout) != 0) {
        writeErr(std::string("sightform: cannot write the output: ") + std::strerror(errno) + "\n");
        return exitOutputError;
    }
    return status;
}

int exitStatus(Outcome outcome) {
    switch (outcome) {
    case Outcome::Complete:
        return exitComplete;
    case Outcome::CheckData:
        return exitCheckData;
    case Outcome::ArithmeticFailure:
        break;
    }
    return exitArithmeticFailure;
}

// The sheets are the output: status 73 when they cannot be written, the
// given status otherwise.
int afterSheets(const std::string& path, const std::vector<printout::SheetItem>& items, bool blank,
                int status) {
    if (const auto problem = cli::writeSheets(path, items, blank)) {
        writeErr("sightform: " + *problem + "\n");
        return exitCannotCreate;
    }
    return status;
}

int reduceOne(const reduction::ReductionInput& input, bool json, bool exact) {
    const cli::Sight sight = cli::reduceSight(input);
    cli::FileSink out(stdout);
    if (json) {
        cli::JsonBuffer buffer;
        cli::JsonWriter writer(buffer);
        cli::writeSightJson(writer, sight, exact);
        buffer.Put('\n');
        out.write(std::string_view(buffer.GetString(), buffer.GetSize()));
    } else if (sight.result.outcome == Outcome::Complete) {
        for (const std::string& line : cli::sightLines(sight, exact)) {
            out.write(line);
            out.write("\n");
        }
    } else {
        writeErr(cli::sightMessage(sight) + "\n");
    }
    out.flush();
    return exitStatus(sight.result.outcome);
}

int sheetOfOne(const reduction::ReductionInput& input, const std::string& pdf, bool blank) {
    const cli::Sight sight = cli::reduceSight(input);
    if (sight.result.outcome != Outcome::Complete) {
        writeErr(cli::sightMessage(sight) + "\n");
    }
    return afterSheets(pdf, {cli::sheetItem(0, sight)}, blank, exitStatus(sight.result.outcome));
}

int reduceBatch(const std::string& path, const cli::Arguments& given) {
    const bool standardInput = path == "-";
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(
        standardInput ? nullptr : std::fopen(path.c_str(), "rb"), &std::fclose);
    if (!standardInput && file == nullptr) {
        writeErr("sightform: cannot open " + path + ": " + std::strerror(errno) + "\n");
        return exitNoInput;
    }
    cli::FileSource in(standardInput ? stdin : file.get());
    cli::BatchSummary summary;
    cli::SheetRows sheet;
    if (given.pdf) {
        summary = cli::reduceBatch(in, sheet);
    } else {
        cli::FileSink out(stdout);
        summary = cli::reduceBatch(in, out, {given.json, given.exact});
    }
    switch (summary.end) {
    case cli::BatchEnd::Read:
        break;
    case cli::BatchEnd::ReadError:
        writeErr("sightform: cannot read " + path + ": " + std::strerror(in.error()) + "\n");
        return afterOutput(exitNoInput);
    case cli::BatchEnd::Utf16:
        writeErr("sightform: " + path +
                 " is UTF-16 text (it begins with a UTF-16 byte order mark); save it as UTF-8\n");
        return afterOutput(exitDataError);
    }
    const int status = summary.malformed > 0 ? exitDataError : exitComplete;
    if (given.pdf) {
        return afterSheets(*given.pdf, sheet.items(), given.blank, status);
    }
    return afterOutput(status);
}

} // namespace

int main(int argc, char* argv[]) {
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    const cli::ReadArguments read = cli::readArguments(arguments);
    if (!read.arguments) {
        return usageError(read.problem);
    }
    const cli::Arguments& given = *read.arguments;
    if (given.help) {
        std::fputs(cli::helpText().c_str(), stdout);
        return afterOutput(exitComplete);
    }
    if (given.version) {
        std::fputs((cli::versionText() + "\n").c_str(), stdout);
        return afterOutput(exitComplete);
    }
    // Text on a PDF page needs Qt's fonts, which need a GUI application; the
    // offscreen platform serves without a display.
    std::optional<QGuiApplication> gui;
    if (given.pdf) {
        qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("offscreen"));
        // Qt's own notes (no runtime directory, a platform detail) would mix
        // with the one line a script reads on stderr; sightform reports
        // every failure itself.
        qInstallMessageHandler(
            [](QtMsgType type, const QMessageLogContext&, const QString& message) {
                if (type == QtCriticalMsg || type == QtFatalMsg) {
                    writeErr("sightform: " + message.toStdString() + "\n");
                }
            });
        gui.emplace(argc, argv);
    }
    if (given.batch) {
        return reduceBatch(*given.batch, given);
    }
    if (given.pdf) {
        return sheetOfOne(given.sight, *given.pdf, given.blank);
    }
    return afterOutput(reduceOne(given.sight, given.json, given.exact));
}
