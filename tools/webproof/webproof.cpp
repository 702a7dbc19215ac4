// The same digits in the WebAssembly build as in the native one. This program
// is built twice, natively and with Emscripten for Node, and both builds go
// over the same work in chunks, printing one line per chunk with a hash of
// everything the core shows a user: the sweep's grid and sampled sights
// (each sight's outcome, and the whole printed form of a complete one), the
// table function and its inverse over their whole domain, TextValue on
// random texts and the number patterns on random doubles. compare.sh runs
// both and compares the lines; --dump prints one chunk in full, so a
// differing chunk can be looked at sight by sight.
//
//   webproof [--reduced] [--part K/N] [--dump KIND INDEX] [--speed SECONDS]

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "entry/textvalue.h"
#include "printout/patterns.h"
#include "printout/workedform.h"
#include "reduction/calculate.h"
#include "reduction/table.h"
#include "testing/entries.h"
#include "tools/sweep/sights.h"

namespace {

using reduction::Method;
using reduction::Outcome;
using reduction::ReductionInput;
using reduction::ReductionRecord;

// std::bit_cast, which Emscripten's libc++ lacks.
std::uint64_t bitsOf(double x) {
    std::uint64_t bits = 0;
    std::memcpy(&bits, &x, sizeof bits);
    return bits;
}

double fromBits(std::uint64_t bits) {
    double x = 0;
    std::memcpy(&x, &bits, sizeof x);
    return x;
}

// FNV-1a, 64 bits: the same on every platform, and enough to tell two runs
// of a chunk apart.
struct Hash {
    std::uint64_t value = 0xcbf29ce484222325ull;
    void add(std::string_view bytes) {
        for (const char c : bytes) {
            value ^= static_cast<unsigned char>(c);
            value *= 0x100000001b3ull;
        }
    }
    void add(double x) {
        const auto bits = bitsOf(x);
        for (int i = 0; i < 64; i += 8) {
            value ^= (bits >> i) & 0xFF;
            value *= 0x100000001b3ull;
        }
    }
};

// Where one chunk's text goes: into the hash, and in --dump also to stdout.
struct Sink {
    Hash shown;      // what a user sees: forms, outcomes, table values, texts
    Hash libraryRaw; // the mathematical library's own results, before rounding
    bool dump = false;
    std::uint64_t items = 0;

    void line(std::string_view text) {
        shown.add(text);
        shown.add("\n");
        if (dump)
            std::printf("%.*s\n", static_cast<int>(text.size()), text.data());
    }
    void raw(std::string_view call, double result);
};

// The bits of a double in hexadecimal: "%a" writes subnormals differently in
// glibc and musl.
std::string hexDouble(double x) {
    char text[20];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(bitsOf(x)));
    return text;
}

void Sink::raw(std::string_view call, double result) {
    libraryRaw.add(result);
    if (dump)
        std::printf("    %.*s = %s\n", static_cast<int>(call.size()), call.data(),
                    hexDouble(result).c_str());
}

// One sight as a user meets it: "Check your data.", the failure message, or
// the form's lines.
void reduceSight(const ReductionInput& in, ReductionRecord& record, Sink& sink) {
    ++sink.items;
    if (sink.dump)
        std::printf("## sightform %s\n", sweep::describeEntries(in).c_str());
    const reduction::CalculationResult result = reduction::calculateReduction(in, record);
    switch (result.outcome) {
    case Outcome::Complete:
        for (const std::string& line :
             printout::renderLines(printout::buildWorkedForm(record, in.method)))
            sink.line(line);
        break;
    case Outcome::CheckData:
        sink.line(reduction::checkDataMessage);
        break;
    case Outcome::ArithmeticFailure:
        sink.line(reduction::arithmeticFailureText(result.reason));
        break;
    }
}

// The table function and its inverse, over every angle to a tenth of a
// minute and to a hundredth of a degree (as invQ gives them) from 0 to 180,
// and every table value to a hundredth from 0 to past Q(0) in QQ(x): the
// printed digits of any reduction come from these. Beside them, the raw
// results of the library calls they make (hashed apart), so a last-bit
// difference that the rounding hides still shows. The reduced work takes the
// first two chunks: every angle to a tenth of a minute in Q(x), and some more.
constexpr std::uint64_t tableChunkSize = 100'000;

struct TableRange {
    bool angles; // Q of angles, or invQ of table values
    std::uint64_t count;
    double step;
};
constexpr TableRange tableRanges[] = {
    {true, 180 * 600 + 1, 600},
    {true, 180 * 100 + 1, 100},
    {false, 5'100'000, 100}, // Q(0) in QQ(x) is 50302.85
};

