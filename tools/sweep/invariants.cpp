#include "tools/sweep/invariants.h"

#include <cmath>
#include <cstdio>
#include <string_view>

#include "entry/textvalue.h"
#include "printout/workedform.h"
#include "reduction/exactsolution.h"

namespace sweep {
namespace {

using reduction::Outcome;
using reduction::ReductionInput;
using reduction::ReductionRecord;

// Rounding noise of the exact solution and of the comparisons, far below any
// digit the form prints.
constexpr double compareSlack = 1e-9;

constexpr int formLines = 15;
constexpr int rightEqualsColumn = 55;
constexpr std::string_view degreeSign = "\u00B0";

// The entry fields' bounds: a value above its bound turns the field red and
// keeps the focus; a degree field at its bound counts only with minutes 0.
constexpr double ghaDegBound = 719;
constexpr double decLatDegBound = 90;
constexpr double loDegBound = 180;
constexpr double minuteBound = 59.9;

bool within(const std::string& text, double bound) {
    const double x = TextValue(text);
    return x >= 0 && x <= bound;
}

bool degreesWithPartner(const std::string& deg, const std::string& min, double bound) {
    return within(deg, bound) && within(min, minuteBound) &&
           (TextValue(deg) < bound || TextValue(min) == 0);
}

bool inEntryRanges(const ReductionInput& in) {
    return within(in.ghaDeg, ghaDegBound) && within(in.ghaMin, minuteBound) &&
           degreesWithPartner(in.decDeg, in.decMin, decLatDegBound) &&
           degreesWithPartner(in.latDeg, in.latMin, decLatDegBound) &&
           degreesWithPartner(in.loDeg, in.loMin, loDegBound);
}

std::string number(double x) {
    char text[40];
    std::snprintf(text, sizeof text, "%.9g", x);
    return text;
}

std::string interval(const Interval& i) {
    return "[" + number(i.lo) + ", " + number(i.hi) + "]";
}

// Matches one printed line against its template. In a template:
//   ~  the blanks a Tab leaves (any number, also none)
//   |  the next character stands in column 55, the right-hand "="
//   @  an angle with minutes "00.0" from 00.0 to 59.9 (5°07.2)
//   #  an angle with minutes "0.0" from 0.0 to 59.9 (5°7.2)
//   &  an angle as entered, minutes "00.0"; any sign and value when the
//      entries are outside the fields' ranges, which only a paste reaches
//   $  a table value "0.00", %  an azimuth "0.0"
// Everything else stands for itself.
class LineMatcher {
  public:
    LineMatcher(std::string_view line, bool entriesInRange)
        : line_(line), entriesInRange_(entriesInRange) {}

    // Empty when the line fits; else where and why it does not.
    std::string match(std::string_view pattern) {
        for (std::size_t k = 0; k < pattern.size(); ++k) {
            const char token = pattern[k];
            bool ok = true;
            switch (token) {
            case '~':
                while (at(' '))
                    advance(1);
                break;
            case '|':
                if (column_ != rightEqualsColumn)
                    return "the right-hand \"=\" stands in column " + std::to_string(column_);
                break;
            case '@':
                ok = angle(false, Minutes::TwoDigits);
                break;
            case '#':
                ok = angle(false, Minutes::OneDigit);
                break;
            case '&':
                ok = entriesInRange_ ? angle(false, Minutes::TwoDigits) : angle(true, Minutes::Any);
                break;
            case '$':
                ok = decimal(2);
                break;
            case '%':
                ok = decimal(1);
                break;
            default: {
                // A literal, possibly a multi-byte character such as the degree sign.
                std::size_t n = 1;
                while (k + n < pattern.size() && isContinuation(pattern[k + n]))
                    ++n;
                ok = line_.substr(pos_).starts_with(pattern.substr(k, n));
                if (ok)
                    advance(n);
                k += n - 1;
            }
            }
            if (!ok)
                return "does not fit its pattern at column " + std::to_string(column_);
        }
        if (pos_ != line_.size())
            return "has more text from column " + std::to_string(column_);
        return {};
    }

  private:
    enum class Minutes { TwoDigits, OneDigit, Any };

    static bool isContinuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }
    static bool isDigit(char c) { return c >= '0' && c <= '9'; }

    bool at(char c) const { return pos_ < line_.size() && line_[pos_] == c; }
    bool atDigit() const { return pos_ < line_.size() && isDigit(line_[pos_]); }

    void advance(std::size_t bytes) {
        for (std::size_t i = 0; i < bytes; ++i)
            if (!isContinuation(line_[pos_ + i]))
                ++column_;
        pos_ += bytes;
    }

    std::size_t digitRun() {
        const std::size_t start = pos_;
        while (atDigit())
            advance(1);
        return pos_ - start;
    }

    // "0" or digits without a leading zero.
    bool whole() {
        const char first = pos_ < line_.size() ? line_[pos_] : '\0';
        const std::size_t n = digitRun();
        return n == 1 || (n > 1 && first != '0');
    }

