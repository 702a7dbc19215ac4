// The whole-domain sweep: every whole-degree sight a user can enter (LHA 0
// to 719 as GHA with the longitude empty, declination and latitude 0 to 90,
// the four pairs of names, both methods), then a sampled set with minutes in
// every field and longitudes that carry the LHA past 360 and 720. Each sight
// is reduced, printed and checked (invariants.h); every violation is printed
// with its entries and makes the exit status 1.

#include <algorithm>
#include <atomic>
#include <charconv>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "progress/progressline.h"
#include "tools/sweep/invariants.h"
#include "tools/sweep/sights.h"
#include "tools/sweep/statistics.h"

namespace {

using reduction::ReductionInput;

struct Options {
    bool reduced = false;
    bool quiet = false;
    std::uint64_t samples = 1'000'000;
    unsigned threads = std::max(1u, std::thread::hardware_concurrency());
    std::uint64_t seed = 1;
    std::size_t printViolations = 1000;
    std::string summaryPath;
    std::string perDegreePath;
};

const char* const usage =
    "usage: sweep [--reduced] [--samples N] [--threads N] [--seed N] [--print-violations N]\n"
    "             [--summary FILE] [--per-degree FILE] [--quiet]\n"
    "  --reduced        a coarse grid with every edge (0, 90, 180, 360, 719) and 5,000\n"
    "                   sampled sights, for the test suite; default: every whole degree\n"
    "                   and 1,000,000 sampled sights\n"
    "  --summary FILE   the counts and distributions in Markdown (also printed)\n"
    "  --per-degree FILE  |dHc| median, 99th percentile and maximum per degree of t\n"
    "  --quiet          no progress line, even where standard error is a terminal\n";

template <typename T> bool parseNumber(const char* text, T& value) {
    const char* end = text + std::strlen(text);
    const auto [ptr, ec] = std::from_chars(text, end, value);
    return ec == std::errc() && ptr == end;
}

bool parseOptions(int argc, char** argv, Options& o) {
    bool samplesGiven = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--reduced") {
            o.reduced = true;
        } else if (arg == "--quiet") {
            o.quiet = true;
        } else if (arg == "--samples" && hasValue) {
            if (!parseNumber(argv[++i], o.samples))
                return false;
            samplesGiven = true;
        } else if (arg == "--threads" && hasValue) {
            if (!parseNumber(argv[++i], o.threads) || o.threads == 0)
                return false;
        } else if (arg == "--seed" && hasValue) {
            if (!parseNumber(argv[++i], o.seed))
                return false;
        } else if (arg == "--print-violations" && hasValue) {
            if (!parseNumber(argv[++i], o.printViolations))
                return false;
        } else if (arg == "--summary" && hasValue) {
            o.summaryPath = argv[++i];
        } else if (arg == "--per-degree" && hasValue) {
            o.perDegreePath = argv[++i];
        } else {
            return false;
        }
    }
    if (o.reduced && !samplesGiven)
        o.samples = 5'000;
    return true;
}

struct Sweep {
    explicit Sweep(const Options& o) : options(o), sights(o.reduced, o.samples, o.seed) {}

    Options options;
    sweep::Sights sights;
    std::atomic<std::uint64_t> nextItem{0};
    std::atomic<std::uint64_t> sightsDone{0};
    std::mutex progressMutex;
    std::unique_ptr<progress::ProgressLine> progressLine;

    void work(sweep::Statistics& stats) {
        for (std::uint64_t item; (item = nextItem++) < sights.items();) {
            const std::uint64_t before = stats.sights;
            sights.forEachSight(item, [&stats](const ReductionInput& in) {
                stats.add(in, sweep::reduceAndCheck(in));
            });
            const std::uint64_t done = sightsDone += stats.sights - before;
            // Whichever thread finds the line free draws it; the others go on.
            if (const std::unique_lock lock(progressMutex, std::try_to_lock); lock.owns_lock())
                progressLine->update(static_cast<long long>(done));
        }
    }
};

bool writeFile(const std::string& path, void (*write)(std::FILE*, const sweep::Statistics&),
               const sweep::Statistics& stats) {
    std::FILE* f = std::fopen(path.c_str(), "w");
    if (!f) {
        std::fprintf(stderr, "sweep: cannot write %s\n", path.c_str());
        return false;
    }
    write(f, stats);
    return std::fclose(f) == 0;
}

} // namespace

int main(int argc, char** argv) {
    Options options;
    if (!parseOptions(argc, argv, options)) {
        std::fputs(usage, stderr);
        return 64;
    }
    auto sweep = std::make_unique<Sweep>(options);
    const Options& o = sweep->options;
    sweep->progressLine = std::make_unique<progress::ProgressLine>(
        progress::progressTerminal(o.quiet), "sweep", "sights",
        static_cast<long long>(sweep->sights.count()));
    const auto start = std::chrono::steady_clock::now();
    std::vector<std::unique_ptr<sweep::Statistics>> perThread;
    std::vector<std::thread> threads;
    for (unsigned i = 0; i < o.threads; ++i) {
        perThread.push_back(std::make_unique<sweep::Statistics>());
        perThread.back()->keepViolations = o.printViolations;
    }
    for (unsigned i = 0; i < o.threads; ++i)
        threads.emplace_back([&sweep, &perThread, i] { sweep->work(*perThread[i]); });
    for (std::thread& t : threads)
        t.join();
    sweep->progressLine->finish();
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

    sweep::Statistics& stats = *perThread.front();
    for (std::size_t i = 1; i < perThread.size(); ++i)
        stats.merge(*perThread[i]);

    for (const std::string& v : stats.violationTexts)
        std::printf("%s\n", v.c_str());
    if (stats.violations > stats.violationTexts.size())
        std::printf(
            "... and %llu more violations\n",
            static_cast<unsigned long long>(stats.violations - stats.violationTexts.size()));

    std::printf("# Sweep: %s grid, %llu sampled sights (seed %llu)\n\n",
                o.reduced ? "reduced" : "whole-degree", static_cast<unsigned long long>(o.samples),
                static_cast<unsigned long long>(o.seed));
    sweep::writeSummary(stdout, stats);
    std::printf("\n%llu sights in %.1f s on %u threads: %.0f sights/s. Violations: %llu\n",
                static_cast<unsigned long long>(stats.sights), seconds, o.threads,
                double(stats.sights) / seconds, static_cast<unsigned long long>(stats.violations));

    bool written = true;
    if (!o.summaryPath.empty())
        written = writeFile(o.summaryPath, sweep::writeSummary, stats) && written;
    if (!o.perDegreePath.empty())
        written = writeFile(o.perDegreePath, sweep::writePerDegree, stats) && written;
    if (!written)
        return 2;
    return stats.violations == 0 ? 0 : 1;
}
