#pragma once

#include <array>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "check/slips.h"
#include "check/values.h"
#include "printout/workedform.h"
#include "reduction/calculate.h"
#include "reduction/record.h"

// "Check my work": the navigator's own numbers of a worked form, each held
// against the right form and against what it should be given the
// navigator's own earlier numbers (as a teacher marks, so one slip is marked
// once), and each wrong number's slip named from the catalogue.

namespace check {

// How far a table reading may stray. The printed tables give whole numbers
// and mental interpolation one decimal, so by default a table value within
// ±0.5 of the computed one agrees within table reading, and so does an
// angle within what such readings can move it.
enum class Tolerance {
    Whole,  // ±0.5 per table reading (the default)
    Tenths, // ±0.05 per table reading
    Exact,  // the value as the form prints it
};

// "whole", "tenths", "exact".
std::optional<Tolerance> toleranceFromText(std::string_view text);
std::string_view toleranceText(Tolerance tolerance);

enum class Mark {
    Agrees,        // the form prints the same
    WithinReading, // within what the table readings allow
    Follows,       // wrong only because an earlier value was, right given it
    Differs,       // a slip shows here
};

// "agrees", "agrees within table reading", "follows from your earlier
// numbers", "differs".
std::string_view markText(Mark mark);
// "✓", "≈", "→", "✗": a mark that does not depend on colour.
std::string_view markSign(Mark mark);
// "agrees", "within-reading", "follows", "differs", for JSON.
std::string_view markKey(Mark mark);

// The sign of a box whose text is not a value of its kind: not checked.
inline constexpr std::string_view unreadableSign = "?";

// One sign of a checked form and what it says.
struct LegendEntry {
    std::string_view sign;
    std::string_view words;
};

// The key to the signs of a checked form, the same wherever one is shown:
// each mark's sign and text in the order of Mark, then the unreadable box's.
std::span<const LegendEntry> markLegend();

// The key on one line: "✓ agrees   ≈ agrees within table reading   ...".
std::string markLegendText();

// The same key in lines of at most `columns` columns, broken only between
// its entries (an entry longer than that stands alone on its line).
std::vector<std::string> markLegendLines(int columns);

// One value the navigator gave.
struct ValueCheck {
    ValueId id;
    Mark mark;
    double given; // decimal degrees or table units
    std::string givenText;
    std::string rightText; // as the right form prints it
    // What the value should be from the navigator's own earlier numbers, as
    // the form would print it; nullopt where those numbers lead to no value
    // (an angle outside the table, u below 0).
    std::optional<std::string> expectedText;
};

// A slip, and where it may have been made: at the value where it shows, or
// at an earlier value that was not given.
struct SlipCause {
    SlipId slip;
    ValueId madeAt;
};

// One wrong value that no earlier value explains.
struct FoundSlip {
    ValueId shownAt;
    // Every catalogue slip that gives the navigator's number there; empty
    // when none does (an arithmetic or reading slip).
    std::vector<SlipCause> causes;
    std::string givenText;
    std::string rightText;
    // What the navigator's own earlier numbers give there, as the form
    // prints it; nullopt where they lead to no value.
    std::optional<std::string> expectedText;
};

struct CheckResult {
    // The right reduction of the entries. When it is not complete (u below 0,
    // or a step without a result) nothing is checked and message says why,
    // as the window says it (checkDataMessage, arithmeticFailureText).
    reduction::CalculationResult calculation;
    std::string message;
    reduction::ReductionRecord record;
    std::vector<ValueCheck> values; // every given value, in the order of the form
    std::vector<FoundSlip> slips;   // in the order of the form
    // No value was given: a blank sheet, which checks nothing.
    bool blank = true;

    // The entries were reduced, at least one value was given, and every
    // given value agrees, exactly or within table reading. False for a
    // blank sheet, which shows no work to agree.
    bool allAgree() const;
};

// Checks the navigator's values for a sight. Never throws.
CheckResult checkWorkedForm(const reduction::ReductionInput& entries, const WorkedValues& given,
                            Tolerance tolerance = Tolerance::Whole);

// One line about a slip, for a student, each value named as the form writes
// it: "Q(v) 1237.43: sum taken for a difference (...); the right value is
// 1365.03", with every cause named (and the value it was made at, where that
// is an earlier value not given), or the arithmetic or reading slip. Where
// the student's own earlier numbers give another value than the right one,
// both: "Q(w) 1066.53: arithmetic or reading slip; your own numbers give
// 1056.53, the right value 1027.24".
std::string slipText(const FoundSlip& slip);

// The line under a checked form: how many values were checked and how many
// slips were found, or why nothing was. unreadable counts the boxes whose
// text could not be read as a value of their kind (marked "?"), which were
// not checked and are said so.
std::string checkSummary(const CheckResult& result, std::size_t unreadable);

// Where a value stands on the printed form: a line (0-based index into
// WorkedForm::lines) and its columns.
struct FormPlace {
    int line = 0;
    printout::ColumnSpan span;

    bool operator==(const FormPlace&) const = default;
};

// The form a navigator copies their sheet into: the worked form of the
// record with every rule's arrow shown, so that each value has a place
// whether or not a rule applies (and the layout does not give the rules
// away), and for each value the places where it is printed, in line order
// (tUsed, wUsed, uUsed, v, coV and Q_coV stand twice; ZUsed after Z's arrow).
struct CheckLayout {
    printout::WorkedForm form;
    std::array<std::vector<FormPlace>, valueCount> places;
};

// record: a complete reduction (checkWorkedForm's result.record); its
// values stand in the form, which a dialog shows without them
// (printout::withoutValues) or over them.
CheckLayout checkLayout(const reduction::ReductionRecord& record, reduction::Method method);

} // namespace check