    // Digits, a point and exactly `decimals` digits.
    bool decimal(std::size_t decimals) {
        if (!whole() || !at('.'))
            return false;
        advance(1);
        return digitRun() == decimals;
    }

    bool angle(bool signedValues, Minutes minutes) {
        if (signedValues && at('-'))
            advance(1);
        if (!whole() || !line_.substr(pos_).starts_with(degreeSign))
            return false;
        advance(degreeSign.size());
        if (signedValues && at('-'))
            advance(1);
        const std::size_t start = pos_;
        const std::size_t n = digitRun();
        if (!at('.'))
            return false;
        advance(1);
        if (digitRun() != 1)
            return false;
        const std::string_view integer = line_.substr(start, n);
        switch (minutes) {
        case Minutes::TwoDigits: // 00 to 59
            return n == 2 && integer[0] <= '5';
        case Minutes::OneDigit: // 0 to 59, no leading zero
            return n == 1 || (n == 2 && integer[0] != '0' && integer[0] <= '5');
        case Minutes::Any:
            return n >= 2;
        }
        return false;
    }

    std::string_view line_;
    bool entriesInRange_;
    std::size_t pos_ = 0;
    int column_ = 1;
};

// The character in a 1-based column of a printed line, empty past its end.
std::string_view characterAt(std::string_view line, int column) {
    int c = 1;
    for (std::size_t i = 0; i < line.size(); ++i) {
        if ((static_cast<unsigned char>(line[i]) & 0xC0) == 0x80)
            continue;
        if (c == column) {
            std::size_t n = 1;
            while (i + n < line.size() && (static_cast<unsigned char>(line[i + n]) & 0xC0) == 0x80)
                ++n;
            return line.substr(i, n);
        }
        ++c;
    }
    return {};
}

// Which optional runs a form shows, worked out from the entries and u again
// rather than read from the record's flags, so that a flag set at the wrong
// edge (t or u exactly 90) shows as a wrong line.
struct FormShape {
    bool tOver90;
    bool uOver90;
    bool sameNames;
};

FormShape shapeOf(const ReductionInput& in, const ReductionRecord& r) {
    const double t = r.LHA <= 180 ? r.LHA : 360 - r.LHA;
    return {t > 90, r.u > 90, in.latName == in.decName};
}

// The fifteen lines in the shape the rules give them.
std::vector<std::string> linePatterns(const FormShape& r, reduction::Method method) {
    const bool zRule = !r.sameNames || r.uOver90;
    return {
        std::string(33, ' ') + (method == reduction::Method::Q ? "Sight Reduction by Q(x) Table"
                                                               : "Sight Reduction by QQ(x) Table"),
        std::string("LHA~@' ~-> t*~@'") + (r.tOver90 ? " -> ~@'" : "") + "~u*** |= 90 - w " +
            (r.sameNames ? "+ Lat (L and Dec same name)" : "- Lat (L and Dec contrary names)"),
        std::string("Q(v) = Q(90 - dec) + Q(t)~|= 90 - @'") + (r.sameNames ? " + " : " - ") + "&'",
        std::string("     = Q(@') + Q(@')~|= @'") + (r.uOver90 ? " -> @'" : ""),
        "     = $ + $ = $~Q(Hc) |= Q(90 - v) + Q(u)",
        "   v = #'~|= Q(@') + Q(@')",
        "Q(w) = Q(dec) - Q(90 - v)~|= $ + $ = $",
        "     = Q(&') - Q(@')~Hc |= @'",
        "     = $ - $ = $~Q(Z) |= Q(v) - Q(90 - Hc)",
        std::string(" w** = #'") + (r.tOver90 ? " -> ~@'" : "") + "~|= Q(@') - Q(@')",
        "~|= $ - $ = $",
        std::string("~Z**** |= %\u00B0") + (zRule ? " -> %\u00B0" : ""),
        "~Zn |= %\u00B0",
        "*If t>90 use t = 180 - t     **If original t>90 use w = 180 - w      ***If u>90 use u = "
        "180 - u",
        "****For contrary names or same name with original u>90 use Z = 180 - Z",
    };
}

} // namespace

std::vector<std::string> formViolations(const std::vector<std::string>& lines,
                                        const ReductionInput& in, const ReductionRecord& record,
                                        bool inRange) {
    std::vector<std::string> violations;
    if (lines.size() != formLines) {
        violations.push_back("the form has " + std::to_string(lines.size()) + " lines, not 15");
        return violations;
    }
    const FormShape r = shapeOf(in, record);
    const std::vector<std::string> patterns = linePatterns(r, in.method);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        const std::string where = "line " + std::to_string(i + 1) + " ";
        if (line.find("nan") != std::string::npos || line.find("inf") != std::string::npos)
            violations.push_back(where + "prints a number that is not one: " + line);
        LineMatcher matcher(line, inRange);
        if (const std::string why = matcher.match(patterns[i]); !why.empty())
            violations.push_back(where + why + ": " + line);
    }
    // Right-aligned degrees: the degree signs of LHA and t, and of t and w
    // after their rule, stand in fixed columns whatever the number of digits.
    struct Alignment {
        std::size_t line;
        int column;
        bool applies;
    };
    const Alignment alignments[] = {
        {2, 8, true}, {2, 24, true}, {2, 36, r.tOver90}, {10, 23, r.tOver90}};
    for (const Alignment& a : alignments)
        if (a.applies && characterAt(lines[a.line - 1], a.column) != degreeSign)
            violations.push_back("line " + std::to_string(a.line) + ": no degree sign in column " +
                                 std::to_string(a.column) + ": " + lines[a.line - 1]);
    return violations;
}

