#include "cli/program.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include "cli/checkreport.h"
#include "cli/checkrows.h"
#include "cli/jsonwriter.h"
#include "cli/sightreport.h"

namespace cli {
namespace {

using reduction::Outcome;

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
int afterSheets(Sheets& sheets, const Arguments& given, int status) {
    if (const auto problem = sheets.write(*given.pdf, given.blank)) {
        reportError(*problem);
        return exitCannotCreate;
    }
    return status;
}

int reduceOne(const Arguments& given, Sheets* sheets) {
    const Sight sight = reduceSight(given.sight);
    if (sheets != nullptr) {
        if (sight.result.outcome != Outcome::Complete) {
            std::fputs((sightMessage(sight) + "\n").c_str(), stderr);
        }
        // Row 0: a single sight prints no row number.
        sheets->row(0, sight, {});
        return afterSheets(*sheets, given, exitStatus(sight.result.outcome));
    }
    FileSink out(stdout);
    if (given.json) {
        JsonBuffer buffer;
        JsonWriter writer(buffer);
        writeSightJson(writer, sight, given.exact);
        buffer.Put('\n');
        out.write(std::string_view(buffer.GetString(), buffer.GetSize()));
    } else if (sight.result.outcome == Outcome::Complete) {
        for (const std::string& line : sightLines(sight, given.exact)) {
            out.write(line);
            out.write("\n");
        }
    } else {
        std::fputs((sightMessage(sight) + "\n").c_str(), stderr);
    }
    out.flush();
    return afterOutput(exitStatus(sight.result.outcome));
}

int reduceBatch(const Arguments& given, Sheets* sheets) {
    const std::string& path = *given.batch;
    const bool standardInput = path == "-";
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(
        standardInput ? nullptr : std::fopen(path.c_str(), "rb"), &std::fclose);
    if (!standardInput && file == nullptr) {
        reportError("cannot open " + path + ": " + std::strerror(errno));
        return exitNoInput;
    }
    FileSource in(standardInput ? stdin : file.get());
    BatchSummary summary;
    if (sheets != nullptr) {
        summary = reduceBatch(in, *sheets);
    } else {
        FileSink out(stdout);
        summary = reduceBatch(in, out, {given.json, given.exact});
    }
    switch (summary.end) {
    case BatchEnd::Read:
        break;
    case BatchEnd::ReadError:
        reportError("cannot read " + path + ": " + std::strerror(in.error()));
        return afterOutput(exitNoInput);
    case BatchEnd::Utf16:
        reportError(path +
                    " is UTF-16 text (it begins with a UTF-16 byte order mark); save it as UTF-8");
        return afterOutput(exitDataError);
    }
    const int status = summary.malformed > 0 ? exitDataError : exitComplete;
    if (sheets != nullptr) {
        return afterSheets(*sheets, given, status);
    }
    return afterOutput(status);
}

// --check: the report of every row on stdout, or with --pdf the marked
// sheets.
int checkForms(const Arguments& given, Sheets* sheets) {
    const std::string& path = *given.check;
    const bool standardInput = path == "-";
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(
        standardInput ? nullptr : std::fopen(path.c_str(), "rb"), &std::fclose);
    if (!standardInput && file == nullptr) {
        reportError("cannot open " + path + ": " + std::strerror(errno));
        return exitNoInput;
    }
    FileSource in(standardInput ? stdin : file.get());
    CheckSummary summary;
    if (sheets != nullptr) {
        summary = checkRows(in, given.tolerance, *sheets);
    } else {
        FileSink out(stdout);
        CheckReport report(out, given.json, given.tolerance);
        summary = checkRows(in, given.tolerance, report);
    }
    switch (summary.end) {
    case BatchEnd::Read:
        break;
    case BatchEnd::ReadError:
        reportError("cannot read " + path + ": " + std::strerror(in.error()));
        return afterOutput(exitNoInput);
    case BatchEnd::Utf16:
        reportError(path +
                    " is UTF-16 text (it begins with a UTF-16 byte order mark); save it as UTF-8");
        return afterOutput(exitDataError);
    }
    if (!summary.headerProblem.empty()) {
        reportError(path + ": " + summary.headerProblem);
        return afterOutput(exitDataError);
    }
    const int status = summary.malformed > 0 || summary.unchecked > 0 ? exitDataError
                       : summary.withSlips > 0                        ? exitSlipFound
                                                                      : exitComplete;
    if (sheets != nullptr) {
        return afterSheets(*sheets, given, status);
    }
    return afterOutput(status);
}

} // namespace

int afterOutput(int status) {
    if (std::fflush(stdout) != 0 || std::ferror(stdout) != 0) {
        reportError(std::string("cannot write the output: ") + std::strerror(errno));
        return exitOutputError;
    }
    return status;
}

void reportError(const std::string& text) {
    const std::string line = "sightform: " + text + "\n";
    std::fwrite(line.data(), 1, line.size(), stderr);
}

int runSightform(const Arguments& given, Sheets* sheets) {
    if (given.check) {
        return checkForms(given, sheets);
    }
    if (given.batch) {
        return reduceBatch(given, sheets);
    }
    return reduceOne(given, sheets);
}

} // namespace cli
