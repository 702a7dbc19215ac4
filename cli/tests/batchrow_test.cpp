#include "cli/batchrow.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace {

using Cells = std::optional<std::vector<std::string>>;

struct SplitCase {
    const char* name;
    const char* line;
    Cells expected;
};

class SplitCsvLine : public testing::TestWithParam<SplitCase> {};

TEST_P(SplitCsvLine, CellsOrMalformed) {
    EXPECT_EQ(cli::splitCsvLine(GetParam().line), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, SplitCsvLine,
    testing::Values(SplitCase{"PlainCells", "Q,54,12.3", Cells{{"Q", "54", "12.3"}}},
                    SplitCase{"EmptyLineIsOneEmptyCell", "", Cells{{""}}},
                    SplitCase{"TrailingCommaGivesEmptyCell", "a,", Cells{{"a", ""}}},
                    SplitCase{"BlanksAroundACellAreDropped", " a ,\tb  ", Cells{{"a", "b"}}},
                    SplitCase{"QuotedCellKeepsItsBlanks", " \" a \" ,b", Cells{{" a ", "b"}}},
                    SplitCase{"BlanksOnlyIsAnEmptyCell", "a,   ,b", Cells{{"a", "", "b"}}},
                    SplitCase{"QuotedCommaIsText", "\"a,b\",c", Cells{{"a,b", "c"}}},
                    SplitCase{"DoubledQuoteIsOneQuote", "\"a\"\"b\"", Cells{{"a\"b"}}},
                    SplitCase{"QuotedEmptyCell", "\"\",x", Cells{{"", "x"}}},
                    SplitCase{"UnclosedQuote", "\"ab,c", std::nullopt},
                    SplitCase{"TextAfterClosingQuote", "\"a\"b,c", std::nullopt}),
    [](const testing::TestParamInfo<SplitCase>& info) { return std::string(info.param.name); });

TEST(ParseBatchRow, ReadsEveryCellIntoTheInputs) {
    const cli::BatchRow row = cli::parseBatchRow("QQ,250,30.0,S,15,0,S,55,,E,10,1.5\r");
    ASSERT_TRUE(row.input) << row.problem;
    const reduction::ReductionInput& in = *row.input;
    EXPECT_EQ(in.method, reduction::Method::QQ);
    EXPECT_EQ(in.ghaDeg, "250");
    EXPECT_EQ(in.ghaMin, "30.0");
    EXPECT_EQ(in.decName, reduction::NorthSouth::S);
    EXPECT_EQ(in.decDeg, "15");
    EXPECT_EQ(in.decMin, "0");
    EXPECT_EQ(in.latName, reduction::NorthSouth::S);
    EXPECT_EQ(in.latDeg, "55");
    EXPECT_EQ(in.latMin, "");
    EXPECT_EQ(in.loName, reduction::WestEast::E);
    EXPECT_EQ(in.loDeg, "10");
    EXPECT_EQ(in.loMin, "1.5"); // the carriage return of a CRLF file is not part of it
}

TEST(ParseBatchRow, EmptyMethodAndNameCellsTakeTheDefaults) {
    const cli::BatchRow row = cli::parseBatchRow(",,,,,,,,,,,");
    ASSERT_TRUE(row.input) << row.problem;
    EXPECT_EQ(row.input->method, reduction::Method::Q);
    EXPECT_EQ(row.input->decName, reduction::NorthSouth::N);
    EXPECT_EQ(row.input->latName, reduction::NorthSouth::N);
    EXPECT_EQ(row.input->loName, reduction::WestEast::W);
}

struct MalformedCase {
    const char* name;
    std::string_view line;
    const char* problemMentions;
};

class MalformedRow : public testing::TestWithParam<MalformedCase> {};

TEST_P(MalformedRow, NamesTheProblem) {
    const cli::BatchRow row = cli::parseBatchRow(GetParam().line);
    EXPECT_FALSE(row.input);
    EXPECT_NE(row.problem.find(GetParam().problemMentions), std::string::npos) << row.problem;
}

INSTANTIATE_TEST_SUITE_P(
    Rows, MalformedRow,
    testing::Values(
        MalformedCase{"TooFewCells", "Q,54,12.3,N,20,15,N,40,0,W,70", "found 11"},
        MalformedCase{"TooManyCells", "Q,54,12.3,N,20,15,N,40,0,W,70,0,9", "found 13"},
        MalformedCase{"UnknownMethod", "QX,54,12.3,N,20,15,N,40,0,W,70,0", "method"},
        MalformedCase{"UnknownDecName", "Q,54,12.3,e,20,15,N,40,0,W,70,0", "decName"},
        MalformedCase{"LatNameEast", "Q,54,12.3,N,20,15,E,40,0,W,70,0", "latName"},
        MalformedCase{"LonNameNorth", "Q,54,12.3,N,20,15,N,40,0,N,70,0", "lonName"},
        MalformedCase{"NameReportedBeforeAFieldTextLeftOfIt", "Q,999,12.3,X,20,15,N,40,0,W,70,0",
                      "decName must be N or S, not 'X'"},
        MalformedCase{"GhaDegreesLongerThanThree", "Q,7190,12.3,N,20,15,N,40,0,W,70,0",
                      "ghaDeg takes at most 3 characters"},
        MalformedCase{"DecDegreesLongerThanTwo", "Q,54,12.3,N,100,15,N,40,0,W,70,0",
                      "decDeg takes at most 2"},
        MalformedCase{"MinutesLongerThanFour", "Q,54,12.3,N,20,15,N,40,12.34,W,70,0",
                      "latMin takes at most 4"},
        MalformedCase{"ThreeCharactersInALatitudeField", "Q,54,12.3,N,20,15,N,°°°,0,W,70,0",
                      "latDeg"},
        MalformedCase{"UnclosedQuote", "Q,\"54,12.3,N,20,15,N,40,0,W,70,0", "quoted"},
        MalformedCase{"NulInACell", std::string_view("Q,54,12.3,N,20,15,N,40,0\0,W,70,0", 32),
                      "control character 0x00 at column 25"},
        MalformedCase{"InvalidUtf8", "Q,54,12.3,N,20,15,N,40,\xFF,W,70,0",
                      "not valid UTF-8 (byte 0xFF at column 24)"},
        MalformedCase{"OverlongUtf8Slash", "Q,54,12.3,N,20,15,N,40,\xC0\xAF,W,70,0",
                      "not valid UTF-8"},
        MalformedCase{"Utf8Surrogate", "Q,54,12.3,N,20,15,N,40,\xED\xA0\x80,W,70,0",
                      "not valid UTF-8"},
        MalformedCase{"CutUtf8Sequence", "Q,54,12.3,N,20,15,N,40,0,W,70,\xC2", "not valid UTF-8"},
        MalformedCase{"CarriageReturnInside", "Q,54,12.3,N,20,15,N,4\r0,0,W,70,0",
                      "control character 0x0D"},
        MalformedCase{"LongCellIsCutInTheMessage",
                      "Q,54,12.3,N,20,15,N,40,0,W,70,0123456789012345678901234567890123456789xyz",
                      "not '0123456789012345678901234567890123456789...'"}),
    [](const testing::TestParamInfo<MalformedCase>& info) { return std::string(info.param.name); });

TEST(ParseBatchRow, BlanksAroundCellsAndDegreeSignsInQuotedCellsAreRead) {
    const cli::BatchRow row = cli::parseBatchRow(" QQ , 250 ,30.0\t,S,15,0,S,55,,E,10,00.0   ");
    ASSERT_TRUE(row.input) << row.problem;
    EXPECT_EQ(row.input->method, reduction::Method::QQ);
    EXPECT_EQ(row.input->ghaDeg, "250");
    EXPECT_EQ(row.input->ghaMin, "30.0");
    EXPECT_EQ(row.input->loMin, "00.0");
}

TEST(FieldText, CountsCharactersNotBytes) {
    // Two characters, four bytes: fits a two-character degree field.
    EXPECT_FALSE(cli::fieldTextProblem("°°", entry::FieldId::DecDeg));
    EXPECT_TRUE(cli::fieldTextProblem("°°°", entry::FieldId::DecDeg));
    EXPECT_FALSE(cli::fieldTextProblem("", entry::FieldId::GHAMin));
}

TEST(HeaderLine, BeginsWithMethodInAnyLetterCase) {
    EXPECT_TRUE(cli::isHeaderLine(cli::batchHeader()));
    EXPECT_TRUE(cli::isHeaderLine(cli::batchHeader(", ")));
    EXPECT_TRUE(cli::isHeaderLine("method;anything"));
    EXPECT_TRUE(cli::isHeaderLine("Method,GHADeg"));
    EXPECT_TRUE(cli::isHeaderLine("METHOD"));
    EXPECT_TRUE(cli::isHeaderLine("\"student\";\"Method\""));
    EXPECT_FALSE(cli::isHeaderLine("metho"));
    EXPECT_FALSE(cli::isHeaderLine("Q,54,12.3,N,20,15,N,40,0,W,70,0"));
}

} // namespace