namespace {

FailurePlace failurePlace(const ReductionRecord& r) {
    // The record was fresh: a value below 0 was written by this calculation.
    if (r.LHA > 360)
        return FailurePlace::LHAPast360;
    if (r.QZ < 0)
        return FailurePlace::QZBelowZero;
    if (r.Qw < 0)
        return FailurePlace::QwBelowZero;
    return FailurePlace::Other;
}

void expectWithin(const char* what, double value, const Interval& allowed,
                  std::vector<std::string>& violations) {
    if (!allowed.contains(value, compareSlack))
        violations.push_back(std::string(what) + " " + number(value) +
                             " lies outside what the table's roundings allow, " +
                             interval(allowed));
}

void checkAgainstEnvelope(const ReductionInput& in, const ReductionRecord& r,
                          const std::string& failureReason, SightReport& report) {
    const Envelope e = envelopeOf({r.LHA, r.Lat, r.Dec, in.latName, in.decName, in.method});
    auto& violations = report.violations;

    if (report.outcome == Outcome::ArithmeticFailure) {
        const FailurePlace place = report.failurePlace;
        if (place == FailurePlace::QwBelowZero && e.Qw.lo >= 0)
            violations.push_back("cannot be reduced for Q(w) " + number(r.Qw) +
                                 " below 0, which the roundings allow only down to " +
                                 number(e.Qw.lo));
        else if (place == FailurePlace::QZBelowZero && e.QZ.lo >= 0)
            violations.push_back("cannot be reduced for Q(Z) " + number(r.QZ) +
                                 " below 0, which the roundings allow only down to " +
                                 number(e.QZ.lo));
        else if (place == FailurePlace::Other)
            violations.push_back("cannot be reduced within the entry ranges: " + failureReason);
        return;
    }

    expectWithin("the table's v", r.v, e.v, violations);
    expectWithin("the table's w", r.w, e.w, violations);
    expectWithin("the table's u", r.u, e.u, violations);
    if (report.outcome != Outcome::Complete)
        return;

    const reduction::ExactSolution exact = reduction::exactSolution(
        r, in.latName == reduction::NorthSouth::S, in.decName == reduction::NorthSouth::S);
    report.compared = true;
    report.tableHc = r.HcDeg + r.HcMin / 60;
    report.exactHc = exact.Hc;
    report.dHcArcmin = exact.dHcArcmin;
    report.dZnDeg = exact.dZnDeg;
    report.hcBoundArcmin = e.Hc.width() * 60;
    report.znBoundDeg = e.Zn.width();

    expectWithin("the printed Hc", report.tableHc, e.Hc, violations);
    expectWithin("the exact Hc", exact.Hc, e.Hc, violations);
    if (!containsAzimuth(e.Zn, r.Zn, compareSlack))
        violations.push_back("the table's Zn " + number(r.Zn) +
                             " lies outside what the table's roundings allow, " + interval(e.Zn));
    if (!std::isnan(exact.Zn) && !containsAzimuth(e.Zn, exact.Zn, compareSlack))
        violations.push_back("the exact Zn " + number(exact.Zn) + " (table " + number(r.Zn) +
                             ") lies outside what the table's roundings allow, " + interval(e.Zn));
}

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

SightReport reduceAndCheck(const ReductionInput& input) {
    SightReport report;
    ReductionRecord record;
    const reduction::CalculationResult result = reduction::calculateReduction(input, record);
    report.outcome = result.outcome;
    report.inRange = inEntryRanges(input);
    report.t = record.tUsed;
    report.dec = record.Dec;

    switch (result.outcome) {
    case Outcome::Complete:
        report.violations =
            formViolations(printout::renderLines(printout::buildWorkedForm(record, input.method)),
                           input, record, report.inRange);
        break;
    case Outcome::CheckData:
        break;
    case Outcome::ArithmeticFailure:
        report.failurePlace = failurePlace(record);
        if (report.failurePlace == FailurePlace::QZBelowZero)
            report.tableHc = record.HcDeg + record.HcMin / 60;
        break;
    default:
        report.violations.push_back("the outcome is none of the three");
        return report;
    }

    if (report.inRange && record.LHA <= 360)
        checkAgainstEnvelope(input, record, result.reason, report);
    return report;
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
