#include "printout/workedform.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <utility>

#include <string>
#include <vector>

#include "printout/patterns.h"
#include "reduction/calculate.h"
#include "testing/entries.h"
#include "testing/expectedforms.h"

namespace {

using printout::WorkedForm;
using reduction::Method;
using reduction::ReductionInput;
using reduction::ReductionRecord;
using testentries::entries;

const char* const degreeSign = "\u00B0";

ReductionRecord reduce(const ReductionInput& in) {
    ReductionRecord record;
    const auto result = reduction::calculateReduction(in, record);
    EXPECT_EQ(result.outcome, reduction::Outcome::Complete) << result.reason;
    return record;
}

std::vector<std::string> printed(const ReductionInput& in) {
    return printout::renderLines(printout::buildWorkedForm(reduce(in), in.method));
}

// The character standing in a 1-based column of a rendered line (the degree
// sign is one column but two bytes).
std::string charAt(const std::string& line, int column) {
    int current = 0;
    for (std::size_t i = 0; i < line.size(); ++i) {
        if ((static_cast<unsigned char>(line[i]) & 0xC0) == 0x80) {
            continue;
        }
        if (++current == column) {
            std::size_t end = i + 1;
            while (end < line.size() && (static_cast<unsigned char>(line[end]) & 0xC0) == 0x80) {
                ++end;
            }
            return line.substr(i, end - i);
        }
    }
    return {};
}

// The characters in columns first to last of a rendered line.
std::string columnsOf(const std::string& line, int first, int last) {
    std::string text;
    for (int column = first; column <= last; ++column) {
        text += charAt(line, column);
    }
    return text;
}

// The worked examples, with the names that matter for each fact.
const ReductionInput sameNameUOver90 = testentries::firstExample(Method::Q);
const ReductionInput tOver90East = testentries::secondExample(Method::QQ);
const ReductionInput contraryNames = testentries::contraryExample(Method::Q);
const ReductionInput allEmpty = entries(Method::Q, "", "", "N", "", "", "N", "", "", "W", "", "");
const ReductionInput threeDigitLHA =
    entries(Method::QQ, "236", "", "N", "10", "", "N", "80", "", "W", "", "");

TEST(WorkedFormPrintout, QMethodExampleByteForByte) {
    EXPECT_EQ(printed(sameNameUOver90), testforms::firstExampleForm);
}

TEST(WorkedFormPrintout, QQMethodExampleByteForByte) {
    EXPECT_EQ(printed(tOver90East), testforms::secondExampleForm);
}

TEST(WorkedFormPrintout, HcAndZnAreTheOnlyBoldRuns) {
    const ReductionRecord record = reduce(sameNameUOver90);
    const WorkedForm form = printout::buildWorkedForm(record, Method::Q);
    ASSERT_EQ(form.lines.size(), 15u);
    std::vector<std::pair<std::size_t, printout::TextRun>> bold;
    for (std::size_t i = 0; i < form.lines.size(); ++i) {
        for (const auto& run : form.lines[i]) {
            if (run.bold) {
                bold.emplace_back(i + 1, run);
            }
        }
    }
    ASSERT_EQ(bold.size(), 2u);
    EXPECT_EQ(bold[0].first, 8u);
    EXPECT_EQ(bold[0].second, (printout::TextRun{52, "Hc = 66°04.2'", true}));
    EXPECT_EQ(bold[1].first, 13u);
    EXPECT_EQ(bold[1].second, (printout::TextRun{52, "Zn = 141.0°", true}));
}

struct ColumnCase {
    const char* name;
    ReductionInput in;
};

class WorkedFormColumns : public testing::TestWithParam<ColumnCase> {};

TEST_P(WorkedFormColumns, EqualsSignsDegreeSignsAndFootnotesStandInTheirColumns) {
    const ReductionInput& in = GetParam().in;
    const WorkedForm form = printout::buildWorkedForm(reduce(in), in.method);
    const std::vector<std::string> lines = printout::renderLines(form);
    ASSERT_EQ(lines.size(), 15u);
    for (int line = 2; line <= 13; ++line) {
        EXPECT_EQ(charAt(lines[line - 1], 55), "=") << "right column, line " << line;
    }
    for (int line = 3; line <= 10; ++line) {
        EXPECT_EQ(charAt(lines[line - 1], 6), "=") << "left column, line " << line;
    }
    EXPECT_EQ(charAt(lines[1], 8), degreeSign) << lines[1];
    EXPECT_EQ(charAt(lines[1], 24), degreeSign) << lines[1];
    EXPECT_EQ(columnsOf(lines[1], 15, 19), "-> t*");
    std::vector<int> footnoteColumns;
    for (const auto& run : form.lines[13]) {
        footnoteColumns.push_back(run.column);
    }
    EXPECT_EQ(footnoteColumns, (std::vector<int>{1, 30, 70}));
    EXPECT_EQ(form.lines[14].front().column, 1);
    for (const std::string& line : lines) {
        EXPECT_LE(printout::columnCount(line), 95) << line;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Examples, WorkedFormColumns,
    testing::Values(ColumnCase{"SameNameUOver90", sameNameUOver90},
                    ColumnCase{"TOver90East", tOver90East},
                    ColumnCase{"ContraryNames", contraryNames},
                    ColumnCase{"AllFieldsEmpty", allEmpty},
                    ColumnCase{"OneDigitHourAngles", entries(Method::Q, "5", "7.2", "N", "10", "",
                                                             "N", "30", "", "W", "", "")},
                    ColumnCase{"ThreeDigitLHA", threeDigitLHA}),
    [](const testing::TestParamInfo<ColumnCase>& info) { return std::string(info.param.name); });

TEST(WorkedFormLayout, OneDigitHourAnglesAreRightAligned) {
    const auto lines =
        printed(entries(Method::Q, "5", "7.2", "N", "10", "", "N", "30", "", "W", "", ""));
    EXPECT_EQ(lines[1].substr(0, lines[1].find("u***")),
              "LHA   5°07.2' -> t*   5°07.2'" + std::string(20, ' '));
}

TEST(WorkedFormLayout, ThreeDigitLHALeavesOneBlankAfterLHA) {
    // LHA 236 gives t 124: both fill their degree columns completely.
    const auto lines = printed(threeDigitLHA);
    EXPECT_TRUE(lines[1].starts_with("LHA 236°00.0' -> t* 124°00.0' -> 56°00.0'")) << lines[1];
}

TEST(WorkedFormLayout, TOver90ArrowsPutUsedDegreeSignsInColumns36And23) {
    const auto lines = printed(tOver90East);
    EXPECT_EQ(charAt(lines[1], 36), degreeSign);
    EXPECT_EQ(charAt(lines[9], 23), degreeSign);
    EXPECT_NE(lines[1].find(" -> 80°30.0'"), std::string::npos);
    EXPECT_NE(lines[9].find(" -> 121°39.0'"), std::string::npos);
}

TEST(WorkedFormLayout, NoTArrowsWhenTIsNotOver90) {
    const auto lines = printed(sameNameUOver90);
    // Line 2 keeps only the arrow of "-> t*".
    EXPECT_EQ(lines[1].find("->"), lines[1].rfind("->")) << lines[1];
    EXPECT_EQ(lines[9].find("->"), std::string::npos) << lines[9];
}

struct ArrowCase {
    const char* name;
    bool sameNames;
    bool uOver90;
    bool uArrow;
    bool zArrow;
};

class ArrowRules : public testing::TestWithParam<ArrowCase> {};

TEST_P(ArrowRules, UArrowFollowsUOver90AndZArrowFollowsTheZRule) {
    const ArrowCase& c = GetParam();
    ReductionRecord record = reduce(sameNameUOver90);
    record.uOver90 = c.uOver90;
    record.sameNames = c.sameNames;
    const auto lines = printout::renderLines(printout::buildWorkedForm(record, Method::Q));
    EXPECT_EQ(lines[3].find("= 109°01.2' -> 70°58.8'") != std::string::npos, c.uArrow) << lines[3];
    EXPECT_EQ(lines[3].ends_with("= 109°01.2'"), !c.uArrow) << lines[3];
    EXPECT_EQ(lines[11].ends_with("Z**** = 39.0° -> 141.0°"), c.zArrow) << lines[11];
    EXPECT_EQ(lines[11].ends_with("Z**** = 39.0°"), !c.zArrow) << lines[11];
    EXPECT_EQ(lines.size(), 15u);
}

INSTANTIATE_TEST_SUITE_P(
    NamesAndU, ArrowRules,
    testing::Values(ArrowCase{"SameNamesUOver90", true, true, true, true},
                    ArrowCase{"SameNamesUNotOver90", true, false, false, false},
                    ArrowCase{"ContraryNamesUOver90", false, true, true, true},
                    ArrowCase{"ContraryNamesUNotOver90", false, false, false, true}),
    [](const testing::TestParamInfo<ArrowCase>& info) { return std::string(info.param.name); });

TEST(WorkedFormLayout, ContraryNamesPrintTheirFormulaSignAndZRule) {
    const auto lines = printed(contraryNames);
    EXPECT_EQ(lines[1], "LHA 290°00.0' -> t*  70°00.0'                    u*** = 90 - w - Lat (L "
                        "and Dec contrary names)");
    EXPECT_EQ(printout::columnCount(lines[1]), 95);
    EXPECT_EQ(lines[2], "Q(v) = Q(90 - dec) + Q(t)                             = 90 - 14°21.0' - "
                        "50°00.0'");
    EXPECT_EQ(lines[3], "     = Q(85°00.0') + Q(70°00.0')                      = 25°39.0'");
    EXPECT_EQ(lines[11], "                                                Z**** = 71.3° -> 108.7°");
    EXPECT_EQ(lines[12], "                                                   Zn = 71.3°");
}

TEST(WorkedFormLayout, MinutesOfVAndWUseTheShortPatternOnlyInTheLeftColumn) {
    ReductionRecord record = reduce(sameNameUOver90);
    record.vDeg = 4;
    record.vMin = 3.2;
    record.wMin = 5;
    const auto lines = printout::renderLines(printout::buildWorkedForm(record, Method::Q));
    EXPECT_TRUE(lines[5].starts_with("   v = 4°3.2'    ")) << lines[5];
    EXPECT_TRUE(lines[9].starts_with(" w** = 20°5.0'    ")) << lines[9];
    EXPECT_NE(lines[9].find(" = Q(4°03.2') - Q("), std::string::npos) << lines[9];
}

TEST(WorkedFormLayout, FiveDigitTableValuesStayInTheLeftColumn) {
    for (const Method method : {Method::Q, Method::QQ}) {
        ReductionInput in = allEmpty;
        in.method = method;
        const auto lines = printed(in);
        ASSERT_EQ(lines.size(), 15u);
        const std::string q0 = method == Method::Q ? "29376.66" : "50302.51";
        EXPECT_EQ(lines[4].substr(0, 48),
                  "     = 0.00 + " + q0 + " = " + q0 + std::string(48 - 14 - 11 - 8, ' '))
            << lines[4];
        EXPECT_EQ(lines[4].substr(48), "Q(Hc) = Q(90 - v) + Q(u)");
        EXPECT_TRUE(lines[8].starts_with("     = " + q0 + " - 0.00 = " + q0 + " ")) << lines[8];
        EXPECT_TRUE(lines[8].ends_with(" Q(Z) = Q(v) - Q(90 - Hc)")) << lines[8];
    }
}

TEST(WorkedFormLayout, MethodChangesTitleAndEveryTableValue) {
    // QQ(69.75) = 109.25 and QQ(15.795) = 2228.14, worked apart from the
    // code as -1000 ln(sin x) × 10000/5840.
    ReductionInput qq = sameNameUOver90;
    qq.method = Method::QQ;
    const auto lines = printed(qq);
    EXPECT_EQ(lines[0], "                                 Sight Reduction by QQ(x) Table");
    EXPECT_TRUE(lines[4].starts_with("     = 109.25 + 2228.14 = 2337.39 ")) << lines[4];
}

TEST(WorkedFormTab, PositionPastTheTabContinuesOnTheNextLine) {
    ReductionRecord record = reduce(sameNameUOver90);
    // Minutes this long push line 8 past column 52 before Hc.
    record.DecMin = 1e21;
    const WorkedForm form = printout::buildWorkedForm(record, Method::Q);
    ASSERT_EQ(form.lines.size(), 16u);
    ASSERT_EQ(form.lines[7].size(), 1u);
    EXPECT_FALSE(form.lines[7][0].bold);
    EXPECT_EQ(form.lines[8], (printout::WorkedFormLine{{52, "Hc = 66°04.2'", true}}));
    const auto lines = printout::renderLines(form);
    EXPECT_EQ(lines[8], std::string(51, ' ') + "Hc = 66°04.2'");
    EXPECT_TRUE(lines[9].starts_with("     = 1060.98 - 33.74")) << lines[9];
}

TEST(WorkedFormTab, PositionExactlyAtTheTabStaysOnTheLine) {
    ReductionRecord record = reduce(sameNameUOver90);
    // 1e20 minutes end line 8's left part in column 51, so Hc follows at 52.
    record.DecMin = 1e20;
    const WorkedForm form = printout::buildWorkedForm(record, Method::Q);
    ASSERT_EQ(form.lines.size(), 15u);
    EXPECT_EQ(form.lines[7].back(), (printout::TextRun{52, "Hc = 66°04.2'", true}));
}

TEST(RenderLines, RunsAtTheirColumnsBlanksBetweenTrailingBlanksTrimmed) {
    WorkedForm form;
    form.lines = {{{1, "ab", false}, {5, "c", true}},
                  {{3, "5°", false}, {6, "x  ", false}},
                  {},
                  {{4, "   ", false}}};
    EXPECT_EQ(printout::renderLines(form), (std::vector<std::string>{"ab  c", "  5° x", "", ""}));
}

} // namespace

// The form for a narrow screen: its parts one above the other, the
// right-hand working moved left with its equals signs still in one column.
TEST(StackedForm, ExampleByteForByte) {
    const WorkedForm stacked =
        printout::stackedForm(printout::buildWorkedForm(reduce(tOver90East), Method::QQ));
    const std::vector<std::string> expected = {
        "Sight Reduction by QQ(x) Table",
        "",
        "LHA 260°30.0' -> t*  99°30.0' -> 80°30.0'",
        "Q(v) = Q(90 - dec) + Q(t)",
        "     = Q(75°00.0') + Q(80°30.0')",
        "     = 59.36 + 23.65 = 83.01",
        "   v = 72°18.0'",
        "Q(w) = Q(dec) - Q(90 - v)",
        "     = Q(15°00.0') - Q(17°42.0')",
        "     = 2314.43 - 2038.73 = 275.70",
        " w** = 58°21.0' -> 121°39.0'",
        "",
        " u*** = 90 - w + Lat (L and Dec same name)",
        "      = 90 - 121°39.0' + 55°00.0'",
        "      = 23°21.0'",
        "Q(Hc) = Q(90 - v) + Q(u)",
        "      = Q(17°42.0') + Q(23°21.0')",
        "      = 2038.73 + 1584.70 = 3623.43",
        "   Hc = 6°55.2'",
        " Q(Z) = Q(v) - Q(90 - Hc)",
        "      = Q(72°18.0') - Q(83°04.8')",
        "      = 83.04 - 12.52 = 70.52",
        "Z**** = 73.7°",
        "   Zn = 73.7°",
        "",
        "*If t>90 use t = 180 - t",
        "**If original t>90 use w = 180 - w",
        "***If u>90 use u = 180 - u",
        "****For contrary names or same name with original u>90 use Z = 180 - Z",
    };
    EXPECT_EQ(printout::renderLines(stacked), expected);
}

// For sights of every branch: every text of the form, with its weight,
// nothing lost and nothing added; every line but the longest footnote fits
// 48 columns, which a phone shows at 12 pixels.
TEST(StackedForm, KeepsEveryRunAndFitsANarrowScreen) {
    const auto texts = [](const WorkedForm& form) {
        std::vector<std::pair<std::string, bool>> found;
        for (const auto& line : form.lines)
            for (const auto& run : line)
                if (const auto at = run.text.find_first_not_of(' '); at != std::string::npos)
                    found.emplace_back(run.text.substr(at), run.bold);
        std::sort(found.begin(), found.end());
        return found;
    };
    for (const ReductionInput& in :
         {sameNameUOver90, tOver90East, contraryNames, allEmpty, threeDigitLHA}) {
        const WorkedForm form = printout::buildWorkedForm(reduce(in), in.method);
        const WorkedForm stacked = printout::stackedForm(form);
        EXPECT_EQ(texts(stacked), texts(form));
        const auto lines = printout::renderLines(stacked);
        for (std::size_t i = 0; i + 1 < lines.size(); ++i)
            EXPECT_LE(printout::columnCount(lines[i]), 48) << lines[i];
    }
}
