#include "help/helptext.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Splits at CR LF only, so a stray CR or LF stays inside a line and fails
// the comparisons below.
std::vector<std::string> linesOf(std::string_view text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find("\r\n", start)) != std::string_view::npos;
         start = end + 2) {
        lines.emplace_back(text.substr(start, end - start));
    }
    lines.emplace_back(text.substr(start)); // after the final CR LF: must be empty
    return lines;
}

const std::vector<std::string> lines = linesOf(help::helpText());

TEST(HelpText, HasSixteenLinesEndedByCrLf) {
    ASSERT_EQ(lines.size(), 17u);
    EXPECT_EQ(lines.back(), "") << "the text ends with CR LF";
    for (const std::string& line : lines) {
        EXPECT_EQ(line.find('\r'), std::string::npos) << line;
        EXPECT_EQ(line.find('\n'), std::string::npos) << line;
    }
}

struct LineCase {
    int number; // 1-based, as the lines are counted in the design
    const char* text;
};

const LineCase fixedLines[] = {
    {4, "advances in 10' steps instead of 1\xC2\xB0 steps, and the scaling allows an increase in "
        "resolution of almost a factor of two. "},
    {5, "The procedures are identical."},
    {6, "  "},
    {7, "All table values are shown calculated (not interpolated) to two decimal places, though "
        "mental interpolation would "},
    {8, "usually result in single decimal place values, and the table values are rounded to whole "
        "numbers.  Resultant angles "},
    {9, "are shown \"interpolated\" (actually calculated) to tenths of an arc-minute."},
    {10, ""},
    {11, "Special rules are shown at the bottom of the \"form\".  When these special rules are "
         "applied, the original and "},
    {12, "resulting values are both displayed."},
    {13, ""},
    {14, "Switching between Q(x) and QQ(x) has the same effect as pressing the Calculate button."},
    {15, ""},
};

class HelpTextLine : public testing::TestWithParam<LineCase> {};

TEST_P(HelpTextLine, IsExactlyAsDesigned) {
    const LineCase& c = GetParam();
    ASSERT_GT(lines.size(), static_cast<std::size_t>(c.number));
    EXPECT_EQ(lines[c.number - 1], c.text);
}

INSTANTIATE_TEST_SUITE_P(Lines, HelpTextLine, testing::ValuesIn(fixedLines), [](const auto& info) {
    return "Line" + std::to_string(info.param.number);
});

TEST(HelpText, DegreeSignIsTheOnlyNonAsciiCharacter) {
    const std::string_view text = help::helpText();
    const std::string degree = "\xC2\xB0";
    const std::size_t at = text.find(degree);
    ASSERT_NE(at, std::string_view::npos);
    EXPECT_EQ(text.substr(at - 1, 9), "1\xC2\xB0 steps");
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (i == at || i == at + 1) {
            continue;
        }
        EXPECT_LT(static_cast<unsigned char>(text[i]), 0x80u) << "at " << i;
    }
}

TEST(HelpText, FirstParagraphIsHardWrappedKeepingTheSpaceBeforeEachBreak) {
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(lines[0].rfind("The Q(x) Table and QQ(x) Table sight reduction methods are Ageton "
                             "derivatives.  ",
                             0),
              0u);
    const std::string tail = "The primary differences are that it ";
    ASSERT_GE(lines[2].size(), tail.size());
    EXPECT_EQ(lines[2].substr(lines[2].size() - tail.size()), tail);
    for (int i = 0; i < 3; ++i) {
        EXPECT_GE(lines[i].size(), 110u) << "line " << i + 1;
        EXPECT_LE(lines[i].size(), 120u) << "line " << i + 1;
        EXPECT_EQ(lines[i].back(), ' ') << "line " << i + 1;
        EXPECT_NE(lines[i][lines[i].size() - 2], ' ') << "line " << i + 1;
    }
}

TEST(HelpText, CreditSentencesAreSpacedTwoThenFour) {
    const std::string paragraph = lines[0] + lines[1] + lines[2] + lines[3] + lines[4];
    const std::size_t publications = paragraph.find("publications.");
    ASSERT_NE(publications, std::string::npos);
    EXPECT_EQ(paragraph.substr(publications + 13, 5), "    T");
    EXPECT_NE(paragraph.find("\"original (corrected)\" Q(x) Table"), std::string::npos);
    // Every other sentence inside the paragraph is followed by exactly two.
    for (const char* end : {"derivatives.", "navigator."}) {
        const std::size_t at = paragraph.find(end);
        ASSERT_NE(at, std::string::npos) << end;
        const std::size_t after = at + std::string_view(end).size();
        EXPECT_EQ(paragraph.substr(after, 2), "  ") << end;
        EXPECT_NE(paragraph[after + 2], ' ') << end;
    }
}

TEST(HelpText, EndsWithACreditAndContactLine) {
    ASSERT_EQ(lines.size(), 17u);
    EXPECT_FALSE(lines[15].empty());
    EXPECT_NE(lines[15].back(), ' ');
}

} // namespace
