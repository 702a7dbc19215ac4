// Practice sights: 100,000 from one seed in-process (the goal is under a
// second), the first sight of a fresh seed (what New Exercise costs), and
// sightform --exercises 100000 writing its CSV, timed by the child's own CPU
// time.

#include <benchmark/benchmark.h>

#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fcntl.h>
#include <string>
#include <vector>

#include "exercises/exercises.h"

extern char** environ;

namespace {

constexpr int exerciseCount = 100000;

void BM_Exercises100k(benchmark::State& state) {
    std::uint64_t seed = 20240601;
    for (auto _ : state) {
        exercises::ExerciseStream stream(seed++);
        for (int i = 0; i < exerciseCount; ++i) {
            benchmark::DoNotOptimize(stream.next());
        }
    }
    state.SetItemsProcessed(state.iterations() * exerciseCount);
}
BENCHMARK(BM_Exercises100k)->Unit(benchmark::kMillisecond);

void BM_FirstExerciseOfASeed(benchmark::State& state) {
    std::uint64_t seed = 100000;
    for (auto _ : state) {
        benchmark::DoNotOptimize(exercises::exercise(seed++));
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_FirstExerciseOfASeed)->Unit(benchmark::kMicrosecond);

double seconds(const timeval& time) {
    return static_cast<double>(time.tv_sec) + static_cast<double>(time.tv_usec) * 1e-6;
}

void BM_SightformExercises100k(benchmark::State& state) {
    std::vector<std::string> arguments{SIGHTFORM_PATH, "--exercises", std::to_string(exerciseCount),
                                       "--seed", "20240601"};
    std::vector<char*> argv;
    for (std::string& argument : arguments) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);
    for (auto _ : state) {
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
        pid_t child = 0;
        const int spawned =
            posix_spawn(&child, SIGHTFORM_PATH, &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        int status = 0;
        rusage usage{};
        if (spawned != 0 || wait4(child, &status, 0, &usage) != child || !WIFEXITED(status) ||
            WEXITSTATUS(status) != 0) {
            state.SkipWithError("sightform --exercises failed");
            break;
        }
        state.SetIterationTime(seconds(usage.ru_utime) + seconds(usage.ru_stime));
    }
    state.SetItemsProcessed(state.iterations() * exerciseCount);
}
BENCHMARK(BM_SightformExercises100k)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
