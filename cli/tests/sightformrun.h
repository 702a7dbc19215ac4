#pragma once

// The built sightform run as a script runs it: arguments and standard input
// in, exit status, standard output and standard error out.

#include <string>
#include <vector>

namespace sightformrun {

using Arguments = std::vector<std::string>;

inline Arguments operator+(Arguments front, const Arguments& back) {
    front.insert(front.end(), back.begin(), back.end());
    return front;
}

struct ProgramRun {
    int status = -1;
    std::string out;
    std::string err;
};

// Runs program with arguments, feeding it input and collecting both output
// streams; with standardOutputFile, its standard output goes to that file
// instead. A program that does not start, is killed by a signal or runs
// longer than thirty seconds (it is then killed) fails the current test.
ProgramRun runProgram(const std::string& program, const Arguments& arguments,
                      const std::string& input = {}, const char* standardOutputFile = nullptr);

inline ProgramRun sightform(const Arguments& arguments, const std::string& input = {},
                            const char* standardOutputFile = nullptr) {
    return runProgram(SIGHTFORM_PATH, arguments, input, standardOutputFile);
}

} // namespace sightformrun
