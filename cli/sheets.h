#pragma once

#include <optional>
#include <string>
#include <vector>

#include "cli/batch.h"
#include "cli/sightreport.h"
#include "printout/pdfsheet.h"

// sightform's sheets: the sights of one run gathered and written as one PDF
// (an answer sheet, or with blank an exercise sheet). The only part of
// sightform that needs Qt's GUI module, and a QGuiApplication while it writes.

namespace cli {

// One sight on a sheet under its row number (0 for a single sight, which
// prints none): its form when complete, its message otherwise.
printout::SheetItem sheetItem(long long row, const Sight& sight);

// A batch's rows gathered in order; a malformed row shows its problem.
class SheetRows : public RowHandler {
  public:
    void row(long long number, const std::optional<Sight>& sight,
             std::string_view problem) override;
    const std::vector<printout::SheetItem>& items() const { return items_; }

  private:
    std::vector<printout::SheetItem> items_;
};

// Writes the items to path; nullopt when written, else why not (naming the
// path). The paper follows the system locale.
std::optional<std::string> writeSheets(const std::string& path,
                                       const std::vector<printout::SheetItem>& items, bool blank);

} // namespace cli
