// The pages print the table: every argument of the bands once, in order,
// with the program's table value rounded to a whole number and the fall to
// the next entry, where the page's text shows them; the first page's
// look-ups quote what the pages print.

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <regex>
#include <sstream>

#include "printout/patterns.h"
#include "tables/tablebook.h"

namespace {

using reduction::Method;

class Book : public testing::TestWithParam<Method> {
  protected:
    static const tables::TableBook& book() {
        static const tables::TableBook q = tables::tableBook(Method::Q);
        static const tables::TableBook qq = tables::tableBook(Method::QQ);
        return GetParam() == Method::Q ? q : qq;
    }
};

// The arguments a navigator finds: every 0.1' to 0°10', every 0.2' to
// 0°40', then every minute to 90°.
bool printedArgument(int tenths) {
    return tenths < 100 || (tenths < 400 && tenths % 2 == 0) || tenths % 10 == 0;
}

// The table value of the argument as the window would compute it from
// degrees and minutes, rounded to a whole number.
long long expectedValue(int tenths, Method method) {
    const double degrees = tenths / 600 + (tenths % 600 / 10.0) / 60;
    return std::llround(std::floor(reduction::Q(degrees, method) + 0.5));
}

// The text of a page line from column on.
std::string textAt(const std::vector<std::string>& lines, std::size_t line, int column) {
    const std::string& text = lines.at(line);
    // Columns count characters; the degree sign takes two bytes.
    std::size_t byte = 0;
    for (int c = 1; c < column && byte < text.size(); ++c)
        byte += (static_cast<unsigned char>(text[byte]) == 0xC2) ? 2 : 1;
    return text.substr(byte);
}

TEST_P(Book, PrintsEveryArgumentOnceWithItsWholeValueAndFall) {
    std::vector<int> printed;
    for (const tables::TablePage& page : book().pages) {
        const auto lines = printout::renderLines(printout::WorkedForm{page.lines});
        for (const tables::PrintedEntry& entry : page.printed) {
            const int tenths = book().entries.at(entry.entry).tenths;
            printed.push_back(tenths);
            const long long value = expectedValue(tenths, GetParam());
            ASSERT_EQ(entry.text, std::to_string(value)) << tables::angleText(tenths);
            EXPECT_EQ(textAt(lines, entry.line, entry.column).rfind(entry.text, 0), 0u)
                << tables::angleText(tenths);
            if (entry.differenceColumn == 0)
                continue;
            const int next = tenths + (tenths < 100 ? 1 : tenths < 400 ? 2 : 10);
            EXPECT_EQ(entry.differenceText,
                      std::to_string(value - expectedValue(next, GetParam())));
            EXPECT_EQ(
                textAt(lines, entry.line, entry.differenceColumn).rfind(entry.differenceText, 0),
                0u);
        }
    }
    std::vector<int> expected;
    for (int tenths = 0; tenths <= 90 * 600; ++tenths)
        if (printedArgument(tenths))
            expected.push_back(tenths);
    EXPECT_EQ(printed, expected);
}

TEST_P(Book, EveryPageIsHeadedWithItsRangeAndNumber) {
    const auto& pages = book().pages;
    ASSERT_LE(pages.size(), 12u);
    const std::string count = std::to_string(pages.size());
    for (std::size_t p = 0; p < pages.size(); ++p) {
        const auto heading = printout::renderLines(printout::WorkedForm{pages[p].lines}).at(0);
        EXPECT_EQ(heading.rfind(tables::methodName(GetParam()) + " TABLE", 0), 0u);
        const std::string tail = pages[p].range + (p == 0 ? "" : "    ") + "page " +
                                 std::to_string(p + 1) + " of " + count;
        EXPECT_EQ(heading.substr(heading.size() - tail.size()), tail);
    }
    EXPECT_EQ(pages[1].range, "0°00' to 0°59'");
    EXPECT_EQ(pages.back().range, "81° to 90°");
}

// "Page 5, column 23°, row 17: entry 928, d 1": the page holds that entry
// with that d, and the reading that follows is the one the reader gets.
TEST_P(Book, FirstPageQuotesWhatThePagesPrint) {
    std::string first;
    for (const auto& line : printout::renderLines(printout::WorkedForm{book().pages[0].lines}))
        first += line + " ";
    first = std::regex_replace(first, std::regex(" +"), " ");
    static const std::regex lookUp(R"(Page (\d+), column (\d+)°, row (\d+): entry (\d+), d (\d+))");
    int found = 0;
    for (auto match = std::sregex_iterator(first.begin(), first.end(), lookUp);
         match != std::sregex_iterator(); ++match, ++found) {
        const auto& page = book().pages.at(std::stoul((*match)[1]) - 1);
        const int tenths = std::stoi((*match)[2]) * 600 + std::stoi((*match)[3]) * 10;
        const auto entry = std::find_if(page.printed.begin(), page.printed.end(), [&](auto& e) {
            return book().entries[e.entry].tenths == tenths;
        });
        ASSERT_NE(entry, page.printed.end()) << (*match)[0];
        EXPECT_EQ(entry->text, (*match)[4]);
        EXPECT_EQ(entry->differenceText, (*match)[5]);
    }
    EXPECT_EQ(found, 2);
    const auto forward = tables::readValue(book().entries, 23 * 600 + 174);
    EXPECT_NE(first.find("= " +
                         printout::formatNumber(double(forward.valueTenths) / 10,
                                                printout::Pattern::Tenths) +
                         ". The program's value is"),
              std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(BothMethods, Book, testing::Values(Method::Q, Method::QQ),
                         [](const testing::TestParamInfo<Method>& info) {
                             return info.param == Method::Q ? "Q" : "QQ";
                         });

struct LookUpRow {
    const char* name;
    std::optional<int> tenths; // an angle looked up, or else
    double value;              // a value
    const char* result;
    const char* working;
};

class LookUps : public testing::TestWithParam<LookUpRow> {};

TEST_P(LookUps, ShowWhereToLookAndTheSum) {
    static const tables::TableBook q = tables::tableBook(Method::Q);
    const LookUpRow& row = GetParam();
    const auto look =
        row.tenths ? tables::lookUpValue(q, *row.tenths) : tables::lookUpAngle(q, row.value);
    ASSERT_TRUE(look.has_value());
    EXPECT_EQ(look->result, row.result);
    EXPECT_EQ(look->working, row.working);
}

INSTANTIATE_TEST_SUITE_P(
    Q, LookUps,
    testing::Values(
        LookUpRow{"TenthWithItsOwnEntry", 53, 0, "6475", "Page 2, row 5, column .3: entry 6475."},
        LookUpRow{"TenthBetweenEntriesTwoTenthsApart", 125, 0, "5617.0",
                  "Page 2, row 12, column .4: entry 5625, and the next, 5609. (5625 + 5609) / 2 = "
                  "5617.0."},
        LookUpRow{"TenthOfAMinute", 23 * 600 + 174, 0, "927.6",
                  "Page 5, column 23°, row 17: entry 928, d 1. 928 - 1 × 4 / 10 = 927.6."},
        LookUpRow{"Ninety", 54000, 0, "0", "Page 11, column 90°, row 0: entry 0."},
        LookUpRow{"AngleBetweenEntriesTwoTenthsApart", std::nullopt, 5617, "0°12.5'",
                  "Page 2, row 12, column .4: entry 5625; the next entry, 5609, is below 5617. "
                  "(5625 - 5617) / 16 = 0.50 of 0.2', so 0°12.4' + 0.10' = 0°12.5'."},
        LookUpRow{"AngleAtTenthsOfAMinute", std::nullopt, 2333.4, "5°33.9'",
                  "Page 3, column 5°, row 33: entry 2336, d 3; the next entry, 2333, is below "
                  "2333.4. (2336 - 2333.4) / 3 = 0.87, so 5°33' + 0.87' = 5°33.9'."},
        LookUpRow{"AngleWhereTheValuesRunFlat", std::nullopt, 0.3, "88°11.7'",
                  "Page 11, column 88°, row 11: entry 1, d 1; the next entry, 0, is below 0.3. "
                  "(1 - 0.3) / 1 = 0.70, so 88°11' + 0.70' = 88°11.7'."},
        LookUpRow{"ValueSharedByARunOfEntries", std::nullopt, 0, "90°00'",
                  "Page 11, column 90°, row 0: entry 0, as every entry from 88°12' on: any of "
                  "their angles gives the value back."}),
    [](const testing::TestParamInfo<LookUpRow>& info) { return info.param.name; });

TEST(BookCsv, ListsEveryArgumentWithTenthsOnlyWhereTheStepIsFiner) {
    const std::string csv = tables::bookCsv(tables::tableBook(Method::Q));
    EXPECT_EQ(csv.substr(0, 40), "deg,min,value\n0,0.0,29377\n0,0.1,10445\n0,");
    EXPECT_NE(csv.find("\n0,39.8,4459\n0,40,4454\n"), std::string::npos);
    EXPECT_NE(csv.find("\n23,17,928\n"), std::string::npos);
    EXPECT_TRUE(csv.ends_with("\n89,59,0\n90,0,0\n"));
    EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 1 + 100 + 150 + 5360 + 1);
}

} // namespace
