// sightform as a black box, on sights with contrary names, southern
// latitudes, hour angles on both sides of the meridian and east longitudes:
// through its options and through batch rows, every record field it writes is
// the core's own, its form is the core's form, and its exact solution is the
// spherical triangle of the same sight.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <string>
#include <type_traits>
#include <variant>
#include <vector>

#include "cli/tests/jsonread.h"
#include "cli/tests/sightformrun.h"
#include "printout/workedform.h"
#include "reduction/calculate.h"
#include "testing/entries.h"
#include "testing/exactsight.h"

namespace {

using reduction::Method;
using reduction::Outcome;
using reduction::ReductionInput;
using reduction::ReductionRecord;

// Every field of the record, by the name sightform writes it under.
using Member = std::variant<double ReductionRecord::*, std::int16_t ReductionRecord::*,
                            bool ReductionRecord::*>;
struct Field {
    const char* name;
    Member member;
};

#define FIELD(name)                                                                                \
    Field {                                                                                        \
#name, &ReductionRecord::name                                                              \
    }
const Field recordFields[] = {
    FIELD(GHA),       FIELD(Lo),       FIELD(LHA),     FIELD(LHADeg),   FIELD(LHAMin),
    FIELD(t),         FIELD(tDeg),     FIELD(tMin),    FIELD(tUsed),    FIELD(tUsedDeg),
    FIELD(tUsedMin),  FIELD(tOver90),  FIELD(LatDeg),  FIELD(LatMin),   FIELD(DecDeg),
    FIELD(DecMin),    FIELD(Lat),      FIELD(Dec),     FIELD(coDecDeg), FIELD(coDecMin),
    FIELD(coDec),     FIELD(Qv),       FIELD(v),       FIELD(vDeg),     FIELD(vMin),
    FIELD(coV),       FIELD(coVDeg),   FIELD(coVMin),  FIELD(Qw),       FIELD(w),
    FIELD(wDeg),      FIELD(wMin),     FIELD(wUsed),   FIELD(wUsedDeg), FIELD(wUsedMin),
    FIELD(sameNames), FIELD(u),        FIELD(uDeg),    FIELD(uMin),     FIELD(uUsed),
    FIELD(uUsedDeg),  FIELD(uUsedMin), FIELD(uOver90), FIELD(QHc),      FIELD(Hc),
    FIELD(HcDeg),     FIELD(HcMin),    FIELD(coHc),    FIELD(coHcDeg),  FIELD(coHcMin),
    FIELD(QZ),        FIELD(Z),        FIELD(ZUsed),   FIELD(Zn),
};
#undef FIELD

// Fields a stopped calculation has not reached yet are those of a fresh
// record in sightform, which reduces every sight from a fresh one; the test
// does the same, so every field can be compared whatever the outcome.
void expectRecord(const jsonread::Value& json, const ReductionRecord& r, const std::string& where) {
    rapidjson::SizeType written = 0;
    for (const Field& field : recordFields) {
        if (!jsonread::has(json, field.name)) {
            ADD_FAILURE() << where << ": no " << field.name;
            continue;
        }
        const jsonread::Value& value = jsonread::member(json, field.name);
        ++written;
        std::visit(
            [&](auto member) {
                using T = std::remove_cvref_t<decltype(r.*member)>;
                if constexpr (std::is_same_v<T, bool>) {
                    EXPECT_TRUE(value.IsBool()) << where << " " << field.name;
                    EXPECT_EQ(value.IsTrue(), r.*member) << where << " " << field.name;
                } else if constexpr (std::is_same_v<T, std::int16_t>) {
                    EXPECT_EQ(jsonread::integer(value, -99999), r.*member)
                        << where << " " << field.name;
                } else {
                    // Shortest round-trip numbers read back as the very doubles.
                    EXPECT_EQ(jsonread::number(value, NAN), r.*member)
                        << where << " " << field.name;
                }
            },
            field.member);
    }
    EXPECT_EQ(jsonread::object(json).MemberCount(), written)
        << where << ": every key is a field of the record";
}

struct Sight {
    const char* name;
    ReductionInput input;
};

// clang-format off
const Sight sights[] = {
    // West of the meridian, contrary names, every minute different.
    {"ContraryNorthLatWest", testentries::entries(Method::Q, "95", "12.4", "S", "12", "34.5", "N", "23", "45.6", "W", "30", "12.3")},
    // East of the meridian by an east longitude, both names south.
    {"SouthSouthEast", testentries::entries(Method::QQ, "200", "7.7", "S", "40", "10.1", "S", "33", "3.3", "E", "100", "20.2")},
    {"SouthSouthEastQ", testentries::entries(Method::Q, "200", "7.7", "S", "40", "10.1", "S", "33", "3.3", "E", "100", "20.2")},
    // Southern latitude, northern declination, west of the meridian.
    {"ContrarySouthLatWest", testentries::entries(Method::Q, "20", "41.9", "N", "8", "2.6", "S", "15", "51.1", "W", "5", "9.9")},
    // A meridian angle of three digits, over 90.
    {"ThreeDigitT", testentries::entries(Method::QQ, "130", "0.5", "N", "50", "0", "N", "60", "0.4", "W", "", "")},
    // Pasted halves: GHA minutes on a half of a tenth round up in LHA and t,
    // declination degrees .5 read as 0 (ties to even).
    {"PastedHalves", testentries::entries(Method::Q, "10", "2.25", "N", ".5", "", "N", "41", ".5", "E", "3", "")},
    // Below the horizon: "Check your data." with the record as far as u.
    {"BelowHorizon", testentries::entries(Method::Q, "150", "", "S", "20", "", "N", "40", "", "W", "", "")},
};
// clang-format on

using sightformrun::Arguments;
using sightformrun::operator+;
using sightformrun::ProgramRun;
using sightformrun::sightform;

Arguments options(const ReductionInput& in) {
    return {"--method",
            in.method == Method::Q ? "Q" : "QQ",
            "--gha",
            in.ghaDeg,
            in.ghaMin,
            "--dec",
            std::string(reduction::nameText(in.decName)),
            in.decDeg,
            in.decMin,
            "--lat",
            std::string(reduction::nameText(in.latName)),
            in.latDeg,
            in.latMin,
            "--lon",
            std::string(reduction::nameText(in.loName)),
            in.loDeg,
            in.loMin};
}

std::string csvRow(const ReductionInput& in) {
    const std::string cells[] = {in.method == Method::Q ? "Q" : "QQ",          in.ghaDeg, in.ghaMin,
                                 std::string(reduction::nameText(in.decName)), in.decDeg, in.decMin,
                                 std::string(reduction::nameText(in.latName)), in.latDeg, in.latMin,
                                 std::string(reduction::nameText(in.loName)),  in.loDeg,  in.loMin};
    std::string row;
    for (const std::string& cell : cells)
        row += (row.empty() ? "" : ",") + cell;
    return row + "\n";
}

// One object of sightform's JSON output against the core's own reduction.
void expectSight(const jsonread::Value& object, const Sight& sight) {
    ReductionRecord r;
    const Outcome outcome = reduction::calculateReduction(sight.input, r).outcome;
    const std::string where = sight.name;
    expectRecord(jsonread::object(jsonread::member(object, "record")), r, where);

    const jsonread::Value& form = jsonread::array(jsonread::member(object, "form"));
    if (outcome != Outcome::Complete) {
        EXPECT_EQ(jsonread::text(jsonread::member(object, "outcome")), "check-data") << where;
        EXPECT_TRUE(form.Empty()) << where;
        EXPECT_FALSE(jsonread::has(object, "exact")) << where;
        return;
    }
    EXPECT_EQ(jsonread::text(jsonread::member(object, "outcome")), "complete") << where;
    const auto lines = printout::renderLines(printout::buildWorkedForm(r, sight.input.method));
    ASSERT_EQ(form.Size(), lines.size()) << where;
    for (rapidjson::SizeType i = 0; i < lines.size(); ++i)
        EXPECT_EQ(jsonread::text(form[i]), lines[i]) << where;

    // The exact solution of the same LHA, latitude and declination, signed by
    // their names, and the table's printed values minus it.
    const jsonread::Value& exact = jsonread::member(object, "exact");
    const auto south = [](reduction::NorthSouth n) { return n == reduction::NorthSouth::S; };
    const testexact::Exact expected =
        testexact::exactSight(r.LHA, south(sight.input.latName) ? -r.Lat : r.Lat,
                              south(sight.input.decName) ? -r.Dec : r.Dec);
    EXPECT_NEAR(jsonread::number(jsonread::member(exact, "Hc")), expected.Hc, 1e-9) << where;
    EXPECT_NEAR(jsonread::number(jsonread::member(exact, "Zn")), expected.Zn, 1e-9) << where;
    EXPECT_NEAR(jsonread::number(jsonread::member(exact, "dHcArcmin")),
                (r.HcDeg + r.HcMin / 60 - expected.Hc) * 60, 1e-6)
        << where;
    EXPECT_NEAR(jsonread::number(jsonread::member(exact, "dZnDeg")),
                testexact::azimuthDifference(r.Zn, expected.Zn), 1e-6)
        << where;
}

rapidjson::Document parse(const std::string& line) {
    rapidjson::Document document = jsonread::parse(line);
    EXPECT_TRUE(document.IsObject()) << line;
    return document;
}

// The lines of an output, blanks at either end left out.
std::vector<std::string> trimmedLines(const std::string& text) {
    const std::size_t first = text.find_first_not_of(" \t\n\v\f\r");
    const std::size_t last = text.find_last_not_of(" \t\n\v\f\r");
    const std::string trimmed =
        first == std::string::npos ? "" : text.substr(first, last - first + 1);
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = trimmed.find('\n', start)) != std::string::npos; start = end + 1)
        lines.push_back(trimmed.substr(start, end - start));
    lines.push_back(trimmed.substr(start));
    return lines;
}

