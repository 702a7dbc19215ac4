// sightform --batch with standard error on a pseudo-terminal, as a user at a
// terminal runs it, and on a pipe, as a script does.

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

namespace {

struct BatchRun {
    int status = -1;
    std::string out;
    std::string err;
};

void drain(int fd, std::string& into) {
    char buffer[4096];
    while (true) {
        pollfd ready{fd, POLLIN, 0};
        if (::poll(&ready, 1, 0) != 1 || (ready.revents & POLLIN) == 0) {
            return;
        }
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got <= 0) {
            return;
        }
        into.append(buffer, static_cast<std::size_t>(got));
    }
}

// sightform --batch - with the rows on standard input, in pieces with a
// pause between them, as a slow source gives them: the work lasts longer
// than the moment before the line first shows, however fast the machine.
BatchRun runBatch(const std::vector<std::string>& pieces, bool terminal,
                  std::vector<std::string> options = {}, const char* mode = "--batch") {
    BatchRun run;
    int input[2];
    EXPECT_EQ(::pipe(input), 0);
    int errMain = -1;
    int errChild = -1;
    if (terminal) {
        EXPECT_EQ(::openpty(&errMain, &errChild, nullptr, nullptr, nullptr), 0);
    } else {
        int err[2];
        EXPECT_EQ(::pipe(err), 0);
        errMain = err[0];
        errChild = err[1];
    }
    char outPath[] = "/tmp/sightform-progress-XXXXXX";
    const int out = ::mkstemp(outPath);
    EXPECT_GE(out, 0);

    std::vector<std::string> arguments{SIGHTFORM_PATH, mode, "-"};
    arguments.insert(arguments.end(), options.begin(), options.end());
    std::vector<char*> argv;
    for (std::string& argument : arguments) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);

    const pid_t child = ::fork();
    if (child == 0) {
        ::dup2(input[0], 0);
        ::dup2(out, 1);
        ::dup2(errChild, 2);
        // Only the three standard streams: a copy of the input's writing end
        // here would keep the input from ever ending.
        for (const int fd : {input[0], input[1], out, errMain, errChild}) {
            ::close(fd);
        }
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    ::close(input[0]);
    ::close(errChild);
    ::fcntl(errMain, F_SETFL, ::fcntl(errMain, F_GETFL) | O_NONBLOCK);
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        if (i > 0) {
            std::this_thread::sleep_for(std::chrono::milliseconds(400));
        }
        EXPECT_EQ(::write(input[1], pieces[i].data(), pieces[i].size()),
                  static_cast<ssize_t>(pieces[i].size()));
        drain(errMain, run.err);
    }
    ::close(input[1]);
    int status = 0;
    while (true) {
        drain(errMain, run.err);
        const pid_t done = ::waitpid(child, &status, WNOHANG);
        if (done == child) {
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    drain(errMain, run.err);
    ::close(errMain);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;

    std::FILE* written = std::fopen(outPath, "rb");
    char buffer[65536];
    for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, written)) > 0;) {
        run.out.append(buffer, got);
    }
    std::fclose(written);
    ::close(out);
    ::unlink(outPath);
    return run;
}

// Pieces of more than the reader's block of 64 KiB each, so every piece is
// read and reduced as it comes.
// With checked: a class file of --check, each row with its LHA, right (some
// sights are below the horizon).
std::vector<std::string> slowRows(bool checked = false) {
    std::vector<std::string> pieces;
    for (int piece = 0; piece < 3; ++piece) {
        std::string rows = checked && piece == 0
                               ? "method,ghaDeg,ghaMin,decName,decDeg,decMin,"
                                 "latName,latDeg,latMin,lonName,lonDeg,lonMin,LHA\n"
                               : "";
        for (int i = 0; i < 2500; ++i) {
            const int gha = (piece * 2500 + i) % 720;
            rows += "QQ," + std::to_string(gha) + ",30.0,N,15,00.0,N,55,00.0,E,10,00.0";
            rows += checked ? "," + std::to_string((gha + 10) % 360) + " 30.0\n" : "\n";
        }
        pieces.push_back(rows);
    }
    return pieces;
}

TEST(SightformProgress, ShownOnATerminalInPlaceAndClearedStdoutUnchanged) {
    const std::vector<std::string> pieces = slowRows();
    const BatchRun onTerminal = runBatch(pieces, true);
    const BatchRun onPipe = runBatch(pieces, false);
    EXPECT_EQ(onTerminal.status, 0);
    EXPECT_EQ(onPipe.status, 0);
    EXPECT_EQ(onTerminal.out, onPipe.out) << "the output on stdout is the same byte for byte";
    EXPECT_GT(onPipe.out.size(), 0u);

    // One line, drawn from its start again and again, never a new line.
    const std::string& err = onTerminal.err;
    EXPECT_EQ(err.find('\n'), std::string::npos) << err;
    ASSERT_TRUE(err.starts_with("\rsightform: ")) << err;
    EXPECT_NE(err.find(" rows/s"), std::string::npos) << err;
    // Cleared at the end: blanks over the widest line drawn, and the cursor
    // back at its start.
    std::size_t widest = 0;
    for (std::size_t at = 0; at < err.size();) {
        const std::size_t next = std::min(err.find('\r', at + 1), err.size());
        const std::string drawn = err.substr(at + 1, next - at - 1);
        if (drawn.find_first_not_of(' ') != std::string::npos) {
            widest = std::max(widest, drawn.find_last_not_of(' ') + 1);
        }
        at = next;
    }
    EXPECT_GT(widest, 0u);
    EXPECT_TRUE(err.ends_with("\r" + std::string(widest, ' ') + "\r")) << err;

    EXPECT_EQ(onPipe.err, "") << "a pipe gets no progress";
}

TEST(SightformProgress, QuietShowsNothingOnATerminal) {
    const BatchRun run = runBatch(slowRows(), true, {"--quiet"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "");
}

TEST(SightformProgress, CheckShowsItTooQuietHidesIt) {
    const std::vector<std::string> pieces = slowRows(true);
    const BatchRun shown = runBatch(pieces, true, {}, "--check");
    EXPECT_TRUE(shown.err.starts_with("\rsightform: ")) << shown.err;
    EXPECT_NE(shown.err.find(" rows/s"), std::string::npos) << shown.err;
    const BatchRun quiet = runBatch(pieces, true, {"--quiet"}, "--check");
    EXPECT_EQ(quiet.status, shown.status);
    EXPECT_EQ(quiet.err, "");
    EXPECT_EQ(quiet.out, shown.out);
}

} // namespace
