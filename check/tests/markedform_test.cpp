#include "check/markedform.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "check/check.h"
#include "check/slips.h"
#include "check/tests/sampledsights.h"
#include "printout/workedform.h"

namespace {

using check::ValueId;

// A rendered line as its columns, one UTF-8 character each.
std::vector<std::string> columnsOf(const std::string& line) {
    std::vector<std::string> columns;
    for (const char byte : line) {
        if ((static_cast<unsigned char>(byte) & 0xC0) == 0x80 && !columns.empty())
            columns.back() += byte;
        else
            columns.emplace_back(1, byte);
    }
    return columns;
}

std::string joined(const std::vector<std::string>& columns, std::size_t first, std::size_t end) {
    std::string text;
    for (std::size_t i = first; i < end && i < columns.size(); ++i)
        text += columns[i];
    return text;
}

// The line with its value places cut out, every run of blanks as one.
std::string withoutPlaces(const std::string& line, const std::vector<check::FormPlace>& places,
                          int lineIndex) {
    std::vector<std::string> columns = columnsOf(line);
    for (const check::FormPlace& place : places)
        if (place.line == lineIndex)
            for (int i = 0; i < place.span.count; ++i)
                if (std::size_t(place.span.first - 1 + i) < columns.size())
                    columns[std::size_t(place.span.first - 1 + i)] = " ";
    std::string text;
    for (const std::string& column : columns)
        if (column != " " || (!text.empty() && text.back() != ' '))
            text += column;
    while (!text.empty() && text.back() == ' ')
        text.pop_back();
    return text;
}

std::vector<check::FormPlace> allPlaces(const check::CheckLayout& layout) {
    std::vector<check::FormPlace> all;
    for (const auto& places : layout.places)
        all.insert(all.end(), places.begin(), places.end());
    return all;
}

// Over a sample of sights (both methods, every pair of names, the rules on
// and off): the open layout gives every value its places on the same lines,
// each wide enough for the longest value of its kind, apart from each other
// and blank, and leaves every label, formula, arrow and footnote as it was,
// in its order.
TEST(OpenLayout, EveryPlaceWideAndBlankTheRestOfTheFormAsPrinted) {
    int widest = 0;
    for (const auto& sight : checktest::sampledSights(6)) {
        const check::CheckLayout printed = check::checkLayout(sight.record, sight.input.method);
        for (const int extra : {1, check::markColumns}) {
            const check::CheckLayout open = check::openLayout(printed, extra);
            const std::vector<std::string> before = printout::renderLines(printed.form);
            const std::vector<std::string> after = printout::renderLines(open.form);
            ASSERT_EQ(after.size(), before.size());
            for (const ValueId id : check::allValues()) {
                const auto& was = printed.places[check::index(id)];
                const auto& is = open.places[check::index(id)];
                ASSERT_EQ(is.size(), was.size()) << check::valueName(id);
                for (std::size_t i = 0; i < is.size(); ++i) {
                    EXPECT_EQ(is[i].line, was[i].line);
                    EXPECT_GE(is[i].span.count,
                              check::longestColumns(check::valueKind(id)) + extra);
                    EXPECT_GE(is[i].span.count, was[i].span.count + extra);
                    const auto columns = columnsOf(after[std::size_t(is[i].line)]);
                    const std::string inside =
                        joined(columns, std::size_t(is[i].span.first - 1),
                               std::size_t(is[i].span.first - 1 + is[i].span.count));
                    EXPECT_EQ(inside.find_first_not_of(' '), std::string::npos)
                        << check::valueName(id) << ": '" << inside << "'";
                }
            }
            const auto placesBefore = allPlaces(printed);
            const auto placesAfter = allPlaces(open);
            for (std::size_t a = 0; a < placesAfter.size(); ++a)
                for (std::size_t b = a + 1; b < placesAfter.size(); ++b) {
                    const auto& p = placesAfter[a];
                    const auto& q = placesAfter[b];
                    EXPECT_FALSE(p.line == q.line && p.span.first < q.span.first + q.span.count &&
                                 q.span.first < p.span.first + p.span.count);
                }
            for (std::size_t line = 0; line < after.size(); ++line) {
                EXPECT_EQ(withoutPlaces(after[line], placesAfter, int(line)),
                          withoutPlaces(before[line], placesBefore, int(line)))
                    << "line " << line + 1;
                widest = std::max(widest, int(columnsOf(after[line]).size()));
            }
        }
    }
    // What the sheets and the dialog must make room for.
    EXPECT_LE(widest, 100);
}

// A checked sheet read back from its marked form: at every place of every
// given value stands that value, as the form prints it, and its mark; the
// places of values not given are blank.
TEST(MarkedForm, EveryPlaceShowsTheGivenValueAndItsMark) {
    const std::vector<check::InjectedSlip> slips[] = {
        {},
        {{check::SlipId::ComplementLookedUp, ValueId::Q_coDec}},
        {{check::SlipId::SumForDifference, ValueId::Qw}, {check::SlipId::ZnOtherSide, ValueId::Zn}},
    };
    for (const auto& sight : checktest::sampledSights(2)) {
        for (const auto& injected : slips) {
            check::WorkedValues given = check::workWithSlips(sight.input, injected);
            given[ValueId::coV].reset(); // one value left out
            const check::CheckResult result = check::checkWorkedForm(sight.input, given);
            ASSERT_TRUE(result.message.empty());
            const check::CheckLayout open = check::openLayout(
                check::checkLayout(result.record, sight.input.method), check::markColumns);
            const std::vector<std::string> lines =
                printout::renderLines(check::markedForm(result, sight.input.method));
            std::size_t checked = 0;
            for (const ValueId id : check::allValues()) {
                const auto value =
                    std::find_if(result.values.begin(), result.values.end(),
                                 [&](const check::ValueCheck& v) { return v.id == id; });
                for (const check::FormPlace& place : open.places[check::index(id)]) {
                    const auto columns = columnsOf(lines[std::size_t(place.line)]);
                    const auto first = std::size_t(place.span.first - 1);
                    const auto last = first + std::size_t(place.span.count) - 1;
                    const std::string text = joined(columns, first, last);
                    const std::string sign = joined(columns, last, last + 1);
                    if (value == result.values.end()) {
                        EXPECT_EQ((text + sign).find_first_not_of(' '), std::string::npos)
                            << check::valueName(id);
                        continue;
                    }
                    const check::ReadValue read = check::readValue(id, text);
                    ASSERT_TRUE(read.value) << check::valueName(id) << " '" << text << "'";
                    EXPECT_EQ(check::printedUnits(id, *read.value),
                              check::printedUnits(id, value->given))
                        << check::valueName(id);
                    EXPECT_EQ(sign, check::markSign(value->mark)) << check::valueName(id);
                    ++checked;
                }
            }
            EXPECT_GE(checked, result.values.size());
        }
    }
}

TEST(MarkedForm, NothingForEntriesThatCannotBeReduced) {
    reduction::ReductionInput below;
    below.ghaDeg = "180";
    below.decDeg = "20";
    below.latDeg = "40";
    const check::CheckResult result = check::checkWorkedForm(below, {});
    ASSERT_FALSE(result.message.empty());
    EXPECT_TRUE(check::markedForm(result, below.method).lines.empty());
}

} // namespace