constexpr std::uint64_t tableItemsPerMethod() {
    std::uint64_t count = 0;
    for (const TableRange& range : tableRanges)
        count += range.count;
    return count;
}

void tableChunk(std::uint64_t index, Sink& sink) {
    constexpr std::uint64_t perMethod = tableItemsPerMethod();
    for (std::uint64_t i = index * tableChunkSize; i < (index + 1) * tableChunkSize; ++i) {
        if (i >= 2 * perMethod)
            return;
        ++sink.items;
        const Method method = i < perMethod ? Method::Q : Method::QQ;
        std::uint64_t k = i % perMethod;
        const TableRange* range = tableRanges;
        for (; k >= range->count; ++range)
            k -= range->count;
        const double x = static_cast<double>(k) / range->step;
        char text[96];
        // The raw calls are those table.cpp makes, written out again here.
        if (range->angles) {
            std::snprintf(text, sizeof text, "Q(%s) = %s", hexDouble(x).c_str(),
                          hexDouble(reduction::Q(x, method)).c_str());
            sink.line(text);
            const double s = std::sin((k == 0 ? 1e-11 : x) * reduction::pi / 180);
            sink.raw("sin", s);
            sink.raw("log", std::log(s));
        } else {
            std::snprintf(text, sizeof text, "invQ(%s) = %s", hexDouble(x).c_str(),
                          hexDouble(reduction::invQ(x, method)).c_str());
            sink.line(text);
            const double q = k == 0 ? 1e-11 : x;
            const double e =
                method == Method::Q ? std::exp(-q / 1000) : std::exp((-q * 5840) / 10000000);
            sink.raw("exp", e);
            sink.raw("atan", std::atan(e / std::sqrt(1 - e * e)));
        }
    }
}

std::uint64_t tableChunks() {
    return (2 * tableItemsPerMethod() + tableChunkSize - 1) / tableChunkSize;
}

constexpr std::uint64_t textsPerChunk = 50'000;

