#include "exercises/exercises.h"

#include <charconv>
#include <random>
#include <utility>

namespace exercises {
namespace {

using reduction::Method;
using reduction::NorthSouth;
using reduction::ReductionInput;
using reduction::WestEast;
using Names = ExerciseStream::Names;
using Longitude = ExerciseStream::Longitude;

// Every angle is chosen in whole tenths of a minute.
constexpr std::int64_t tenthsPerMinute = 10;
constexpr std::int64_t tenthsPerDegree = 60 * tenthsPerMinute;
constexpr std::int64_t fullCircle = 360 * tenthsPerDegree;

template <typename T> using Share = std::array<T, blockSize>;

constexpr Share<Names> namesShare{
    Names::Ordinary, Names::Ordinary, Names::Ordinary, Names::TOver90,  Names::TOver90,
    Names::UOver90,  Names::UOver90,  Names::Contrary, Names::Contrary, Names::Contrary};
constexpr Share<NorthSouth> latitudeShare{
    NorthSouth::S, NorthSouth::S, NorthSouth::S, NorthSouth::N, NorthSouth::N,
    NorthSouth::N, NorthSouth::N, NorthSouth::N, NorthSouth::N, NorthSouth::N};
constexpr Share<Longitude> longitudeShare{
    Longitude::West,     Longitude::West,    Longitude::West,        Longitude::West,
    Longitude::East,     Longitude::East,    Longitude::EastPast360, Longitude::WestPast360,
    Longitude::LhaGiven, Longitude::LhaGiven};
constexpr Share<Method> methodShare{Method::Q,  Method::Q,  Method::Q,  Method::Q,  Method::Q,
                                    Method::QQ, Method::QQ, Method::QQ, Method::QQ, Method::QQ};

// Where the bodies and the ship are. The sun, the moon and the planets stay
// within 28°30' of the equator; the navigational stars used for this reach
// about 65 degrees. DR latitudes from 1 to 65 degrees; a body more than 90
// degrees from the meridian is above the horizon only from higher
// latitudes, with a larger declination of the same name.
constexpr std::int64_t wanderersDec = 28 * tenthsPerDegree + 30 * tenthsPerMinute;
constexpr std::int64_t starsDec = 65 * tenthsPerDegree;
constexpr std::int64_t lowestLat = 1 * tenthsPerDegree;
constexpr std::int64_t highestLat = 65 * tenthsPerDegree;
constexpr std::int64_t lowestLatOver90 = 20 * tenthsPerDegree;
constexpr std::int64_t lowestDecOver90 = 10 * tenthsPerDegree;
constexpr std::int64_t largestTOver90 = 140 * tenthsPerDegree;
constexpr std::int64_t rightAngle = 90 * tenthsPerDegree;
constexpr std::int64_t largestLongitude = 180 * tenthsPerDegree - 1;

template <typename T> Share<T> shuffled(Share<T> share, SplitMix64& random) {
    for (std::size_t i = share.size() - 1; i > 0; --i) {
        const auto j = static_cast<std::size_t>(random.below(i + 1));
        std::swap(share[i], share[j]);
    }
    return share;
}

NorthSouth other(NorthSouth name) {
    return name == NorthSouth::N ? NorthSouth::S : NorthSouth::N;
}

// Minutes as the almanac prints them and a navigator copies them, always
// with two whole digits: "06.5" for tenths, "06" for whole minutes.
std::string minutesText(std::int64_t tenths, bool wholeMinutes) {
    const std::int64_t whole = tenths / tenthsPerMinute;
    std::string text = (whole < 10 ? "0" : "") + std::to_string(whole);
    if (!wholeMinutes) {
        text += "." + std::to_string(tenths % tenthsPerMinute);
    }
    return text;
}

// An angle into its degree and minute texts.
void setAngle(std::string& degText, std::string& minText, std::int64_t tenths, bool wholeMinutes) {
    degText = std::to_string(tenths / tenthsPerDegree);
    minText = minutesText(tenths % tenthsPerDegree, wholeMinutes);
}

// A DR coordinate from low to high (tenths of a minute) as a navigator
// plots it: to whole minutes three times in four, otherwise to tenths.
std::pair<std::int64_t, bool> drCoordinate(SplitMix64& random, std::int64_t low,
                                           std::int64_t high) {
    const bool whole = random.chance(3, 4);
    if (whole) {
        const std::int64_t minutes = random.between(low / tenthsPerMinute, high / tenthsPerMinute);
        return {minutes * tenthsPerMinute, true};
    }
    return {random.between(low, high), false};
}

} // namespace

ExerciseStream::ExerciseStream(std::uint64_t seed, std::optional<Method> method)
    : random_(seed), method_(method) {}

void ExerciseStream::newBlock() {
    // Each share shuffled on its own, one after the other, so the cases meet
    // in every combination and the draws come in one fixed order.
    const Share<Names> names = shuffled(namesShare, random_);
    const Share<NorthSouth> latitudes = shuffled(latitudeShare, random_);
    const Share<Longitude> longitudes = shuffled(longitudeShare, random_);
    Share<Method> methods{};
    if (method_) {
        methods.fill(*method_);
    } else {
        methods = shuffled(methodShare, random_);
    }
    for (std::size_t i = 0; i < blockSize; ++i) {
        block_[i] = {names[i], latitudes[i], longitudes[i], methods[i]};
    }
    nextInBlock_ = 0;
}

std::optional<ReductionInput> ExerciseStream::candidate(const Case& sight) {
    // One draw to a statement: the order in which a compiler evaluates a
    // call's arguments is its own, and the draws must come in one order.
    ReductionInput in;
    in.method = sight.method;
    const bool tOver90 = sight.names == Names::TOver90;

    const std::int64_t t = tOver90 ? random_.between(rightAngle + 1, largestTOver90)
                                   : random_.between(1, rightAngle - 1);
    const bool westOfMeridian = random_.chance(1, 2);
    const std::int64_t lha = westOfMeridian ? t : fullCircle - t;

    const auto [lat, latWhole] =
        drCoordinate(random_, tOver90 ? lowestLatOver90 : lowestLat, highestLat);
    setAngle(in.latDeg, in.latMin, lat, latWhole);
    in.latName = sight.latitude;

    const bool wanderer = random_.chance(7, 10);
    const std::int64_t dec =
        random_.between(tOver90 ? lowestDecOver90 : 0, wanderer ? wanderersDec : starsDec);
    setAngle(in.decDeg, in.decMin, dec, false);
    in.decName = sight.names == Names::Contrary ? other(sight.latitude) : sight.latitude;

    if (sight.longitude == Longitude::LhaGiven) {
        setAngle(in.ghaDeg, in.ghaMin, lha, false);
        in.loName = WestEast::W;
        setAngle(in.loDeg, in.loMin, 0, true);
        return in;
    }
    const auto [lon, lonWhole] = drCoordinate(random_, tenthsPerDegree, largestLongitude);
    setAngle(in.loDeg, in.loMin, lon, lonWhole);
    const bool east =
        sight.longitude == Longitude::East || sight.longitude == Longitude::EastPast360;
    in.loName = east ? WestEast::E : WestEast::W;
    // GHA - Lo (west positive) gives the LHA; the almanac's GHA lies below
    // 360, except where the case asks for a sum past it: an east longitude
    // added past 360, or a star's GHA (GHA of Aries plus its SHA) left above
    // 360.
    std::int64_t gha = 0;
    switch (sight.longitude) {
    case Longitude::West:
        gha = (lha + lon) % fullCircle;
        break;
    case Longitude::East:
        gha = (lha - lon + fullCircle) % fullCircle;
        break;
    case Longitude::EastPast360:
        gha = lha - lon + fullCircle;
        break;
    case Longitude::WestPast360:
        // The star's GHA must stay within the field's 719°59.9'.
        if (lha + lon >= fullCircle) {
            return std::nullopt;
        }
        gha = lha + lon + fullCircle;
        break;
    case Longitude::LhaGiven:
        break;
    }
    setAngle(in.ghaDeg, in.ghaMin, gha, false);
    return in;
}

bool ExerciseStream::fits(const Case& sight, const ReductionInput& input) {
    reduction::ReductionRecord& r = record_;
    if (reduction::calculateReduction(input, r).outcome != reduction::Outcome::Complete) {
        return false;
    }
    if (!(r.Hc >= minAltitudeDeg && r.Hc <= maxAltitudeDeg)) {
        return false;
    }
    bool names = false;
    switch (sight.names) {
    case Names::Ordinary:
        names = r.sameNames && !r.tOver90 && !r.uOver90;
        break;
    case Names::TOver90:
        names = r.sameNames && r.tOver90;
        break;
    case Names::UOver90:
        names = r.sameNames && !r.tOver90 && r.uOver90;
        break;
    case Names::Contrary:
        names = !r.sameNames;
        break;
    }
    // The LHA is formed exactly as the reduction forms it, so the case is
    // decided by the same arithmetic.
    const bool past360 = r.GHA - r.Lo >= 360;
    const bool wraps =
        sight.longitude == Longitude::EastPast360 || sight.longitude == Longitude::WestPast360;
    return names && (past360 || !wraps);
}

ReductionInput ExerciseStream::next() {
    if (nextInBlock_ == blockSize) {
        newBlock();
    }
    const Case sight = block_[nextInBlock_++];
    // Drawn again until the reduction agrees. In every case three
    // candidates in ten or more fit, so this ends after a few tries.
    while (true) {
        std::optional<ReductionInput> in = candidate(sight);
        if (in && fits(sight, *in)) {
            return std::move(*in);
        }
    }
}

ReductionInput exercise(std::uint64_t seed, std::optional<Method> method) {
    return ExerciseStream(seed, method).next();
}

std::array<std::string, entry::fieldCount> fieldTexts(const ReductionInput& input) {
    return {input.ghaDeg, input.ghaMin, input.decDeg, input.decMin,
            input.latDeg, input.latMin, input.loDeg,  input.loMin};
}

std::optional<std::uint64_t> seedFromText(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) {
        text.remove_suffix(1);
    }
    if (text.empty() || text.front() < '0' || text.front() > '9') {
        return std::nullopt;
    }
    std::uint64_t seed = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), seed);
    if (error != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return seed;
}

std::uint64_t freshSeed() {
    constexpr std::uint64_t lowest = 100000;
    constexpr std::uint64_t count = 900000;
    std::random_device entropy;
    SplitMix64 mixed((std::uint64_t{entropy()} << 32) ^ entropy());
    return lowest + mixed.below(count);
}

} // namespace exercises
