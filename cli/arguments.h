#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "check/check.h"
#include "reduction/calculate.h"

// sightform's command line. Every option takes exactly the arguments that
// directly follow it, however they look ("-5", "-.04", "" and "--" are
// values like any other), so a value can only ever belong to the option it
// follows. "--option=value" gives an option its first value.

namespace cli {

struct Arguments {
    bool help = false;
    bool version = false;
    bool json = false;
    bool exact = false;
    std::optional<std::string> batch; // FILE, or "-" for standard input
    // Navigators' own forms to check (FILE or "-"), at this tolerance.
    std::optional<std::string> check;
    check::Tolerance tolerance = check::Tolerance::Whole;
    // Answer sheets (or with blank, exercise sheets) written to this PDF file
    // in place of the text output.
    std::optional<std::string> pdf;
    bool blank = false;
    // No progress line on standard error, even where it is a terminal.
    bool quiet = false;
    // How many practice sights to write, made from this seed (none given:
    // a fresh one); with methodGiven, every one by sight.method.
    std::optional<std::uint64_t> exercises;
    std::optional<std::uint64_t> seed;
    bool methodGiven = false;
    // The method's table for hand work, as pages of text, with csv as CSV,
    // or with pdf as a booklet.
    std::optional<reduction::Method> table;
    bool csv = false;
    // The one sight's entries: the options' texts, checked as the window
    // checks its fields; missing options leave empty fields and the default
    // names and method.
    reduction::ReductionInput sight;
};

// The arguments, or the usage problem: one line that names the option.
struct ReadArguments {
    std::optional<Arguments> arguments;
    std::string problem;
};

// arguments without the program name. --help (or -h) and --version win over
// every other option, but not over an argument list that cannot be read.
ReadArguments readArguments(const std::vector<std::string>& arguments);

// The --help text: a usage line, the options indented by two blanks, then
// prose sections, in the shape help2man reads.
std::string helpText();

// "sightform 1.0.0".
std::string versionText();

} // namespace cli
