// Reductions per second of the Calculate procedure, against a loop that makes
// only the mathematical-library calls one reduction makes. The ratio says how
// much of a reduction's time is bookkeeping (text reading, rounding, record
// writes) rather than the transcendental functions themselves.

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <map>
#include <string>

#include "reduction/calculate.h"
#include "testing/entries.h"

namespace {

void BM_calculateReduction(benchmark::State& state) {
    const reduction::ReductionInput in = testentries::firstExample();
    reduction::ReductionRecord record;
    for (auto _ : state) {
        benchmark::DoNotOptimize(reduction::calculateReduction(in, record));
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_calculateReduction);

// One reduction calls Q eight times (a sine and a logarithm each) and invQ
// four times (an exponential, a square root and an arctangent each).
void BM_mathCallsOfOneReduction(benchmark::State& state) {
    double x = 0.3;
    for (auto _ : state) {
        double sum = 0;
        for (int i = 0; i < 8; ++i)
            sum += std::log(std::sin(x + i * 0.1));
        for (int i = 0; i < 4; ++i) {
            const double s = std::exp(-(x + i) / 1000);
            sum += std::atan(s / std::sqrt(1 - s * s));
        }
        benchmark::DoNotOptimize(sum);
        x = x < 1.0 ? x + 1e-9 : 0.3;
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_mathCallsOfOneReduction);

// The same calls, each waiting for the one before as the steps of a
// reduction wait for theirs: what the calls cost when they cannot overlap,
// a bound the reduction's own order of steps leaves it near.
void BM_mathCallsChained(benchmark::State& state) {
    double x = 0.3;
    for (auto _ : state) {
        for (int i = 0; i < 8; ++i)
            x = 0.3 + 1e-4 * std::fabs(std::log(std::sin(x + 0.1)));
        for (int i = 0; i < 4; ++i) {
            const double s = std::exp(-x / 1000);
            x = 0.3 + 1e-4 * std::atan(s / std::sqrt(1 - s * s));
        }
        benchmark::DoNotOptimize(x);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_mathCallsChained);

// Prints the usual table, then the ratios of the benchmarks' times (all in
// the default unit, nanoseconds). CPU time, not wall time: on a machine
// shared with other builds a preempted iteration would count the others' work.
class RatioReporter : public benchmark::ConsoleReporter {
  public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs)
            if (run.run_type == Run::RT_Iteration)
                nsPerIteration_[run.run_name.function_name] = run.GetAdjustedCPUTime();
        ConsoleReporter::ReportRuns(runs);
    }
    void Finalize() override {
        ConsoleReporter::Finalize();
        const double full = nsPerIteration_["BM_calculateReduction"];
        const double math = nsPerIteration_["BM_mathCallsOfOneReduction"];
        const double chained = nsPerIteration_["BM_mathCallsChained"];
        if (full > 0 && math > 0)
            std::printf(
                "reductions/s %.0f, math calls alone %.0f/s, ratio (reduction / math) %.2f\n",
                1e9 / full, 1e9 / math, full / math);
        if (full > 0 && chained > 0)
            std::printf("math calls chained %.0f/s, ratio (reduction / chained math) %.2f\n",
                        1e9 / chained, full / chained);
    }

  private:
    std::map<std::string, double> nsPerIteration_;
};

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
