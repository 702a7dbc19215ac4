#include "cli/tests/sightformrun.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <thread>

namespace sightformrun {

namespace {

using Clock = std::chrono::steady_clock;

constexpr std::chrono::seconds timeLimit{30};

// Both ends close on exec, so the child holds only the copies it is given as
// its standard streams, and the parent's close when done or out of scope:
// the child sees the end of its input, the parent the end of its output.
struct Pipe {
    int end[2] = {-1, -1};
    bool made = ::pipe2(end, O_CLOEXEC) == 0;

    Pipe() = default;
    Pipe(const Pipe&) = delete;
    Pipe& operator=(const Pipe&) = delete;
    ~Pipe() {
        close(0);
        close(1);
    }
    void close(int which) {
        if (end[which] >= 0) {
            ::close(end[which]);
        }
        end[which] = -1;
    }
};

// One read from a ready end; the end is closed at end of file or on error.
void readSome(Pipe& pipe, std::string& into) {
    char buffer[65536];
    const ssize_t count = ::read(pipe.end[0], buffer, sizeof buffer);
    if (count > 0) {
        into.append(buffer, static_cast<std::size_t>(count));
    } else if (count == 0 || (errno != EINTR && errno != EAGAIN)) {
        pipe.close(0);
    }
}

} // namespace

ProgramRun runProgram(const std::string& program, const Arguments& arguments,
                      const std::string& input, const char* standardOutputFile) {
    // A program may end without reading all its input; writing the rest must
    // then fail with EPIPE instead of killing the test. The child gets the
    // default action back below.
    ::signal(SIGPIPE, SIG_IGN);

    ProgramRun run;
    Pipe in, out, err;
    if (!in.made || !out.made || !err.made) {
        ADD_FAILURE() << "cannot make a pipe: " << std::strerror(errno);
        return run;
    }

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, in.end[0], STDIN_FILENO);
    if (standardOutputFile != nullptr) {
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, standardOutputFile,
                                         O_WRONLY | O_CREAT | O_TRUNC, 0644);
    } else {
        posix_spawn_file_actions_adddup2(&actions, out.end[1], STDOUT_FILENO);
    }
    posix_spawn_file_actions_adddup2(&actions, err.end[1], STDERR_FILENO);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t pipeSignal, none;
    sigemptyset(&pipeSignal);
    sigaddset(&pipeSignal, SIGPIPE);
    sigemptyset(&none);
    posix_spawnattr_setsigdefault(&attributes, &pipeSignal);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK);

    std::vector<char*> argv{const_cast<char*>(program.c_str())};
    for (const std::string& argument : arguments) {
        argv.push_back(const_cast<char*>(argument.c_str()));
    }
    argv.push_back(nullptr);
    pid_t pid = -1;
    const int spawned =
        ::posix_spawn(&pid, program.c_str(), &actions, &attributes, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    if (spawned != 0) {
        ADD_FAILURE() << "cannot start " << program << ": " << std::strerror(spawned);
        return run;
    }
    in.close(0);
    out.close(1);
    err.close(1);
    if (standardOutputFile != nullptr) {
        out.close(0);
    }

    // Input is written as the program takes it while both outputs are read,
    // so a program that writes much before it reads everything never blocks
    // on a full pipe.
    ::fcntl(in.end[1], F_SETFL, O_NONBLOCK);
    std::size_t written = 0;
    if (input.empty()) {
        in.close(1);
    }
    const Clock::time_point deadline = Clock::now() + timeLimit;
    bool timedOut = false;
    while (in.end[1] >= 0 || out.end[0] >= 0 || err.end[0] >= 0) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0) {
            timedOut = true;
            break;
        }
        // poll skips the negative descriptors of closed ends.
        pollfd ends[] = {{in.end[1], POLLOUT, 0}, {out.end[0], POLLIN, 0}, {err.end[0], POLLIN, 0}};
        if (::poll(ends, std::size(ends), static_cast<int>(left.count())) < 0) {
            if (errno == EINTR) {
                continue;
            }
            ADD_FAILURE() << "poll: " << std::strerror(errno);
            timedOut = true;
            break;
        }
        if (ends[0].revents != 0) {
            const ssize_t count =
                ::write(in.end[1], input.data() + written, input.size() - written);
            if (count > 0) {
                written += static_cast<std::size_t>(count);
            }
            if (written == input.size() || (count < 0 && errno != EAGAIN && errno != EINTR)) {
                in.close(1);
            }
        }
        if (ends[1].revents != 0) {
            readSome(out, run.out);
        }
        if (ends[2].revents != 0) {
            readSome(err, run.err);
        }
    }

    // The outputs may close before the program ends; the time limit holds
    // until it does.
    if (timedOut) {
        ::kill(pid, SIGKILL);
    }
    int status = 0;
    for (;;) {
        const pid_t ended = ::waitpid(pid, &status, timedOut ? 0 : WNOHANG);
        if (ended == pid) {
            break;
        }
        if (ended < 0 && errno != EINTR) {
            ADD_FAILURE() << "waitpid: " << std::strerror(errno);
            return run;
        }
        if (ended == 0 && Clock::now() >= deadline) {
            timedOut = true;
            ::kill(pid, SIGKILL);
        } else if (ended == 0) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    }
    EXPECT_FALSE(timedOut) << program << " ran longer than " << timeLimit.count() << " s";
    EXPECT_TRUE(WIFEXITED(status)) << program << " ended by signal " << WTERMSIG(status);
    if (WIFEXITED(status)) {
        run.status = WEXITSTATUS(status);
    }
    return run;
}

} // namespace sightformrun
