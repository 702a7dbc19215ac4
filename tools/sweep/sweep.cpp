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
#include <set>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "progress/progressline.h"
#include "tools/sweep/invariants.h"
#include "tools/sweep/statistics.h"

namespace {

using reduction::Method;
using reduction::NorthSouth;
using reduction::ReductionInput;
using reduction::WestEast;

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

// The degrees of the grid. The reduced grid keeps every edge where a rule
// changes (t = 90, LHA = 180 and 360, the GHA bound) and the degrees beside
// them.
std::vector<int> lhaDegrees(bool reduced) {
    std::set<int> degrees;
    for (int d = 0; d <= 719; d += reduced ? 30 : 1)
        degrees.insert(d);
    if (reduced)
        for (int d : {1, 89, 91, 179, 181, 269, 271, 359, 361, 449, 451, 539, 541, 629, 631, 719})
            degrees.insert(d);
    return {degrees.begin(), degrees.end()};
}

std::vector<int> latDecDegrees(bool reduced) {
    if (reduced)
        return {0, 1, 25, 45, 65, 80, 89, 90};
    std::vector<int> degrees(91);
    for (int d = 0; d <= 90; ++d)
        degrees[static_cast<std::size_t>(d)] = d;
    return degrees;
}

// splitmix64: a small, well-mixed generator whose state is one number, so
// that sample i is the same sight whatever thread draws it.
struct Random {
    std::uint64_t state;
    std::uint64_t next() {
        std::uint64_t z = (state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    int below(int n) { return static_cast<int>(next() % static_cast<std::uint64_t>(n)); }
};

std::string tenthsText(int tenths) {
    char text[16];
    std::snprintf(text, sizeof text, "%d.%d", tenths / 10, tenths % 10);
    return text;
}

// Minutes as a navigator types them: the edges 0, 0.1, 29.9, 30.0 and 59.9,
// or any tenth; 0 also as an empty field.
std::string minutesText(Random& r) {
    switch (r.below(8)) {
    case 0:
        return r.below(2) ? "" : "0";
    case 1:
        return "0.1";
    case 2:
        return "29.9";
    case 3:
        return "30.0";
    case 4:
        return "59.9";
    default:
        return tenthsText(r.below(600));
    }
}

std::string degreesText(int degrees, Random& r) {
    return degrees == 0 && r.below(2) ? "" : std::to_string(degrees);
}

// A degree field with a bound and a minute partner: at the bound the minutes
// are 0, except in one sight in 64, which is left at its bound with minutes
// as the fields allow (out of range, but the focus may leave).
void boundedAngle(Random& r, int bound, std::string& deg, std::string& min) {
    const int d = r.below(bound + 1);
    deg = degreesText(d, r);
    min = minutesText(r);
    if (d == bound && r.below(64) != 0)
        min = r.below(2) ? "" : "0";
}

ReductionInput sampledSight(std::uint64_t seed, std::uint64_t index) {
    Random r{seed * 0x100000001B3ull + index};
    ReductionInput in;
    in.method = r.below(2) ? Method::Q : Method::QQ;
    in.ghaDeg = degreesText(r.below(720), r);
    in.ghaMin = minutesText(r);
    boundedAngle(r, 90, in.decDeg, in.decMin);
    boundedAngle(r, 90, in.latDeg, in.latMin);
    boundedAngle(r, 180, in.loDeg, in.loMin);
    in.decName = r.below(2) ? NorthSouth::N : NorthSouth::S;
    in.latName = r.below(2) ? NorthSouth::N : NorthSouth::S;
    in.loName = r.below(2) ? WestEast::W : WestEast::E;
    return in;
}

constexpr std::uint64_t samplesPerItem = 10'000;

struct Sweep {
    Options options;
    std::vector<int> lha, latDec;
    std::vector<std::string> degreeTexts; // "0" to "719"
    std::uint64_t gridItems = 0;          // one per LHA degree and method
    std::uint64_t sampleItems = 0;
    std::atomic<std::uint64_t> nextItem{0};
    std::atomic<std::uint64_t> sightsDone{0};
    std::mutex progressMutex;
    std::unique_ptr<progress::ProgressLine> progressLine;

    std::uint64_t gridItemSights() const { return latDec.size() * latDec.size() * 4; }
    std::uint64_t sights() const { return gridItems * gridItemSights() + options.samples; }

    void gridItem(std::uint64_t item, sweep::Statistics& stats) const {
        ReductionInput in;
        in.method = item % 2 == 0 ? Method::Q : Method::QQ;
        in.ghaDeg = degreeTexts[static_cast<std::size_t>(lha[item / 2])];
        for (const int dec : latDec)
            for (const int lat : latDec)
                for (const NorthSouth decName : {NorthSouth::N, NorthSouth::S})
                    for (const NorthSouth latName : {NorthSouth::N, NorthSouth::S}) {
                        in.decDeg = degreeTexts[static_cast<std::size_t>(dec)];
                        in.latDeg = degreeTexts[static_cast<std::size_t>(lat)];
                        in.decName = decName;
                        in.latName = latName;
                        stats.add(in, sweep::reduceAndCheck(in));
                    }
    }

    void sampleItem(std::uint64_t item, sweep::Statistics& stats) const {
        const std::uint64_t first = item * samplesPerItem;
        const std::uint64_t last = std::min(first + samplesPerItem, options.samples);
        for (std::uint64_t i = first; i < last; ++i) {
            const ReductionInput in = sampledSight(options.seed, i);
            stats.add(in, sweep::reduceAndCheck(in));
        }
    }

    void work(sweep::Statistics& stats) {
        const std::uint64_t items = gridItems + sampleItems;
        for (std::uint64_t item; (item = nextItem++) < items;) {
            const std::uint64_t before = stats.sights;
            if (item < gridItems)
                gridItem(item, stats);
            else
                sampleItem(item - gridItems, stats);
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
    auto sweep = std::make_unique<Sweep>();
    if (!parseOptions(argc, argv, sweep->options)) {
        std::fputs(usage, stderr);
        return 64;
    }
    const Options& o = sweep->options;
    sweep->lha = lhaDegrees(o.reduced);
    sweep->latDec = latDecDegrees(o.reduced);
    for (int d = 0; d <= 719; ++d)
        sweep->degreeTexts.push_back(std::to_string(d));
    sweep->gridItems = sweep->lha.size() * 2;
    sweep->sampleItems = (o.samples + samplesPerItem - 1) / samplesPerItem;

    sweep->progressLine =
        std::make_unique<progress::ProgressLine>(progress::progressTerminal(o.quiet), "sweep",
                                                 "sights", static_cast<long long>(sweep->sights()));
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
