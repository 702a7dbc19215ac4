#include "layout/form8layout.h"

#include <algorithm>
#include <string>

namespace layout {
namespace {

using K = ControlKind;

constexpr std::string_view degreeSign = "\u00B0";
constexpr std::string_view minuteMark = "'";

// The design table; each row: name, kind, caption, items, {left, top, width,
// height}, tab index, container, accessible name.
constexpr std::array controls{
    Control{"Label1", K::Label, "GHA", {}, {100, 120, 495, 255}, 17},
    Control{"txtGHADeg", K::TextField, {}, {}, {600, 120, 495, 285}, 0},
    Control{"lblGHADeg", K::Label, degreeSign, {}, {1090, 120, 135, 255}, 19},
    Control{"txtGHAMin", K::TextField, {}, {}, {1200, 120, 495, 285}, 1},
    Control{"lblGHAMin", K::Label, minuteMark, {}, {1690, 120, 135, 255}, 21},
    Control{"lblDRL", K::Label, "DR L", {}, {3240, 120, 375, 255}, 16},
    Control{"txtLDeg", K::TextField, {}, {}, {3960, 120, 375, 285}, 5},
    Control{"lblLDeg", K::Label, degreeSign, {}, {4335, 120, 135, 255}, 15},
    Control{"txtLMin", K::TextField, {}, {}, {4440, 120, 495, 285}, 6},
    Control{"lblLMin", K::Label, minuteMark, {}, {4935, 120, 135, 255}, 14},
    Control{"cboL", K::NameList, {}, {"N", "S"}, {5040, 120, 615, 315}, 7, {}, "DR L name"},
    Control{"Label2", K::Label, "Dec", {}, {100, 480, 495, 255}, 18},
    Control{"txtDecDeg", K::TextField, {}, {}, {720, 480, 375, 285}, 2},
    Control{"lblDecDeg", K::Label, degreeSign, {}, {1090, 480, 135, 255}, 20},
    Control{"txtDecMin", K::TextField, {}, {}, {1200, 480, 495, 285}, 3},
    Control{"lblDecMin", K::Label, minuteMark, {}, {1690, 480, 135, 255}, 22},
    Control{"cboDec", K::NameList, {}, {"N", "S"}, {1800, 480, 615, 315}, 4, {}, "Dec name"},
    Control{"lblDRLo", K::Label, "DR Lo", {}, {3240, 480, 495, 255}, 13},
    Control{"txtLoDeg", K::TextField, {}, {}, {3840, 480, 495, 285}, 8},
    Control{"lblLoDeg", K::Label, degreeSign, {}, {4335, 480, 135, 255}, 12},
    Control{"txtLoMin", K::TextField, {}, {}, {4440, 480, 495, 285}, 9},
    Control{"lblLoMin", K::Label, minuteMark, {}, {4935, 480, 135, 255}, 11},
    Control{"cboLo", K::NameList, {}, {"W", "E"}, {5040, 480, 615, 315}, 10, {}, "DR Lo name"},
    Control{"cmdHelp", K::CommandButton, "?", {}, {9720, 0, 375, 375}, 27},
    Control{"Frame1", K::Frame, "Method", {}, {7080, 600, 1935, 615}, 28},
    Control{"optQ", K::OptionButton, "Q(x)", {}, {120, 240, 615, 255}, 29, "Frame1"},
    Control{"optQQ", K::OptionButton, "QQ(x)", {}, {1080, 240, 735, 255}, 30, "Frame1"},
    Control{"cmdQ", K::CommandButton, "&Calculate", {}, {7080, 1440, 1935, 375}, 26},
    // Two blanks after the second "LHA", as designed.
    Control{"Label5",
            K::Label,
            "To use LHA instead of GHA, enter LHA  in place of GHA and set DR Lo to zero or "
            "leave blank.",
            {},
            {120, 1155, 2775, 615},
            24,
            {},
            {},
            true},
    Control{"cmdClearSome", K::CommandButton, "&Clear except DR", {}, {1320, 1680, 1335, 375}, 25},
    // Lies on the printout area, above it.
    Control{"cmdClear", K::CommandButton, "Clear &All", {}, {120, 4560, 1215, 375}, 23},
    // Line1 and Line3 are the same stroke along the top edge.
    Control{"Line1", K::Line, {}, {}, {0, 0, form8Client.width, 0}},
    Control{"Line3", K::Line, {}, {}, {0, 0, form8Client.width, 0}},
    Control{"Line2", K::Line, {}, {}, {0, separatorTop, form8Client.width, 0}},
};

} // namespace

std::span<const Control> form8Controls() {
    return controls;
}

const Control* findControl(std::string_view name) {
    const auto found = std::find_if(controls.begin(), controls.end(),
                                    [name](const Control& c) { return c.name == name; });
    return found == controls.end() ? nullptr : &*found;
}

std::vector<const Control*> focusOrder() {
    std::vector<const Control*> order;
    for (const Control& control : controls) {
        if (takesFocus(control.kind))
            order.push_back(&control);
    }
    std::stable_sort(order.begin(), order.end(),
                     [](const Control* a, const Control* b) { return a->tabIndex < b->tabIndex; });
    return order;
}

std::string captionText(std::string_view caption) {
    std::string shown;
    for (std::size_t i = 0; i < caption.size(); ++i) {
        // "&&" shows one "&"; a lone "&" marks the next letter.
        if (caption[i] == '&' && i + 1 < caption.size())
            ++i;
        shown += caption[i];
    }
    return shown;
}

std::optional<char> accessKey(std::string_view caption) {
    for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] == '&') {
            if (caption[i + 1] != '&')
                return caption[i + 1];
            ++i;
        }
    }
    return std::nullopt;
}

} // namespace layout
