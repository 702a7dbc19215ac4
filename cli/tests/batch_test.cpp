#include "cli/batch.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <random>
#include <string>
#include <vector>

#include "cli/tests/jsonread.h"

namespace {

const std::string goodRow = "Q,54,12.3,N,20,15.0,N,40,00.0,W,70,00.0";
const std::string otherGoodRow = "QQ,250,30.0,N,15,00.0,N,55,00.0,E,10,00.0";

// What a line must give: a result, an error, or nothing (blank, header).
enum class Expect { Result, Error, Nothing };

struct Line {
    std::string bytes; // without the line end
    Expect expect;
};

struct Row {
    long long number;
    bool error;
};

// Runs the batch on the lines joined with lineEnd and checks the rule the
// batch promises: exactly one result or one error per line that is neither
// blank nor the header, in order, under the line's own number.
void expectOnePerLine(const std::vector<Line>& lines, const std::string& lineEnd = "\n") {
    std::string input;
    std::vector<Row> expected;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        input += lines[i].bytes + lineEnd;
        if (lines[i].expect != Expect::Nothing) {
            expected.push_back({static_cast<long long>(i + 1), lines[i].expect == Expect::Error});
        }
    }
    cli::BufferSource in(input);
    cli::StringSink out;
    const cli::BatchSummary summary = cli::reduceBatch(in, out, {true, false});
    EXPECT_EQ(summary.end, cli::BatchEnd::Read);

    std::vector<Row> got;
    std::size_t start = 0;
    const std::string& text = out.text();
    while (start < text.size()) {
        const std::size_t end = text.find('\n', start);
        ASSERT_NE(end, std::string::npos);
        const rapidjson::Document object = jsonread::parse(text.substr(start, end - start));
        ASSERT_FALSE(object.HasParseError()) << text.substr(start, end - start);
        got.push_back(
            {jsonread::integer(jsonread::member(object, "row")), jsonread::has(object, "error")});
        start = end + 1;
    }
    ASSERT_EQ(got.size(), expected.size());
    long long malformed = 0;
    for (std::size_t i = 0; i < got.size(); ++i) {
        EXPECT_EQ(got[i].number, expected[i].number) << "result " << i;
        EXPECT_EQ(got[i].error, expected[i].error) << "row " << expected[i].number;
        malformed += expected[i].error ? 1 : 0;
    }
    EXPECT_EQ(summary.rows, static_cast<long long>(expected.size()));
    EXPECT_EQ(summary.malformed, malformed);
}

TEST(BatchBytes, NulInsideARowIsThatRowsErrorAndTheNextRowStays) {
    expectOnePerLine({{std::string("Q,1,2,N,3,4,N,5,6,W,7,8\0", 24), Expect::Error},
                      {otherGoodRow, Expect::Result},
                      {std::string(1, '\0'), Expect::Error},
                      {goodRow, Expect::Result},
                      {std::string("\0\0\0", 3), Expect::Error},
                      {goodRow, Expect::Result}});
}

TEST(BatchBytes, InvalidUtf8ControlCharactersAndBlankLines) {
    expectOnePerLine({{"Method,ghaDeg,ghaMin,decName,decDeg,decMin,latName,latDeg,latMin,lonName,"
                       "lonDeg,lonMin",
                       Expect::Nothing},
                      {"Q,54,12.3,N,20,15.0,N,40,\xFF,W,70,00.0", Expect::Error},
                      {"  \t ", Expect::Nothing},
                      {goodRow, Expect::Result},
                      {"Q,54,12.3,N,20,15.0,N,40,00.0,W,70,\x1B", Expect::Error},
                      {"", Expect::Nothing},
                      {"\xEF\xBB\xBF" + goodRow, Expect::Error}, // a mark is only read on line 1
                      {"Q,54,12.3,N,20,15.0,N,40,00.0,W,70,00.0   ", Expect::Result},
                      {"method,is,no,header,after,line,one,,,,,", Expect::Error}});
}

