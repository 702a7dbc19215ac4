// Sights typed into the window with every pair of names, southern latitudes,
// hour angles on both sides of the meridian and east longitudes: the window
// must hand each field and each list to the core as the user entered it, and
// print the u line that the names call for.

#include <QComboBox>
#include <QPushButton>
#include <QRadioButton>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/surface.h"
#include "app/tests/windowfixture.h"
#include "printout/workedform.h"
#include "reduction/calculate.h"
#include "testing/entries.h"

namespace {

using reduction::Method;

// The texts typed, field by field, and the names picked.
struct TypedSight {
    const char* name;
    Method method;
    const char* fields[8]; // GHA, Dec, DR L, DR Lo: degrees then minutes
    const char* decName;
    const char* latName;
    const char* loName;
};

// clang-format off
const TypedSight typedSights[] = {
    {"ContraryNorthLatWest", Method::Q, {"95", "12.4", "12", "34.5", "23", "45.6", "30", "12.3"}, "S", "N", "W"},
    {"ContrarySouthLatWest", Method::Q, {"20", "41.9", "8", "2.6", "15", "51.1", "5", "9.9"}, "N", "S", "W"},
    {"SouthSouthEast", Method::QQ, {"200", "7.7", "40", "10.1", "33", "3.3", "100", "20.2"}, "S", "S", "E"},
    {"NorthNorthEastOfMeridian", Method::Q, {"310", "3.3", "21", "4.4", "47", "5.5", "2", "6.6"}, "N", "N", "E"},
    {"BelowHorizon", Method::Q, {"150", "", "20", "", "40", "", "", ""}, "S", "N", "W"},
};
// clang-format on

const char* const fieldNames[] = {"txtGHADeg", "txtGHAMin", "txtDecDeg", "txtDecMin",
                                  "txtLDeg",   "txtLMin",   "txtLoDeg",  "txtLoMin"};

class SightEntryTest : public WindowFixture, public ::testing::WithParamInterface<TypedSight> {
  protected:
    void pick(const char* list, const char* item) {
        auto* combo = control<QComboBox>(list);
        combo->setFocus();
        key(Qt::Key_Home);
        if (combo->currentText() != QLatin1String(item))
            key(Qt::Key_Down);
        ASSERT_EQ(combo->currentText().toStdString(), item) << list;
    }
};

TEST_P(SightEntryTest, TheCoreGetsWhatWasTypedAndPickedAndTheFormIsPrinted) {
    const TypedSight& s = GetParam();
    if (s.method == Method::QQ)
        click(control<QRadioButton>("optQQ"));
    toolkit.messages.clear();
    for (int i = 0; i < 8; ++i)
        typeInto(fieldNames[i], s.fields[i]);
    pick("cboDec", s.decName);
    pick("cboL", s.latName);
    pick("cboLo", s.loName);
    click(control<QPushButton>("cmdQ"));

    const reduction::ReductionInput in = testentries::entries(
        s.method, s.fields[0], s.fields[1], s.decName, s.fields[2], s.fields[3], s.latName,
        s.fields[4], s.fields[5], s.loName, s.fields[6], s.fields[7]);
    reduction::ReductionRecord expected;
    const reduction::Outcome outcome = reduction::calculateReduction(in, expected).outcome;
    EXPECT_EQ(form.record(), expected);

    const auto printed = printout::renderLines(control<app::Surface>("surface")->form());
    if (outcome == reduction::Outcome::CheckData) {
        EXPECT_EQ(toolkit.messages, QStringList{QStringLiteral("Check your data.")});
        EXPECT_TRUE(printed.empty());
        return;
    }
    ASSERT_EQ(outcome, reduction::Outcome::Complete);
    EXPECT_TRUE(toolkit.messages.isEmpty()) << toolkit.messages.join(" | ").toStdString();
    EXPECT_EQ(printed, printout::renderLines(printout::buildWorkedForm(expected, s.method)));
    ASSERT_EQ(printed.size(), 15u);
    const bool sameNames = std::string(s.decName) == s.latName;
    EXPECT_EQ(printed[1].ends_with("(L and Dec same name)"), sameNames) << printed[1];
    EXPECT_EQ(printed[1].ends_with("(L and Dec contrary names)"), !sameNames) << printed[1];
}

INSTANTIATE_TEST_SUITE_P(Names, SightEntryTest, ::testing::ValuesIn(typedSights),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
