#include "check/check.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "check/chain.h"
#include "printout/patterns.h"

namespace check {
namespace {

using V = ValueId;

// The values a slip shown at `at` may have been made at: `at` itself, and
// every earlier value, not given, that it is worked from through values not
// given either (a given value in between would have shown the slip).
std::vector<ValueId> slipSites(ValueId at, const WorkedValues& given) {
    std::array<bool, valueCount> reached{};
    reached[index(at)] = true;
    // Inputs always come earlier in the form, so one backward pass finds them.
    for (std::size_t i = index(at) + 1; i-- > 0;) {
        const auto id = static_cast<ValueId>(i);
        if (!reached[i] || (id != at && given[id])) {
            continue;
        }
        for (const ValueId input : inputsOf(id)) {
            if (!given[input]) {
                reached[index(input)] = true;
            }
        }
    }
    std::vector<ValueId> sites;
    for (std::size_t i = 0; i <= index(at); ++i) {
        if (reached[i]) {
            sites.push_back(static_cast<ValueId>(i));
        }
    }
    return sites;
}

// A slip explains x when it takes the value the navigator's own numbers
// give (plain) most of the way there: the slipped value lies nearer x than
// halfway. A slip of one last digit does not explain a number that only the
// far end of the table readings' range reaches.
bool explains(ValueId at, double x, const Worked& slipped, const Worked& plain) {
    if (std::isnan(plain.value)) {
        return true;
    }
    const long long given = printedUnits(at, x);
    return 2 * std::llabs(given - printedUnits(at, slipped.value)) <
           std::llabs(given - printedUnits(at, plain.value));
}

// Every catalogue slip that, made at one of the sites, gives x at `at`.
std::vector<SlipCause> causesOf(ValueId at, double x, const Entries& entries, double tolerance,
                                const WorkedValues& given, const FormWork& work) {
    std::vector<SlipCause> causes;
    for (const ValueId site : slipSites(at, given)) {
        const Worked plain = work.expected[index(site)];
        for (const SlipSpec& spec : slipCatalogue()) {
            FormState state = work.state;
            Worked worked = workStep(site, entries, state, tolerance, &spec);
            if (std::isnan(worked.value) ||
                printedUnits(site, worked.value) == printedUnits(site, plain.value)) {
                continue; // the slip does not act there, or changes nothing
            }
            // Work on to `at` from the slipped value, the given values kept.
            for (std::size_t i = index(site) + 1; i <= index(at); ++i) {
                state.set(static_cast<ValueId>(i - 1), worked);
                const auto id = static_cast<ValueId>(i);
                if (id != at && given[id]) {
                    worked = state[id];
                    continue;
                }
                worked = workStep(id, entries, state, tolerance);
            }
            if (withinRange(at, x, worked) && explains(at, x, worked, work.expected[index(at)])) {
                causes.push_back({spec.id, site});
            }
        }
    }
    return causes;
}

} // namespace

std::optional<Tolerance> toleranceFromText(std::string_view text) {
    for (const Tolerance t : {Tolerance::Whole, Tolerance::Tenths, Tolerance::Exact}) {
        if (text == toleranceText(t)) {
            return t;
        }
    }
    return std::nullopt;
}

std::string_view toleranceText(Tolerance tolerance) {
    switch (tolerance) {
    case Tolerance::Whole:
        return "whole";
    case Tolerance::Tenths:
        return "tenths";
    case Tolerance::Exact:
        return "exact";
    }
    return "";
}

namespace {

struct MarkSpec {
    Mark mark;
    LegendEntry legend; // the sign, and the text of the mark
    std::string_view key;
};

constexpr std::array<MarkSpec, 4> markSpecs{{
    {Mark::Agrees, {"\u2713", "agrees"}, "agrees"},
    {Mark::WithinReading, {"\u2248", "agrees within table reading"}, "within-reading"},
    {Mark::Follows, {"\u2192", "follows from your earlier numbers"}, "follows"},
    {Mark::Differs, {"\u2717", "differs"}, "differs"},
}};

constexpr std::array<LegendEntry, markSpecs.size() + 1> legend = [] {
    std::array<LegendEntry, markSpecs.size() + 1> entries{};
    for (std::size_t i = 0; i < markSpecs.size(); ++i) {
        entries[i] = markSpecs[i].legend;
    }
    entries.back() = {unreadableSign, "could not be read"};
    return entries;
}();

constexpr bool marksInOrder() {
    for (std::size_t i = 0; i < markSpecs.size(); ++i) {
        if (static_cast<std::size_t>(markSpecs[i].mark) != i) {
            return false;
        }
    }
    return static_cast<std::size_t>(Mark::Differs) + 1 == markSpecs.size();
}
static_assert(marksInOrder());

const MarkSpec& markSpec(Mark mark) {
    return markSpecs[static_cast<std::size_t>(mark)];
}

} // namespace

std::string_view markText(Mark mark) {
    return markSpec(mark).legend.words;
}

std::string_view markSign(Mark mark) {
    return markSpec(mark).legend.sign;
}

std::string_view markKey(Mark mark) {
    return markSpec(mark).key;
}

std::span<const LegendEntry> markLegend() {
    return legend;
}

std::string markLegendText() {
    return markLegendLines(std::numeric_limits<int>::max()).front();
}

std::vector<std::string> markLegendLines(int columns) {
    constexpr std::string_view between = "   ";
    std::vector<std::string> lines{""};
    for (const LegendEntry& entry : legend) {
        const std::string text = std::string(entry.sign) + " " + std::string(entry.words);
        std::string& line = lines.back();
        if (line.empty()) {
            line = text;
        } else if (printout::columnCount(line) + printout::columnCount(between) +
                       printout::columnCount(text) <=
                   columns) {
            line += std::string(between) + text;
        } else {
            lines.push_back(text);
        }
    }
    return lines;
}

bool CheckResult::allAgree() const {
    return !blank && message.empty() &&
           std::all_of(values.begin(), values.end(), [](const ValueCheck& v) {
               return v.mark == Mark::Agrees || v.mark == Mark::WithinReading;
           });
}

CheckResult checkWorkedForm(const reduction::ReductionInput& input, const WorkedValues& given,
                            Tolerance tolerance) {
    CheckResult result;
    result.blank = std::none_of(given.values.begin(), given.values.end(),
                                [](const auto& x) { return x.has_value(); });
    result.calculation = reduction::calculateReduction(input, result.record);
    switch (result.calculation.outcome) {
    case reduction::Outcome::Complete:
        break;
    case reduction::Outcome::CheckData:
        result.message = reduction::checkDataMessage;
        return result;
    case reduction::Outcome::ArithmeticFailure:
        result.message = reduction::arithmeticFailureText(result.calculation.reason);
        return result;
    }

    const Entries entries = entriesOf(input, result.record);
    const double readingTol = readingTolerance(tolerance);
    const FormWork right = workRightForm(entries, readingTol, given);
    const FormWork work = workForm(entries, readingTol, given, {});

    // A value rests on a slip when it, or a value it is worked from, differs.
    std::array<bool, valueCount> onASlip{};
    for (const ValueId id : allValues()) {
        bool inputsOnASlip = false;
        for (const ValueId input : inputsOf(id)) {
            inputsOnASlip = inputsOnASlip || onASlip[index(input)];
        }
        const auto& x = given[id];
        if (!x) {
            onASlip[index(id)] = inputsOnASlip;
            continue;
        }
        const Worked rightValue = right.expected[index(id)];
        const Worked expected = work.expected[index(id)];
        Mark mark = Mark::Differs;
        if (printedUnits(id, *x) == printedUnits(id, rightValue.value)) {
            mark = Mark::Agrees;
        } else if (withinRange(id, *x, expected)) {
            mark = inputsOnASlip ? Mark::Follows : Mark::WithinReading;
        } else if (withinRange(id, *x, rightValue)) {
            mark = Mark::WithinReading; // right again after an earlier slip
        }
        onASlip[index(id)] = mark == Mark::Follows || mark == Mark::Differs;

        ValueCheck checked{id, mark, *x, valueText(id, *x), valueText(id, rightValue.value), {}};
        if (!std::isnan(expected.value)) {
            checked.expectedText = valueText(id, expected.value);
        }
        if (mark == Mark::Differs) {
            result.slips.push_back({id, causesOf(id, *x, entries, readingTol, given, work),
                                    checked.givenText, checked.rightText, checked.expectedText});
        }
        result.values.push_back(std::move(checked));
    }
    return result;
}

namespace {

// "1 slip", "2 slips".
std::string counted(std::size_t count, std::string_view one, std::string_view many) {
    return std::to_string(count) + " " + std::string(count == 1 ? one : many);
}

} // namespace

std::string checkSummary(const CheckResult& result, std::size_t unreadable) {
    if (!result.message.empty()) {
        return result.message;
    }
    if (result.values.empty() && unreadable == 0) {
        return "Nothing to check: the boxes are empty.";
    }
    if (result.values.empty()) {
        return "No box holds a value that can be read; see below.";
    }
    const std::size_t checked = result.values.size();
    std::string summary;
    if (result.slips.empty() && unreadable == 0) {
        summary =
            "Every value you gave agrees with the form (" + std::to_string(checked) + " checked).";
    } else if (result.slips.empty()) {
        summary = checked == 1 ? "The one value that could be read agrees with the form."
                               : "The " + std::to_string(checked) +
                                     " values that could be read agree with the form.";
    } else {
        summary = counted(checked, "value", "values") +
                  " checked: " + counted(result.slips.size(), "slip", "slips") + ", listed below.";
    }
    if (unreadable > 0) {
        summary += " " + counted(unreadable, "box", "boxes") + " marked " +
                   std::string(unreadableSign) + " could not be read" +
                   (unreadable == 1 ? ", so it was not checked." : ", so they were not checked.");
    }
    return summary;
}

std::string slipText(const FoundSlip& slip) {
    std::string text = std::string(valueLabel(slip.shownAt)) + " " + slip.givenText + ": ";
    if (slip.causes.empty()) {
        text += arithmeticSlipName;
    }
    for (std::size_t i = 0; i < slip.causes.size(); ++i) {
        const SlipCause& cause = slip.causes[i];
        const SlipSpec& spec = slipSpec(cause.slip);
        if (i > 0) {
            text += ", or ";
        }
        text += spec.name;
        if (cause.madeAt != slip.shownAt) {
            text += " at " + std::string(valueLabel(cause.madeAt));
        }
        text += " (" + std::string(spec.words) + ")";
    }
    if (slip.expectedText && *slip.expectedText != slip.rightText) {
        return text + "; your own numbers give " + *slip.expectedText + ", the right value " +
               slip.rightText;
    }
    return text + "; the right value is " + slip.rightText;
}

CheckLayout checkLayout(const reduction::ReductionRecord& record, reduction::Method method) {
    reduction::ReductionRecord everyRule = record;
    everyRule.tOver90 = true;
    everyRule.uOver90 = true; // also prints Z's arrow
    CheckLayout layout;
    layout.form = printout::buildWorkedForm(everyRule, method);
    for (std::size_t line = 0; line < layout.form.values.size(); ++line) {
        for (const printout::ValueSpan& span : layout.form.values[line]) {
            if (span.shows) {
                layout.places[index(*span.shows)].push_back(
                    {static_cast<int>(line), printout::ColumnSpan(span)});
            }
        }
    }
    return layout;
}

} // namespace check
