#include "check/slips.h"

#include <array>
#include <cmath>

#include "check/chain.h"
#include "reduction/steps.h"
#include "reduction/table.h"

namespace check {
namespace {

using reduction::NorthSouth;

using Op = Operation;

std::optional<double> unless(bool acts, double value) {
    return acts ? std::optional<double>(value) : std::nullopt;
}

bool at(const Step& s, Operation operation) {
    return s.rule.operation == operation;
}

// The rules t = 180 - t and w = 180 - w both follow the original t.
bool tRuleApplies(const Step& s) {
    return at(s, Op::TRule) ? reduction::tRuleApplies(s.in[0]) : reduction::tRuleApplies(s.in[1]);
}

std::optional<double> tRuleMissed(const Step& s) {
    return unless(at(s, Op::TRule) && tRuleApplies(s), s.in[0]);
}

std::optional<double> tRuleWrong(const Step& s) {
    return unless(at(s, Op::TRule) && !tRuleApplies(s), 180 - s.in[0]);
}

std::optional<double> wRuleMissed(const Step& s) {
    return unless(at(s, Op::WRule) && tRuleApplies(s), s.in[0]);
}

std::optional<double> wRuleWrong(const Step& s) {
    return unless(at(s, Op::WRule) && !tRuleApplies(s), 180 - s.in[0]);
}

std::optional<double> uRuleMissed(const Step& s) {
    return unless(at(s, Op::URule) && reduction::uRuleApplies(s.in[0]), s.in[0]);
}

std::optional<double> uRuleWrong(const Step& s) {
    return unless(at(s, Op::URule) && !reduction::uRuleApplies(s.in[0]), 180 - s.in[0]);
}

bool zRuleApplies(const Step& s) {
    return reduction::zRuleApplies(s.entries.sameNames, reduction::uRuleApplies(s.in[1]));
}

std::optional<double> zRuleMissed(const Step& s) {
    return unless(at(s, Op::ZRule) && zRuleApplies(s), s.in[0]);
}

std::optional<double> zRuleWrong(const Step& s) {
    return unless(at(s, Op::ZRule) && !zRuleApplies(s), 180 - s.in[0]);
}

std::optional<double> uFormulaOtherNames(const Step& s) {
    return unless(at(s, Op::UFormula),
                  reduction::uFormula(s.in[0], s.entries.Lat, !s.entries.sameNames));
}

std::optional<double> complementLookedUp(const Step& s) {
    if (!at(s, Op::LookUp) && !at(s, Op::LookUpDeclination)) {
        return std::nullopt;
    }
    const double angle = at(s, Op::LookUp) ? s.in[0] : s.entries.Dec;
    const double q = reduction::Q(90 - angle, s.entries.method);
    return unless(!std::isnan(q), q);
}

// The other operation on the same two table values. A difference is taken
// the way round that leaves it positive, as a navigator would.
std::optional<double> sumForDifference(const Step& s) {
    if (at(s, Op::Sum)) {
        return std::fabs(s.in[0] - s.in[1]);
    }
    return unless(at(s, Op::Difference), s.in[0] + s.in[1]);
}

std::optional<double> longitudeWrongWay(const Step& s) {
    return unless(at(s, Op::HourAngle) && s.entries.Lo != 0,
                  reduction::localHourAngle(s.entries.GHA, -s.entries.Lo));
}

std::optional<double> lhaOver360(const Step& s) {
    const double LHA = s.entries.GHA - s.entries.Lo;
    return unless(at(s, Op::HourAngle) && LHA >= 360, LHA);
}

// 15.50 degrees written 15°50': the hundredths of a degree taken for
// minutes, where they can be minutes (not in Z, which is written in degrees).
std::optional<double> decimalAsMinutes(const Step& s) {
    if (!at(s, Op::Inverse) || valueKind(s.rule.id) != ValueKind::Angle) {
        return std::nullopt;
    }
    const double degrees = std::floor(s.right);
    const double hundredths = std::round((s.right - degrees) * 100);
    return unless(hundredths > 0 && hundredths < 60, hundredths / 60 + degrees);
}

std::optional<double> znOtherHemisphere(const Step& s) {
    const NorthSouth other = s.entries.latName == NorthSouth::N ? NorthSouth::S : NorthSouth::N;
    return unless(at(s, Op::TrueAzimuth), reduction::trueAzimuth(s.in[0], other, s.in[1]));
}

std::optional<double> znOtherSide(const Step& s) {
    // Any hour angle on the other side of the meridian.
    const double otherSide = s.in[1] > 180 ? 90 : 270;
    return unless(at(s, Op::TrueAzimuth),
                  reduction::trueAzimuth(s.in[0], s.entries.latName, otherSide));
}

// One unit of the step's rounding away from its value, on the other side of
// the unrounded value; nothing where the value needed no rounding.
std::optional<double> roundedOtherWay(const Step& s) {
    if (s.unit == 0) {
        return std::nullopt;
    }
    const double exact = s.raw / s.unit;
    const double rounded = std::round(s.right / s.unit);
    // Tiny against a unit, large against the ulps of the division.
    constexpr double onTheUnit = 1e-6;
    if (std::fabs(exact - rounded) < onTheUnit) {
        return std::nullopt;
    }
    return (rounded > exact ? rounded - 1 : rounded + 1) * s.unit;
}

using S = SlipId;

constexpr std::array<SlipSpec, slipCount> catalogue{{
    {S::TRuleMissed, "t-rule-missed", "t rule not applied",
     "t is over 90\u00B0, so the table is entered with t = 180\u00B0 - t, as footnote * says",
     tRuleMissed},
    {S::TRuleWrong, "t-rule-wrong", "t rule applied wrongly",
     "t = 180\u00B0 - t is only for a t over 90\u00B0; here t itself is entered", tRuleWrong},
    {S::WRuleMissed, "w-rule-missed", "w rule not applied",
     "the original t is over 90\u00B0, so w = 180\u00B0 - w is used for u, as footnote ** says",
     wRuleMissed},
    {S::WRuleWrong, "w-rule-wrong", "w rule applied wrongly",
     "w = 180\u00B0 - w is only for an original t over 90\u00B0; here w itself is used",
     wRuleWrong},
    {S::URuleMissed, "u-rule-missed", "u rule not applied",
     "u is over 90\u00B0, so the table is entered with u = 180\u00B0 - u, as footnote *** says",
     uRuleMissed},
    {S::URuleWrong, "u-rule-wrong", "u rule applied wrongly",
     "u = 180\u00B0 - u is only for a u over 90\u00B0; here u itself is entered", uRuleWrong},
    {S::ZRuleMissed, "z-rule-missed", "Z rule not applied",
     "for contrary names, and for same names with the original u over 90\u00B0, "
     "Z = 180\u00B0 - Z, as footnote **** says",
     zRuleMissed},
    {S::ZRuleWrong, "z-rule-wrong", "Z rule applied wrongly",
     "Z = 180\u00B0 - Z is only for contrary names or same names with the original u over "
     "90\u00B0; here Z itself is used",
     zRuleWrong},
    {S::UFormulaOtherNames, "u-formula-other-names", "u formula of the other names",
     "u = 90 - w + Lat is for latitude and declination of the same name, u = 90 - w - Lat "
     "for contrary names",
     uFormulaOtherNames},
    {S::ComplementLookedUp, "complement-looked-up", "Q(x) and Q(90 - x) confused",
     "the table was entered with 90\u00B0 - x where the form asks for Q(x), or with x where "
     "it asks for Q(90 - x)",
     complementLookedUp},
    {S::SumForDifference, "sum-for-difference", "sum taken for a difference",
     "a sum taken where the form subtracts, or a difference where it adds", sumForDifference},
    {S::LongitudeWrongWay, "longitude-wrong-way", "longitude applied the wrong way",
     "LHA = GHA - a west longitude, GHA + an east longitude", longitudeWrongWay},
    {S::LhaOver360, "lha-over-360", "LHA left above 360",
     "an LHA of 360\u00B0 or more has 360\u00B0 taken off", lhaOver360},
    {S::DecimalAsMinutes, "decimal-as-minutes", "decimal degrees written as minutes",
     "the table's angle is in degrees and hundredths: 15.50\u00B0 is 15\u00B030.0', not "
     "15\u00B050.0'",
     decimalAsMinutes},
    {S::ZnOtherHemisphere, "zn-other-hemisphere", "Zn rule of the other hemisphere",
     "Zn follows the latitude's name: north Zn = Z or 360\u00B0 - Z, south Zn = 180\u00B0 - Z "
     "or 180\u00B0 + Z",
     znOtherHemisphere},
    {S::ZnOtherSide, "zn-other-side", "Zn rule of the other side of the meridian",
     "the body is east of the meridian when LHA is over 180\u00B0 (north: Zn = Z), west when "
     "it is 180\u00B0 or less (north: Zn = 360\u00B0 - Z)",
     znOtherSide},
    {S::RoundedOtherWay, "rounded-other-way", "rounded the other way",
     "the last digit was rounded down where it rounds up, or up where it rounds down",
     roundedOtherWay},
}};

// Each slip at its own index, so that slipSpec finds it by index.
constexpr bool inOrder() {
    for (std::size_t i = 0; i < catalogue.size(); ++i) {
        if (static_cast<std::size_t>(catalogue[i].id) != i) {
            return false;
        }
    }
    return true;
}
static_assert(inOrder());

} // namespace

std::span<const SlipSpec> slipCatalogue() {
    return catalogue;
}

const SlipSpec& slipSpec(SlipId id) {
    return catalogue[static_cast<std::size_t>(id)];
}

WorkedValues workWithSlips(const reduction::ReductionInput& input,
                           std::span<const InjectedSlip> slips) {
    reduction::ReductionRecord record;
    if (reduction::calculateReduction(input, record).outcome != reduction::Outcome::Complete) {
        return {};
    }
    const FormWork work = workForm(entriesOf(input, record), 0, {}, slips);
    WorkedValues values;
    for (const ValueId id : allValues()) {
        const double x = work.state.value[index(id)];
        if (std::isnan(x)) {
            break;
        }
        values[id] = x;
    }
    return values;
}

} // namespace check
