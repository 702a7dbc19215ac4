#include "cli/checkreport.h"

#include <algorithm>

#include "cli/batchrow.h"
#include "cli/sightreport.h"
#include "printout/patterns.h"
#include "printout/workedform.h"

namespace cli {
namespace {

// The report's columns: the value as the form writes it, then as given.
constexpr int givenWidth = 11;

int labelWidth() {
    int widest = 0;
    for (const check::ValueId id : check::allValues()) {
        widest = std::max(widest, printout::columnCount(check::valueLabel(id)));
    }
    return widest + 1;
}

// Where the help's list of slips puts their names, after the keys.
constexpr std::size_t keyColumns = 24;

std::string padded(const std::string& text, int columns) {
    const int used = printout::columnCount(text);
    return used >= columns ? text + " "
                           : text + std::string(static_cast<std::size_t>(columns - used), ' ');
}

} // namespace

std::string slipsCount(std::size_t count) {
    if (count == 0) {
        return "No slips.";
    }
    return std::to_string(count) + (count == 1 ? " slip." : " slips.");
}

std::string slipLine(std::size_t index, const check::FoundSlip& slip) {
    return "Slip " + std::to_string(index + 1) + ": " + check::slipText(slip);
}

std::string checkReportText(const CheckRow& row) {
    std::string text = rowTitle(row.number, row.others) + ": ";
    if (!row.input) {
        return text + row.problem + "\n\n";
    }
    const check::CheckResult& result = row.result;
    text += printout::entriesText(*row.input) + "\n";
    if (!result.message.empty()) {
        // Each line of the message indented under the row.
        std::string message = result.message;
        for (std::size_t at = message.find('\n'); at != std::string::npos;
             at = message.find('\n', at + 3)) {
            message.insert(at + 1, "  ");
        }
        return text + "  " + message + "\n\n";
    }
    if (result.values.empty()) {
        text += "  No values given.\n";
    }
    static const int nameWidth = labelWidth();
    for (const check::ValueCheck& value : result.values) {
        text += "  " + std::string(check::markSign(value.mark)) + " " +
                padded(std::string(check::valueLabel(value.id)), nameWidth) +
                padded(value.givenText, givenWidth) + std::string(check::markText(value.mark));
        if (value.mark != check::Mark::Agrees) {
            text += " (right " + value.rightText + ")";
        }
        text += "\n";
    }
    for (std::size_t i = 0; i < result.slips.size(); ++i) {
        text += "  " + slipLine(i, result.slips[i]) + "\n";
    }
    return text + "  " + slipsCount(result.slips.size()) + "\n\n";
}

void writeCheckJson(JsonWriter& w, const CheckRow& row, check::Tolerance tolerance) {
    if (!row.input) {
        writeRowErrorJson(w, row.number, row.problem, row.others);
        return;
    }
    const check::CheckResult& result = row.result;
    const bool checked = result.message.empty();
    w.StartObject();
    w.plainKey("allAgree");
    w.Bool(checked && result.allAgree());
    writeColumnsJson(w, row.others);
    w.plainKey("message");
    if (checked) {
        w.Null();
    } else {
        w.text(result.message);
    }
    w.plainKey("outcome");
    w.text(outcomeName(result.calculation.outcome));
    w.plainKey("row");
    w.Int64(row.number);
    w.plainKey("slips");
    w.StartArray();
    for (const check::FoundSlip& slip : result.slips) {
        w.StartObject();
        w.plainKey("at");
        w.text(check::valueName(slip.shownAt));
        w.plainKey("causes");
        w.StartArray();
        for (const check::SlipCause& cause : slip.causes) {
            const check::SlipSpec& spec = check::slipSpec(cause.slip);
            w.StartObject();
            w.plainKey("madeAt");
            w.text(check::valueName(cause.madeAt));
            w.plainKey("name");
            w.text(spec.name);
            w.plainKey("slip");
            w.text(spec.key);
            w.EndObject();
        }
        w.EndArray();
        w.plainKey("given");
        w.text(slip.givenText);
        w.plainKey("right");
        w.text(slip.rightText);
        w.plainKey("text");
        w.text(check::slipText(slip));
        w.EndObject();
    }
    w.EndArray();
    w.plainKey("tolerance");
    w.text(check::toleranceText(tolerance));
    w.plainKey("values");
    w.StartArray();
    for (const check::ValueCheck& value : result.values) {
        w.StartObject();
        w.plainKey("expected");
        if (value.expectedText) {
            w.text(*value.expectedText);
        } else {
            w.Null();
        }
        w.plainKey("given");
        w.text(value.givenText);
        w.plainKey("mark");
        w.text(check::markKey(value.mark));
        w.plainKey("name");
        w.text(check::valueName(value.id));
        w.plainKey("right");
        w.text(value.rightText);
        w.EndObject();
    }
    w.EndArray();
    w.EndObject();
}

CheckReport::CheckReport(TextSink& out, bool json, check::Tolerance tolerance)
    : out_(out), json_(json), tolerance_(tolerance), writer_(buffer_) {}

void CheckReport::row(const CheckRow& row) {
    if (!json_) {
        out_.write(checkReportText(row));
        return;
    }
    buffer_.Clear();
    writer_.Reset(buffer_);
    writeCheckJson(writer_, row, tolerance_);
    buffer_.Put('\n');
    out_.write(std::string_view(buffer_.GetString(), buffer_.GetSize()));
}

std::string checkHelpText() {
    std::string text = R"(
Check:
  With --check FILE (- for standard input), sightform checks a navigator's
  own worked forms, one CSV row each. The first line names the columns: the
  twelve entry columns of --batch in their order, and any of the value
  columns
)";
    std::string names;
    for (const check::ValueId id : check::allValues()) {
        const std::string name(check::valueName(id));
        // ", " between the names, so that a manual page can break and
        // adjust the line.
        if (names.size() + name.size() + 2 > 70) {
            text += "    " + names + ",\n";
            names.clear();
        }
        names += (names.empty() ? "" : ", ") + name;
    }
    text += "    " + names + "\n";
    text += R"(  in any order, other columns among them (see Class files). Angles are degrees
  and minutes (15 47.7, or with the degree sign and the minute mark), Z, ZUsed
  and Zn degrees (141.0), table values numbers (1365.03); an empty cell is a
  value not given. Each row is reduced as --batch reduces it, and each given
  value is marked: agrees (as the form prints it), agrees within table
  reading, follows from your earlier numbers (wrong only because an earlier
  value was, right given it), or differs. A value that differs is a slip,
  marked once: each slip is reported with the slips of the list below that
  give the navigator's number there, or as an arithmetic or reading slip, and
  with the right value. With --json: one object per row. With --pdf FILE: the
  marked sheets instead, one form to a page, each given value on the form
  followed by its mark, and the slips below. While standard error is a
  terminal, a line there shows the rows done, as with --batch, unless --quiet
  is given.

  How far a table reading may stray is set by --tolerance: whole (the
  default, 0.5 either way per table value read, and an angle within what
  that moves it), tenths (0.05 either way) or exact (as the form prints it).

Slips:
  The slips --check names, by the keys of its JSON:

)";
    for (const check::SlipSpec& spec : check::slipCatalogue()) {
        std::string key(spec.key);
        key.resize(std::max<std::size_t>(key.size() + 2, keyColumns), ' ');
        text += "  " + key + std::string(spec.name) + "\n";
    }
    text += "\n  Any other wrong value is an " + std::string(check::arithmeticSlipName) + ".\n";
    return text;
}

} // namespace cli
