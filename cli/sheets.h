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
// prints none): its form when complete, its message otherwise.
printout::SheetItem sheetItem(long long row, const Sight& sight);

// The sights gathered in order, a malformed row by its problem, then
// written as one PDF, its paper following the system locale.
class PdfSheets : public Sheets {
  public:
    void row(long long number, const std::optional<Sight>& sight,
             std::string_view problem) override;
    std::optional<std::string> write(const std::string& path, bool blank) override;
    const std::vector<printout::SheetItem>& items() const { return items_; }

  private:
    std::vector<printout::SheetItem> items_;
};

} // namespace cli
