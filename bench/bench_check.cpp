// Checking a navigator's form: one form in-process, with the slip search,
// over a mix of right forms and forms with one or two slips; and a class
// file of 1,000 rows through `sightform --check`.

#include <benchmark/benchmark.h>

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>
#include <span>
#include <string>
#include <vector>

#include "bench/support.h"
#include "check/check.h"
#include "reduction/calculate.h"

namespace {

struct Form {
    reduction::ReductionInput input;
    check::WorkedValues values;
};

// Complete sights, each worked with slipCount slips of the catalogue, each
// at a value where it changes the form; every value given.
std::vector<Form> forms(std::size_t slipCount, std::size_t count) {
    std::mt19937 random(20240611);
    std::vector<Form> all;
    while (all.size() < count) {
        const reduction::ReductionInput in = bench::randomSight(random);
        const check::WorkedValues right = check::workWithSlips(in, {});
        if (!right[check::ValueId::LHA]) {
            continue;
        }
        std::vector<check::InjectedSlip> acting;
        for (const check::SlipSpec& spec : check::slipCatalogue()) {
            for (const check::ValueId at : check::allValues()) {
                const check::InjectedSlip slip{spec.id, at};
                const check::WorkedValues one = check::workWithSlips(in, std::span(&slip, 1));
                if (one[at] &&
                    check::printedUnits(at, *one[at]) != check::printedUnits(at, *right[at])) {
                    acting.push_back(slip);
                }
            }
        }
        std::shuffle(acting.begin(), acting.end(), random);
        acting.resize(std::min(slipCount, acting.size()));
        all.push_back({in, check::workWithSlips(in, acting)});
    }
    return all;
}

void BM_CheckForm(benchmark::State& state, int slipCount) {
    const std::vector<Form> all = forms(slipCount, 1000);
    std::size_t next = 0;
    long long slipsFound = 0;
    for (auto _ : state) {
        const Form& form = all[next];
        next = next + 1 == all.size() ? 0 : next + 1;
        const check::CheckResult result = check::checkWorkedForm(form.input, form.values);
        slipsFound += static_cast<long long>(result.slips.size());
        benchmark::DoNotOptimize(result);
    }
    state.SetItemsProcessed(state.iterations());
    state.counters["slips_per_form"] =
        static_cast<double>(slipsFound) / static_cast<double>(state.iterations());
}

BENCHMARK_CAPTURE(BM_CheckForm, right, 0)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_CheckForm, one_slip, 1)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_CheckForm, two_slips, 2)->Unit(benchmark::kMicrosecond);

constexpr std::size_t classRows = 1000;

// A class's file: every value column, a third of the forms right, a third
// with one slip, a third with two.
std::filesystem::path writeClassFile() {
    const auto path = std::filesystem::temp_directory_path() /
                      ("sightform-check-bench-" + std::to_string(::getpid()) + ".csv");
    std::ofstream out(path);
    out << bench::entryHeader;
    for (const check::ValueId id : check::allValues()) {
        out << ',' << check::valueName(id);
    }
    out << '\n';
    for (std::size_t slips = 0; slips < 3; ++slips) {
        for (const Form& form : forms(slips, classRows / 3 + (slips == 0 ? classRows % 3 : 0))) {
            out << bench::entryCells(form.input);
            for (const check::ValueId id : check::allValues()) {
                out << ',';
                if (form.values[id]) {
                    out << check::valueText(id, *form.values[id]);
                }
            }
            out << '\n';
        }
    }
    return path;
}

// The whole file through sightform --check, the report thrown away, timed by
// the child's own CPU.
void BM_SightformCheckClass(benchmark::State& state, const std::filesystem::path* file) {
    for (auto _ : state) {
        const auto run = bench::runSightform({"--check", file->string()});
        // Exit 3: slips were found, as they are in this file.
        if (!run || run->exitStatus != 3) {
            state.SkipWithError("sightform --check failed");
            break;
        }
        state.SetIterationTime(run->cpuSeconds);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<long long>(classRows));
}

} // namespace

int main(int argc, char** argv) {
    const std::filesystem::path classFile = writeClassFile();
    benchmark::RegisterBenchmark("SightformCheckClass/1000", BM_SightformCheckClass, &classFile)
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::filesystem::remove(classFile);
    return 0;
}
