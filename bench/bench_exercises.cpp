// Practice sights: 100,000 from one seed in-process (the goal is under a
// second), the first sight of a fresh seed (what New Exercise costs), and
// sightform --exercises 100000 writing its CSV, timed by the child's own CPU
// time.

#include <benchmark/benchmark.h>

#include <optional>
#include <string>
#include <vector>

#include "bench/support.h"
#include "exercises/exercises.h"

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

void BM_SightformExercises100k(benchmark::State& state) {
    const std::vector<std::string> arguments{"--exercises", std::to_string(exerciseCount), "--seed",
                                             "20240601"};
    for (auto _ : state) {
        const std::optional<bench::ChildRun> run = bench::runSightform(arguments);
        if (!run || run->exitStatus != 0) {
            state.SkipWithError("sightform --exercises failed");
            break;
        }
        state.SetIterationTime(run->cpuSeconds);
    }
    state.SetItemsProcessed(state.iterations() * exerciseCount);
}
BENCHMARK(BM_SightformExercises100k)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
