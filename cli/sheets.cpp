#include "cli/sheets.h"

#include <algorithm>

#include <QLocale>
#include <QString>

#include "check/markedform.h"
#include "cli/checkreport.h"
#include "printout/patterns.h"

namespace cli {

printout::SheetItem sheetItem(long long row, const Sight& sight, const OtherCells& others) {
    printout::SheetItem item;
    item.row = static_cast<int>(row);
    item.label = otherCellsText(others);
    item.entries = printout::entriesText(sight.input);
    if (sight.result.outcome == reduction::Outcome::Complete) {
        item.form = printout::buildWorkedForm(sight.record, sight.input.method);
    } else {
        item.message = sightMessage(sight);
    }
    return item;
}

printout::SheetItem markedSheetItem(const CheckRow& row) {
    printout::SheetItem item;
    item.row = static_cast<int>(row.number);
    item.label = otherCellsText(row.others);
    if (!row.input) {
        item.message = row.problem;
        return item;
    }
    item.entries = printout::entriesText(*row.input);
    const check::CheckResult& result = row.result;
    if (!result.message.empty()) {
        item.message = result.message;
        return item;
    }
    item.form = check::markedForm(result, row.input->method);
    for (std::size_t i = 0; i < result.slips.size(); ++i) {
        item.notes.push_back(slipLine(i, result.slips[i]));
    }
    item.notes.push_back(result.values.empty() ? "No values given."
                                               : slipsCount(result.slips.size()));
    // The key as wide as the form above it, each entry whole.
    int columns = 0;
    for (const std::string& line : printout::renderLines(*item.form)) {
        columns = std::max(columns, printout::columnCount(line));
    }
    for (std::string& line : check::markLegendLines(columns)) {
        item.notes.push_back(std::move(line));
    }
    return item;
}

void PdfSheets::row(const CheckRow& row) {
    marked_ = true;
    items_.push_back(markedSheetItem(row));
}

void PdfSheets::row(long long number, const std::optional<Sight>& sight, std::string_view problem,
                    const OtherCells& others) {
    if (sight) {
        items_.push_back(sheetItem(number, *sight, others));
        return;
    }
    printout::SheetItem item;
    item.row = static_cast<int>(number);
    item.label = otherCellsText(others);
    item.message = std::string(problem);
    items_.push_back(std::move(item));
}

std::optional<std::string> PdfSheets::write(const std::string& path, bool blank) {
    const auto problem = printout::writeSheetPdf(QString::fromStdString(path), items_,
                                                 marked_ ? printout::SheetMode::Marked
                                                 : blank ? printout::SheetMode::Blank
                                                         : printout::SheetMode::Answers,
                                                 printout::localePageSize(QLocale::system()));
    if (problem) {
        return problem->toStdString();
    }
    return std::nullopt;
}

} // namespace cli
