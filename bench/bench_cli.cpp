// Worked forms per second: built in-process, and through `sightform --batch`
// on a generated file of 100,000 sights, in JSON and in text, with the ratio
// of the two rates; and the peak memory of a 1,000,000-row batch.

#include <benchmark/benchmark.h>

#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "printout/workedform.h"
#include "reduction/calculate.h"

extern char** environ;

namespace {

constexpr int sightCount = 100000;

// A sight drawn over the whole range of the entry fields, both methods and
// all names, so the mix of complete forms and stops is that of real use.
reduction::ReductionInput randomSight(std::mt19937& random) {
    const auto whole = [&random](int max) {
        return std::to_string(std::uniform_int_distribution<int>(0, max)(random));
    };
    const auto minutes = [&random] {
        const int tenths = std::uniform_int_distribution<int>(0, 599)(random);
        return std::to_string(tenths / 10) + "." + std::to_string(tenths % 10);
    };
    const auto pick = [&random](const char* a, const char* b) {
        return std::string(std::bernoulli_distribution(0.5)(random) ? a : b);
    };
    reduction::ReductionInput in;
    in.method =
        std::bernoulli_distribution(0.5)(random) ? reduction::Method::Q : reduction::Method::QQ;
    in.ghaDeg = whole(359);
    in.ghaMin = minutes();
    in.decName = *reduction::northSouthFromText(pick("N", "S"));
    in.decDeg = whole(30);
    in.decMin = minutes();
    in.latName = *reduction::northSouthFromText(pick("N", "S"));
    in.latDeg = whole(65);
    in.latMin = minutes();
    in.loName = *reduction::westEastFromText(pick("W", "E"));
    in.loDeg = whole(179);
    in.loMin = minutes();
    return in;
}

std::vector<reduction::ReductionInput> sights() {
    std::mt19937 random(20240601);
    std::vector<reduction::ReductionInput> all;
    all.reserve(sightCount);
    for (int i = 0; i < sightCount; ++i) {
        all.push_back(randomSight(random));
    }
    return all;
}

// The sights written repeats times over, after one header line.
std::filesystem::path writeSightsFile(const std::vector<reduction::ReductionInput>& all,
                                      int repeats) {
    const auto path =
        std::filesystem::temp_directory_path() /
        ("sightform-bench-" + std::to_string(::getpid()) + "-" + std::to_string(repeats) + ".csv");
    std::ofstream out(path);
    out << "method,ghaDeg,ghaMin,decName,decDeg,decMin,latName,latDeg,latMin,lonName,lonDeg,"
           "lonMin\n";
    for (int i = 0; i < repeats; ++i)
        for (const auto& s : all) {
            out << (s.method == reduction::Method::Q ? "Q" : "QQ") << ',' << s.ghaDeg << ','
                << s.ghaMin << ',' << reduction::nameText(s.decName) << ',' << s.decDeg << ','
                << s.decMin << ',' << reduction::nameText(s.latName) << ',' << s.latDeg << ','
                << s.latMin << ',' << reduction::nameText(s.loName) << ',' << s.loDeg << ','
                << s.loMin << '\n';
        }
    return path;
}

struct Reduced {
    reduction::ReductionRecord record;
    reduction::Method method;
};

void BM_BuildWorkedForm(benchmark::State& state, const std::vector<Reduced>* complete) {
    std::size_t next = 0;
    for (auto _ : state) {
        const Reduced& r = (*complete)[next];
        next = next + 1 == complete->size() ? 0 : next + 1;
        auto lines = printout::renderLines(printout::buildWorkedForm(r.record, r.method));
        benchmark::DoNotOptimize(lines);
    }
    state.SetItemsProcessed(state.iterations());
}

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

struct ChildRun {
    rusage usage{};
    long peakKiB = 0;
};

// One run of sightform on file, its output thrown away: the child's own CPU
// time and its peak memory, or nothing if it failed. The peak is read from
// /proc while the child runs: the peak wait4 reports would be the parent's,
// since Linux carries the high-water mark of the spawning process across
// exec.
std::optional<ChildRun> runSightform(const std::filesystem::path& file, bool json) {
    std::vector<std::string> arguments{SIGHTFORM_PATH, "--batch", file.string()};
    if (json) {
        arguments.push_back("--json");
    }
    std::vector<char*> argv;
    for (std::string& argument : arguments) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t child = 0;
    const int spawned =
        posix_spawn(&child, SIGHTFORM_PATH, &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) {
        return std::nullopt;
    }
    ChildRun run;
    int status = 0;
    while (true) {
        const pid_t done = wait4(child, &status, WNOHANG, &run.usage);
        if (done == child) {
            break;
        }
        if (done != 0) {
            return std::nullopt;
        }
        run.peakKiB = std::max(run.peakKiB, peakResidentKiB(child));
        usleep(5000);
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        return std::nullopt;
    }
    return run;
}

double seconds(const timeval& time) {
    return static_cast<double>(time.tv_sec) + static_cast<double>(time.tv_usec) * 1e-6;
}

// Sights per second of the child's own CPU time (user and system): the rate
// on one core, whatever else the machine is running.
void BM_SightformBatch(benchmark::State& state, const std::filesystem::path* file, bool json,
                       double completeShare) {
    for (auto _ : state) {
        const auto usage = runSightform(*file, json);
        if (!usage) {
            state.SkipWithError("sightform failed");
            break;
        }
        state.SetIterationTime(seconds(usage->usage.ru_utime) + seconds(usage->usage.ru_stime));
    }
    state.SetItemsProcessed(state.iterations() * sightCount);
    state.counters["complete_share"] = completeShare;
}

void BM_SightformPeakMemory(benchmark::State& state, const std::filesystem::path* file, bool json) {
    long peakKiB = 0;
    for (auto _ : state) {
        const auto usage = runSightform(*file, json);
        if (!usage) {
            state.SkipWithError("sightform failed");
            break;
        }
        peakKiB = std::max(peakKiB, usage->peakKiB);
    }
    state.counters["max_rss_MB"] = static_cast<double>(peakKiB) / 1024;
}

// The usual table, then the figures the targets name, from this same run.
class TargetReporter : public benchmark::ConsoleReporter {
  public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.run_type != Run::RT_Iteration) {
                continue;
            }
            const std::string& name = run.run_name.function_name;
            if (const auto rate = run.counters.find("items_per_second");
                rate != run.counters.end()) {
                figures_[name] = rate->second;
            }
            if (const auto rss = run.counters.find("max_rss_MB"); rss != run.counters.end()) {
                figures_[name] = rss->second;
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }
    void Finalize() override {
        ConsoleReporter::Finalize();
        const double json = figures_["SightformBatch/json/100000"];
        const double text = figures_["SightformBatch/text/100000"];
        if (json > 0 && text > 0) {
            std::printf("sightform --batch, per CPU second: --json %.0f sights/s, text %.0f "
                        "sights/s, ratio (json / text) %.2f\n",
                        json, text, json / text);
        }
        const double jsonPeak = figures_["SightformPeakMemory/json/1000000"];
        const double textPeak = figures_["SightformPeakMemory/text/1000000"];
        if (jsonPeak > 0 && textPeak > 0) {
            std::printf("peak memory of a 1,000,000-row batch: --json %.1f MB, text %.1f MB\n",
                        jsonPeak, textPeak);
        }
    }

