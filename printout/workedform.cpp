#include "printout/workedform.h"

#include <algorithm>
#include <limits>
#include <span>
#include <string_view>
#include <utility>

#include "printout/patterns.h"

namespace printout {
namespace {

using reduction::Method;
using reduction::ReductionRecord;

// The print position of the form: a line and a 1-based column, moved on by
// printed text, by Tab(n) and by the end of a line.
class FormWriter {
  public:
    // Tab(n): forward to column n on this line, or, when the position is
    // already past n, on to column n of the next line.
    void tab(int n) {
        n = std::max(n, 1);
        if (column_ > n) {
            endLine();
        }
        column_ = n;
    }

    void print(std::string_view text, bool bold = false) {
        if (text.empty()) {
            return;
        }
        // Text that directly follows a run of the same weight joins it.
        if (!line_.empty() && line_.back().bold == bold && lastRunEnd_ == column_) {
            line_.back().text += text;
        } else {
            line_.push_back({column_, std::string(text), bold});
        }
        column_ += columnCount(text);
        lastRunEnd_ = column_;
    }

    // A value the navigator works out: printed as any text, and its columns
    // noted with what it shows, so that an exercise sheet can leave them
    // blank and a checked sheet put the navigator's own number there.
    void value(FormValue shows, std::string_view text, bool bold = false) {
        noted(text, shows);
        print(text, bold);
    }

    // An entry copied onto the form: blank on an exercise sheet, not worked.
    void entry(std::string_view text) {
        noted(text, std::nullopt);
        print(text);
    }

    // The arrow before a value after its rule, which only a worked form shows.
    void arrow() {
        constexpr std::string_view text = " -> ";
        noted(text, std::nullopt);
        print(text);
    }

    void endLine() {
        form_.lines.push_back(std::move(line_));
        form_.values.push_back(std::move(values_));
        line_.clear();
        values_.clear();
        column_ = 1;
        lastRunEnd_ = 0;
    }

    WorkedForm finish() { return std::move(form_); }

  private:
    void noted(std::string_view text, std::optional<FormValue> shows) {
        if (!text.empty()) {
            values_.push_back({{column_, columnCount(text)}, shows});
        }
    }

