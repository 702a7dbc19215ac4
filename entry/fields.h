#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The eight angle entry fields of the main window and their four rules (degree
// key filter, minute key filter, range rules on change, focus hold on
// validate), modelled without any window toolkit: a field is its text, an
// enabled flag and a background colour, and each event is a plain call. The
// window shows the three properties, raises the events and lends the rules a
// message box and a beep through Alerts.

namespace entry {

// 32-bit colour value: 0x00BBGGRR for an RGB colour, 0x80000000 + n for the
// platform's system colour n.
using ColorValue = std::uint32_t;

inline constexpr ColorValue windowBackground = 0x80000005; // system colour 5
inline constexpr ColorValue inactiveBorder = 0x8000000B;   // system colour 11
inline constexpr ColorValue red = 0x000000FF;

// The field's own state. Only Change rules write Enabled and BackColor; the
// rules never write Text.
struct Field {
    std::string text;
    bool enabled = true;
    ColorValue backColor = windowBackground;
};

// The eight fields, in the order in which "Clear &All" empties them.
enum class FieldId { GHADeg, GHAMin, DecDeg, DecMin, LDeg, LMin, LoDeg, LoMin };
inline constexpr std::size_t fieldCount = 8;

constexpr std::size_t index(FieldId id) {
    return static_cast<std::size_t>(id);
}

enum class FieldKind { Degree, Minute };

// Fixed properties of a field, for the rules and for building the window.
struct FieldSpec {
    FieldId id;
    std::string_view name; // control name, e.g. "txtDecDeg"
    FieldKind kind;        // chooses the key filter
    double bound;          // inclusive upper bound of its value
    // Minute field that this degree field locks while it holds its bound;
    // a field with a partner runs the degree rule on change, the others the
    // plain range rule.
    std::optional<FieldId> partner;
    int maxLength; // characters
    std::string_view toolTip;
    // What assistive technology calls the field: the caption of its row and
    // the part of the angle it holds.
    std::string_view accessibleName;
};

inline constexpr std::array<FieldSpec, fieldCount> fieldSpecs{{
    {FieldId::GHADeg, "txtGHADeg", FieldKind::Degree, 719, std::nullopt, 3, "Range 0 to 719",
     "GHA degrees"},
    {FieldId::GHAMin, "txtGHAMin", FieldKind::Minute, 59.9, std::nullopt, 4, "Range 0 to 59.9",
     "GHA minutes"},
    {FieldId::DecDeg, "txtDecDeg", FieldKind::Degree, 90, FieldId::DecMin, 2, "Range 0 to 90",
     "Dec degrees"},
    {FieldId::DecMin, "txtDecMin", FieldKind::Minute, 59.9, std::nullopt, 4, "Range 0 to 59.9",
     "Dec minutes"},
    {FieldId::LDeg, "txtLDeg", FieldKind::Degree, 90, FieldId::LMin, 2, "Range 0 to 90",
     "DR L degrees"},
    {FieldId::LMin, "txtLMin", FieldKind::Minute, 59.9, std::nullopt, 4, "Range 0 to 59.9",
     "DR L minutes"},
    {FieldId::LoDeg, "txtLoDeg", FieldKind::Degree, 180, FieldId::LoMin, 3, "Range 0 to 180",
     "DR Lo degrees"},
    {FieldId::LoMin, "txtLoMin", FieldKind::Minute, 59.9, std::nullopt, 4, "Range 0 to 59.9",
     "DR Lo minutes"},
}};

constexpr const FieldSpec& spec(FieldId id) {
    return fieldSpecs[index(id)];
}

// The message box and the beep. The window adapts its toolkit to this; tests
// record the calls. message() must not return before the user has closed the
// box: a rule finishes its remaining steps afterwards. When message() is
// called, every colour and enabled flag the rule sets before the box is
// already in the fields, so a window that mirrors the fields can show them
// (the red field behind the box) before it opens the box.
class Alerts {
  public:
    virtual ~Alerts() = default;
    virtual void message(std::string_view text) = 0;
    virtual void beep() = 0;
};

inline constexpr std::string_view outOfRangeMessage = "Out of Range";

// Character codes as the KeyPress event carries them: 16-bit signed, and 0
// means "drop the key".
using KeyAscii = std::int16_t;
inline constexpr KeyAscii keyDropped = 0;
inline constexpr KeyAscii keyBackspace = 8;

// KeyPress of a degree field: digits and Backspace pass; every other code is
// dropped with a beep. Returns the code to apply.
KeyAscii degreeFilter(KeyAscii keyAscii, Alerts& alerts);

// KeyPress of a minute field: digits and Backspace pass, and one "." while
// currentText (the text before this key) holds none; every other code is
// dropped with a beep. Returns the code to apply.
KeyAscii minuteFilter(KeyAscii keyAscii, std::string_view currentText, Alerts& alerts);

// Change of a field without partner: back to the window background, or red
// with "Out of Range" when its value is above bound.
void plainRangeRule(Field& field, double bound, Alerts& alerts);

// Change of a degree field with its minute partner: the partner is locked
// (disabled, inactive border) while the degree value equals bound; a degree
// value above bound, or at bound with a non-zero partner, is red with
// "Out of Range". Values are read from both texts as the event is raised.
void degreeRule(Field& degree, double bound, Field& partner, Alerts& alerts);

// Validate: true (cancel the focus change) when the field's value is above
// bound. Shows nothing and changes nothing, so it is safe to ask at any time.
bool validateCancels(const Field& field, double bound);

// The eight fields together, each event dispatched to the rule that the
// field's spec names.
class Fields {
  public:
    explicit Fields(Alerts& alerts) : alerts_(alerts) {}

    Field& operator[](FieldId id) { return fields_[index(id)]; }
    const Field& operator[](FieldId id) const { return fields_[index(id)]; }

    // A typed character about to be applied to the field; returns the code
    // to apply, keyDropped to drop it.
    KeyAscii keyPress(FieldId id, KeyAscii keyAscii);
    // The field's text has changed (set its text first).
    void change(FieldId id);
    // The focus is about to leave the field; true cancels that.
    bool validate(FieldId id) const;

  private:
    Alerts& alerts_;
    std::array<Field, fieldCount> fields_{};
};

} // namespace entry
