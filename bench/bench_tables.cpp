// The printed tables: laid out in-process (the entries, the pages and their
// text), and the whole `sightform --table Q --pdf` as a user runs it, from
// the start of the process to the booklet on disk, which is to take under
// a second.

#include <benchmark/benchmark.h>

#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <string>
#include <vector>

#include "tables/tablebook.h"

extern char** environ;

namespace {

using reduction::Method;

void BM_TableBook(benchmark::State& state, Method method) {
    for (auto _ : state) {
        tables::TableBook book = tables::tableBook(method);
        benchmark::DoNotOptimize(book);
    }
}

void BM_TableText(benchmark::State& state, Method method) {
    for (auto _ : state) {
        std::string text = tables::bookText(tables::tableBook(method));
        benchmark::DoNotOptimize(text);
    }
}

double seconds(const timeval& time) {
    return static_cast<double>(time.tv_sec) + static_cast<double>(time.tv_usec) * 1e-6;
}

// sightform with arguments, its output thrown away: the wall time from the
// spawn to its end (what the user waits), and its own CPU time as a counter.
void BM_Sightform(benchmark::State& state, std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), SIGHTFORM_PATH);
    std::vector<char*> argv;
    for (std::string& argument : arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    double cpu = 0;
    for (auto _ : state) {
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
        const auto start = std::chrono::steady_clock::now();
        pid_t child = 0;
        const int spawned =
            posix_spawn(&child, SIGHTFORM_PATH, &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        rusage usage{};
        int status = 0;
        if (spawned != 0 || wait4(child, &status, 0, &usage) != child || !WIFEXITED(status) ||
            WEXITSTATUS(status) != 0) {
            state.SkipWithError("sightform failed");
            break;
        }
        state.SetIterationTime(
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        cpu += seconds(usage.ru_utime) + seconds(usage.ru_stime);
    }
    state.counters["cpu_s"] = benchmark::Counter(cpu, benchmark::Counter::kAvgIterations);
}

} // namespace

int main(int argc, char** argv) {
    const std::string pdf = (std::filesystem::temp_directory_path() /
                             ("sightform-bench-table-" + std::to_string(::getpid()) + ".pdf"))
                                .string();
    for (const auto& [name, method] : {std::pair{"Q", Method::Q}, std::pair{"QQ", Method::QQ}}) {
        benchmark::RegisterBenchmark((std::string("TableBook/") + name).c_str(), BM_TableBook,
                                     method)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark((std::string("TableText/") + name).c_str(), BM_TableText,
                                     method)
            ->Unit(benchmark::kMillisecond);
    }
    benchmark::RegisterBenchmark("SightformTable/text", BM_Sightform,
                                 std::vector<std::string>{"--table", "Q"})
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond);
#ifdef SIGHT_TABLE_PDF
    benchmark::RegisterBenchmark("SightformTable/pdf", BM_Sightform,
                                 std::vector<std::string>{"--table", "Q", "--pdf", pdf})
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond);
#endif
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::filesystem::remove(pdf);
    return 0;
}