  private:
    std::map<std::string, double> figures_;
};

} // namespace

int main(int argc, char** argv) {
    const std::vector<reduction::ReductionInput> all = sights();
    std::vector<Reduced> complete;
    for (const auto& in : all) {
        Reduced r{{}, in.method};
        if (reduction::calculateReduction(in, r.record).outcome == reduction::Outcome::Complete) {
            complete.push_back(r);
        }
    }
    const double completeShare = static_cast<double>(complete.size()) / sightCount;
    const std::filesystem::path file = writeSightsFile(all, 1);
    const std::filesystem::path millionFile = writeSightsFile(all, 10);

    benchmark::RegisterBenchmark("BuildWorkedForm", BM_BuildWorkedForm, &complete);
    for (const bool json : {true, false}) {
        const std::string mode = json ? "json" : "text";
        benchmark::RegisterBenchmark(("SightformBatch/" + mode + "/100000").c_str(),
                                     BM_SightformBatch, &file, json, completeShare)
            ->Unit(benchmark::kMillisecond)
            ->UseManualTime()
            ->Iterations(3);
    }
    for (const bool json : {true, false}) {
        const std::string mode = json ? "json" : "text";
        benchmark::RegisterBenchmark(("SightformPeakMemory/" + mode + "/1000000").c_str(),
                                     BM_SightformPeakMemory, &millionFile, json)
            ->Unit(benchmark::kMillisecond)
            ->Iterations(1);
    }
    benchmark::Initialize(&argc, argv);
    TargetReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    std::filesystem::remove(file);
    std::filesystem::remove(millionFile);
    return 0;
}
