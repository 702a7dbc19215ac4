#pragma once

#include <QPageSize>
#include <QString>

#include <optional>
#include <string>
#include <vector>

#include "printout/workedform.h"

class QLocale;

// The worked form on paper, written with Qt's own PDF writer: the page the
// window saves, and the answer and exercise sheets of a batch of sights.
// Text is drawn in the printout's fixed-pitch font, one run per printed run
// at its column, so text extraction (pdftotext -layout) gives the printed
// lines back. Needs a QGuiApplication (the offscreen platform will do).

namespace printout {

// One sight on a sheet.
struct SheetItem {
    int row = 0;         // its row number; 0 prints none
    std::string entries; // UTF-8, the sight's entries (see entriesText)
    // The worked form of a complete sight; without it, message stands in its
    // place ("Check your data.", or why the entries cannot be reduced).
    std::optional<WorkedForm> form;
    std::string message; // UTF-8
    // UTF-8 lines below the form (a marked sheet's slips), each wrapped at
    // blanks to the width of the page's form.
    std::vector<std::string> notes = {};
    // UTF-8, what tells this sight's sheet from the others (a student's
    // name), on a line of its own after the row number, above the entries.
    std::string label = {};
};

enum class SheetMode {
    Answers, // the whole worked forms: an instructor's answer sheet
    Blank,   // labels, formulas and footnotes only: an exercise sheet
    Marked,  // a student's own form as marked, its notes below: one to a page
};

// A4, or Letter where the locale measures in the US customary system.
QPageSize localePageSize(const QLocale& locale);

// One page: a small heading (UTF-8) above the form. nullopt when the file was
// written; otherwise a message naming the path and the reason, and the file,
// if it existed, is left as it was.
std::optional<QString> writeWorkedFormPdf(const QString& path, const std::string& heading,
                                          const WorkedForm& form, const QPageSize& pageSize);

// The items in order, two to a page (Marked: one), each with "Row n" (and
// its label) and its entries above its form or message, and its notes below. The print is sized
// so that the widest line of any form fits the page. Errors as
// writeWorkedFormPdf.
std::optional<QString> writeSheetPdf(const QString& path, const std::vector<SheetItem>& items,
                                     SheetMode mode, const QPageSize& pageSize);

// Pages of fixed-pitch text (a printed table), each from the top of its own
// page, all in one size: the largest up to 10 points at which the widest
// line and the longest page fit. title is the document's title. Errors as
// writeWorkedFormPdf.
std::optional<QString> writeTextPagesPdf(const QString& path, const QString& title,
                                         const std::vector<std::vector<WorkedFormLine>>& pages,
                                         const QPageSize& pageSize);

} // namespace printout
