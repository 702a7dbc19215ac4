#include "cli/arguments.h"

#include <gtest/gtest.h>

#include <array>
#include <regex>
#include <string>
#include <vector>

#include "cli/batchrow.h"
#include "entry/fields.h"

namespace {

using Args = std::vector<std::string>;

// Every value of read arguments in one line, so a table row can say where
// each value must land.
std::string described(const cli::Arguments& a) {
    const reduction::ReductionInput& s = a.sight;
    std::string text = s.method == reduction::Method::Q ? "Q" : "QQ";
    text += " gha[" + s.ghaDeg + "|" + s.ghaMin + "]";
    text += " dec[" + std::string(reduction::nameText(s.decName)) + "|" + s.decDeg + "|" +
            s.decMin + "]";
    text += " lat[" + std::string(reduction::nameText(s.latName)) + "|" + s.latDeg + "|" +
            s.latMin + "]";
    text +=
        " lon[" + std::string(reduction::nameText(s.loName)) + "|" + s.loDeg + "|" + s.loMin + "]";
    if (a.json) {
        text += " json";
    }
    if (a.exact) {
        text += " exact";
    }
    if (a.batch) {
        text += " batch=" + *a.batch;
    }
    if (a.pdf) {
        text += " pdf=" + *a.pdf;
    }
    if (a.blank) {
        text += " blank";
    }
    if (a.exercises) {
        text += " exercises=" + std::to_string(*a.exercises);
    }
    if (a.seed) {
        text += " seed=" + std::to_string(*a.seed);
    }
    if (a.exercises && a.methodGiven) {
        text += " methodGiven";
    }
    if (a.table) {
        text += *a.table == reduction::Method::Q ? " table=Q" : " table=QQ";
    }
    if (a.csv) {
        text += " csv";
    }
    if (a.help) {
        text += " help";
    }
    if (a.version) {
        text += " version";
    }
    return text;
}

constexpr const char* noEntries = "Q gha[|] dec[N||] lat[N||] lon[W||]";

struct ArgumentCase {
    const char* name;
    Args arguments;
    std::string read;     // described() of the result, or empty when refused
    std::string mentions; // what the usage problem must say, when refused
};

class ReadArguments : public testing::TestWithParam<ArgumentCase> {};

TEST_P(ReadArguments, EachValueBelongsToItsOption) {
    const ArgumentCase& c = GetParam();
    const cli::ReadArguments result = cli::readArguments(c.arguments);
    if (c.read.empty()) {
        ASSERT_FALSE(result.arguments) << described(*result.arguments);
        EXPECT_NE(result.problem.find(c.mentions), std::string::npos) << result.problem;
        EXPECT_EQ(result.problem.find('\n'), std::string::npos);
    } else {
        ASSERT_TRUE(result.arguments) << result.problem;
        EXPECT_EQ(described(*result.arguments), c.read);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Lists, ReadArguments,
    testing::Values(
        ArgumentCase{"Nothing", {}, noEntries, ""},
        ArgumentCase{"Interleaved",
                     {"--lat", "N", "40", "0", "--json", "--method", "QQ", "--gha", "54", "12.3",
                      "--lon", "E", "70", "5", "--dec", "S", "20", "15.0", "--exact"},
                     "QQ gha[54|12.3] dec[S|20|15.0] lat[N|40|0] lon[E|70|5] json exact",
                     ""},
        ArgumentCase{"MinusValues",
                     {"--lat", "N", "64", "-.04", "--gha", "-5", "-0", "--dec", "S", "-1", "-"},
                     "Q gha[-5|-0] dec[S|-1|-] lat[N|64|-.04] lon[W||]",
                     ""},
        ArgumentCase{"DashesAndEmptyTexts",
                     {"--gha", "--", "", "--lon", "W", "", "--"},
                     "Q gha[--|] dec[N||] lat[N||] lon[W||--]",
                     ""},
        ArgumentCase{"FirstValueAfterEquals",
                     {"--gha=-5", "30", "--method=QQ"},
                     "QQ gha[-5|30] dec[N||] lat[N||] lon[W||]",
                     ""},
        ArgumentCase{"BatchWithEntries",
                     {"--batch=-", "--lat", "N", "1", "2"},
                     "",
                     "--lat cannot be combined with --batch"},
        ArgumentCase{"EqualsThenTheRest",
                     {"--dec=S", "1", "2"},
                     "Q gha[|] dec[S|1|2] lat[N||] lon[W||]",
                     ""},
        ArgumentCase{"BatchFromStandardInput",
                     {"--json", "--batch", "-"},
                     std::string(noEntries) + " json batch=-",
                     ""},
        ArgumentCase{"BatchFileLooksLikeAnOption",
                     {"--batch", "-x.csv"},
                     std::string(noEntries) + " batch=-x.csv",
                     ""},
        ArgumentCase{"Version", {"--version"}, std::string(noEntries) + " version", ""},
        ArgumentCase{"ExerciseSheetOfABatch",
                     {"--blank", "--batch", "rows.csv", "--pdf", "-sheet.pdf"},
                     std::string(noEntries) + " batch=rows.csv pdf=-sheet.pdf blank",
                     ""},
        ArgumentCase{"BlankWithoutPdf", {"--blank"}, "", "--blank takes effect only with --pdf"},
        ArgumentCase{"PdfWithJson",
                     {"--pdf", "a.pdf", "--json"},
                     "",
                     "--json cannot be combined with --pdf"},
        ArgumentCase{"PdfWithExact",
                     {"--exact", "--pdf", "a.pdf"},
                     "",
                     "--exact cannot be combined with --pdf"},
        ArgumentCase{"PdfWithoutName", {"--pdf", ""}, "", "--pdf takes FILE"},
        ArgumentCase{"HelpWinsOverEntries",
                     {"--gha", "999", "0", "-h"},
                     std::string(noEntries) + " help",
                     ""},
        ArgumentCase{"DegreeAtBoundWithMinutes",
                     {"--lat", "S", "90", "30.0"},
                     "Q gha[|] dec[N||] lat[S|90|30.0] lon[W||]",
                     ""},
        ArgumentCase{"TooFewValuesAtTheEnd",
                     {"--dec", "N", "20"},
                     "",
                     "--dec takes N|S DEG MIN; give every value"},
        ArgumentCase{"TooFewValuesBeforeAnOption",
                     {"--dec", "N", "--lat", "N", "40", "0", "20", "15.0"},
                     "",
                     "--dec takes N|S DEG MIN: '--lat' stands where DEG should"},
        ArgumentCase{"TooFewValuesBeforeTheLastOption",
                     {"--lon", "E", "70", "--gha", "54", "12.3"},
                     "",
                     "--lon takes W|E DEG MIN: '--gha' stands where MIN should"},
        ArgumentCase{"Repeated",
                     {"--gha", "1", "2", "--gha", "3", "4"},
                     "",
                     "--gha is given more than once"},
        ArgumentCase{"RepeatedFlag", {"--json", "--json"}, "", "--json is given more than once"},
        ArgumentCase{"FlagWithValue", {"--json=yes"}, "", "--json takes no value"},
        ArgumentCase{"HelpAllIsNotOffered", {"--help-all"}, "", "unknown option '--help-all'"},
        ArgumentCase{"Stray", {"--gha", "1", "2", "3"}, "", "unexpected argument '3'"},
        ArgumentCase{"UnknownName",
                     {"--lon", "X", "10", "0"},
                     "",
                     "--lon takes W|E DEG MIN: the name is W or E, not 'X'"},
        ArgumentCase{"LowerCaseMethod", {"--method", "q"}, "", "--method takes Q or QQ, not 'q'"},
        ArgumentCase{"TooLong",
                     {"--gha", "7190", "0"},
                     "",
                     "--gha takes DEG MIN: DEG is at most 3 characters, not '7190'"},
        ArgumentCase{"MinutesAboveBound",
                     {"--lat", "N", "40", "60"},
                     "",
                     "--lat takes N|S DEG MIN: MIN is at most 59.9, not '60'"},
        ArgumentCase{"DecimalMinutesAboveBound",
                     {"--lat", "N", "39", "99.9"},
                     "",
                     "MIN is at most 59.9, not '99.9'"},
        ArgumentCase{"GhaAboveBound", {"--gha", "999", "0"}, "", "DEG is at most 719, not '999'"},
        ArgumentCase{"LongitudeAboveBound",
                     {"--lon", "E", "181", ""},
                     "",
                     "--lon takes W|E DEG MIN: DEG is at most 180"},
        ArgumentCase{"DeclinationAboveBound",
                     {"--dec", "S", "91", "0"},
                     "",
                     "--dec takes N|S DEG MIN: DEG is at most 90"},
        ArgumentCase{"Exercises",
                     {"--exercises", "20", "--method", "QQ", "--seed", "18446744073709551615"},
                     "QQ gha[|] dec[N||] lat[N||] lon[W||] exercises=20 "
                     "seed=18446744073709551615 methodGiven",
                     ""},
        ArgumentCase{"ExercisesWithEntries",
                     {"--exercises", "5", "--gha", "1", "2"},
                     "",
                     "--gha cannot be combined with --exercises"},
        ArgumentCase{"NoExercises",
                     {"--exercises", "0"},
                     "",
                     "--exercises takes N, a whole number from 1, not '0'"},
        ArgumentCase{"SeedWithoutExercises",
                     {"--seed", "5"},
                     "",
                     "--seed takes effect only with --exercises N"},
        ArgumentCase{
            "TableAsCsv", {"--csv", "--table", "QQ"}, std::string(noEntries) + " table=QQ csv", ""},
        ArgumentCase{"TableBooklet",
                     {"--table=Q", "--pdf", "q.pdf"},
                     std::string(noEntries) + " pdf=q.pdf table=Q",
                     ""},
        ArgumentCase{"TableOfNoMethod", {"--table", "x"}, "", "--table takes Q or QQ, not 'x'"},
        ArgumentCase{"TableWithASight",
                     {"--table", "Q", "--gha", "1", "2"},
                     "",
                     "--gha cannot be combined with --table"},
        ArgumentCase{"TableWithJson",
                     {"--json", "--table", "Q"},
                     "",
                     "--json cannot be combined with --table"},
        ArgumentCase{"TableAsCsvAndBooklet",
                     {"--table", "Q", "--csv", "--pdf", "q.pdf"},
                     "",
                     "--csv cannot be combined with --pdf"},
        ArgumentCase{"CsvWithoutTable",
                     {"--csv", "--batch", "-"},
                     "",
                     "--csv takes effect only with --table"},
        ArgumentCase{"HugeArgumentIsCut",
                     {"--method", std::string(100000, 'x')},
                     "",
                     "--method takes Q or QQ, not 'xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx...'"}),
    [](const testing::TestParamInfo<ArgumentCase>& info) { return std::string(info.param.name); });

TEST(ReadArguments, UsageProblemsStayShort) {
    const cli::ReadArguments result =
        cli::readArguments({"--lon", "W", "1", std::string(100000, '\x01')});
    ASSERT_FALSE(result.arguments);
    EXPECT_LT(result.problem.size(), 300u) << result.problem;
    EXPECT_NE(result.problem.find("\\x01"), std::string::npos) << result.problem;
}

// Texts around every bound: whole numbers 0 to 999, tenths about 59.9, and
// texts that read other than they look.
std::vector<std::string> textsAroundTheBounds() {
    std::vector<std::string> texts;
    for (int i = 0; i <= 999; ++i) {
        texts.push_back(std::to_string(i));
    }
    for (const char* text :
         {"",     ".",    "59.9", "59.95", "60.0", "60.", "5.99", "90.0", "90.1",
          "89.9", "-1",   "-999", "1E2",   "9E1",  "1D1", "&H5A", "&H5B", "&O777",
          "0 90", " 9 1", "91x",  "x91",   "-.04", "--",  "18E1", "72E1"}) {
        texts.push_back(text);
    }
    return texts;
}

struct FieldPlace {
    entry::FieldId field;
    const char* option;
    std::size_t valueIndex; // among the option's values
    std::size_t cell;       // in a batch row
};

constexpr std::array<FieldPlace, 8> fieldPlaces{{
    {entry::FieldId::GHADeg, "--gha", 0, 1},
    {entry::FieldId::GHAMin, "--gha", 1, 2},
    {entry::FieldId::DecDeg, "--dec", 1, 4},
    {entry::FieldId::DecMin, "--dec", 2, 5},
    {entry::FieldId::LDeg, "--lat", 1, 7},
    {entry::FieldId::LMin, "--lat", 2, 8},
    {entry::FieldId::LoDeg, "--lon", 1, 10},
    {entry::FieldId::LoMin, "--lon", 2, 11},
}};

// The command line and the batch refuse a text exactly when the window could
// not calculate with it: longer than its field, or a value the field's
// Validate rule holds the focus on. Compared with the window's own field
// model, for every field through both ways in.
TEST(RangeRule, RefusedExactlyWhereTheWindowHoldsTheFocus) {
    struct QuietAlerts : entry::Alerts {
        void message(std::string_view) override {}
        void beep() override {}
    } alerts;
    for (const FieldPlace& place : fieldPlaces) {
        const entry::FieldSpec& spec = entry::spec(place.field);
        for (const std::string& text : textsAroundTheBounds()) {
            entry::Fields window(alerts);
            window[place.field].text = text;
            const bool fits = text.size() <= static_cast<std::size_t>(spec.maxLength);
            const bool refused = !fits || window.validate(place.field);

            const bool gha = std::string_view(place.option) == "--gha";
            Args arguments =
                gha ? Args{place.option, "", ""}
                    : Args{place.option, std::string_view(place.option) == "--lon" ? "W" : "N", "",
                           ""};
            arguments[1 + place.valueIndex] = text;
            const cli::ReadArguments read = cli::readArguments(arguments);
            EXPECT_EQ(!read.arguments, refused) << spec.name << " '" << text << "'";
            if (!fits || !refused) {
                continue;
            }
            // Refused for its range: the message names the part and the bound.
            const std::string bound =
                "at most " + std::string(spec.toolTip.substr(spec.toolTip.rfind(' ') + 1));
            EXPECT_NE(read.problem.find(bound), std::string::npos) << read.problem;

            std::vector<std::string> cells(12);
            cells[place.cell] = text;
            std::string line;
            for (std::size_t i = 0; i < cells.size(); ++i) {
                line += (i == 0 ? "" : ",") + cells[i];
            }
            const cli::BatchRow row = cli::parseBatchRow(line);
            EXPECT_FALSE(row.input) << line;
            EXPECT_NE(row.problem.find(bound), std::string::npos) << row.problem;
        }
    }
}

TEST(Help, UsageLineOptionsThenProse) {
    const std::string help = cli::helpText();
    EXPECT_TRUE(help.starts_with("Usage: sightform ")) << help;
    for (const char* option :
         {"\n      --method Q|QQ ", "\n      --gha DEG MIN ", "\n      --dec N|S DEG MIN ",
          "\n      --batch FILE ", "\n  -h, --help ", "\n      --version ", "\nExit status:\n"}) {
        EXPECT_NE(help.find(option), std::string::npos) << option;
    }
    EXPECT_EQ(help.find("help-all"), std::string::npos);
    // Each field's length and bound, under the option that fills it.
    for (const char* limits : {"\n    --gha DEG +3 characters, at most 719\n",
                               "\n    --dec DEG +2 characters, at most 90\n",
                               "\n    --lat DEG +2 characters, at most 90\n",
                               "\n    --lon DEG +3 characters, at most 180\n",
                               "\n    every MIN +4 characters, at most 59.9\n"}) {
        EXPECT_TRUE(std::regex_search(help, std::regex(limits))) << limits;
    }
    EXPECT_EQ(cli::versionText(), "sightform " SIGHT_VERSION);
}

} // namespace
