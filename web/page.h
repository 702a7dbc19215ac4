#pragma once

// What every part of the page's binding shares: the page's state, kept for
// as long as the page is open, and the writing of one JSON answer into it.
// The answer lives in the page's own buffer until the next call that
// answers; the JavaScript side reads it at once.

#include <rapidjson/stringbuffer.h>
#include <rapidjson/writer.h>

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "check/values.h"
#include "entry/fields.h"
#include "printout/workedform.h"
#include "reduction/calculate.h"
#include "reduction/record.h"

namespace binding {

using Writer = rapidjson::Writer<rapidjson::StringBuffer>;

// The rules' message box and beep, kept until the page has shown them. The
// rules take no step after their message that the page would show, so
// showing the box once the rule has returned, with the red field already
// drawn behind it, looks to the user as the window's box does.
class RecordedAlerts final : public entry::Alerts {
  public:
    void message(std::string_view text) override { messages.emplace_back(text); }
    void beep() override { ++beeps; }

    std::vector<std::string> messages;
    int beeps = 0;
};

// The navigator's own form being checked: the entries it was opened on
// (later edits of the fields do not reach it) and the texts of its boxes.
struct CheckSheet {
    std::optional<reduction::ReductionInput> entries;
    std::array<std::string, check::valueCount> texts;
};

struct Page {
    RecordedAlerts alerts;
    entry::Fields fields{alerts};
    reduction::ReductionRecord record;
    CheckSheet sheet;
    std::string answer;
};

void text(Writer& json, std::string_view value);
void key(Writer& json, std::string_view name);

// "lines": each line of the form as its plain text (as sightform prints it)
// and the character columns of its bold runs, so the page can set those in
// bold without placing a single run itself.
void writeFormLines(Writer& json, std::string_view name, const printout::WorkedForm& form);

// Keeps the answer in the page and hands the page its text.
const char* finish(Page& page, const rapidjson::StringBuffer& buffer);

// The entries as the fields hold them, with the names as the lists show
// them and the method (0 Q(x), 1 QQ(x)); nothing when a name is not one of
// its list's items.
std::optional<reduction::ReductionInput> readEntries(const Page& page, int method,
                                                     const char* decName, const char* latName,
                                                     const char* loName);

// The lists hold only their two items; anything else is the page's own
// fault, reported rather than reduced.
const char* noNames(Page& page);

// "complete", "check-data", "arithmetic-failure".
std::string_view outcomeKey(reduction::Outcome outcome);

} // namespace binding
