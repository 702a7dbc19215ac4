// sightform: the worked form of one sight, or of a batch of sights, on the
// command line, for scripts, batch checks and exercise sheets.

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "cli/arguments.h"
#include "cli/program.h"

namespace {

// The sheet writer links Qt's GUI libraries, which would triple sightform's
// memory and slow every start; so it is a program of its own, next to
// sightform in the build tree and in the installed libexec folder, and
// --pdf hands the whole command line over to it.
int runSheetWriter(char* argv[]) {
    std::error_code error;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    const std::filesystem::path here = self.parent_path();
    const std::filesystem::path candidates[] = {
        here / "sightform-sheets",
        here / SIGHT_BIN_TO_LIBEXEC / "sightform-sheets",
    };
    for (const std::filesystem::path& writer : candidates) {
        if (!error && ::access(writer.c_str(), X_OK) == 0) {
            ::execv(writer.c_str(), argv);
            cli::reportError("cannot start " + writer.string() + ": " + std::strerror(errno));
            return cli::exitCannotCreate;
        }
    }
    cli::reportError("cannot write PDF sheets: sightform-sheets is not installed beside " +
                     (error ? std::string("sightform") : self.string()));
    return cli::exitCannotCreate;
}

} // namespace

int main(int argc, char* argv[]) {
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    const cli::ReadArguments read = cli::readArguments(arguments);
    if (!read.arguments) {
        cli::reportError(read.problem + " (see --help)");
        return cli::exitUsage;
    }
    const cli::Arguments& given = *read.arguments;
    if (given.help) {
        std::fputs(cli::helpText().c_str(), stdout);
        return cli::afterOutput(cli::exitComplete);
    }
    if (given.version) {
        std::fputs((cli::versionText() + "\n").c_str(), stdout);
        return cli::afterOutput(cli::exitComplete);
    }
    if (given.pdf) {
        return runSheetWriter(argv);
    }
    return cli::runSightform(given, nullptr);
}
