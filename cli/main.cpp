// sightform: the worked form of one sight, or of a batch of sights, on the
// command line, for scripts, batch checks and exercise sheets.

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "cli/arguments.h"
#include "cli/batch.h"
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

int reduceBatch(const std::string& path, bool json, bool exact) {
    const bool standardInput = path == "-";
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(
        standardInput ? nullptr : std::fopen(path.c_str(), "rb"), &std::fclose);
    if (!standardInput && file == nullptr) {
        writeErr("sightform: cannot open " + path + ": " + std::strerror(errno) + "\n");
        return exitNoInput;
    }
    cli::FileSource in(standardInput ? stdin : file.get());
    cli::BatchSummary summary;
    {
        cli::FileSink out(stdout);
        summary = cli::reduceBatch(in, out, {json, exact});
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
    return afterOutput(summary.malformed > 0 ? exitDataError : exitComplete);
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
    if (given.batch) {
        return reduceBatch(*given.batch, given.json, given.exact);
    }
    return afterOutput(reduceOne(given.sight, given.json, given.exact));
}
