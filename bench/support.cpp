#include "bench/support.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <sstream>

extern char** environ;

namespace bench {
namespace {

// The peak resident memory of the running process pid so far, in KiB (its
// VmHWM, which starts afresh at exec), or 0 once it is gone.
long peakResidentKiB(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.starts_with("VmHWM:")) {
            return std::stol(line.substr(6));
        }
    }
    return 0;
}

double seconds(const timeval& time) {
    return static_cast<double>(time.tv_sec) + static_cast<double>(time.tv_usec) * 1e-6;
}

} // namespace

reduction::ReductionInput randomSight(std::mt19937& random) {
    const auto whole = [&random](int max) {
        return std::to_string(std::uniform_int_distribution<int>(0, max)(random));
    };
    const auto minutes = [&random] {
        const int tenths = std::uniform_int_distribution<int>(0, 599)(random);
        return std::to_string(tenths / 10) + "." + std::to_string(tenths % 10);
    };
    const auto coin = [&random] { return std::bernoulli_distribution(0.5)(random); };
    reduction::ReductionInput in;
    in.method = coin() ? reduction::Method::Q : reduction::Method::QQ;
    in.ghaDeg = whole(359);
    in.ghaMin = minutes();
    in.decName = coin() ? reduction::NorthSouth::N : reduction::NorthSouth::S;
    in.decDeg = whole(30);
    in.decMin = minutes();
    in.latName = coin() ? reduction::NorthSouth::N : reduction::NorthSouth::S;
    in.latDeg = whole(65);
    in.latMin = minutes();
    in.loName = coin() ? reduction::WestEast::W : reduction::WestEast::E;
    in.loDeg = whole(179);
    in.loMin = minutes();
    return in;
}

std::string entryCells(const reduction::ReductionInput& s) {
    std::ostringstream out;
    out << (s.method == reduction::Method::Q ? "Q" : "QQ") << ',' << s.ghaDeg << ',' << s.ghaMin
        << ',' << reduction::nameText(s.decName) << ',' << s.decDeg << ',' << s.decMin << ','
        << reduction::nameText(s.latName) << ',' << s.latDeg << ',' << s.latMin << ','
        << reduction::nameText(s.loName) << ',' << s.loDeg << ',' << s.loMin;
    return out.str();
}

// The peak is read from /proc while the child runs: the peak wait4 reports
// would be the parent's, since Linux carries the high-water mark of the
// spawning process across exec.
std::optional<ChildRun> runSightform(const std::vector<std::string>& arguments) {
    std::vector<std::string> words{SIGHTFORM_PATH};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& word : words) {
        argv.push_back(word.data());
    }
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    const auto start = std::chrono::steady_clock::now();
    pid_t child = 0;
    const int spawned =
        posix_spawn(&child, SIGHTFORM_PATH, &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) {
        return std::nullopt;
    }
    ChildRun run;
    rusage usage{};
    int status = 0;
    while (true) {
        const pid_t done = wait4(child, &status, WNOHANG, &usage);
        if (done == child) {
            break;
        }
        if (done != 0) {
            return std::nullopt;
        }
        run.peakKiB = std::max(run.peakKiB, peakResidentKiB(child));
        usleep(5000);
    }
    if (!WIFEXITED(status)) {
        return std::nullopt;
    }
    run.cpuSeconds = seconds(usage.ru_utime) + seconds(usage.ru_stime);
    run.wallSeconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    run.exitStatus = WEXITSTATUS(status);
    return run;
}

} // namespace bench
