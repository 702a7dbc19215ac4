// Checking a navigator's form: one form in-process, with the slip search,
// over a mix of right forms and forms with one or two slips; and a class
// file of 1,000 rows through `sightform --check`.

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>
#include <span>
#include <string>
#include <vector>

#include "check/check.h"
#include "reduction/calculate.h"

extern char** environ;

namespace {

struct Form {
    reduction::ReductionInput input;
    check::WorkedValues values;
};

reduction::ReductionInput randomSight(std::mt19937& random) {
    const auto whole = [&random](int below) {
        return std::to_string(std::uniform_int_distribution<int>(0, below - 1)(random));
    };
    const auto minutes = [&random] {
        const int tenths = std::uniform_int_distribution<int>(0, 599)(random);
        return std::to_string(tenths / 10) + "." + std::to_string(tenths % 10);
    };
    const auto coin = [&random] { return std::bernoulli_distribution(0.5)(random); };
    reduction::ReductionInput in;
    in.method = coin() ? reduction::Method::Q : reduction::Method::QQ;
    in.ghaDeg = whole(360);
    in.ghaMin = minutes();
    in.decName = coin() ? reduction::NorthSouth::N : reduction::NorthSouth::S;
    in.decDeg = whole(30);
    in.decMin = minutes();
    in.latName = coin() ? reduction::NorthSouth::N : reduction::NorthSouth::S;
    in.latDeg = whole(65);
    in.latMin = minutes();
    in.loName = coin() ? reduction::WestEast::W : reduction::WestEast::E;
    in.loDeg = whole(180);
    in.loMin = minutes();
    return in;
}

// Complete sights, each worked with slipCount slips of the catalogue, each
// at a value where it changes the form; every value given.
std::vector<Form> forms(std::size_t slipCount, std::size_t count) {
    std::mt19937 random(20240611);
    std::vector<Form> all;
    while (all.size() < count) {
        const reduction::ReductionInput in = randomSight(random);
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
    out << "method,ghaDeg,ghaMin,decName,decDeg,decMin,latName,latDeg,latMin,lonName,lonDeg,lonMin";
    for (const check::ValueId id : check::allValues()) {
        out << ',' << check::valueName(id);
    }
    out << '\n';
    for (std::size_t slips = 0; slips < 3; ++slips) {
        for (const Form& form : forms(slips, classRows / 3 + (slips == 0 ? classRows % 3 : 0))) {
            const reduction::ReductionInput& s = form.input;
            out << (s.method == reduction::Method::Q ? "Q" : "QQ") << ',' << s.ghaDeg << ','
                << s.ghaMin << ',' << reduction::nameText(s.decName) << ',' << s.decDeg << ','
                << s.decMin << ',' << reduction::nameText(s.latName) << ',' << s.latDeg << ','
                << s.latMin << ',' << reduction::nameText(s.loName) << ',' << s.loDeg << ','
                << s.loMin;
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

double seconds(const timeval& time) {
    return static_cast<double>(time.tv_sec) + static_cast<double>(time.tv_usec) * 1e-6;
}

// The whole file through sightform --check, the report thrown away: the
// child's own CPU time (user and system), whatever else the machine runs.
void BM_SightformCheckClass(benchmark::State& state, const std::filesystem::path* file) {
    for (auto _ : state) {
        std::vector<std::string> arguments{SIGHTFORM_PATH, "--check", file->string()};
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
        int status = 0;
        rusage usage{};
        // Exit 3: slips were found, as they are in this file.
        if (spawned != 0 || wait4(child, &status, 0, &usage) != child || !WIFEXITED(status) ||
            WEXITSTATUS(status) != 3) {
            state.SkipWithError("sightform --check failed");
            break;
        }
        state.SetIterationTime(seconds(usage.ru_utime) + seconds(usage.ru_stime));
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
