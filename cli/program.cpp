#include "cli/program.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <optional>

#include "cli/batchrow.h"
#include "cli/checkreport.h"
#include "cli/checkrows.h"
#include "cli/jsonwriter.h"
#include "cli/sightreport.h"
#include "exercises/exercises.h"
#include "progress/progressline.h"
#include "tables/tablebook.h"

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

// A file of rows that was not read to its end: the reason on stderr, and the
// exit status.
std::optional<int> readFailure(BatchEnd end, const std::string& path, int error) {
    switch (end) {
    case BatchEnd::Read:
        break;
    case BatchEnd::ReadError:
        reportError("cannot read " + path + ": " + std::strerror(error));
        return afterOutput(exitNoInput);
    case BatchEnd::Utf16:
        reportError(path +
                    " is UTF-16 text (it begins with a UTF-16 byte order mark); save it as UTF-8");
        return afterOutput(exitDataError);
    }
    return std::nullopt;
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
        sheets->row(0, sight, {}, {});
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

// How far the reading of a file of rows has come: the rows done and, from
// the bytes read, how much of the file.
class RowProgress {
  public:
    // output: where the rows are written as they are read, if anywhere.
    RowProgress(const FileSource& in, std::FILE* file, bool quiet, std::FILE* output)
        : in_(in), line_(progress::progressTerminal(quiet, output), "sightform", "rows") {
        struct stat status {};
        if (::fstat(::fileno(file), &status) == 0 && S_ISREG(status.st_mode)) {
            fileBytes_ = static_cast<unsigned long long>(status.st_size);
        }
    }

    void rowDone() {
        ++done_;
        line_.update(done_, fileBytes_ > 0 ? static_cast<double>(in_.bytesRead()) /
                                                 static_cast<double>(fileBytes_)
                                           : -1);
    }

    void finish() { line_.finish(); }

  private:
    const FileSource& in_;
    progress::ProgressLine line_;
    unsigned long long fileBytes_ = 0; // 0: not known (a pipe)
    long long done_ = 0;
};

// Hands each row on, then moves the progress line.
class BatchProgress : public RowHandler {
  public:
    BatchProgress(RowHandler& rows, RowProgress& progress) : rows_(rows), progress_(progress) {}
    void row(long long number, const std::optional<Sight>& sight, std::string_view problem,
             const OtherCells& others) override {
        rows_.row(number, sight, problem, others);
        progress_.rowDone();
    }

  private:
    RowHandler& rows_;
    RowProgress& progress_;
};

class CheckProgress : public CheckRowHandler {
  public:
    CheckProgress(CheckRowHandler& rows, RowProgress& progress)
        : rows_(rows), progress_(progress) {}
    void row(const CheckRow& row) override {
        rows_.row(row);
        progress_.rowDone();
    }

  private:
    CheckRowHandler& rows_;
    RowProgress& progress_;
};

// The file of rows of --batch or --check (path, or "-" for standard input)
// opened and handed to read, with a progress line while it reads; output as
// for RowProgress. The exit status when the file cannot be opened or was not
// read to its end, with the reason on stderr; nullopt when read.
std::optional<int> readRowFile(const std::string& path, bool quiet, std::FILE* output,
                               const std::function<BatchEnd(FileSource&, RowProgress&)>& read) {
    const bool standardInput = path == "-";
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(
        standardInput ? nullptr : std::fopen(path.c_str(), "rb"), &std::fclose);
    if (!standardInput && file == nullptr) {
        reportError("cannot open " + path + ": " + std::strerror(errno));
        return exitNoInput;
    }
    std::FILE* const input = standardInput ? stdin : file.get();
    FileSource in(input);
    RowProgress progress(in, input, quiet, output);
    const BatchEnd end = read(in, progress);
    progress.finish();
    return readFailure(end, path, in.error());
}

int reduceBatch(const Arguments& given, Sheets* sheets) {
    BatchSummary summary;
    const auto read = [&](FileSource& in, RowProgress& progress) {
        if (sheets != nullptr) {
            BatchProgress rows(*sheets, progress);
            summary = reduceBatch(in, rows);
        } else {
            FileSink out(stdout);
            BatchOutput output(out, {given.json, given.exact});
            BatchProgress rows(output, progress);
            summary = reduceBatch(in, rows);
        }
        return summary.end;
    };
    if (const auto failed =
            readRowFile(*given.batch, given.quiet, sheets != nullptr ? nullptr : stdout, read)) {
        return *failed;
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
    CheckSummary summary;
    const auto read = [&](FileSource& in, RowProgress& progress) {
        if (sheets != nullptr) {
            CheckProgress rows(*sheets, progress);
            summary = checkRows(in, given.tolerance, rows);
        } else {
            FileSink out(stdout);
            CheckReport report(out, given.json, given.tolerance);
            CheckProgress rows(report, progress);
            summary = checkRows(in, given.tolerance, rows);
        }
        return summary.end;
    };
    if (const auto failed =
            readRowFile(*given.check, given.quiet, sheets != nullptr ? nullptr : stdout, read)) {
        return *failed;
    }
    if (!summary.headerProblem.empty()) {
        reportError(*given.check + ": " + summary.headerProblem);
        return afterOutput(exitDataError);
    }
    const int status = summary.malformed > 0 || summary.unchecked > 0 || summary.blank > 0
                           ? exitDataError
                       : summary.withSlips > 0 ? exitSlipFound
                                               : exitComplete;
    if (sheets != nullptr) {
        return afterSheets(*sheets, given, status);
    }
    return afterOutput(status);
}

// --exercises: the header and the practice sights as batch rows on stdout;
// a seed sightform chose itself is said on stderr, so the same sights can be
// written again.
int writeExercises(const Arguments& given) {
    const std::uint64_t seed = given.seed ? *given.seed : exercises::freshSeed();
    if (!given.seed) {
        const std::string seedText = std::to_string(seed);
        reportError("exercises of seed " + seedText + "; --seed " + seedText +
                    " writes them again");
    }
    exercises::ExerciseStream stream(seed, given.methodGiven ? std::optional(given.sight.method)
                                                             : std::nullopt);
    FileSink out(stdout);
    std::string line = batchHeader() + "\n";
    out.write(line);
    for (std::uint64_t i = 0; i < *given.exercises; ++i) {
        line = batchRowText(stream.next());
        line += '\n';
        out.write(line);
    }
    out.flush();
    return afterOutput(exitComplete);
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
    if (given.exercises) {
        return writeExercises(given);
    }
    if (given.table) {
        const tables::TableBook book = tables::tableBook(*given.table);
        FileSink out(stdout);
        out.write(given.csv ? tables::bookCsv(book) : tables::bookText(book));
        out.flush();
        return afterOutput(exitComplete);
    }
    if (given.check) {
        return checkForms(given, sheets);
    }
    if (given.batch) {
        return reduceBatch(given, sheets);
    }
    return reduceOne(given, sheets);
}

} // namespace cli
