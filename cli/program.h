#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/arguments.h"
#include "cli/batch.h"
#include "cli/checkrows.h"

// What sightform does once its arguments are read: the worked forms on
// stdout (text or JSON), or with --pdf the sheets. Shared by sightform and
// its sheet writer, sightform-sheets, which alone links Qt's GUI libraries.

namespace cli {

// Exit statuses; 64 to 66, 73 and 74 are those of sysexits.h.
inline constexpr int exitComplete = 0;
inline constexpr int exitCheckData = 1;
inline constexpr int exitArithmeticFailure = 2;
inline constexpr int exitSlipFound = 3; // --check: a given value differs
inline constexpr int exitUsage = 64;
inline constexpr int exitDataError = 65;
inline constexpr int exitNoInput = 66;
inline constexpr int exitCannotCreate = 73;
inline constexpr int exitOutputError = 74;

struct ExitStatusMeaning {
    int status;
    std::string_view meaning;
};

// What each exit status tells a script, as --help lists them.
inline constexpr std::array<ExitStatusMeaning, 9> exitStatuses{{
    {exitComplete, "complete; with --batch, every row was well formed; with --check, every "
                   "given value agrees"},
    {exitCheckData, "\"Check your data.\": the body is below the horizon"},
    {exitArithmeticFailure, "the entries cannot be reduced"},
    {exitSlipFound, "with --check: a slip was found (a given value differs)"},
    {exitUsage, "usage error"},
    {exitDataError, "with --batch or --check: a row was malformed, or the file is UTF-16; with "
                    "--check also a row that cannot be reduced or gives no value (a blank "
                    "sheet), or a header without the entry columns"},
    {exitNoInput, "with --batch or --check: the file cannot be read"},
    {exitCannotCreate, "with --pdf: the PDF file cannot be written"},
    {exitOutputError, "the output cannot be written (a full disk, a closed pipe)"},
}};

// Where the sights of a --pdf run go: every sight (or malformed row) in
// order, or with --check every checked form, then the whole sheet written at
// once.
class Sheets : public RowHandler, public CheckRowHandler {
  public:
    using CheckRowHandler::row;
    using RowHandler::row;
    // nullopt when written, otherwise why not, naming the path.
    virtual std::optional<std::string> write(const std::string& path, bool blank) = 0;
};

// "sightform: " + text + "\n" on stderr.
void reportError(const std::string& text);

// status, or 74 with a message when stdout could not take the output (a full
// disk, a closed pipe): a status that says the output is complete would lie.
int afterOutput(int status);

// Runs what given asks for, with --help and --version already answered;
// sheets must be there when given.pdf is. Returns the exit status.
int runSightform(const Arguments& given, Sheets* sheets);

} // namespace cli
