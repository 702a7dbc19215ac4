#include "cli/arguments.h"

#include <algorithm>
#include <string_view>
#include <vector>

#include "cli/batchrow.h"
#include "cli/checkreport.h"
#include "cli/options.h"
#include "cli/program.h"
#include "entry/fields.h"

// The --help and --version texts, made from the option table and the field
// rules, so that what --help says cannot drift from what is read.

namespace cli {

std::string versionText() {
    return std::string("sightform ") + SIGHT_VERSION;
}

namespace {

// Lines of --help are at most this long.
constexpr std::size_t helpWidth = 79;

// text as a paragraph indented by indent blanks, its lines broken between
// words, ending in "\n".
std::string paragraph(std::string_view text, std::size_t indent) {
    std::string out;
    std::string line(indent, ' ');
    while (!text.empty()) {
        const std::size_t space = text.find(' ');
        const std::string_view word = text.substr(0, space);
        text = space == std::string_view::npos ? std::string_view() : text.substr(space + 1);
        if (line.size() > indent && line.size() + 1 + word.size() > helpWidth) {
            out += line + "\n";
            line.assign(indent, ' ');
        }
        if (line.size() > indent) {
            line += ' ';
        }
        line += word;
    }
    return out + line + "\n";
}

// An item of a list: the tag, then the text from textColumn on (or two
// blanks after a longer tag), its further lines indented to match.
std::string tagged(std::string_view tag, std::string_view text, std::size_t indent,
                   std::size_t textColumn) {
    std::string head(indent, ' ');
    head += tag;
    const std::string body = paragraph(text, std::max(head.size() + 2, textColumn));
    return head + body.substr(head.size());
}

// The --method ... --lon options, "--a, --b and --c".
std::string sightOptionList() {
    std::vector<std::string> names;
    for (const OptionSpec& spec : optionSpecs) {
        if (isSightOption(spec.id)) {
            names.push_back(dashed(spec));
        }
    }
    std::string list;
    for (std::size_t i = 0; i < names.size(); ++i) {
        list += (i == 0 ? "" : i + 1 == names.size() ? " and " : ", ") + names[i];
    }
    return list;
}

std::string fieldLimits(const entry::FieldSpec& field) {
    return std::to_string(field.maxLength) + (field.maxLength == 1 ? " character" : " characters") +
           ", at most " + boundText(field.bound);
}

// Each angle option's degree field, then the minute fields, in one line
// when they are all alike.
std::string fieldLimitList() {
    constexpr std::size_t indent = 4;
    constexpr std::size_t column = 18;
    std::string list;
    for (const AngleOption& angle : angleOptions) {
        list += tagged(dashed(optionSpec(angle.id)) + " DEG",
                       fieldLimits(entry::spec(angle.degField)), indent, column);
    }
    const entry::FieldSpec& first = entry::spec(angleOptions.front().minField);
    const bool alike = std::all_of(angleOptions.begin(), angleOptions.end(), [&](const auto& a) {
        const entry::FieldSpec& minutes = entry::spec(a.minField);
        return minutes.maxLength == first.maxLength && minutes.bound == first.bound;
    });
    if (alike) {
        return list + tagged("every MIN", fieldLimits(first), indent, column);
    }
    for (const AngleOption& angle : angleOptions) {
        list += tagged(dashed(optionSpec(angle.id)) + " MIN",
                       fieldLimits(entry::spec(angle.minField)), indent, column);
    }
    return list;
}

std::string exitStatusList() {
    std::string list;
    for (const ExitStatusMeaning& exit : exitStatuses) {
        list += tagged(std::to_string(exit.status), exit.meaning, 2, 6);
    }
    return list;
}

} // namespace

// Laid out for help2man, which makes the manual page from it: the usage
// lines, each whole on one line; section headings ending in ":"; no double
// blank inside a sentence, which would read as the gap after a list's tag.
std::string helpText() {
    std::string text =
        "Usage: sightform [SIGHT OPTION]... [--json] [--exact]\n"
        "  or:  sightform --batch FILE|- [--json] [--exact] [--quiet]\n"
        "  or:  sightform [SIGHT OPTION]... --pdf FILE [--blank]\n"
        "  or:  sightform --batch FILE|- --pdf FILE [--blank] [--quiet]\n"
        "  or:  sightform --check FILE|- [--json] [--tolerance whole|tenths|exact]\n"
        "  or:  sightform --check FILE|- --pdf FILE [--tolerance whole|tenths|exact]\n"
        "  or:  sightform --exercises N [--seed SEED] [--method Q|QQ]\n"
        "  or:  sightform --table Q|QQ [--csv | --pdf FILE]\n"
        "  or:  sightform --help | --version\n";
    text += paragraph(
        "Works one sight reduction by the Q(x) or QQ(x) table method, as the "
        "sightcheck window does, and prints its worked form; with --batch, the "
        "form of every row of a file; with --check, marks the numbers of a navigator's own "
        "worked forms and names each slip; with --exercises, writes practice sights to work by "
        "hand; with --table, prints a method's table to work from by hand. The sight options are " +
            sightOptionList() + ".",
        0);
    text += "\nOptions:\n";
    constexpr std::size_t helpColumn = 26;
    for (const OptionSpec& spec : optionSpecs) {
        std::string left = spec.shortName.empty() ? "    " : std::string(spec.shortName) + ", ";
        left += dashed(spec);
        if (!spec.syntax.empty()) {
            left += " " + std::string(spec.syntax);
        }
        text += tagged(left, spec.help, 2, helpColumn);
    }

    text += "\nEntries:\n";
    text += paragraph(
        "DEG and MIN are field texts exactly as they would stand in the window's entry fields, "
        "read the same way. A text may be empty (\"\") and as long as its field. As in the "
        "window, a value above the field's bound is refused, while a degree field at exactly its "
        "bound is reduced with whatever minutes it has; negative values are not refused:",
        2);
    text += fieldLimitList();
    text += paragraph(
        "A missing option leaves its fields empty. Each option takes exactly the arguments that "
        "follow it, whatever they look like, so \"--lat N 64 -.04\" and \"--gha -5 \"\"\" are "
        "read as written. An option's first value may also be given as --option=VALUE. Too few "
        "values, a text longer than its field, a value above its bound, an unknown name or "
        "method, an option given twice, or an unknown option is a usage error.",
        2);

    text += "\nOutput:\n";
    text += paragraph(
        "The worked-form lines go to stdout. \"Check your data.\" (the body is below the horizon "
        "or the entries do not belong together) goes to stderr with nothing on stdout; so does a "
        "line saying that the entries cannot be reduced and why (no table value exists for a "
        "step).",
        2);
    text += "\n";
    text += paragraph("With --json, one JSON object instead, with these keys, written in the "
                      "order of their characters (upper case first):",
                      2);
    constexpr std::size_t keyColumn = 13;
    text +=
        tagged("outcome", "\"complete\", \"check-data\" or \"arithmetic-failure\"", 4, keyColumn);
    text += tagged("message", "null, or the message", 4, keyColumn);
    text += tagged(
        "record",
        "every field of the reduction record under its own name (GHA, Lo, LHA, LHADeg, LHAMin, "
        "..., Z, ZUsed, Zn): degrees as integers, flags as booleans, other values as shortest "
        "round-trip numbers (null if not finite)",
        4, keyColumn);
    text += tagged("form", "the printed lines (empty unless complete)", 4, keyColumn);
    text += paragraph(
        "With --exact, a complete calculation also gets the exact solution of the same LHA, "
        "latitude and declination by spherical trigonometry and the table method's differences "
        "from it (table minus exact): two lines after the form, or in JSON \"exact\": {\"Hc\", "
        "\"Zn\" (degrees), \"dHcArcmin\", \"dZnDeg\"}, with Zn and dZnDeg null where no azimuth "
        "exists (body at the zenith).",
        2);

    text += "\nBatch format:\n";
    const std::string method(batchColumns.front().name);
    text += paragraph("With --batch FILE (- for standard input), every line of FILE is one sight, "
                      "in CSV and UTF-8, with these cells in this order; a first line that begins "
                      "with \"" +
                          method + "\" in any letter case, or that has a cell \"" + method +
                          "\", is a header:",
                      2);
    text += paragraph(batchHeader(", "), 4);
    text += paragraph(
        "A header that names all twelve columns lays out the rows as a class file of --check "
        "(see Class files): other columns may stand among them and are carried to each row's "
        "output, and the value columns of --check are not read. Any other header is skipped. "
        "Empty cells are empty fields; an empty method or name cell takes its default; methods "
        "and names may be written in lower case. Blanks "
        "around a cell are dropped; a cell may be quoted with double quotes, and then keeps its "
        "blanks. Blank lines are skipped; rows are numbered by their line in the file, and each "
        "is reduced on its own. Text output: per row a block that begins with \"Row N:\", then "
        "the worked form, or the message on the same line, and ends with an empty line. With "
        "--json: one object per row and line, with its \"row\". A malformed row (wrong cells, a "
        "value out of range, a control character, bytes that are not UTF-8) gives \"Row N: "
        "problem\" (JSON: {\"error\": ..., \"row\": N}) and reading goes on. A UTF-16 file is "
        "refused as a whole: save it as UTF-8. While standard error is a terminal, a line there "
        "shows the rows done, the rate and the time left, unless --quiet is given.",
        2);

    text += "\nSheets:\n";
    text += paragraph(
        "With --pdf FILE the worked forms go to FILE as PDF instead: two sights to a page (A4, or "
        "Letter under a US locale), each under its row number and its entries, for an "
        "instructor's answer sheet. A sight that is not complete, or a malformed row, shows its "
        "message in its place. With --blank the sheet keeps the entries and the form's labels "
        "and formulas but leaves out every computed value: an exercise sheet to fill in by hand. "
        "Nothing is printed on stdout; the messages of a single sight still go to stderr, and the "
        "exit status is the same as without --pdf.",
        2);

    text += "\nExercises:\n";
    text += paragraph(
        "With --exercises N, N practice sights go to stdout as the CSV that --batch reads, header "
        "first: entries as a navigator copies them from the almanac and the DR, GHA and "
        "declination to a tenth of a minute, DR latitude and longitude to whole or tenth "
        "minutes. Every sight reduces completely, with Hc from 5 to 85 degrees. Every ten rows "
        "hold each rule of the method a fixed number of times: t over 90 and u over 90 twice "
        "each, contrary names three times, a south latitude three times, an east longitude three "
        "times, GHA and longitude past 360 twice, the LHA given as GHA with the longitude 0 twice, "
        "and each method five times unless --method chooses one. The same SEED (a whole number "
        "from 0 to 18446744073709551615) gives the same sights everywhere, the window's and the "
        "web page's New Exercise included, whose sight is the first row of the seed; without "
        "--seed, sightform chooses one and names it on stderr.",
        2);

    text += checkHelpText();

    text += "\nClass files:\n";
    text += paragraph(
        "A file with a header, as --check reads it and --batch where its header names the entry "
        "columns, is read as spreadsheets save CSV. Column names match in any letter case (hc, "
        "ZN). Any column that is not an entry or value column, such as student, name or id, may "
        "stand before, between or after them; its cells are carried to each row's output: in "
        "text as \"Row 2 (student: Ann Lee):\", in JSON as \"columns\": {\"student\": \"Ann "
        "Lee\"}, and on a sheet after the row number. A column whose header cell is empty is not "
        "read, and empty cells past the last column of the header are dropped. A header line "
        "with more semicolons than commas makes the file semicolon-separated, as a spreadsheet "
        "saves CSV where the comma is the decimal mark; in such a file a comma in an entry or "
        "value cell is the decimal point, so 12,3 is 12.3 minutes. Lines may end in CR LF, and "
        "the file may begin with a UTF-8 byte order mark.",
        2);

    text += "\nTables:\n";
    text += paragraph(
        "With --table Q or --table QQ, the method's table as a navigator reads it by hand, in "
        "pages of text on stdout: a first page on reading it both ways, with a look-up each way "
        "and how close a reading comes; a page for the first degree, whose entries stand closer "
        "than a minute where the values change too fast to interpolate over a whole minute; "
        "then ten degrees a page, every minute, with d, the fall to the next minute. Every value "
        "is the program's table value rounded to a whole number, the reading the "
        "default --tolerance whole assumes. A value read with one interpolation is within 0.5 "
        "of the program's; an angle, within 0.1' of an angle whose value is within 0.5.",
        2);
    text += "\n";
    text += paragraph(
        "With --pdf FILE, the same pages as a booklet (A4, or Letter under a US locale), "
        "each page headed with what it covers. With --csv, every printed entry as a line of "
        "CSV under the header \"deg,min,value\": whole degrees, minutes (with a decimal where "
        "the step is finer than 1'), the whole value.",
        2);

    text += "\nExit status:\n";
    text += exitStatusList();
    return text;
}

} // namespace cli
