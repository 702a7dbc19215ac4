// sightform --check's reader and the checker on class files of any bytes:
// no crash, every row after the header handed on once, a malformed row with
// a reason, and for a checked row a report that holds together: each value
// given prints as a text that reads back as itself, and exactly the values
// marked "differs" carry a slip, in the order of the form. The first byte
// chooses whether the file starts with a header naming every value column,
// so that the rows' cells are read and checked rather than the header
// refused.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "check/check.h"
#include "cli/batchrow.h"
#include "cli/checkreport.h"
#include "cli/checkrows.h"

namespace {

[[noreturn]] void fail(long long row, const std::string& what) {
    std::fprintf(stderr, "row %lld: %s\n", row, what.c_str());
    std::abort();
}

class CheckedRows : public cli::CheckRowHandler {
  public:
    void row(const cli::CheckRow& row) override {
        if (row.number <= last_) {
            fail(row.number, "handed on out of order");
        }
        last_ = row.number;
        if (!row.input) {
            if (row.problem.empty()) {
                fail(row.number, "malformed without a reason");
            }
            return;
        }
        const check::CheckResult& result = row.result;
        std::size_t differs = 0;
        for (std::size_t i = 0; i < result.values.size(); ++i) {
            const check::ValueCheck& value = result.values[i];
            if (i > 0 && result.values[i - 1].id >= value.id) {
                fail(row.number, "values out of the order of the form");
            }
            const check::ReadValue back = check::readValue(value.id, value.givenText);
            if (!back.value || check::printedUnits(value.id, *back.value) !=
                                   check::printedUnits(value.id, value.given)) {
                fail(row.number, std::string(check::valueName(value.id)) + " " + value.givenText +
                                     " does not read back");
            }
            if (value.mark == check::Mark::Differs) {
                if (differs >= result.slips.size() || result.slips[differs].shownAt != value.id) {
                    fail(row.number,
                         std::string(check::valueName(value.id)) + " differs without its slip");
                }
                ++differs;
            }
        }
        if (differs != result.slips.size()) {
            fail(row.number, "a slip at a value that does not differ");
        }
        // The report is written whole.
        if (!cli::checkReportText(row).ends_with("\n\n")) {
            fail(row.number, "report not ended");
        }
    }

  private:
    long long last_ = 0;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    std::string bytes;
    if (data[0] % 2 == 0) {
        bytes = cli::batchHeader();
        for (const check::ValueId id : check::allValues()) {
            bytes += "," + std::string(check::valueName(id));
        }
        bytes += "\n";
    }
    bytes.append(reinterpret_cast<const char*>(data) + 1, size - 1);
    const auto tolerance = static_cast<check::Tolerance>(data[0] / 2 % 3);
    cli::BufferSource in(bytes);
    CheckedRows rows;
    cli::checkRows(in, tolerance, rows);
    return 0;
}
