#pragma once

#include <optional>
#include <string>
#include <vector>

#include "cli/program.h"
#include "cli/sightreport.h"
#include "printout/pdfsheet.h"

// The sheets of a --pdf run, written with Qt's PDF writer: an answer sheet,
// or with blank an exercise sheet. Needs a QGuiApplication while it writes.

namespace cli {

// One sight on a sheet under its row number (0 for a single sight, which
// prints none) and its other cells: its form when complete, its message
// otherwise.
printout::SheetItem sheetItem(long long row, const Sight& sight, const OtherCells& others = {});

// One checked form on a marked sheet: the form with the navigator's values
// and their marks (check::markedForm), the slips and their count below it,
// and a key to the marks; why the row cannot be checked otherwise.
printout::SheetItem markedSheetItem(const CheckRow& row);

// The sights gathered in order, a malformed row by its problem, then
// written as one PDF, its paper following the system locale. Checked forms
// make a marked sheet, one to a page.
class PdfSheets : public Sheets {
  public:
    void row(long long number, const std::optional<Sight>& sight, std::string_view problem,
             const OtherCells& others) override;
    void row(const CheckRow& row) override;
    std::optional<std::string> write(const std::string& path, bool blank) override;
    const std::vector<printout::SheetItem>& items() const { return items_; }

  private:
    std::vector<printout::SheetItem> items_;
    bool marked_ = false;
};

} // namespace cli
