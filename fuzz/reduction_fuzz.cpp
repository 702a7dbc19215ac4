// calculateReduction and the worked form on any field texts the window can
// hold, any names and either method: every invariant of the whole-domain
// sweep (tools/sweep/invariants.h) holds.
//
// Input: one byte of choices (bit 0 the method, bits 1 to 3 the declination,
// latitude and longitude names), then the eight field texts separated by
// '|' in the window's tab order (GHA, declination, latitude, longitude, each
// degrees then minutes), each cut to the most characters its field holds.

#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "tools/sweep/invariants.h"

namespace {

using reduction::Method;
using reduction::NorthSouth;
using reduction::WestEast;

// The fields' maximum lengths, in the order of the input.
constexpr std::array<std::size_t, 8> maxLength = {3, 4, 2, 4, 2, 4, 3, 4};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    reduction::ReductionInput in;
    const std::uint8_t choices = data[0];
    in.method = (choices & 1) ? Method::QQ : Method::Q;
    in.decName = (choices & 2) ? NorthSouth::S : NorthSouth::N;
    in.latName = (choices & 4) ? NorthSouth::S : NorthSouth::N;
    in.loName = (choices & 8) ? WestEast::E : WestEast::W;

    std::array<std::string*, 8> fields = {&in.ghaDeg, &in.ghaMin, &in.decDeg, &in.decMin,
                                          &in.latDeg, &in.latMin, &in.loDeg,  &in.loMin};
    std::string_view rest(reinterpret_cast<const char*>(data + 1), size - 1);
    for (std::size_t i = 0; i < fields.size() && !rest.empty(); ++i) {
        const std::size_t bar = rest.find('|');
        const std::string_view text = rest.substr(0, bar);
        *fields[i] = std::string(text.substr(0, maxLength[i]));
        rest = bar == std::string_view::npos ? std::string_view() : rest.substr(bar + 1);
    }

    const sweep::SightReport report = sweep::reduceAndCheck(in);
    if (!report.violations.empty()) {
        std::fprintf(stderr, "%s\n", sweep::describeEntries(in).c_str());
        for (const std::string& v : report.violations)
            std::fprintf(stderr, "    %s\n", v.c_str());
        std::abort();
    }
    return 0;
}
