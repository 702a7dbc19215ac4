// sightform as a black box, on sights with contrary names, southern
// latitudes, hour angles on both sides of the meridian and east longitudes:
// through its options and through batch rows, every record field it writes is
// the core's own, its form is the core's form, and its exact solution is the
// spherical triangle of the same sight.

#include <gtest/gtest.h>

#include <QByteArray>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QString>
#include <QStringList>

#include <cmath>
#include <cstdint>
#include <string>
#include <type_traits>
#include <variant>
#include <vector>

#include "cli/tests/sightformrun.h"
#include "printout/workedform.h"
#include "reduction/calculate.h"
#include "reduction/tests/entries.h"
#include "reduction/tests/exactsight.h"

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
void expectRecord(const QJsonObject& json, const ReductionRecord& r, const std::string& where) {
    int written = 0;
    for (const Field& field : recordFields) {
        const QJsonValue value = json.value(field.name);
        EXPECT_FALSE(value.isUndefined()) << where << ": no " << field.name;
        ++written;
        std::visit(
            [&](auto member) {
                using T = std::remove_cvref_t<decltype(r.*member)>;
                if constexpr (std::is_same_v<T, bool>) {
                    EXPECT_TRUE(value.isBool()) << where << " " << field.name;
                    EXPECT_EQ(value.toBool(), r.*member) << where << " " << field.name;
                } else if constexpr (std::is_same_v<T, std::int16_t>) {
                    EXPECT_EQ(value.toInteger(-99999), r.*member) << where << " " << field.name;
                } else {
                    // Shortest round-trip numbers read back as the very doubles.
                    EXPECT_EQ(value.toDouble(NAN), r.*member) << where << " " << field.name;
                }
            },
            field.member);
    }
    EXPECT_EQ(json.size(), written) << where << ": every key is a field of the record";
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

using sightformrun::ProgramRun;
using sightformrun::sightform;

QString text(const std::string& s) {
    return QString::fromStdString(s);
}

QStringList options(const ReductionInput& in) {
    return {"--method",
            in.method == Method::Q ? "Q" : "QQ",
            "--gha",
            text(in.ghaDeg),
            text(in.ghaMin),
            "--dec",
            text(std::string(reduction::nameText(in.decName))),
            text(in.decDeg),
            text(in.decMin),
            "--lat",
            text(std::string(reduction::nameText(in.latName))),
            text(in.latDeg),
            text(in.latMin),
            "--lon",
            text(std::string(reduction::nameText(in.loName))),
            text(in.loDeg),
            text(in.loMin)};
}

QByteArray csvRow(const ReductionInput& in) {
    const std::string cells[] = {in.method == Method::Q ? "Q" : "QQ",          in.ghaDeg, in.ghaMin,
                                 std::string(reduction::nameText(in.decName)), in.decDeg, in.decMin,
                                 std::string(reduction::nameText(in.latName)), in.latDeg, in.latMin,
                                 std::string(reduction::nameText(in.loName)),  in.loDeg,  in.loMin};
    std::string row;
    for (const std::string& cell : cells)
        row += (row.empty() ? "" : ",") + cell;
    return QByteArray::fromStdString(row + "\n");
}

// One object of sightform's JSON output against the core's own reduction.
void expectSight(const QJsonObject& object, const Sight& sight) {
    ReductionRecord r;
    const Outcome outcome = reduction::calculateReduction(sight.input, r).outcome;
    const std::string where = sight.name;
    expectRecord(object.value("record").toObject(), r, where);

    const QJsonArray form = object.value("form").toArray();
    if (outcome != Outcome::Complete) {
        EXPECT_EQ(object.value("outcome").toString(), "check-data") << where;
        EXPECT_TRUE(form.isEmpty()) << where;
        EXPECT_FALSE(object.contains("exact")) << where;
        return;
    }
    EXPECT_EQ(object.value("outcome").toString(), "complete") << where;
    const auto lines = printout::renderLines(printout::buildWorkedForm(r, sight.input.method));
    ASSERT_EQ(form.size(), qsizetype(lines.size())) << where;
    for (std::size_t i = 0; i < lines.size(); ++i)
        EXPECT_EQ(form[qsizetype(i)].toString().toStdString(), lines[i]) << where;

    // The exact solution of the same LHA, latitude and declination, signed by
    // their names, and the table's printed values minus it.
    const QJsonObject exact = object.value("exact").toObject();
    const auto south = [](reduction::NorthSouth n) { return n == reduction::NorthSouth::S; };
    const testexact::Exact expected =
        testexact::exactSight(r.LHA, south(sight.input.latName) ? -r.Lat : r.Lat,
                              south(sight.input.decName) ? -r.Dec : r.Dec);
    EXPECT_NEAR(exact.value("Hc").toDouble(), expected.Hc, 1e-9) << where;
    EXPECT_NEAR(exact.value("Zn").toDouble(), expected.Zn, 1e-9) << where;
    EXPECT_NEAR(exact.value("dHcArcmin").toDouble(), (r.HcDeg + r.HcMin / 60 - expected.Hc) * 60,
                1e-6)
        << where;
    EXPECT_NEAR(exact.value("dZnDeg").toDouble(), testexact::azimuthDifference(r.Zn, expected.Zn),
                1e-6)
        << where;
}

QJsonObject parse(const QByteArray& line) {
    const QJsonDocument document = QJsonDocument::fromJson(line);
    EXPECT_TRUE(document.isObject()) << line.toStdString();
    return document.object();
}

TEST(SightformNames, OptionsGiveTheCoreRecordFormAndExactSolution) {
    for (const Sight& sight : sights) {
        const ProgramRun run = sightform(QStringList{"--json", "--exact"} + options(sight.input));
        const QList<QByteArray> lines = QByteArray::fromStdString(run.out).trimmed().split('\n');
        ASSERT_EQ(lines.size(), 1) << sight.name;
        const QJsonObject object = parse(lines[0]);
        EXPECT_EQ(run.status, object.value("outcome") == "complete" ? 0 : 1) << sight.name;
        expectSight(object, sight);
    }
}

TEST(SightformNames, BatchRowsGiveTheCoreRecordFormAndExactSolution) {
    QByteArray rows;
    for (const Sight& sight : sights)
        rows += csvRow(sight.input);
    const ProgramRun run = sightform({"--batch", "-", "--json", "--exact"}, rows);
    EXPECT_EQ(run.status, 0);
    const QList<QByteArray> lines = QByteArray::fromStdString(run.out).trimmed().split('\n');
    ASSERT_EQ(lines.size(), qsizetype(std::size(sights)));
    for (std::size_t i = 0; i < std::size(sights); ++i) {
        const QJsonObject object = parse(lines[qsizetype(i)]);
        EXPECT_EQ(object.value("row").toInt(), int(i) + 1);
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
