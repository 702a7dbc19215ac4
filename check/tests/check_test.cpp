// The checker held to what a teacher's marking must do, over a sample of
// sights: a right form is all "agrees", a form with a slip is marked once,
// at the slip, with the slip named, and every value after it that is right
// given the navigator's numbers "follows".

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "check/check.h"
#include "check/tests/sampledsights.h"
#include "printout/workedform.h"
#include "reduction/steps.h"
#include "reduction/table.h"

namespace {

using check::Mark;
using check::ValueId;
using check::WorkedValues;
using reduction::ReductionRecord;

// Sights a combination of names and method. Under the sanitizers every
// sight costs several times as much and meets the same code as the sights
// before it, so half the sample reaches every branch there as well.
#ifdef SIGHT_SANITIZED
constexpr int sightsPerCombination = 30;
#else
constexpr int sightsPerCombination = 60;
#endif

const std::vector<checktest::SampledSight>& sights() {
    static const std::vector<checktest::SampledSight> sampled =
        checktest::sampledSights(sightsPerCombination);
    return sampled;
}

double angle(int deg, double min) {
    return min / 60 + deg;
}

// The values as the program's own record holds them.
WorkedValues fromRecord(const ReductionRecord& r, reduction::Method m) {
    const auto Q = [m](double x) { return reduction::Q(x, m); };
    WorkedValues v;
    v[ValueId::LHA] = angle(r.LHADeg, r.LHAMin);
    v[ValueId::t] = angle(r.tDeg, r.tMin);
    v[ValueId::tUsed] = angle(r.tUsedDeg, r.tUsedMin);
    v[ValueId::coDec] = angle(r.coDecDeg, r.coDecMin);
    v[ValueId::Q_coDec] = Q(r.coDec);
    v[ValueId::Q_tUsed] = Q(r.tUsed);
    v[ValueId::Qv] = r.Qv;
    v[ValueId::v] = angle(r.vDeg, r.vMin);
    v[ValueId::coV] = angle(r.coVDeg, r.coVMin);
    v[ValueId::Q_dec] = Q(r.Dec);
    v[ValueId::Q_coV] = Q(r.coV);
    v[ValueId::Qw] = r.Qw;
    v[ValueId::w] = angle(r.wDeg, r.wMin);
    v[ValueId::wUsed] = angle(r.wUsedDeg, r.wUsedMin);
    v[ValueId::u] = angle(r.uDeg, r.uMin);
    v[ValueId::uUsed] = angle(r.uUsedDeg, r.uUsedMin);
    v[ValueId::Q_uUsed] = Q(r.uUsed);
    v[ValueId::QHc] = r.QHc;
    v[ValueId::Hc] = angle(r.HcDeg, r.HcMin);
    v[ValueId::coHc] = angle(r.coHcDeg, r.coHcMin);
    v[ValueId::Q_v] = Q(r.v);
    v[ValueId::Q_coHc] = Q(r.coHc);
    v[ValueId::QZ] = r.QZ;
    v[ValueId::Z] = r.Z;
    v[ValueId::ZUsed] = r.ZUsed;
    v[ValueId::Zn] = r.Zn;
    return v;
}

// Every value as a navigator writes it: printed, and read back.
WorkedValues writtenDown(const WorkedValues& values) {
    WorkedValues written;
    for (const ValueId id : check::allValues()) {
        if (values[id]) {
            const auto read = check::readValue(id, check::valueText(id, *values[id]));
            EXPECT_TRUE(read.value) << read.problem;
            written[id] = read.value;
        }
    }
    return written;
}

const check::Tolerance tolerances[] = {check::Tolerance::Whole, check::Tolerance::Tenths,
                                       check::Tolerance::Exact};

TEST(RightForm, EverySightOfTheSampleAgreesEverywhere) {
    // The sample must reach every rule both ways, or the property says little.
    std::set<std::tuple<reduction::Method, bool, bool, bool>> reached;
    double highestDec = 0;
    double highestLat = 0;
    for (const auto& sight : sights()) {
        const ReductionRecord& r = sight.record;
        reached.insert({sight.input.method, r.sameNames, r.tOver90, r.uOver90});
        highestDec = std::max(highestDec, r.Dec);
        highestLat = std::max(highestLat, r.Lat);
        const WorkedValues values = fromRecord(r, sight.input.method);
        for (const check::Tolerance tolerance : tolerances) {
            const check::CheckResult result =
                check::checkWorkedForm(sight.input, values, tolerance);
            ASSERT_EQ(result.values.size(), check::valueCount);
            for (const check::ValueCheck& value : result.values) {
                ASSERT_EQ(value.mark, Mark::Agrees)
                    << check::valueName(value.id) << " " << value.givenText << " against "
                    << value.rightText << ", " << printout::entriesText(sight.input);
            }
            ASSERT_TRUE(result.slips.empty());
        }
    }
    // Each method with: same names with neither rule, the u rule or the t
    // rule, and contrary names with neither. (u over 90 needs same names and
    // w and Lat together below 90, so not the t rule; contrary names under
    // the t rule put u below 0.)
    std::set<std::tuple<reduction::Method, bool, bool, bool>> reachable;
    for (const auto method : {reduction::Method::Q, reduction::Method::QQ}) {
        reachable.insert({{method, true, false, false},
                          {method, true, false, true},
                          {method, true, true, false},
                          {method, false, false, false}});
    }
    EXPECT_EQ(reached, reachable);
    // And the declination and the latitude up to their bound.
    EXPECT_EQ(highestDec, angle(89, 59.9));
    EXPECT_EQ(highestLat, angle(89, 59.9));
}

TEST(RightForm, ThePrintedFormReadAtTheLayoutsPlacesAgrees) {
    for (const auto& sight : sights()) {
        const check::CheckLayout layout = check::checkLayout(sight.record, sight.input.method);
        const std::vector<std::string> lines = printout::renderLines(layout.form);
        WorkedValues read;
        for (const ValueId id : check::allValues()) {
            const auto& places = layout.places[check::index(id)];
            ASSERT_FALSE(places.empty()) << check::valueName(id);
            for (const check::FormPlace& place : places) {
                // Columns count characters; the degree sign takes two bytes.
                const std::string& line = lines.at(static_cast<std::size_t>(place.line));
                std::string text;
                int column = 1;
                for (std::size_t at = 0; at < line.size(); ++at) {
                    const bool continuation = (static_cast<unsigned char>(line[at]) & 0xC0) == 0x80;
                    if (!continuation && at > 0) {
                        ++column;
                    }
                    if (column >= place.span.first &&
                        column < place.span.first + place.span.count) {
                        text += line[at];
                    }
                }
                const auto value = check::readValue(id, text);
                ASSERT_TRUE(value.value) << check::valueName(id) << ": " << value.problem;
                if (read[id]) {
                    ASSERT_EQ(check::printedUnits(id, *read[id]),
                              check::printedUnits(id, *value.value))
                        << check::valueName(id) << " stands twice with two values";
                }
                read[id] = value.value;
            }
        }
        // With the rule flags forced on, tUsed after its arrow and the rest
        // print the record's own values.
        const check::CheckResult result = check::checkWorkedForm(sight.input, read);
        for (const check::ValueCheck& value : result.values) {
            ASSERT_EQ(value.mark, Mark::Agrees) << check::valueName(value.id);
        }
    }
}

// The form of a navigator who reads every table value to a whole number
// and works every other step as the form does, from their own numbers: an
// angle rebuilt from its printed pair where the form rebuilds one (90 - v,
// 90 - Hc), unrounded where the form goes on unrounded (Q(v), Z into its
// rule, Z after its rule into Zn); each value written as printed.
WorkedValues readToWholeNumbers(const checktest::SampledSight& sight) {
    using namespace reduction;
    const ReductionRecord& r = sight.record;
    const Method m = sight.input.method;
    const auto read = [m](double angle) { return std::round(Q(angle, m)); };
    const auto complement = [](double angle) {
        const auto pair = splitDegMin(angle, angleRounding);
        return pair ? complementOf(*pair) : std::nan("");
    };
    WorkedValues v = fromRecord(r, m);
    const double Q_tUsed = read(r.tUsed);
    const double Q_coDec = read(r.coDec);
    const double vAngle = invQ(Q_tUsed + Q_coDec, m);
    const double coV = complement(vAngle);
    const double Q_dec = read(r.Dec);
    const double Q_coV = read(coV);
    const double w = invQ(Q_dec - Q_coV, m);
    const double wUsed = r.tOver90 ? 180 - w : w;
    const double u = uFormula(wUsed, r.Lat, r.sameNames);
    const bool uOver90 = uRuleApplies(u);
    const double uUsed = uOver90 ? 180 - u : u;
    const double Q_uUsed = read(uUsed);
    const double Hc = invQ(Q_uUsed + Q_coV, m);
    const double coHc = complement(Hc);
    const double Q_v = read(vAngle);
    const double Q_coHc = read(coHc);
    const double Z = invQ(Q_v - Q_coHc, m);
    const double ZUsed = zRuleApplies(r.sameNames, uOver90) ? 180 - Z : Z;
    const std::pair<ValueId, double> worked[] = {
        {ValueId::Q_coDec, Q_coDec},
        {ValueId::Q_tUsed, Q_tUsed},
        {ValueId::Qv, Q_tUsed + Q_coDec},
        {ValueId::v, vAngle},
        {ValueId::coV, coV},
        {ValueId::Q_dec, Q_dec},
        {ValueId::Q_coV, Q_coV},
        {ValueId::Qw, Q_dec - Q_coV},
        {ValueId::w, w},
        {ValueId::wUsed, wUsed},
        {ValueId::u, u},
        {ValueId::uUsed, uUsed},
        {ValueId::Q_uUsed, Q_uUsed},
        {ValueId::QHc, Q_uUsed + Q_coV},
        {ValueId::Hc, Hc},
        {ValueId::coHc, coHc},
        {ValueId::Q_v, Q_v},
        {ValueId::Q_coHc, Q_coHc},
        {ValueId::QZ, Q_v - Q_coHc},
        {ValueId::Z, Z},
        {ValueId::ZUsed, ZUsed},
        {ValueId::Zn, trueAzimuth(ZUsed, sight.input.latName, r.LHA)},
    };
    for (const auto& [id, x] : worked) {
        v[id] = check::writtenValue(id, x);
    }
    return v;
}

TEST(RightForm, AFormReadToWholeNumbersAgreesWithinTableReading) {
    long long withinReading = 0;
    long long formsWithADifferenceWhenExact = 0;
    for (const auto& sight : sights()) {
        const WorkedValues values = readToWholeNumbers(sight);
        if (std::any_of(values.values.begin(), values.values.end(),
                        [](const auto& x) { return std::isnan(*x); })) {
            continue; // a difference read below 0 near Z or w of 90: no angle
        }
        const check::CheckResult result = check::checkWorkedForm(sight.input, values);
        for (const check::ValueCheck& value : result.values) {
            ASSERT_TRUE(value.mark == Mark::Agrees || value.mark == Mark::WithinReading)
                << check::valueName(value.id) << " " << value.givenText << " against "
                << value.rightText << ", " << printout::entriesText(sight.input);
            withinReading += value.mark == Mark::WithinReading ? 1 : 0;
        }
        ASSERT_TRUE(result.slips.empty());
        const auto exact = check::checkWorkedForm(sight.input, values, check::Tolerance::Exact);
        formsWithADifferenceWhenExact += exact.slips.empty() ? 0 : 1;
    }
    // Whole numbers are not the tables' two decimals: most forms differ
    // somewhere when nothing is left to table reading.
    EXPECT_GT(withinReading, static_cast<long long>(sights().size()) * 5);
    EXPECT_GT(formsWithADifferenceWhenExact, static_cast<long long>(sights().size()) / 2);
}

// What a sheet keeps of a form: everything, the angles and azimuths only,
// or the results only.
enum class Sheet { Full, AnglesOnly, ResultsOnly };

WorkedValues keptOn(Sheet sheet, const WorkedValues& values) {
    WorkedValues kept;
    for (const ValueId id : check::allValues()) {
        const bool angle = check::valueKind(id) != check::ValueKind::TableValue;
        const bool result = id == ValueId::Hc || id == ValueId::Zn;
        if (sheet == Sheet::Full || (sheet == Sheet::AnglesOnly && angle) ||
            (sheet == Sheet::ResultsOnly && result)) {
            kept[id] = values[id];
        }
    }
    return kept;
}

TEST(PartialSheets, AFormReadToWholeNumbersHasNoSlipWhateverTheSheetLeavesOut) {
    // The values a sheet leaves out carry what table readings allow on to
    // the values it gives; none of those is a slip.
    long long withinReading = 0;
    for (const auto& sight : sights()) {
        const WorkedValues values = readToWholeNumbers(sight);
        if (std::any_of(values.values.begin(), values.values.end(),
                        [](const auto& x) { return std::isnan(*x); })) {
            continue;
        }
        for (const Sheet sheet : {Sheet::Full, Sheet::AnglesOnly, Sheet::ResultsOnly}) {
            const check::CheckResult result =
                check::checkWorkedForm(sight.input, keptOn(sheet, values));
            for (const check::ValueCheck& value : result.values) {
                ASSERT_TRUE(value.mark == Mark::Agrees || value.mark == Mark::WithinReading)
                    << "sheet " << int(sheet) << ": " << check::valueName(value.id) << " "
                    << value.givenText << " against " << value.rightText << " (expected "
                    << value.expectedText.value_or("none") << "), "
                    << printout::entriesText(sight.input);
                withinReading += sheet != Sheet::Full && value.mark == Mark::WithinReading;
            }
        }
    }
    EXPECT_GT(withinReading, static_cast<long long>(sights().size()));
}

struct SlipTally {
    long long injected = 0;
    long long named = 0;
    long long alone = 0;    // named as the only cause
    long long absorbed = 0; // within table reading, so not a slip at that tolerance
    long long follows = 0;  // later values marked "follows"
    long long laterWithinReading = 0;
    std::map<std::string, long long> namedWith; // other slips giving the same number
};

// A form worked with one slip, at a value where the slip changes the form.
struct SlippedForm {
    const checktest::SampledSight* sight;
    check::InjectedSlip slip;
    WorkedValues written;
};

// Every sight worked with every slip of the catalogue at every value where
// it changes the form, written down as a navigator would.
const std::vector<SlippedForm>& slippedForms() {
    static const std::vector<SlippedForm> forms = [] {
        std::vector<SlippedForm> all;
        for (const auto& sight : sights()) {
            const WorkedValues right = check::workWithSlips(sight.input, {});
            for (const check::SlipSpec& spec : check::slipCatalogue()) {
                for (const ValueId site : check::allValues()) {
                    const check::InjectedSlip slip{spec.id, site};
                    const WorkedValues slipped =
                        check::workWithSlips(sight.input, std::span(&slip, 1));
                    if (slipped[site] && check::printedUnits(site, *slipped[site]) !=
                                             check::printedUnits(site, *right[site])) {
                        all.push_back({&sight, slip, writtenDown(slipped)});
                    }
                }
            }
        }
        return all;
    }();
    return forms;
}

std::map<check::SlipId, SlipTally> checkEverySlippedForm(check::Tolerance tolerance) {
    std::map<check::SlipId, SlipTally> tallies;
    for (const SlippedForm& form : slippedForms()) {
        const check::SlipSpec& spec = check::slipSpec(form.slip.slip);
        const ValueId site = form.slip.at;
        SlipTally& tally = tallies[spec.id];
        ++tally.injected;
        const check::CheckResult result =
            check::checkWorkedForm(form.sight->input, form.written, tolerance);
        const auto context = [&] {
            return std::string(spec.key) + " at " + std::string(check::valueName(site)) + ", " +
                   printout::entriesText(form.sight->input);
        };
        bool marked = false;
        for (const check::ValueCheck& value : result.values) {
            if (value.id < site) {
                EXPECT_EQ(value.mark, Mark::Agrees) << context();
            } else if (value.id == site) {
                marked = value.mark == Mark::Differs;
                if (!marked) {
                    // Only a slip within table reading passes unmarked; with
                    // nothing left to reading, only a last digit that the
                    // printed (rounded) earlier values also give.
                    EXPECT_EQ(value.mark, Mark::WithinReading) << context();
                    if (tolerance == check::Tolerance::Exact) {
                        const long long right = check::printedUnits(
                            site, *check::readValue(site, value.rightText).value);
                        EXPECT_EQ(std::llabs(check::printedUnits(site, value.given) - right), 1)
                            << context();
                    }
                }
            } else if (marked) {
                // Right given the navigator's numbers: no second mark, and
                // where nothing is left to table reading, "follows".
                EXPECT_NE(value.mark, Mark::Differs)
                    << context() << ": " << check::valueName(value.id) << " " << value.givenText
                    << " expected " << value.expectedText.value_or("-");
                tally.follows += value.mark == Mark::Follows ? 1 : 0;
                tally.laterWithinReading += value.mark == Mark::WithinReading ? 1 : 0;
            }
        }
        if (!marked) {
            ++tally.absorbed;
            continue;
        }
        if (result.slips.empty()) {
            ADD_FAILURE() << "no slip found: " << context();
            continue;
        }
        const check::FoundSlip& found = result.slips.front();
        EXPECT_EQ(found.shownAt, site) << context();
        EXPECT_EQ(result.slips.size(), 1u) << context();
        const bool named =
            std::any_of(found.causes.begin(), found.causes.end(),
                        [&](const auto& c) { return c.slip == spec.id && c.madeAt == site; });
        tally.named += named ? 1 : 0;
        tally.alone += named && found.causes.size() == 1 ? 1 : 0;
        for (const check::SlipCause& cause : found.causes) {
            if (cause.slip != spec.id) {
                ++tally.namedWith[std::string(check::slipSpec(cause.slip).key)];
            }
        }
    }
    return tallies;
}

void printTallies(const std::map<check::SlipId, SlipTally>& tallies, check::Tolerance tolerance) {
    std::printf("Injected slips named, %zu sights, tolerance %s:\n", sights().size(),
                std::string(check::toleranceText(tolerance)).c_str());
    std::printf("  %-24s %8s %8s %7s %8s  %s\n", "slip", "injected", "marked", "named", "alone",
                "also named (count)");
    for (const auto& [id, t] : tallies) {
        const long long marked = t.injected - t.absorbed;
        std::string with;
        for (const auto& [key, count] : t.namedWith) {
            with += key + " (" + std::to_string(count) + ") ";
        }
        std::printf("  %-24s %8lld %8lld %6.1f%% %7.1f%%  %s\n",
                    std::string(check::slipSpec(id).key).c_str(), t.injected, marked,
                    marked > 0 ? 100.0 * t.named / marked : 0.0,
                    marked > 0 ? 100.0 * t.alone / marked : 0.0, with.c_str());
    }
}

TEST(Slips, EachSlipIsMarkedOnceAtItsValueAndNamed) {
    for (const check::Tolerance tolerance : {check::Tolerance::Exact, check::Tolerance::Whole}) {
        const auto tallies = checkEverySlippedForm(tolerance);
        printTallies(tallies, tolerance);
        EXPECT_EQ(tallies.size(), check::slipCatalogue().size()) << "a slip never acted";
        for (const auto& [id, t] : tallies) {
            // Every slip marked is named, whether or not another slip gives
            // the same number there too.
            EXPECT_EQ(t.named, t.injected - t.absorbed) << check::slipSpec(id).key;
            if (tolerance == check::Tolerance::Exact) {
                // A later value that is off only because of the slip follows
                // from it; "agrees within table reading" is left for a value
                // that agrees as printed with every value it is worked from,
                // off only by the printed rounding of those (Zn from ZUsed).
                EXPECT_LE(t.laterWithinReading * 100, t.follows) << check::slipSpec(id).key;
            }
        }
    }
}

TEST(Slips, TwoSlipsInOneFormAreBothFoundEachAtItsValue) {
    std::mt19937 random(7);
    // The slips that act on each sight, each at one value.
    std::map<const checktest::SampledSight*, std::vector<check::InjectedSlip>> actingOn;
    for (const SlippedForm& form : slippedForms()) {
        actingOn[form.sight].push_back(form.slip);
    }
    long long pairs = 0;
    for (const auto& sight : sights()) {
        const WorkedValues right = check::workWithSlips(sight.input, {});
        std::vector<check::InjectedSlip> acting = actingOn[&sight];
        std::shuffle(acting.begin(), acting.end(), random);
        for (std::size_t i = 0; i + 1 < acting.size() && i < 8; i += 2) {
            check::InjectedSlip both[] = {acting[i], acting[i + 1]};
            if (both[0].at == both[1].at) {
                continue;
            }
            if (both[1].at < both[0].at) {
                std::swap(both[0], both[1]);
            }
            // Each slip must change its value by more than a last digit,
            // which the printed earlier values may give too (a tie rounded
            // either way: the single slips' test covers those), the second
            // still after the first and not by chance back to the right one.
            const WorkedValues first = check::workWithSlips(sight.input, std::span(both, 1));
            const WorkedValues two = writtenDown(check::workWithSlips(sight.input, both));
            const auto units = [](const WorkedValues& v, ValueId id) {
                return check::printedUnits(id, *v[id]);
            };
            const ValueId earlier = both[0].at;
            const ValueId later = both[1].at;
            if (std::llabs(units(first, earlier) - units(right, earlier)) < 2 || !two[later] ||
                !first[later] || std::llabs(units(two, later) - units(first, later)) < 2 ||
                units(two, later) == units(right, later)) {
                continue;
            }
            ++pairs;
            const check::CheckResult result =
                check::checkWorkedForm(sight.input, two, check::Tolerance::Exact);
            const auto context = [&] {
                return std::string(check::slipSpec(both[0].slip).key) + " at " +
                       std::string(check::valueName(both[0].at)) + " and " +
                       std::string(check::slipSpec(both[1].slip).key) + " at " +
                       std::string(check::valueName(later)) + ", " +
                       printout::entriesText(sight.input);
            };
            ASSERT_EQ(result.slips.size(), 2u) << context();
            for (int k = 0; k < 2; ++k) {
                const check::FoundSlip& found = result.slips[static_cast<std::size_t>(k)];
                EXPECT_EQ(found.shownAt, both[k].at) << context();
                EXPECT_TRUE(std::any_of(found.causes.begin(), found.causes.end(),
                                        [&](const auto& c) { return c.slip == both[k].slip; }))
                    << context() << ": " << check::slipText(found);
            }
        }
    }
    std::printf("%lld forms with two slips checked\n", pairs);
    EXPECT_GT(pairs, 500);
}

TEST(Slips, ASlipMadeAtAValueNotGivenIsNamedWhereItFirstShows) {
    // The navigator leaves Qv out: a difference taken for the sum shows in v.
    for (const auto& sight : sights()) {
        const check::InjectedSlip slip{check::SlipId::SumForDifference, ValueId::Qv};
        WorkedValues slipped = writtenDown(check::workWithSlips(sight.input, std::span(&slip, 1)));
        const WorkedValues right = check::workWithSlips(sight.input, {});
        if (check::printedUnits(ValueId::v, *slipped[ValueId::v]) ==
            check::printedUnits(ValueId::v, *right[ValueId::v])) {
            continue;
        }
        slipped[ValueId::Qv].reset();
        const auto result = check::checkWorkedForm(sight.input, slipped, check::Tolerance::Exact);
        ASSERT_FALSE(result.slips.empty());
        const check::FoundSlip& found = result.slips.front();
        EXPECT_EQ(found.shownAt, ValueId::v);
        EXPECT_TRUE(std::any_of(found.causes.begin(), found.causes.end(), [](const auto& c) {
            return c.slip == check::SlipId::SumForDifference && c.madeAt == ValueId::Qv;
        })) << check::slipText(found);
    }
}

TEST(Slips, ANumberNoSlipGivesIsAnArithmeticOrReadingSlip) {
    for (const auto& sight : sights()) {
        WorkedValues values = fromRecord(sight.record, sight.input.method);
        // Two tenths of a minute off, in a step worked by plain arithmetic.
        *values[ValueId::coV] += 2.0 / 600;
        const auto result = check::checkWorkedForm(sight.input, values, check::Tolerance::Exact);
        ASSERT_EQ(result.slips.size(), 1u);
        EXPECT_EQ(result.slips[0].shownAt, ValueId::coV);
        EXPECT_TRUE(result.slips[0].causes.empty()) << check::slipText(result.slips[0]);
        EXPECT_NE(check::slipText(result.slips[0]).find("arithmetic or reading slip"),
                  std::string::npos);
    }
}

} // namespace