// Pasted texts over the characters a number is made of and some that end
// one, read by TextValue (strtod in the WebAssembly build, std::from_chars
// natively); then random doubles in every print pattern (snprintf against
// std::to_chars).
void numbersChunk(std::uint64_t index, Sink& sink) {
    static constexpr std::string_view alphabet = "0123456789012345678901234567890123456789"
                                                 "....--+eEdD \t&HhOo1e3e-3e30e300e400x";
    sweep::Random r{0x5840'0000ull + index};
    for (std::uint64_t i = 0; i < textsPerChunk; ++i) {
        ++sink.items;
        std::string text(r.next() % 24, ' ');
        for (char& c : text)
            c = alphabet[r.next() % alphabet.size()];
        std::string out = "TextValue(\"" + text + "\") = " + hexDouble(TextValue(text));
        // Half of the doubles in the range of angles and table values.
        double x = fromBits(r.next());
        if (i % 2 == 0 && std::isfinite(x) && x != 0)
            x = std::ldexp(x, -std::ilogb(x)) * static_cast<double>(r.next() % 60000) / 64;
        out += "  " + hexDouble(x) + ":";
        for (const auto pattern : {printout::Pattern::Whole, printout::Pattern::TwoDigitTenths,
                                   printout::Pattern::Tenths, printout::Pattern::Hundredths})
            out += " " + printout::formatNumber(x, pattern);
        sink.line(out);
    }
}

constexpr std::uint64_t numbersChunks(bool reduced) {
    return reduced ? 2 : 20;
}

// The work, as an ordered list of chunks of four kinds.
struct Work {
    sweep::Sights sights; // those of the sweep with its default seed
    bool reduced;

    explicit Work(bool r) : sights(r, r ? 5'000 : 1'000'000, 1), reduced(r) {}

    struct Kind {
        const char* name;
        std::uint64_t chunks;
    };
    std::vector<Kind> kinds() const {
        return {{"grid", sights.gridItems()},
                {"sample", sights.sampleItems()},
                {"table", reduced ? 2 : tableChunks()},
                {"numbers", numbersChunks(reduced)}};
    }

    void run(std::string_view kind, std::uint64_t index, Sink& sink) const {
        ReductionRecord record;
        const auto reduce = [&](const ReductionInput& in) { reduceSight(in, record, sink); };
        if (kind == "grid") {
            sights.forEachSight(index, reduce);
        } else if (kind == "sample") {
            sights.forEachSight(sights.gridItems() + index, reduce);
        } else if (kind == "table") {
            tableChunk(index, sink);
        } else {
            numbersChunk(index, sink);
        }
    }
};

// The benchmark loop of bench_reduction (the first worked example reduced
// over and over), and the reduced grid's sights each reduced and, when
// complete, printed: rates per second, for the native and WebAssembly builds
// to be set side by side. Wall-clock time, as Node offers no CPU time to the
// program: each rate is the best of rounds of a quarter second over the
// given seconds, so a round that other processes preempted does not count.
void speed(double seconds) {
    using Clock = std::chrono::steady_clock;
    constexpr double roundSeconds = 0.25;
    const ReductionInput example = testentries::firstExample();
    ReductionRecord record;
    volatile int sink = 0;

    const auto measure = [&](const char* what, auto&& once) {
        double best = 0;
        const auto start = Clock::now();
        while (std::chrono::duration<double>(Clock::now() - start).count() < seconds) {
            std::uint64_t count = 0;
            const auto roundStart = Clock::now();
            double elapsed = 0;
            do {
                for (int i = 0; i < 100; ++i, ++count)
                    once();
                elapsed = std::chrono::duration<double>(Clock::now() - roundStart).count();
            } while (elapsed < roundSeconds);
            best = std::max(best, static_cast<double>(count) / elapsed);
        }
        std::printf("%s %.0f\n", what, best);
    };
    measure("reductions/s", [&] {
        sink = static_cast<int>(reduction::calculateReduction(example, record).outcome);
    });
    const sweep::SightGrid grid(true);
    std::vector<ReductionInput> sights;
    for (std::uint64_t i = 0; i < grid.items(); ++i)
        grid.forEachSight(i, [&](const ReductionInput& in) { sights.push_back(in); });
    std::size_t next = 0;
    measure("sights-with-forms/s", [&] {
        const ReductionInput& in = sights[next++ % sights.size()];
        if (reduction::calculateReduction(in, record).outcome == Outcome::Complete)
            sink = static_cast<int>(
                printout::renderLines(printout::buildWorkedForm(record, in.method)).size());
    });
}

template <typename T> bool parseNumber(std::string_view text, T& value) {
    const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && ptr == text.data() + text.size();
}

const char* const usage =
    "usage: webproof [--reduced] [--part K/N] [--dump KIND INDEX] [--speed SECONDS]\n"
    "  prints one line per chunk: kind, index, items, hash of what is shown, hash of\n"
    "  the library's raw results; --part K/N only chunks K, K+N, K+2N, ... (0 <= K < N);\n"
    "  --dump prints that chunk in full; --speed prints reductions per second, and\n"
    "  sights reduced and printed per second\n";

} // namespace

int main(int argc, char** argv) {
    bool reduced = false;
    std::uint64_t part = 0, parts = 1;
    std::string dumpKind;
    std::uint64_t dumpIndex = 0;
    int speedSeconds = 0;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--reduced") {
            reduced = true;
        } else if (arg == "--part" && i + 1 < argc) {
            const std::string_view value = argv[++i];
            const auto slash = value.find('/');
            if (slash == std::string_view::npos || !parseNumber(value.substr(0, slash), part) ||
                !parseNumber(value.substr(slash + 1), parts) || part >= parts) {
                std::fputs(usage, stderr);
                return 64;
            }
        } else if (arg == "--dump" && i + 2 < argc) {
            dumpKind = argv[++i];
            if (!parseNumber(argv[++i], dumpIndex)) {
                std::fputs(usage, stderr);
                return 64;
            }
        } else if (arg == "--speed" && i + 1 < argc) {
            if (!parseNumber(argv[++i], speedSeconds) || speedSeconds <= 0) {
                std::fputs(usage, stderr);
                return 64;
            }
        } else {
            std::fputs(usage, stderr);
            return 64;
        }
    }
    if (speedSeconds > 0) {
        speed(speedSeconds);
        return 0;
    }

    const Work work(reduced);
    if (!dumpKind.empty()) {
        for (const auto& kind : work.kinds())
            if (dumpKind == kind.name && dumpIndex < kind.chunks) {
                Sink sink;
                sink.dump = true;
                work.run(dumpKind, dumpIndex, sink);
                return 0;
            }
        std::fprintf(stderr, "webproof: no chunk %s %llu\n", dumpKind.c_str(),
                     static_cast<unsigned long long>(dumpIndex));
        return 64;
    }

    std::uint64_t chunk = 0;
    for (const auto& kind : work.kinds())
        for (std::uint64_t index = 0; index < kind.chunks; ++index, ++chunk) {
            if (chunk % parts != part)
                continue;
            Sink sink;
            work.run(kind.name, index, sink);
            std::printf("%s %llu %llu %016llx %016llx\n", kind.name,
                        static_cast<unsigned long long>(index),
                        static_cast<unsigned long long>(sink.items),
                        static_cast<unsigned long long>(sink.shown.value),
                        static_cast<unsigned long long>(sink.libraryRaw.value));
            std::fflush(stdout);
        }
    return 0;
}
