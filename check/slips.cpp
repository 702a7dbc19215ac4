#include "check/slips.h"

#include <array>
#include <cmath>

#include "check/chain.h"
#include "reduction/steps.h"
#include "reduction/table.h"

namespace check {
namespace {

using reduction::NorthSouth;
using V = ValueId;

std::optional<double> unless(bool acts, double value) {
    return acts ? std::optional<double>(value) : std::nullopt;
}

std::optional<double> tRuleMissed(const Step& s) {
    return unless(s.at == V::tUsed && reduction::tRuleApplies(s[V::t]), s[V::t]);
}

std::optional<double> tRuleWrong(const Step& s) {
    return unless(s.at == V::tUsed && !reduction::tRuleApplies(s[V::t]), 180 - s[V::t]);
}

std::optional<double> wRuleMissed(const Step& s) {
    return unless(s.at == V::wUsed && reduction::tRuleApplies(s[V::t]), s[V::w]);
}

std::optional<double> wRuleWrong(const Step& s) {
    return unless(s.at == V::wUsed && !reduction::tRuleApplies(s[V::t]), 180 - s[V::w]);
}

std::optional<double> uRuleMissed(const Step& s) {
    return unless(s.at == V::uUsed && reduction::uRuleApplies(s[V::u]), s[V::u]);
}

std::optional<double> uRuleWrong(const Step& s) {
    return unless(s.at == V::uUsed && !reduction::uRuleApplies(s[V::u]), 180 - s[V::u]);
}

bool zRuleApplies(const Step& s) {
    return reduction::zRuleApplies(s.entries.sameNames, reduction::uRuleApplies(s[V::u]));
}

std::optional<double> zRuleMissed(const Step& s) {
    return unless(s.at == V::ZUsed && zRuleApplies(s), s[V::Z]);
}

std::optional<double> zRuleWrong(const Step& s) {
    return unless(s.at == V::ZUsed && !zRuleApplies(s), 180 - s[V::Z]);
}

std::optional<double> uFormulaOtherNames(const Step& s) {
    return unless(s.at == V::u,
                  reduction::uFormula(s[V::wUsed], s.entries.Lat, !s.entries.sameNames));
}

// The angle each table value is looked up for.
std::optional<double> lookedUpAngle(const Step& s) {
    switch (s.at) {
    case V::Q_coDec:
        return s[V::coDec];
    case V::Q_tUsed:
        return s[V::tUsed];
    case V::Q_dec:
        return s.entries.Dec;
    case V::Q_coV:
        return s[V::coV];
    case V::Q_uUsed:
        return s[V::uUsed];
    case V::Q_v:
        return s[V::v];
    case V::Q_coHc:
        return s[V::coHc];
    default:
        return std::nullopt;
    }
}

std::optional<double> complementLookedUp(const Step& s) {
    const auto angle = lookedUpAngle(s);
    if (!angle) {
        return std::nullopt;
    }
    const double q = reduction::Q(90 - *angle, s.entries.method);
    return unless(!std::isnan(q), q);
}

// The other operation on the same two table values. A difference is taken
// the way round that leaves it positive, as a navigator would.
std::optional<double> sumForDifference(const Step& s) {
    switch (s.at) {
    case V::Qv:
        return std::fabs(s[V::Q_tUsed] - s[V::Q_coDec]);
    case V::Qw:
        return s[V::Q_dec] + s[V::Q_coV];
    case V::QHc:
        return std::fabs(s[V::Q_uUsed] - s[V::Q_coV]);
    case V::QZ:
        return s[V::Q_v] + s[V::Q_coHc];
    default:
        return std::nullopt;
    }
}

std::optional<double> longitudeWrongWay(const Step& s) {
    return unless(s.at == V::LHA && s.entries.Lo != 0,
                  reduction::localHourAngle(s.entries.GHA, -s.entries.Lo));
}

std::optional<double> lhaOver360(const Step& s) {
    const double LHA = s.entries.GHA - s.entries.Lo;
    return unless(s.at == V::LHA && LHA >= 360, LHA);
}

// 15.50 degrees written 15°50': the hundredths of a degree taken for
// minutes, where they can be minutes.
std::optional<double> decimalAsMinutes(const Step& s) {
    if (s.at != V::v && s.at != V::w && s.at != V::Hc) {
        return std::nullopt;
    }
    const double degrees = std::floor(s.right);
    const double hundredths = std::round((s.right - degrees) * 100);
    return unless(hundredths > 0 && hundredths < 60, hundredths / 60 + degrees);
}

std::optional<double> znOtherHemisphere(const Step& s) {
    const NorthSouth other = s.entries.latName == NorthSouth::N ? NorthSouth::S : NorthSouth::N;
    return unless(s.at == V::Zn, reduction::trueAzimuth(s[V::ZUsed], other, s[V::LHA]));
}

std::optional<double> znOtherSide(const Step& s) {
    // Any hour angle on the other side of the meridian.
    const double otherSide = s[V::LHA] > 180 ? 90 : 270;
    return unless(s.at == V::Zn, reduction::trueAzimuth(s[V::ZUsed], s.entries.latName, otherSide));
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

constexpr std::array<SlipSpec, 17> catalogue{{
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
