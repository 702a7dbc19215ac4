#include "entry/fields.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

using entry::ColorValue;
using entry::Field;
using entry::FieldId;
using entry::Fields;
using entry::KeyAscii;

// Records the box and the beep, and lets a test look at the fields at the
// moment the box is up (the user sees the window behind it).
struct RecordingAlerts final : entry::Alerts {
    std::vector<std::string> messages;
    int beeps = 0;
    std::function<void()> onMessage;

    void message(std::string_view text) override {
        messages.emplace_back(text);
        if (onMessage) {
            onMessage();
        }
    }
    void beep() override { ++beeps; }
};

// ---- key filters -------------------------------------------------------

struct FilterCase {
    const char* name;
    KeyAscii key;
    const char* textBefore;
    bool passesDegree;
    bool passesMinute;
};

const FilterCase filterCases[] = {
    {"Digit0", '0', "", true, true},
    {"Digit5", '5', "1", true, true},
    {"Digit9", '9', "12", true, true},
    {"SlashBelowDigits", '/', "", false, false},
    {"ColonAboveDigits", ':', "", false, false},
    {"PointInEmptyText", '.', "", false, true},
    {"PointAfterDigits", '.', "59", false, true},
    {"SecondPoint", '.', "5.", false, false},
    {"SecondPointBeforeDigits", '.', ".5", false, false},
    {"Backspace", 8, "12", true, true},
    {"BackspaceInEmptyText", 8, "", true, true},
    {"LowerLetter", 'a', "", false, false},
    {"UpperLetter", 'Z', "", false, false},
    {"ExponentLetterE", 'E', "1", false, false},
    {"CtrlC", 3, "12", false, false},
    {"CtrlV", 22, "12", false, false},
    {"CtrlX", 24, "12", false, false},
    {"CtrlZ", 26, "12", false, false},
    {"Enter", 13, "12", false, false},
    {"Escape", 27, "12", false, false},
    {"Tab", 9, "", false, false},
    {"Minus", '-', "", false, false},
    {"Plus", '+', "", false, false},
    {"Comma", ',', "5", false, false},
    {"Space", ' ', "5", false, false},
    {"NonAsciiCode", -80, "", false, false},
};

class KeyFilter : public testing::TestWithParam<FilterCase> {};

TEST_P(KeyFilter, DegreeFieldPassesOnlyDigitsAndBackspace) {
    const FilterCase& c = GetParam();
    RecordingAlerts alerts;
    const KeyAscii out = entry::degreeFilter(c.key, alerts);
    EXPECT_EQ(out, c.passesDegree ? c.key : entry::keyDropped);
    EXPECT_EQ(alerts.beeps, c.passesDegree ? 0 : 1);
    EXPECT_TRUE(alerts.messages.empty());
}

TEST_P(KeyFilter, MinuteFieldAlsoPassesOnePoint) {
    const FilterCase& c = GetParam();
    RecordingAlerts alerts;
    const KeyAscii out = entry::minuteFilter(c.key, c.textBefore, alerts);
    EXPECT_EQ(out, c.passesMinute ? c.key : entry::keyDropped);
    EXPECT_EQ(alerts.beeps, c.passesMinute ? 0 : 1);
    EXPECT_TRUE(alerts.messages.empty());
}

