#pragma once

#include <QPageSize>
#include <QString>

#include <optional>

#include "reduction/table.h"

// The booklet of a method's table on paper, through the printout's PDF
// writer. Needs a QGuiApplication (the offscreen platform will do).

namespace tables {

// Every page of tableBook(method), one to a sheet of pageSize. nullopt when
// written; otherwise a message naming the path and the reason, and the file,
// if it existed, is left as it was.
std::optional<QString> writeTablePdf(const QString& path, reduction::Method method,
                                     const QPageSize& pageSize);

} // namespace tables
