#pragma once

#include <string>
#include <vector>

#include "reduction/record.h"
#include "reduction/table.h"

namespace printout {

// One piece of printed text at a 1-based character column.
struct TextRun {
    int column = 1;
    std::string text; // UTF-8; the degree sign is U+00B0
    bool bold = false;

    bool operator==(const TextRun&) const = default;
};

using WorkedFormLine = std::vector<TextRun>;

// The printed worked form: fifteen lines of runs, drawn from the top down.
struct WorkedForm {
    std::vector<WorkedFormLine> lines;
};

// The worked form of a complete reduction in the given method.
WorkedForm buildWorkedForm(const reduction::ReductionRecord& record, reduction::Method method);

// The form as plain text, one string per line: runs at their columns, blanks
// between them, trailing blanks trimmed.
std::vector<std::string> renderLines(const WorkedForm& form);

} // namespace printout