TEST(SightformNames, OptionsGiveTheCoreRecordFormAndExactSolution) {
    for (const Sight& sight : sights) {
        const ProgramRun run = sightform(Arguments{"--json", "--exact"} + options(sight.input));
        const std::vector<std::string> lines = trimmedLines(run.out);
        ASSERT_EQ(lines.size(), 1u) << sight.name;
        const rapidjson::Document object = parse(lines[0]);
        EXPECT_EQ(run.status,
                  jsonread::text(jsonread::member(object, "outcome")) == "complete" ? 0 : 1)
            << sight.name;
        expectSight(object, sight);
    }
}

TEST(SightformNames, BatchRowsGiveTheCoreRecordFormAndExactSolution) {
    std::string rows;
    for (const Sight& sight : sights)
        rows += csvRow(sight.input);
    const ProgramRun run = sightform({"--batch", "-", "--json", "--exact"}, rows);
    EXPECT_EQ(run.status, 0);
    const std::vector<std::string> lines = trimmedLines(run.out);
    ASSERT_EQ(lines.size(), std::size(sights));
    for (std::size_t i = 0; i < std::size(sights); ++i) {
        const rapidjson::Document object = parse(lines[i]);
        EXPECT_EQ(jsonread::integer(jsonread::member(object, "row")), int(i) + 1);
        expectSight(object, sights[i]);
    }
}

TEST(SightformNames, TextFormIsTheCoreForm) {
    for (const Sight& sight : sights) {
        ReductionRecord r;
        if (reduction::calculateReduction(sight.input, r).outcome != Outcome::Complete)
            continue;
        std::string expected;
        for (const std::string& line :
             printout::renderLines(printout::buildWorkedForm(r, sight.input.method)))
            expected += line + "\n";
        const ProgramRun run = sightform(options(sight.input));
        EXPECT_EQ(run.status, 0) << sight.name;
        EXPECT_EQ(run.out, expected) << sight.name;
    }
}

} // namespace