namespace {

// The slipped value by the catalogue, as printed.
std::string slippedText(const checktest::SampledSight& sight, check::SlipId slip, ValueId at,
                        ValueId shown) {
    const check::InjectedSlip one{slip, at};
    const WorkedValues values = check::workWithSlips(sight.input, std::span(&one, 1));
    return values[shown] ? check::valueText(shown, *values[shown]) : "none";
}

TEST(Slips, EachSlipGivesTheNumberItsWordsDescribe) {
    // Worked out here from the right record and the entries, not from the
    // catalogue's functions.
    using S = check::SlipId;
    for (const auto& sight : sights()) {
        const ReductionRecord& r = sight.record;
        const reduction::Method m = sight.input.method;
        const auto text = [](ValueId id, double x) { return check::valueText(id, x); };
        const auto Q = [m](double x) { return reduction::Q(x, m); };
        const std::string entries = printout::entriesText(sight.input);

        // Longitude the wrong way: the whole form of the other longitude name.
        reduction::ReductionInput otherLongitude = sight.input;
        otherLongitude.loName = otherLongitude.loName == reduction::WestEast::W
                                    ? reduction::WestEast::E
                                    : reduction::WestEast::W;
        ReductionRecord other;
        if (r.Lo != 0 && reduction::calculateReduction(otherLongitude, other).outcome ==
                             reduction::Outcome::Complete) {
            const WorkedValues mirrored = fromRecord(other, m);
            for (const ValueId id : check::allValues()) {
                EXPECT_EQ(slippedText(sight, S::LongitudeWrongWay, ValueId::LHA, id),
                          text(id, *mirrored[id]))
                    << check::valueName(id) << ", " << entries;
            }
        }
        if (r.GHA - r.Lo >= 360) {
            EXPECT_EQ(slippedText(sight, S::LhaOver360, ValueId::LHA, ValueId::LHA),
                      text(ValueId::LHA, r.LHA + 360));
        }
        if (r.tOver90) {
            EXPECT_EQ(slippedText(sight, S::TRuleMissed, ValueId::tUsed, ValueId::tUsed),
                      text(ValueId::t, r.t));
            EXPECT_EQ(slippedText(sight, S::WRuleMissed, ValueId::wUsed, ValueId::wUsed),
                      text(ValueId::w, r.w));
        }
        if (r.uOver90) {
            EXPECT_EQ(slippedText(sight, S::URuleMissed, ValueId::uUsed, ValueId::uUsed),
                      text(ValueId::u, r.u));
        }
        // Q(90 - x) for Q(x): the table value of 90 - dec taken for that of
        // dec, and the other way round (up to the last digit, as 90 - dec
        // is rounded to a tenth of a minute where dec is not).
        const auto read = [](ValueId id, const std::string& t) {
            return check::printedUnits(id, *check::readValue(id, t).value);
        };
        EXPECT_NEAR(read(ValueId::Q_dec,
                         slippedText(sight, S::ComplementLookedUp, ValueId::Q_dec, ValueId::Q_dec)),
                    check::printedUnits(ValueId::Q_dec, Q(90 - r.Dec)), 1)
            << entries;
        EXPECT_NEAR(read(ValueId::Q_coDec, slippedText(sight, S::ComplementLookedUp,
                                                       ValueId::Q_coDec, ValueId::Q_coDec)),
                    check::printedUnits(ValueId::Q_coDec, Q(r.Dec)), 1)
            << entries;
        EXPECT_EQ(slippedText(sight, S::SumForDifference, ValueId::Qw, ValueId::Qw),
                  text(ValueId::Qw, Q(r.Dec) + Q(r.coV)));
        // The other u formula differs by twice the latitude.
        const std::string otherU =
            slippedText(sight, S::UFormulaOtherNames, ValueId::u, ValueId::u);
        const double twiceLat = r.sameNames ? -2 * r.Lat : 2 * r.Lat;
        if (r.u + twiceLat >= 0) {
            EXPECT_EQ(otherU, text(ValueId::u, r.u + twiceLat)) << entries;
        }
        // 15.50 written 15°50': the hundredths of the table's angle as minutes.
        const long long hundredths = std::llround(r.v * 100) % 100;
        if (hundredths > 0 && hundredths < 60) {
            char minutes[8];
            std::snprintf(minutes, sizeof minutes, "%02lld.0'", hundredths);
            EXPECT_EQ(slippedText(sight, S::DecimalAsMinutes, ValueId::v, ValueId::v),
                      std::to_string(r.vDeg) + "\u00B0" + minutes)
                << entries;
        }
        // The other hemisphere turns Zn about the east-west line, the other
        // side of the meridian mirrors it in the meridian.
        const auto zn = [&](check::SlipId slip) {
            const check::InjectedSlip one{slip, ValueId::Zn};
            return *check::workWithSlips(sight.input, std::span(&one, 1))[ValueId::Zn];
        };
        EXPECT_NEAR(std::remainder(zn(S::ZnOtherHemisphere) + r.Zn - 180, 360), 0, 0.11) << entries;
        EXPECT_NEAR(std::remainder(zn(S::ZnOtherSide) + r.Zn, 360), 0, 0.11) << entries;
    }
}

} // namespace
