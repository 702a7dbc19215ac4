// The printed tables: laid out in-process (the entries, the pages and their
// text), and the whole `sightform --table Q --pdf` as a user runs it, from
// the start of the process to the booklet on disk, which is to take under
// a second.

#include <benchmark/benchmark.h>

#include <unistd.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "bench/support.h"
#include "tables/tablebook.h"

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

// sightform with arguments, its output thrown away: the wall time from the
// spawn to its end (what the user waits), and its own CPU time as a counter.
void BM_Sightform(benchmark::State& state, const std::vector<std::string>& arguments) {
    double cpu = 0;
    for (auto _ : state) {
        const std::optional<bench::ChildRun> run = bench::runSightform(arguments);
        if (!run || run->exitStatus != 0) {
            state.SkipWithError("sightform failed");
            break;
        }
        state.SetIterationTime(run->wallSeconds);
        cpu += run->cpuSeconds;
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