INSTANTIATE_TEST_SUITE_P(Keys, KeyFilter, testing::ValuesIn(filterCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(FieldsKeyPress, DispatchesByFieldKindAndReadsTheFieldsOwnText) {
    RecordingAlerts alerts;
    Fields fields(alerts);
    EXPECT_EQ(fields.keyPress(FieldId::GHADeg, '.'), entry::keyDropped);
    EXPECT_EQ(fields.keyPress(FieldId::LoDeg, '.'), entry::keyDropped);
    EXPECT_EQ(fields.keyPress(FieldId::LoMin, '.'), '.');
    fields[FieldId::LoMin].text = "1.";
    EXPECT_EQ(fields.keyPress(FieldId::LoMin, '.'), entry::keyDropped);
    EXPECT_EQ(fields.keyPress(FieldId::DecMin, '.'), '.');
    EXPECT_EQ(alerts.beeps, 3);
}

// ---- plain range rule ----------------------------------------------------

struct PlainCase {
    const char* name;
    FieldId field;
    const char* text;
    bool outOfRange;
};

const PlainCase plainCases[] = {
    {"GHAAtBound719", FieldId::GHADeg, "719", false},
    {"GHAAbove720", FieldId::GHADeg, "720", true},
    {"GHAEmpty", FieldId::GHADeg, "", false},
    {"MinutesAtBound59point9", FieldId::GHAMin, "59.9", false},
    {"MinutesAbove60", FieldId::DecMin, "60", true},
    {"MinutesAbove60WithPoint", FieldId::LMin, "60.", true},
    {"Minutes59point95", FieldId::LoMin, "59.95", true},
    {"MinutesPastedNegative", FieldId::LoMin, "-75", false},
    {"MinutesLonePoint", FieldId::DecMin, ".", false},
};

class PlainRangeRule : public testing::TestWithParam<PlainCase> {};

TEST_P(PlainRangeRule, MarksRedAndReportsOnlyAboveTheBound) {
    const PlainCase& c = GetParam();
    RecordingAlerts alerts;
    Fields fields(alerts);
    Field& f = fields[c.field];
    f.backColor = entry::red; // left over from an earlier change
    f.text = c.text;
    ColorValue colourWhileBoxUp = 0;
    alerts.onMessage = [&] { colourWhileBoxUp = f.backColor; };

    fields.change(c.field);

    if (c.outOfRange) {
        EXPECT_EQ(f.backColor, entry::red);
        ASSERT_EQ(alerts.messages, std::vector<std::string>{"Out of Range"});
        EXPECT_EQ(colourWhileBoxUp, entry::red) << "the field turns red before the box";
        EXPECT_TRUE(fields.validate(c.field));
    } else {
        EXPECT_EQ(f.backColor, entry::windowBackground);
        EXPECT_TRUE(alerts.messages.empty());
        EXPECT_FALSE(fields.validate(c.field));
    }
    EXPECT_TRUE(f.enabled);
    EXPECT_EQ(f.text, c.text);
    EXPECT_EQ(alerts.beeps, 0);
}

INSTANTIATE_TEST_SUITE_P(Values, PlainRangeRule, testing::ValuesIn(plainCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(PlainRangeRuleRepeat, ReportsAgainAtEveryChangeThatStaysAboveTheBound) {
    RecordingAlerts alerts;
    Fields fields(alerts);
    for (const char* text : {"6", "60", "60.", "60.5", "60.", "6"}) {
        fields[FieldId::GHAMin].text = text;
        fields.change(FieldId::GHAMin);
    }
    EXPECT_EQ(alerts.messages.size(), 4u);
    EXPECT_EQ(fields[FieldId::GHAMin].backColor, entry::windowBackground);
}

TEST(PlainRangeRuleGHA, NeverLocksTheGHAMinutes) {
    RecordingAlerts alerts;
    Fields fields(alerts);
    fields[FieldId::GHAMin].text = "30";
    for (const char* text : {"719", "720", "0"}) {
        fields[FieldId::GHADeg].text = text;
        fields.change(FieldId::GHADeg);
        EXPECT_TRUE(fields[FieldId::GHAMin].enabled) << text;
        EXPECT_EQ(fields[FieldId::GHAMin].backColor, entry::windowBackground) << text;
    }
}

// ---- degree rule with partner -------------------------------------------

struct DegreeCase {
    const char* name;
    FieldId degree;
    const char* degreeText;
    const char* minuteText;
    // partner state before the change
    bool partnerEnabledBefore;
    ColorValue partnerColourBefore;
    // what the five steps leave
    bool partnerEnabled;
    ColorValue partnerColour;
    ColorValue degreeColour;
    bool message;
};

constexpr ColorValue win = entry::windowBackground;
constexpr ColorValue grey = entry::inactiveBorder;
constexpr ColorValue red = entry::red;

const DegreeCase degreeCases[] = {
    // below the bound: partner enabled, both window background, no message
    {"DecBelowBound", FieldId::DecDeg, "9", "", true, win, true, win, win, false},
    {"DecBelowBoundUnlocks", FieldId::DecDeg, "9", "30", false, grey, true, win, win, false},
    {"DecEmptyUnlocks", FieldId::DecDeg, "", "", false, grey, true, win, win, false},
    {"DecBelowBoundClearsRedPartner", FieldId::DecDeg, "45", "75", true, red, true, win, win,
     false},
    {"LatBelowBound", FieldId::LDeg, "89", "59.9", true, win, true, win, win, false},
    {"LonBelowBound", FieldId::LoDeg, "179", "", false, grey, true, win, win, false},
    // at the bound with zero minutes: partner locked, no message
    {"DecAtBoundEmptyMinutes", FieldId::DecDeg, "90", "", true, win, false, grey, win, false},
    {"DecAtBoundMinutes0", FieldId::DecDeg, "90", "0", true, win, false, grey, win, false},
    {"DecAtBoundMinutes00", FieldId::DecDeg, "90", "00", true, win, false, grey, win, false},
    {"DecAtBoundMinutes0Point", FieldId::DecDeg, "90", "0.", true, win, false, grey, win, false},
    {"DecAtBoundLonePoint", FieldId::DecDeg, "90", ".", true, win, false, grey, win, false},
    {"LatAtBound", FieldId::LDeg, "90", "", true, red, false, grey, win, false},
    {"LonAtBound180", FieldId::LoDeg, "180", "0.0", true, win, false, grey, win, false},
    // at the bound with minutes: partner locked, degree red, message
    {"DecAtBoundMinutes0point5", FieldId::DecDeg, "90", "0.5", true, win, false, grey, red, true},
    {"LatAtBoundMinutes1", FieldId::LDeg, "90", "1", true, win, false, grey, red, true},
    {"LonAtBoundMinutes59point9", FieldId::LoDeg, "180", "59.9", true, win, false, grey, red, true},
    // pasted negative minutes are not 0 either
    {"LatAtBoundNegativeMinutes", FieldId::LDeg, "90", "-0.5", true, win, false, grey, red, true},
    // above the bound: partner enabled, its colour untouched, degree red, message
    {"DecAboveBound", FieldId::DecDeg, "91", "", true, win, true, win, red, true},
    {"DecJumpsPastLockedBound", FieldId::DecDeg, "99", "", false, grey, true, grey, red, true},
    {"DecAboveBoundKeepsRedPartner", FieldId::DecDeg, "95", "75", true, red, true, red, red, true},
    {"LonAbove181", FieldId::LoDeg, "181", "", true, win, true, win, red, true},
    {"LatPastedExponent", FieldId::LDeg, "9E9", "", true, win, true, win, red, true},
};

class DegreeRule : public testing::TestWithParam<DegreeCase> {};

TEST_P(DegreeRule, LeavesTheOutcomeOfItsFiveSteps) {
    const DegreeCase& c = GetParam();
    RecordingAlerts alerts;
    Fields fields(alerts);
    const FieldId partnerId = *entry::spec(c.degree).partner;
    Field& d = fields[c.degree];
    Field& m = fields[partnerId];
    d.text = c.degreeText;
    d.backColor = red;
    m.text = c.minuteText;
    m.enabled = c.partnerEnabledBefore;
    m.backColor = c.partnerColourBefore;

    // Seen by the user while the box is up: every step before the box is done.
    Field degreeWhileBoxUp;
    Field partnerWhileBoxUp;
    alerts.onMessage = [&] {
        degreeWhileBoxUp = d;
        partnerWhileBoxUp = m;
    };

    fields.change(c.degree);

    EXPECT_EQ(m.enabled, c.partnerEnabled);
    EXPECT_EQ(m.backColor, c.partnerColour);
    EXPECT_EQ(d.backColor, c.degreeColour);
    EXPECT_TRUE(d.enabled);
    EXPECT_EQ(d.text, c.degreeText);
    EXPECT_EQ(m.text, c.minuteText);
    EXPECT_EQ(alerts.beeps, 0);
    if (c.message) {
        ASSERT_EQ(alerts.messages, std::vector<std::string>{"Out of Range"});
        EXPECT_EQ(degreeWhileBoxUp.backColor, red);
        EXPECT_EQ(partnerWhileBoxUp.enabled, c.partnerEnabled);
        EXPECT_EQ(partnerWhileBoxUp.backColor, c.partnerColour);
    } else {
        EXPECT_TRUE(alerts.messages.empty());
    }
}

INSTANTIATE_TEST_SUITE_P(Outcomes, DegreeRule, testing::ValuesIn(degreeCases),
                         [](const auto& info) { return std::string(info.param.name); });

// ---- validate ------------------------------------------------------------

struct ValidateCase {
    const char* name;
    FieldId field;
    const char* text;
    const char* partnerText;
    bool cancels;
};

const ValidateCase validateCases[] = {
    {"GHA719", FieldId::GHADeg, "719", "", false},
    {"GHA720", FieldId::GHADeg, "720", "", true},
    {"Dec90", FieldId::DecDeg, "90", "", false},
    {"Dec90WithMinutesStillLetsGo", FieldId::DecDeg, "90", "0.5", false},
    {"Dec91", FieldId::DecDeg, "91", "", true},
    {"Lon180", FieldId::LoDeg, "180", "", false},
    {"Lon181", FieldId::LoDeg, "181", "", true},
    {"Minutes59point9", FieldId::LMin, "59.9", "", false},
    {"Minutes60", FieldId::LMin, "60", "", true},
    {"Empty", FieldId::DecMin, "", "", false},
};

class ValidateRule : public testing::TestWithParam<ValidateCase> {};

TEST_P(ValidateRule, CancelsOnlyAboveTheBoundAndChangesNothing) {
    const ValidateCase& c = GetParam();
    RecordingAlerts alerts;
    Fields fields(alerts);
    fields[c.field].text = c.text;
    if (const auto partner = entry::spec(c.field).partner) {
        fields[*partner].text = c.partnerText;
    }
    EXPECT_EQ(fields.validate(c.field), c.cancels);
    EXPECT_EQ(fields[c.field].backColor, entry::windowBackground);
    EXPECT_TRUE(alerts.messages.empty());
    EXPECT_EQ(alerts.beeps, 0);
}

INSTANTIATE_TEST_SUITE_P(Values, ValidateRule, testing::ValuesIn(validateCases),
                         [](const auto& info) { return std::string(info.param.name); });

// ---- the fields together -------------------------------------------------

TEST(FieldsClear, EmptyingInClearOrderUnlocksAndShowsNoMessage) {
    RecordingAlerts alerts;
    Fields fields(alerts);
    const std::pair<FieldId, const char*> typed[] = {
        {FieldId::GHADeg, "720"}, {FieldId::GHAMin, "60"}, {FieldId::DecMin, "0"},
        {FieldId::DecDeg, "90"},  {FieldId::LMin, "30"},   {FieldId::LDeg, "90"},
        {FieldId::LoDeg, "180"},  {FieldId::LoMin, ""},
    };
    for (const auto& [id, text] : typed) {
        fields[id].text = text;
        fields.change(id);
    }
    ASSERT_FALSE(fields[FieldId::DecMin].enabled);
    ASSERT_FALSE(fields[FieldId::LMin].enabled);
    ASSERT_FALSE(fields[FieldId::LoMin].enabled);
    alerts.messages.clear();

    for (const entry::FieldSpec& s : entry::fieldSpecs) {
        fields[s.id].text.clear();
        fields.change(s.id);
    }

    EXPECT_TRUE(alerts.messages.empty());
    for (const entry::FieldSpec& s : entry::fieldSpecs) {
        EXPECT_TRUE(fields[s.id].enabled) << s.name;
        EXPECT_EQ(fields[s.id].backColor, entry::windowBackground) << s.name;
    }
}

} // namespace
