#pragma once

#include <optional>

namespace app {

// Answers --help and --version on standard output and gives the exit status;
// nullopt when the window should open. Runs before the QApplication exists,
// so both answers work without a display. Any other argument is left to
// QApplication (which takes -platform, -style and the like) and otherwise
// ignored, as the window has no arguments of its own.
std::optional<int> answerCommandLine(int argc, char* argv[]);

} // namespace app
