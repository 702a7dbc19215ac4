#include "printout/workedform.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "printout/patterns.h"
#include "reduction/calculate.h"
#include "testing/entries.h"

namespace {

using printout::WorkedForm;
using reduction::Method;

WorkedForm formOf(const reduction::ReductionInput& in, bool* complete = nullptr) {
    reduction::ReductionRecord record;
    const auto result = reduction::calculateReduction(in, record);
    if (complete != nullptr) {
        *complete = result.outcome == reduction::Outcome::Complete;
    }
    return printout::buildWorkedForm(record, in.method);
}

// Every run of blanks as one blank: what is left of a line once the widths
// of the left-out values no longer count.
std::string collapsed(const std::string& line) {
    std::string text;
    for (const char c : line) {
        if (c != ' ' || text.empty() || text.back() != ' ') {
            text += c;
        }
    }
    return text;
}

// A rendered line as one string per column (the degree sign is two bytes).
std::vector<std::string> columns(const std::string& line) {
    std::vector<std::string> cells;
    for (std::size_t i = 0; i < line.size(); ++i) {
        if ((static_cast<unsigned char>(line[i]) & 0xC0) == 0x80) {
            cells.back() += line[i];
        } else {
            cells.emplace_back(1, line[i]);
        }
    }
    return cells;
}

TEST(BlankForm, FirstExampleKeepsLabelsFormulasAndFootnotesInTheirColumns) {
    const std::vector<std::string> expected = {
        "                                 Sight Reduction by Q(x) Table",
        "LHA           -> t*                              u*** = 90 - w + Lat (L and Dec same "
        "name)",
        "Q(v) = Q(90 - dec) + Q(t)                             = 90 -          +",
        "     = Q(        ) + Q(        )                      =",
        "     =       +         =                        Q(Hc) = Q(90 - v) + Q(u)",
        "   v =                                                = Q(        ) + Q(        )",
        "Q(w) = Q(dec) - Q(90 - v)                             =       +       =",
        "     = Q(        ) - Q(        )                   Hc =",
        "     =         -       =                         Q(Z) = Q(v) - Q(90 - Hc)",
        " w** =                                                = Q(        ) - Q(        )",
        "                                                      =         -        =",
        "                                                Z**** =",
        "                                                   Zn =",
        "*If t>90 use t = 180 - t     **If original t>90 use w = 180 - w      ***If u>90 use u = "
        "180 - u",
        "****For contrary names or same name with original u>90 use Z = 180 - Z",
    };
    const WorkedForm blank = printout::withoutValues(formOf(testentries::firstExample()));
    EXPECT_EQ(printout::renderLines(blank), expected);
    // Hc and Zn keep their bold labels.
    EXPECT_EQ(blank.lines[7].back(), (printout::TextRun{52, "Hc = ", true}));
    EXPECT_EQ(blank.lines[12].back(), (printout::TextRun{52, "Zn = ", true}));
}

// Over a sweep of sights in both methods: the blank form is the full form
// with exactly the value columns blanked, and, widths aside, it is the same
// for every sight of one method and one name rule. A value the builder
// forgot to mark would show its digits and break the second property.
TEST(BlankForm, LeavesOutEveryValueAndNothingElseOverASweep) {
    std::map<std::pair<Method, bool>, std::vector<std::string>> skeletons;
    int checked = 0;
    for (const Method method : {Method::Q, Method::QQ}) {
        for (int gha = 0; gha < 720; gha += 71) {
            for (int dec = 0; dec <= 89; dec += 13) {
                for (int lat = 0; lat <= 89; lat += 17) {
                    for (const char* latName : {"N", "S"}) {
                        for (const char* lon : {"", "10", "135"}) {
                            const std::string g = std::to_string(gha);
                            const std::string d = std::to_string(dec);
                            const std::string l = std::to_string(lat);
                            const auto in = testentries::entries(
                                method, g.c_str(), "17.4", "N", d.c_str(), "42.1", latName,
                                l.c_str(), "5.5", lon[0] == '1' && lon[1] == '0' ? "E" : "W", lon,
                                "30");
                            bool complete = false;
                            const WorkedForm form = formOf(in, &complete);
                            if (!complete) {
                                continue;
                            }
                            ++checked;
                            const auto full = printout::renderLines(form);
                            const auto blank = printout::renderLines(printout::withoutValues(form));
                            ASSERT_EQ(blank.size(), full.size());
                            std::vector<std::string> skeleton;
                            for (std::size_t i = 0; i < full.size(); ++i) {
                                SCOPED_TRACE(full[i]);
                                const auto fullCells = columns(full[i]);
                                auto blankCells = columns(blank[i]);
                                blankCells.resize(fullCells.size(), " ");
                                for (std::size_t c = 0; c < fullCells.size(); ++c) {
                                    const int column = int(c) + 1;
                                    bool inValue = false;
                                    for (const auto& span : form.values[i]) {
                                        inValue |= column >= span.first &&
                                                   column < span.first + span.count;
                                    }
                                    ASSERT_EQ(blankCells[c], inValue ? " " : fullCells[c])
                                        << "line " << i + 1 << " column " << column;
                                }
                                skeleton.push_back(collapsed(blank[i]));
                            }
                            const bool same = form.lines[1].back().text.ends_with("same name)");
                            auto [at, fresh] = skeletons.try_emplace({method, same}, skeleton);
                            if (!fresh) {
                                ASSERT_EQ(skeleton, at->second) << printout::entriesText(in);
                            }
                        }
                    }
                }
            }
        }
    }
    EXPECT_EQ(skeletons.size(), 4u);
    EXPECT_GT(checked, 500);
}

TEST(EntriesText, ShowsTheFieldsAsTypedAndAnEmptyFieldAsZero) {
    EXPECT_EQ(printout::entriesText(testentries::secondExample()),
              "GHA 250°30.0'   Dec N 15°00.0'   DR L N 55°00.0'   DR Lo E 10°00.0'   QQ(x) table");
    EXPECT_EQ(printout::entriesText(testentries::entries(Method::Q, "", "", "S", "5", "", "N", "",
                                                         "7.5", "W", "", "")),
              "GHA 0°0'   Dec S 5°0'   DR L N 0°7.5'   DR Lo W 0°0'   Q(x) table");
}

} // namespace
