#include "tables/tablepdf.h"

#include <string>
#include <vector>

#include "printout/pdfsheet.h"
#include "tables/tablebook.h"

namespace tables {

std::optional<QString> writeTablePdf(const QString& path, reduction::Method method,
                                     const QPageSize& pageSize) {
    const TableBook book = tableBook(method);
    std::vector<std::vector<printout::WorkedFormLine>> pages;
    pages.reserve(book.pages.size());
    for (const TablePage& page : book.pages)
        pages.push_back(page.lines);
    return printout::writeTextPagesPdf(path, QString::fromStdString(methodName(method) + " table"),
                                       pages, pageSize);
}

} // namespace tables
