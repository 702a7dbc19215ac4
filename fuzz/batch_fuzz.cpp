// The batch reader on whole files of any bytes: no crash, and every line
// that is neither blank nor the header comes out exactly once, under its own
// number and in order, whatever bytes it holds; none is lost or merged. The
// expected rows are worked out here from the bytes alone, by splitting at
// "\n", so a reader that stops at a NUL or glues lines together disagrees.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string_view>
#include <vector>

#include "cli/batch.h"
#include "cli/batchrow.h"
#include "cli/sightreport.h"

namespace {

class NumberedRows : public cli::RowHandler {
  public:
    void row(long long number, const std::optional<cli::Sight>& sight, std::string_view problem,
             const cli::OtherCells&) override {
        if (!sight && problem.empty()) {
            std::fprintf(stderr, "row %lld is malformed without a reason\n", number);
            std::abort();
        }
        numbers.push_back(number);
    }
    std::vector<long long> numbers;
};

bool startsWith(std::string_view bytes, std::string_view prefix) {
    return bytes.substr(0, prefix.size()) == prefix;
}

std::vector<long long> expectedRows(std::string_view bytes) {
    std::vector<long long> rows;
    long long number = 0;
    while (!bytes.empty()) {
        const std::size_t end = bytes.find('\n');
        std::string_view line = bytes.substr(0, end);
        bytes.remove_prefix(end == std::string_view::npos ? bytes.size() : end + 1);
        ++number;
        if (number == 1 && startsWith(line, "\xEF\xBB\xBF")) {
            line.remove_prefix(3);
        }
        const bool overlong = line.size() > cli::maxBatchLineBytes;
        if (!overlong && ((number == 1 && cli::isHeaderLine(line)) || cli::isBlankLine(line))) {
            continue;
        }
        rows.push_back(number);
    }
    return rows;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    cli::BufferSource in(bytes);
    NumberedRows rows;
    const cli::BatchSummary summary = cli::reduceBatch(in, rows);

    const bool utf16 = startsWith(bytes, "\xFF\xFE") || startsWith(bytes, "\xFE\xFF");
    const std::vector<long long> expected = utf16 ? std::vector<long long>{} : expectedRows(bytes);
    const bool endAgrees = summary.end == (utf16 ? cli::BatchEnd::Utf16 : cli::BatchEnd::Read);
    if (!endAgrees || rows.numbers != expected ||
        summary.rows != static_cast<long long>(expected.size())) {
        std::fprintf(stderr, "%zu rows handed on, %zu lines expected\n", rows.numbers.size(),
                     expected.size());
        for (std::size_t i = 0; i < rows.numbers.size() || i < expected.size(); ++i) {
            std::fprintf(stderr, "  handed %lld, expected %lld\n",
                         i < rows.numbers.size() ? rows.numbers[i] : -1,
                         i < expected.size() ? expected[i] : -1);
        }
        std::abort();
    }

    // The text output gives one block per row, each starting "Row N:".
    cli::BufferSource again(bytes);
    cli::StringSink out;
    cli::reduceBatch(again, out, {});
    std::size_t blocks = 0;
    for (std::size_t at = out.text().find("Row "); at != std::string::npos;
         at = out.text().find("\n\nRow ", at + 1)) {
        ++blocks;
    }
    if (!expected.empty() && blocks < expected.size()) {
        std::fprintf(stderr, "%zu text blocks for %zu rows\n", blocks, expected.size());
        std::abort();
    }
    return 0;
}