    WorkedForm form_;
    WorkedFormLine line_;
    std::vector<ValueSpan> values_;
    int column_ = 1;
    int lastRunEnd_ = 0; // the column after the line's last run
};

std::string angle(int degrees, double minutes, Pattern minutesPattern = Pattern::TwoDigitTenths) {
    return angleText(degrees, minutes, minutesPattern);
}

std::string tableValue(double value) {
    return formatNumber(value, Pattern::Hundredths);
}

std::string azimuth(double degrees) {
    return formatNumber(degrees, Pattern::Tenths) + "\u00B0";
}

} // namespace

WorkedForm buildWorkedForm(const ReductionRecord& r, Method method) {
    // The form shows the table value of each angle by asking the table again.
    const auto Q = [method](double angleDeg) { return tableValue(reduction::Q(angleDeg, method)); };
    using V = FormValue;
    FormWriter w;

    // Line 1: the title.
    w.tab(34);
    w.print(method == Method::Q ? "Sight Reduction by Q(x) Table"
                                : "Sight Reduction by QQ(x) Table");
    w.endLine();

    // Line 2: LHA and t, right-aligned on their degree signs; the u formula.
    w.print("LHA");
    w.tab(9 - degreesWidth(r.LHADeg));
    w.value(V::LHA, angle(r.LHADeg, r.LHAMin) + "'");
    w.print(" ");
    w.tab(15);
    w.print("-> t*");
    w.tab(25 - degreesWidth(r.tDeg));
    w.value(V::t, angle(r.tDeg, r.tMin) + "'");
    if (r.tOver90) {
        w.arrow();
        w.tab(37 - degreesWidth(r.tUsedDeg));
        w.value(V::tUsed, angle(r.tUsedDeg, r.tUsedMin) + "'");
    }
    w.tab(rightColumn);
    w.print(r.sameNames ? "   u*** = 90 - w + Lat (L and Dec same name)"
                        : "   u*** = 90 - w - Lat (L and Dec contrary names)");
    w.endLine();

    // Line 3: the v formula; the u step with its angles.
    w.print("Q(v) = Q(90 - dec) + Q(t)");
    w.tab(54);
    w.print(" = 90 - ");
    w.value(V::wUsed, angle(r.wUsedDeg, r.wUsedMin) + "'");
    w.print(r.sameNames ? " + " : " - ");
    w.entry(angle(r.LatDeg, r.LatMin) + "'");
    w.endLine();

    // Line 4: the v step with its angles; u, and u after its rule.
    w.print("     = Q(");
    w.value(V::coDec, angle(r.coDecDeg, r.coDecMin) + "'");
    w.print(") + Q(");
    w.value(V::tUsed, angle(r.tUsedDeg, r.tUsedMin) + "'");
    w.print(")");
    w.tab(54);
    w.print(" = ");
    w.value(V::u, angle(r.uDeg, r.uMin) + "'");
    if (r.uOver90) {
        w.arrow();
        w.value(V::uUsed, angle(r.uUsedDeg, r.uUsedMin) + "'");
    }
    w.endLine();

    // Line 5: the v table values; the Hc formula.
    w.print("     = ");
    w.value(V::Q_coDec, Q(r.coDec));
    w.print(" + ");
    w.value(V::Q_tUsed, Q(r.tUsed));
    w.print(" = ");
    w.value(V::Qv, tableValue(r.Qv));
    w.tab(49);
    w.print("Q(Hc) = Q(90 - v) + Q(u)");
    w.endLine();

    // Line 6: v; the Hc step with its angles.
    w.print("   v = ");
    w.value(V::v, angle(r.vDeg, r.vMin, Pattern::Tenths) + "'");
    w.tab(54);
    w.print(" = Q(");
    w.value(V::coV, angle(r.coVDeg, r.coVMin) + "'");
    w.print(") + Q(");
    w.value(V::uUsed, angle(r.uUsedDeg, r.uUsedMin) + "'");
    w.print(")");
    w.endLine();

    // Line 7: the w formula; the Hc table values.
    w.print("Q(w) = Q(dec) - Q(90 - v)");
    w.tab(54);
    w.print(" = ");
    w.value(V::Q_coV, Q(r.coV));
    w.print(" + ");
    w.value(V::Q_uUsed, Q(r.uUsed));
    w.print(" = ");
    w.value(V::QHc, tableValue(r.QHc));
    w.endLine();

    // Line 8: the w step with its angles; Hc in bold.
    w.print("     = Q(");
    w.entry(angle(r.DecDeg, r.DecMin) + "'");
    w.print(") - Q(");
    w.value(V::coV, angle(r.coVDeg, r.coVMin) + "'");
    w.print(")");
    w.tab(52);
    w.print("Hc = ", true);
    w.value(V::Hc, angle(r.HcDeg, r.HcMin) + "'", true);
    w.endLine();

    // Line 9: the w table values; the Z formula.
    w.print("     = ");
    w.value(V::Q_dec, Q(r.Dec));
    w.print(" - ");
    w.value(V::Q_coV, Q(r.coV));
    w.print(" = ");
    w.value(V::Qw, tableValue(r.Qw));
    w.tab(50);
    w.print("Q(Z) = Q(v) - Q(90 - Hc)");
    w.endLine();

    // Line 10: w, and w after its rule right-aligned; the Z step with its angles.
    w.print(" w** = ");
    w.value(V::w, angle(r.wDeg, r.wMin, Pattern::Tenths) + "'");
    if (r.tOver90) {
        w.arrow();
        w.tab(24 - degreesWidth(r.wUsedDeg));
        w.value(V::wUsed, angle(r.wUsedDeg, r.wUsedMin) + "'");
    }
    w.tab(54);
    w.print(" = Q(");
    w.value(V::v, angle(r.vDeg, r.vMin) + "'");
    w.print(") - Q(");
    w.value(V::coHc, angle(r.coHcDeg, r.coHcMin) + "'");
    w.print(")");
    w.endLine();

    // Line 11: the Z table values.
    w.tab(54);
    w.print(" = ");
    w.value(V::Q_v, Q(r.v));
    w.print(" - ");
    w.value(V::Q_coHc, Q(r.coHc));
    w.print(" = ");
    w.value(V::QZ, tableValue(r.QZ));
    w.endLine();

    // Line 12: Z, and Z after its rule.
    w.tab(49);
    w.print("Z**** = ");
    w.value(V::Z, azimuth(r.Z));
    if (!r.sameNames || r.uOver90) {
        w.arrow();
        w.value(V::ZUsed, azimuth(r.ZUsed));
    }
    w.endLine();

    // Line 13: Zn in bold.
    w.tab(52);
    w.print("Zn = ", true);
    w.value(V::Zn, azimuth(r.Zn), true);
    w.endLine();

    // Lines 14 and 15: the footnotes of the four special rules.
    w.print("*If t>90 use t = 180 - t");
    w.tab(30);
    w.print("**If original t>90 use w = 180 - w");
    w.tab(70);
    w.print("***If u>90 use u = 180 - u");
    w.endLine();
    w.print("****For contrary names or same name with original u>90 use Z = 180 - Z");
    w.endLine();

    return w.finish();
}

namespace {

// The blanks that lead a run to its column, or the whole run when it is only
// blanks.
std::size_t leadingBlanks(const TextRun& run) {
    return std::min(run.text.find_first_not_of(' '), run.text.size());
}

// The column where the run's text starts, after those blanks.
int textColumn(const TextRun& run) {
    return run.column + static_cast<int>(leadingBlanks(run));
}

// The run without its leading blanks, its text `shift` columns left of where
// it stood.
TextRun movedLeft(const TextRun& run, int shift) {
    return {textColumn(run) - shift, run.text.substr(leadingBlanks(run)), run.bold};
}

} // namespace

WorkedForm stackedForm(const WorkedForm& form) {
    WorkedForm stacked;
    if (form.lines.size() < 1 + footnoteLines)
        return stacked;
    const auto working = std::span(form.lines).subspan(1, form.lines.size() - 1 - footnoteLines);
    const auto notes = std::span(form.lines).last(footnoteLines);
    const auto isRight = [](const TextRun& run) { return run.column >= rightColumn; };
    const auto shown = [](const TextRun& run) { return leadingBlanks(run) < run.text.size(); };
    const auto part = [&stacked](WorkedFormLine line) {
        if (line.empty())
            return;
        stacked.lines.push_back(std::move(line));
    };
    const auto blankLine = [&stacked] { stacked.lines.emplace_back(); };

    for (const TextRun& run : form.lines.front())
        if (shown(run))
            part({movedLeft(run, textColumn(run) - 1)});
    blankLine();
    for (const WorkedFormLine& line : working) {
        WorkedFormLine left;
        for (const TextRun& run : line)
            if (!isRight(run) && shown(run))
                left.push_back(run);
        part(std::move(left));
    }
    blankLine();
    // The right-hand working keeps its own indents: the leftmost of its
    // texts comes to column 1.
    int shift = std::numeric_limits<int>::max();
    for (const WorkedFormLine& line : working)
        for (const TextRun& run : line)
            if (isRight(run) && shown(run))
                shift = std::min(shift, textColumn(run) - 1);
    for (const WorkedFormLine& line : working) {
        WorkedFormLine right;
        for (const TextRun& run : line)
            if (isRight(run) && shown(run))
                right.push_back(movedLeft(run, shift));
        part(std::move(right));
    }
    blankLine();
    for (const WorkedFormLine& line : notes)
        for (const TextRun& run : line)
            if (shown(run))
                part({movedLeft(run, textColumn(run) - 1)});
    return stacked;
}

std::vector<std::string> renderLines(const WorkedForm& form) {
    std::vector<std::string> lines;
    lines.reserve(form.lines.size());
    for (const WorkedFormLine& runs : form.lines) {
        std::string text;
        // A form's line is at most some 90 bytes: room for it at once.
        text.reserve(96);
        int column = 1;
        for (const TextRun& run : runs) {
            // The background shows between runs; a run that would start left
            // of the position (never built so) simply follows.
            if (run.column > column) {
                text.append(static_cast<std::size_t>(run.column - column), ' ');
                column = run.column;
            }
            text += run.text;
            column += columnCount(run.text);
        }
        text.erase(text.find_last_not_of(' ') + 1);
        lines.push_back(std::move(text));
    }
    return lines;
}

WorkedForm withoutValues(const WorkedForm& form) {
    WorkedForm blank;
    blank.lines.reserve(form.lines.size());
    for (std::size_t i = 0; i < form.lines.size(); ++i) {
        const std::vector<ValueSpan> none;
        const std::vector<ValueSpan>& values = i < form.values.size() ? form.values[i] : none;
        const auto isValue = [&values](int column) {
            return std::any_of(values.begin(), values.end(), [column](const ColumnSpan& span) {
                return column >= span.first && column < span.first + span.count;
            });
        };
        // Each run is cut into the pieces that lie outside every value span,
        // character by character, so a value inside a run (Hc after its
        // label) goes and the label stays in its column.
        WorkedFormLine kept;
        for (const TextRun& run : form.lines[i]) {
            int column = run.column;
            for (std::size_t at = 0; at < run.text.size();) {
                std::size_t next = at + 1;
                while (next < run.text.size() &&
                       (static_cast<unsigned char>(run.text[next]) & 0xC0) == 0x80) {
                    ++next;
                }
                if (!isValue(column)) {
                    if (!kept.empty() && kept.back().bold == run.bold &&
                        kept.back().column + columnCount(kept.back().text) == column) {
                        kept.back().text.append(run.text, at, next - at);
                    } else {
                        kept.push_back({column, run.text.substr(at, next - at), run.bold});
                    }
                }
                at = next;
                ++column;
            }
        }
        blank.lines.push_back(std::move(kept));
    }
    blank.values.resize(blank.lines.size());
    return blank;
}

std::string entriesText(const reduction::ReductionInput& in) {
    // An empty field reads as 0, and shows so rather than as a gap.
    const auto angle = [](const std::string& deg, const std::string& min) {
        return (deg.empty() ? "0" : deg) + "\u00B0" + (min.empty() ? "0" : min) + "'";
    };
    const auto name = [](auto n) { return std::string(reduction::nameText(n)) + " "; };
    return "GHA " + angle(in.ghaDeg, in.ghaMin) + "   Dec " + name(in.decName) +
           angle(in.decDeg, in.decMin) + "   DR L " + name(in.latName) +
           angle(in.latDeg, in.latMin) + "   DR Lo " + name(in.loName) + angle(in.loDeg, in.loMin) +
           (in.method == Method::Q ? "   Q(x) table" : "   QQ(x) table");
}

} // namespace printout
