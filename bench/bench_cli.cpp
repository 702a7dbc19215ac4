// Worked forms per second: built in-process, and through `sightform --batch`
// on a generated file of 100,000 sights, in JSON and in text, with the ratio
// of the two rates; and the peak memory of a 1,000,000-row batch.

#include <benchmark/benchmark.h>

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "bench/support.h"
#include "printout/workedform.h"
#include "reduction/calculate.h"

namespace {

constexpr int sightCount = 100000;

std::vector<reduction::ReductionInput> sights() {
    std::mt19937 random(20240601);
    std::vector<reduction::ReductionInput> all;
    all.reserve(sightCount);
    for (int i = 0; i < sightCount; ++i) {
        all.push_back(bench::randomSight(random));
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
    out << bench::entryHeader << '\n';
    for (int i = 0; i < repeats; ++i)
        for (const auto& s : all) {
            out << bench::entryCells(s) << '\n';
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

// One run of sightform on file, its output thrown away, or nothing if it
// failed.
std::optional<bench::ChildRun> runBatch(const std::filesystem::path& file, bool json) {
    std::vector<std::string> arguments{"--batch", file.string()};
    if (json) {
        arguments.push_back("--json");
    }
    auto run = bench::runSightform(arguments);
    if (!run || run->exitStatus != 0) {
        return std::nullopt;
    }
    return run;
}

// Sights per second of the child's own CPU time.
void BM_SightformBatch(benchmark::State& state, const std::filesystem::path* file, bool json,
                       double completeShare) {
    for (auto _ : state) {
        const auto run = runBatch(*file, json);
        if (!run) {
            state.SkipWithError("sightform failed");
            break;
        }
        state.SetIterationTime(run->cpuSeconds);
    }
    state.SetItemsProcessed(state.iterations() * sightCount);
    state.counters["complete_share"] = completeShare;
}

void BM_SightformPeakMemory(benchmark::State& state, const std::filesystem::path* file, bool json) {
    long peakKiB = 0;
    for (auto _ : state) {
        const auto run = runBatch(*file, json);
        if (!run) {
            state.SkipWithError("sightform failed");
            break;
        }
        peakKiB = std::max(peakKiB, run->peakKiB);
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
