#include "entry/fields.h"

#include "entry/textvalue.h"

namespace entry {

namespace {

constexpr KeyAscii keyZero = '0';
constexpr KeyAscii keyNine = '9';
constexpr KeyAscii keyPoint = '.';

bool isDigit(KeyAscii keyAscii) {
    return keyAscii >= keyZero && keyAscii <= keyNine;
}

KeyAscii drop(Alerts& alerts) {
    alerts.beep();
    return keyDropped;
}

} // namespace

KeyAscii degreeFilter(KeyAscii keyAscii, Alerts& alerts) {
    if (isDigit(keyAscii)) {
        return keyAscii;
    }
    if (keyAscii == keyBackspace) {
        return keyAscii;
    }
    return drop(alerts);
}

KeyAscii minuteFilter(KeyAscii keyAscii, std::string_view currentText, Alerts& alerts) {
    if (isDigit(keyAscii)) {
        return keyAscii;
    }
    if (keyAscii == keyPoint) {
        // Tested against the whole text, so a "." that is selected and about to
        // be replaced still counts.
        if (currentText.find('.') != std::string_view::npos) {
            return drop(alerts);
        }
        return keyAscii;
    }
    if (keyAscii == keyBackspace) {
        return keyAscii;
    }
    return drop(alerts);
}

void plainRangeRule(Field& field, double bound, Alerts& alerts) {
    field.backColor = windowBackground;
    if (TextValue(field.text) > bound) {
        field.backColor = red;
        alerts.message(outOfRangeMessage);
    }
}

void degreeRule(Field& degree, double bound, Field& partner, Alerts& alerts) {
    // Both read once, as the event is raised; no step changes either text.
    const double d = TextValue(degree.text);
    const double m = TextValue(partner.text);

    if (d != bound) {
        partner.enabled = true;
    }
    if (d == bound) {
        partner.enabled = false;
        partner.backColor = inactiveBorder;
    }
    degree.backColor = windowBackground;
    if (d > bound || (d == bound && m != 0)) {
        degree.backColor = red;
        alerts.message(outOfRangeMessage);
    }
    // Above the bound the partner keeps whatever colour it had: a jump from
    // the bound straight past it leaves it enabled with the inactive border.
    if (d < bound) {
        partner.backColor = windowBackground;
    }
}

bool validateCancels(const Field& field, double bound) {
    return TextValue(field.text) > bound;
}

KeyAscii Fields::keyPress(FieldId id, KeyAscii keyAscii) {
    if (spec(id).kind == FieldKind::Degree) {
        return degreeFilter(keyAscii, alerts_);
    }
    return minuteFilter(keyAscii, (*this)[id].text, alerts_);
}

void Fields::change(FieldId id) {
    const FieldSpec& s = spec(id);
    if (s.partner) {
        degreeRule((*this)[id], s.bound, (*this)[*s.partner], alerts_);
    } else {
        plainRangeRule((*this)[id], s.bound, alerts_);
    }
}

bool Fields::validate(FieldId id) const {
    return validateCancels((*this)[id], spec(id).bound);
}

} // namespace entry
