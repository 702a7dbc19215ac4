#include "layout/form8layout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "entry/fields.h"

namespace {

using layout::ControlKind;

// The order in which Tab walks the window, as the window is designed to be
// used: the fields and lists row by row, then the buttons, then the method.
TEST(Form8Layout, FocusOrderIsTheDesignedOne) {
    std::vector<std::string> names;
    for (const layout::Control* control : layout::focusOrder())
        names.emplace_back(control->name);
    EXPECT_EQ(names, (std::vector<std::string>{"txtGHADeg", "txtGHAMin", "txtDecDeg", "txtDecMin",
                                               "cboDec", "txtLDeg", "txtLMin", "cboL", "txtLoDeg",
                                               "txtLoMin", "cboLo", "cmdClear", "cmdClearSome",
                                               "cmdQ", "cmdHelp", "optQ", "optQQ"}));
}

// The table and the field rules are joined by name: every text field must
// have its rules, and every rule its field.
TEST(Form8Layout, TextFieldsAreExactlyTheEntryFields) {
    std::vector<std::string> inTable;
    for (const layout::Control& control : layout::form8Controls()) {
        if (control.kind == ControlKind::TextField)
            inTable.emplace_back(control.name);
    }
    std::vector<std::string> inRules;
    for (const entry::FieldSpec& spec : entry::fieldSpecs)
        inRules.emplace_back(spec.name);
    std::sort(inTable.begin(), inTable.end());
    std::sort(inRules.begin(), inRules.end());
    EXPECT_EQ(inTable, inRules);
}

TEST(Form8Layout, NamesAreUniqueAndEveryControlLiesInItsContainer) {
    for (const layout::Control& control : layout::form8Controls()) {
        SCOPED_TRACE(std::string(control.name));
        EXPECT_EQ(layout::findControl(control.name), &control);
        const layout::Rect outer = control.container.empty()
                                       ? layout::form8Client
                                       : layout::findControl(control.container)->rect;
        EXPECT_GE(control.rect.left, 0);
        EXPECT_GE(control.rect.top, 0);
        // As designed, "?" overhangs the right edge by one pixel (15 twips).
        EXPECT_LE(control.rect.left + control.rect.width, outer.width + layout::twipsPerPixel);
        EXPECT_LE(control.rect.top + control.rect.height, outer.height);
    }
}

TEST(Form8Layout, AccessKeysAndShownCaptions) {
    struct Row {
        std::string_view caption;
        std::string shown;
        std::optional<char> key;
    };
    const Row rows[] = {
        {"&Calculate", "Calculate", 'C'},
        {"&Clear except DR", "Clear except DR", 'C'},
        {"Clear &All", "Clear All", 'A'},
        {"?", "?", std::nullopt},
        {"Salt && pepper", "Salt & pepper", std::nullopt},
        {"trailing &", "trailing &", std::nullopt},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.caption));
        EXPECT_EQ(layout::captionText(row.caption), row.shown);
        EXPECT_EQ(layout::accessKey(row.caption), row.key);
    }
}

} // namespace
