// Checking a navigator's form: one form in-process, with the slip search,
// over a mix of right forms and forms with one or two slips; and a class
// file of 1,000 rows through `sightform --check`.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <random>
#include <span>
#include <string>
#include <vector>

#include "check/check.h"
#include "reduction/calculate.h"

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

} // namespace

BENCHMARK_MAIN();