TEST(BatchBytes, CarriageReturnLineFeedEndsAndAByteOrderMark) {
    expectOnePerLine({{"\xEF\xBB\xBFmethod,ghaDeg", Expect::Nothing},
                      {goodRow, Expect::Result},
                      {" ", Expect::Nothing},
                      {"Q,54,12.3,N,20,15.0,N,91,00.0,W,70,00.0", Expect::Error},
                      {otherGoodRow, Expect::Result}},
                     "\r\n");
}

TEST(BatchBytes, OverlongLinesAcrossReadBlocks) {
    expectOnePerLine({{goodRow, Expect::Result},
                      {std::string(200000, '1'), Expect::Error},
                      {goodRow, Expect::Result},
                      {std::string(1025, ','), Expect::Error},
                      {std::string(1024 - goodRow.size(), ' ') + goodRow, Expect::Result}});
}

// The property a fuzzer checks, on lines of random bytes among good rows:
// nothing merges, nothing is lost, every good row keeps its number. The input
// is several read blocks long, so rows straddle block boundaries.
TEST(BatchBytes, RandomBytesNeverCostAGoodRow) {
    std::mt19937 random(9);
    std::vector<Line> lines;
    for (int i = 0; i < 6000; ++i) {
        if (i % 3 != 0) {
            lines.push_back({i % 2 == 0 ? goodRow : otherGoodRow, Expect::Result});
            continue;
        }
        std::string bytes(std::uniform_int_distribution<std::size_t>(1, 60)(random), 'x');
        for (char& c : bytes) {
            do {
                c = static_cast<char>(std::uniform_int_distribution<int>(0, 255)(random));
            } while (c == '\n');
        }
        // Random bytes almost never form twelve valid cells; the few lines of
        // blanks alone are skipped.
        const bool blank = bytes.find_first_not_of(" \t\r") == std::string::npos;
        lines.push_back({bytes, blank ? Expect::Nothing : Expect::Error});
    }
    expectOnePerLine(lines);
}

TEST(BatchText, EveryBlockStartsWithItsRowNumber) {
    const std::string input = "method\n" + goodRow + "\nQ,200,00.0,S,10,00.0,S,30,00.0,W,,\n\nx\n";
    cli::BufferSource in(input);
    cli::StringSink out;
    const cli::BatchSummary summary = cli::reduceBatch(in, out, {false, false});
    EXPECT_EQ(summary.malformed, 1);
    const std::string& text = out.text();
    EXPECT_TRUE(text.starts_with("Row 2:\n                                 Sight Reduction"));
    EXPECT_NE(text.find("\n\nRow 3: Check your data.\n\nRow 5: expected 12 cells"),
              std::string::npos)
        << text;
}

TEST(BatchInput, Utf16IsRefusedAsAWhole) {
    for (const std::string mark : {"\xFF\xFE", "\xFE\xFF"}) {
        std::string input = mark;
        for (const char c : goodRow + "\n") {
            input += mark[0] == '\xFF' ? std::string{c, '\0'} : std::string{'\0', c};
        }
        cli::BufferSource in(input);
        cli::StringSink out;
        EXPECT_EQ(cli::reduceBatch(in, out, {true, false}).end, cli::BatchEnd::Utf16);
        EXPECT_EQ(out.text(), "");
    }
}

// A source that fails after a few bytes, as a disk might.
class FailingSource : public cli::ByteSource {
  public:
    std::size_t read(char* buffer, std::size_t size) override {
        if (sent_) {
            return 0;
        }
        sent_ = true;
        const std::string first = goodRow + "\n";
        const std::size_t count = std::min(size, first.size());
        first.copy(buffer, count);
        return count;
    }
    int error() const override { return sent_ ? EIO : 0; }

  private:
    bool sent_ = false;
};

TEST(BatchInput, ReadErrorEndsTheBatchAfterTheRowsRead) {
    FailingSource in;
    cli::StringSink out;
    const cli::BatchSummary summary = cli::reduceBatch(in, out, {true, false});
    EXPECT_EQ(summary.end, cli::BatchEnd::ReadError);
    EXPECT_EQ(summary.rows, 1);
}

} // namespace
