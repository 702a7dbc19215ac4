#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "entry/fields.h"

// sightform's options, one table that both the reading of a command line
// and the --help text are made from.

namespace cli {

enum class OptionId {
    Method,
    Gha,
    Dec,
    Lat,
    Lon,
    Json,
    Exact,
    Batch,
    Check,
    Tolerance,
    Pdf,
    Blank,
    Quiet,
    Exercises,
    Seed,
    Table,
    Csv,
    Help,
    Version
};

// One option: what follows it and how --help shows it. A new option is a row
// here and a line where readArguments interprets its values.
struct OptionSpec {
    OptionId id;
    std::string_view name;      // without "--"
    std::string_view shortName; // "-h", or empty
    std::string_view syntax;    // its values, as --help and usage errors show them
    std::size_t valueCount;
    std::string_view help;
};

inline constexpr std::array<OptionSpec, 19> optionSpecs{{
    {OptionId::Method, "method", "", "Q|QQ", 1, "table method: Q (default) or QQ"},
    {OptionId::Gha, "gha", "", "DEG MIN", 2, "GHA, or LHA with the longitude left empty or zero"},
    {OptionId::Dec, "dec", "", "N|S DEG MIN", 3, "declination: name N (default) or S"},
    {OptionId::Lat, "lat", "", "N|S DEG MIN", 3, "DR latitude: name N (default) or S"},
    {OptionId::Lon, "lon", "", "W|E DEG MIN", 3, "DR longitude: name W (default) or E"},
    {OptionId::Json, "json", "", "", 0, "print one JSON object (per row) instead of text"},
    {OptionId::Exact, "exact", "", "", 0, "add the exact solution and the table's differences"},
    {OptionId::Batch, "batch", "", "FILE", 1, "reduce every CSV row of FILE (- for stdin)"},
    {OptionId::Check, "check", "", "FILE", 1, "check the worked forms of FILE (- for stdin)"},
    {OptionId::Tolerance, "tolerance", "", "whole|tenths|exact", 1,
     "with --check: how far a table reading may stray"},
    {OptionId::Pdf, "pdf", "", "FILE", 1, "write answer sheets (--check: marked) to the PDF FILE"},
    {OptionId::Blank, "blank", "", "", 0, "with --pdf: an exercise sheet, without the values"},
    {OptionId::Quiet, "quiet", "", "", 0,
     "with --batch or --check: no progress line on a terminal"},
    {OptionId::Exercises, "exercises", "", "N", 1,
     "write N practice sights as CSV rows for --batch"},
    {OptionId::Seed, "seed", "", "SEED", 1, "with --exercises: the seed that makes the sights"},
    {OptionId::Table, "table", "", "Q|QQ", 1, "print the method's table, to work by hand from"},
    {OptionId::Csv, "csv", "", "", 0, "with --table: every entry as CSV (deg,min,value)"},
    {OptionId::Help, "help", "-h", "", 0, "show this help and exit"},
    {OptionId::Version, "version", "", "", 0, "show the version and exit"},
}};

// "--name".
inline std::string dashed(const OptionSpec& spec) {
    return "--" + std::string(spec.name);
}

// An angle option: the name list it may have and the two fields it fills.
struct AngleOption {
    OptionId id;
    std::optional<std::pair<std::string_view, std::string_view>> names;
    entry::FieldId degField;
    entry::FieldId minField;
};

inline constexpr std::array<AngleOption, 4> angleOptions{{
    {OptionId::Gha, std::nullopt, entry::FieldId::GHADeg, entry::FieldId::GHAMin},
    {OptionId::Dec, std::pair{"N", "S"}, entry::FieldId::DecDeg, entry::FieldId::DecMin},
    {OptionId::Lat, std::pair{"N", "S"}, entry::FieldId::LDeg, entry::FieldId::LMin},
    {OptionId::Lon, std::pair{"W", "E"}, entry::FieldId::LoDeg, entry::FieldId::LoMin},
}};

// The options that hold the entries of one sight.
inline bool isSightOption(OptionId id) {
    return id == OptionId::Method ||
           std::any_of(angleOptions.begin(), angleOptions.end(),
                       [id](const AngleOption& angle) { return angle.id == id; });
}

inline const OptionSpec& optionSpec(OptionId id) {
    return *std::find_if(optionSpecs.begin(), optionSpecs.end(),
                         [id](const OptionSpec& spec) { return spec.id == id; });
}

} // namespace cli
