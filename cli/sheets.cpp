#include "cli/sheets.h"

#include <QLocale>
#include <QString>

namespace cli {

printout::SheetItem sheetItem(long long row, const Sight& sight) {
    printout::SheetItem item;
    item.row = static_cast<int>(row);
    item.entries = printout::entriesText(sight.input);
    if (sight.result.outcome == reduction::Outcome::Complete) {
        item.form = printout::buildWorkedForm(sight.record, sight.input.method);
    } else {
        item.message = sightMessage(sight);
    }
    return item;
}

void PdfSheets::row(long long number, const std::optional<Sight>& sight, std::string_view problem) {
    if (sight) {
        items_.push_back(sheetItem(number, *sight));
        return;
    }
    printout::SheetItem item;
    item.row = static_cast<int>(number);
    item.message = std::string(problem);
    items_.push_back(std::move(item));
}

std::optional<std::string> PdfSheets::write(const std::string& path, bool blank) {
    const auto problem =
        printout::writeSheetPdf(QString::fromStdString(path), items_,
                                blank ? printout::SheetMode::Blank : printout::SheetMode::Answers,
                                printout::localePageSize(QLocale::system()));
    if (problem) {
        return problem->toStdString();
    }
    return std::nullopt;
}

} // namespace cli
