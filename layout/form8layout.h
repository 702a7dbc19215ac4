#pragma once

#include <array>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "layout/twips.h"

// The main window as designed: every control with its caption, items, place
// and tab index. The desktop window and the web page are both built from
// this table, so the two cannot drift apart. The entry fields' own settings
// (maximum length, tool tip, accessible name, bound) are the field rules'
// and stay in entry::fieldSpecs; they are joined to this table by name.
namespace layout {

enum class ControlKind { Label, TextField, NameList, CommandButton, Frame, OptionButton, Line };

struct Control {
    std::string_view name; // the control's designed name: "txtGHADeg", "cboDec", "cmdQ" ...
    ControlKind kind;
    // "&" marks the access key and is not shown ("&Calculate").
    std::string_view caption = {};
    // The two items of a name list, in their order; empty otherwise.
    std::array<std::string_view, 2> items = {};
    // In twips, from the top-left corner of the container. A line is drawn
    // from (left, top) to (left + width, top).
    Rect rect = {};
    // Place in the design's tab order; labels and the frame hold one too but
    // never take the focus. -1 for the lines.
    int tabIndex = -1;
    // "Frame1" for the two option buttons; empty for the window itself.
    std::string_view container = {};
    // What assistive technology calls a name list, which has no caption.
    std::string_view accessibleName = {};
    // A label whose text wraps within its box (the note); every other
    // caption stays on one line.
    bool wraps = false;

    bool operator==(const Control&) const = default;
};

// The client area, the separator line and the top of the printout area.
inline constexpr Rect form8Client{0, 0, 10080, 5445};
inline constexpr int separatorTop = 2160;
// The printout starts a little below the separator so its first line does
// not touch the rule.
inline constexpr int printoutTop = 2260;
inline constexpr Rect printoutArea{0, printoutTop, form8Client.width,
                                   form8Client.height - printoutTop};

// Every control of the main window, in visual order, row by row.
std::span<const Control> form8Controls();

// The control of that name, if the window has one.
const Control* findControl(std::string_view name);

// Whether a control of that kind takes the keyboard focus (labels, the frame
// and the lines never do).
constexpr bool takesFocus(ControlKind kind) {
    return kind == ControlKind::TextField || kind == ControlKind::NameList ||
           kind == ControlKind::CommandButton || kind == ControlKind::OptionButton;
}

// The controls that take the focus, in tab order.
std::vector<const Control*> focusOrder();

// The caption as shown, without the access key's mark, and the access key
// itself (the letter after "&"), if there is one.
std::string captionText(std::string_view caption);
std::optional<char> accessKey(std::string_view caption);

} // namespace layout
