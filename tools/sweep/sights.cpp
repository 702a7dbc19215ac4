#include "tools/sweep/sights.h"

#include <cstdio>
#include <set>
#include <string_view>

namespace sweep {
namespace {

using reduction::Method;
using reduction::NorthSouth;
using reduction::ReductionInput;
using reduction::WestEast;

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
    // Whole strings, not literals: GCC 12 warns wrongly (-Wrestrict) about
    // assigning a literal chosen by ?: once this is inlined.
    if (d == bound && r.below(64) != 0)
        min = r.below(2) ? std::string() : std::string("0");
}

// Quoted for a POSIX shell, control and non-ASCII bytes as \xNN.
void appendQuoted(std::string& out, const std::string& text) {
    out += '"';
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\' || c == '$' || c == '`') {
            out += '\\';
            out += c;
        } else if (byte < 0x20 || byte >= 0x7F) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
            out += escaped;
        } else {
            out += c;
        }
    }
    out += '"';
}

} // namespace

SightGrid::SightGrid(bool reduced) : lha_(lhaDegrees(reduced)), latDec_(latDecDegrees(reduced)) {
    for (int d = 0; d <= 719; ++d)
        degreeTexts_.push_back(std::to_string(d));
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

std::string describeEntries(const ReductionInput& in) {
    std::string out = "--method ";
    out += in.method == reduction::Method::Q ? "Q" : "QQ";
    const auto field = [&out](const char* option, std::string_view name, const std::string& deg,
                              const std::string& min) {
        out += ' ';
        out += option;
        if (!name.empty()) {
            out += ' ';
            out += name;
        }
        out += ' ';
        appendQuoted(out, deg);
        out += ' ';
        appendQuoted(out, min);
    };
    field("--gha", "", in.ghaDeg, in.ghaMin);
    field("--dec", reduction::nameText(in.decName), in.decDeg, in.decMin);
    field("--lat", reduction::nameText(in.latName), in.latDeg, in.latMin);
    field("--lon", reduction::nameText(in.loName), in.loDeg, in.loMin);
    return out;
}

} // namespace sweep
