// What a checked sheet says to a student: the slip lines and the summary,
// each value named as the form writes it, for whole sheets and sheets with
// boxes left empty or unreadable.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "check/check.h"

namespace {

using check::ValueId;

reduction::ReductionInput sight(const char* gha, const char* ghaMin, const char* dec,
                                const char* decMin, const char* lat, const char* latMin,
                                const char* lo, const char* loMin) {
    reduction::ReductionInput in;
    in.ghaDeg = gha;
    in.ghaMin = ghaMin;
    in.decDeg = dec;
    in.decMin = decMin;
    in.latDeg = lat;
    in.latMin = latMin;
    in.loDeg = lo;
    in.loMin = loMin;
    return in;
}

// The first worked example: GHA 54°12.3', N 20°15.0', N 40°00.0', W 70°00.0'.
const reduction::ReductionInput firstExample =
    sight("54", "12.3", "20", "15.0", "40", "0", "70", "0");

// A student who looked up Q(dec) for Q(90 - dec) and left out the Z rule,
// every other value worked on right from their own numbers.
const char* const twoSlips =
    "344°12.3'|15°47.7'|15°47.7'|69°45.0'|1060.98|1301.23|2362.21|5°24.6'|84°35.4'|1060.98|4.46|"
    "1056.52|20°20.4'|20°20.4'|109°39.6'|70°20.4'|60.06|64.52|69°38.4'|20°21.6'|2361.46|1055.79|"
    "1305.67|15.7|15.7|15.7";

struct TextCase {
    const char* name;
    reduction::ReductionInput entries;
    // The boxes in the order of the form, separated by |: empty for a box
    // left empty (or unreadable), = for the right value.
    std::string sheet;
    check::Tolerance tolerance;
    std::size_t unreadable;
    std::string summary;
    std::vector<std::string> slipLines;
};

class CheckedSheet : public testing::TestWithParam<TextCase> {};

TEST_P(CheckedSheet, SaysWhatTheFormSays) {
    const TextCase& c = GetParam();
    const check::WorkedValues right = check::workWithSlips(c.entries, {});
    check::WorkedValues given;
    std::size_t at = 0;
    for (const ValueId id : check::allValues()) {
        const std::size_t end = std::min(c.sheet.find('|', at), c.sheet.size());
        const std::string box = at < end ? c.sheet.substr(at, end - at) : "";
        at = end + 1;
        given[id] = box == "=" ? right[id] : check::readValue(id, box).value;
    }
    const check::CheckResult result = check::checkWorkedForm(c.entries, given, c.tolerance);
    EXPECT_EQ(check::checkSummary(result, c.unreadable), c.summary);
    std::vector<std::string> lines;
    for (const check::FoundSlip& slip : result.slips) {
        lines.push_back(check::slipText(slip));
    }
    EXPECT_EQ(lines, c.slipLines);
    EXPECT_EQ(result.allAgree(), !result.blank && result.slips.empty());
}

const std::string zRule = "Z rule not applied (for contrary names, and for same names with the "
                          "original u over 90°, Z = 180° - Z, as footnote **** says)";
const std::string complementSlip = "Q(90 - dec) 1060.98: Q(x) and Q(90 - x) confused (the table "
                                   "was entered with 90° - x where the form asks for Q(x), or "
                                   "with x where it asks for Q(90 - x)); the right value is 63.80";
const std::string everyBox = "=|=|=|=|=|=|=|=|=|=|=|=|=|=|=|=|=|=|=|=|=|=|=|=|=|=";

const TextCase textCases[] = {
    {"TwoSlipsNamedAsTheFormWritesThem",
     firstExample,
     twoSlips,
     check::Tolerance::Whole,
     0,
     "26 values checked: 2 slips, listed below.",
     {complementSlip, "Z after its rule 15.7°: " + zRule +
                          "; your own numbers give 164.3°, the right value 141.0°"}},
    {"ASubtractionOffFromTheStudentsOwnNumbers",
     firstExample,
     "=|=|=|=|1060.98|=|2362.21|5°24.6'|84°35.4'|1060.98|4.46|1066.52",
     check::Tolerance::Whole,
     0,
     "12 values checked: 2 slips, listed below.",
     {complementSlip, "Q(w) 1066.52: arithmetic or reading slip; your own numbers give 1056.52, "
                      "the right value 1027.24"}},
    {"UnreadableBoxesAreNotCheckedAndSaidSo",
     firstExample,
     "=|=|=||=|=|=|=||=|=||=|=|=||=|=|=||=||=|=|=||=",
     check::Tolerance::Whole,
     7,
     "The 19 values that could be read agree with the form. 7 boxes marked ? could not be "
     "read, so they were not checked.",
     {}},
    {"AnUnreadableBoxBesideSlips",
     firstExample,
     std::string(twoSlips).substr(10),
     check::Tolerance::Whole,
     1,
     "25 values checked: 2 slips, listed below. 1 box marked ? could not be read, so it was "
     "not checked.",
     {complementSlip, "Z after its rule 15.7°: " + zRule +
                          "; your own numbers give 164.3°, the right value 141.0°"}},
    {"ABlankSheetChecksNothing",
     firstExample,
     "",
     check::Tolerance::Whole,
     0,
     "Nothing to check: the boxes are empty.",
     {}},
    // Hc's hundredths written as minutes, 4' off: a last digit rounded the
    // other way (0.6') does not explain it, whatever the readings allow.
    {"ACauseOnlyWhereItExplainsTheNumber",
     sight("349", "16.6", "67", "4.2", "83", "44.2", "113", "7.1"),
     "=|=|=|=|=|=|=|=|=|=|=|=|=|=|=|=|=|=|63°10.0'",
     check::Tolerance::Whole,
     0,
     "19 values checked: 1 slip, listed below.",
     {"Hc 63°10.0': decimal degrees written as minutes (the table's angle is in degrees and "
      "hundredths: 15.50° is 15°30.0', not 15°50.0'); the right value is 63°06.0'"}},
};

INSTANTIATE_TEST_SUITE_P(Check, CheckedSheet, testing::ValuesIn(textCases),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
