// Worked forms per second: built in-process, and through `sightform --batch
// --json` on a generated file of 100,000 sights.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <unistd.h>
#include <vector>

#include "printout/workedform.h"
#include "reduction/calculate.h"

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

std::filesystem::path writeSightsFile(const std::vector<reduction::ReductionInput>& all) {
    const auto path = std::filesystem::temp_directory_path() /
                      ("sightform-bench-" + std::to_string(::getpid()) + ".csv");
    std::ofstream out(path);
    out << "method,ghaDeg,ghaMin,decName,decDeg,decMin,latName,latDeg,latMin,lonName,lonDeg,"
           "lonMin\n";
    for (const auto& s : all) {
        out << (s.method == reduction::Method::Q ? "Q" : "QQ") << ',' << s.ghaDeg << ',' << s.ghaMin
            << ',' << reduction::nameText(s.decName) << ',' << s.decDeg << ',' << s.decMin << ',' << reduction::nameText(s.latName) << ','
            << s.latDeg << ',' << s.latMin << ',' << reduction::nameText(s.loName) << ',' << s.loDeg << ',' << s.loMin
            << '\n';
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
        auto lines =
            printout::renderLines(printout::buildWorkedForm(r.record, r.method));
        benchmark::DoNotOptimize(lines);
    }
    state.SetItemsProcessed(state.iterations());
}

void BM_SightformBatchJson(benchmark::State& state, const std::filesystem::path* file,
                           double completeShare) {
    const std::string command =
        std::string(SIGHTFORM_PATH) + " --batch '" + file->string() + "' --json > /dev/null";
    for (auto _ : state) {
        if (std::system(command.c_str()) != 0) {
            state.SkipWithError("sightform failed");
            break;
        }
    }
    state.SetItemsProcessed(state.iterations() * sightCount);
    state.counters["complete_share"] = completeShare;
}

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
    const std::filesystem::path file = writeSightsFile(all);

    benchmark::RegisterBenchmark("BuildWorkedForm", BM_BuildWorkedForm, &complete);
    benchmark::RegisterBenchmark("SightformBatchJson/100000", BM_SightformBatchJson, &file,
                                 completeShare)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime()
        ->Iterations(3);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::filesystem::remove(file);
    return 0;
}
