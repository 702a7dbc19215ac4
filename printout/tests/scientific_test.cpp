#include "printout/scientific.h"

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <string>

#include <gtest/gtest.h>

namespace {

// snprintf, the integer writer and std::to_chars on the same double and
// precision: the same text, or all too large for the buffer.
void expectSameText(double value, int decimals, std::size_t room = 1000) {
    std::string standard(room, '\0');
    const auto s = std::to_chars(standard.data(), standard.data() + room, value,
                                 std::chars_format::scientific, decimals);
    for (const auto write :
         {printout::writeScientificBySnprintf, printout::writeScientificByIntegers}) {
        std::string fallback(room, '\0');
        const auto f = write(fallback.data(), fallback.data() + room, value, decimals);
        ASSERT_EQ(f.ec, s.ec) << value << " to " << decimals << " in " << room;
        ASSERT_EQ(f.ptr - fallback.data(), s.ptr - standard.data()) << value << " to " << decimals;
        if (s.ec == std::errc{}) {
            ASSERT_EQ(fallback.substr(0, static_cast<std::size_t>(f.ptr - fallback.data())),
                      standard.substr(0, static_cast<std::size_t>(s.ptr - standard.data())));
        }
    }
}

// Random doubles over the whole range, at every precision up to well past 17
// digits, with the worked form's 14 decimals for each.
TEST(WriteScientificBySnprintf, RandomDoublesWriteAsToChars) {
    std::mt19937_64 random(5840);
    std::uniform_int_distribution<int> precision(0, 30);
    for (int i = 0; i < 300000; ++i) {
        double value = std::bit_cast<double>(random());
        if (i % 2 == 0 && std::isfinite(value))
            value = std::ldexp(value, -std::ilogb(value)) * static_cast<double>(random() % 40000);
        expectSameText(value, 14);
        expectSameText(value, precision(random));
        if (HasFatalFailure())
            return;
    }
}

// Values whose exact binary expansion ends in a 5 just past the kept digits,
// where the rounding rule decides: both break the tie to even.
TEST(WriteScientificBySnprintf, ExactTiesWriteAsToChars) {
    for (int m = 1; m < 20000; ++m)
        for (int decimals = 0; decimals < 16; ++decimals) {
            expectSameText(m / 1024.0, decimals);
            expectSameText(-m * 0.5, decimals);
            if (HasFatalFailure())
                return;
        }
}

// The worked form's numbers, whose 15 digits the integer writer works out
// itself: every value near the edges of its range and of each power of ten,
// where the first guess of the decimal exponent is one low and where
// rounding carries into a new digit (9.99…95 to 1.00…0e+01).
TEST(WriteScientificBySnprintf, FormRangeWritesAsToChars) {
    std::mt19937_64 random(1984);
    for (int power = -14; power <= 16; ++power) {
        const double ten = std::pow(10.0, power);
        for (double near = std::nextafter(ten, 0.0), steps = 0; steps < 2000;
             near = std::nextafter(near, 1e300), ++steps)
            expectSameText(near, 14);
        for (int i = 0; i < 4000; ++i) {
            const double inside = ten * std::uniform_real_distribution<double>(1.0, 10.0)(random);
            expectSameText(inside, 14);
            expectSameText(inside, static_cast<int>(random() % 18));
        }
        if (HasFatalFailure())
            return;
    }
}

TEST(WriteScientificBySnprintf, EdgeValuesWriteAsToChars) {
    constexpr auto limits = std::numeric_limits<double>{};
    for (const double value : {0.0, -0.0, limits.min(), limits.denorm_min(), -limits.denorm_min(),
                               limits.max(), -limits.max(), limits.infinity(), -limits.infinity(),
                               limits.quiet_NaN(), 95.05, 2.675, 59.9, 1e21, 1e-5})
        for (const int decimals : {0, 1, 14, 17, 60, 200, 800}) {
            expectSameText(value, decimals);
            // Too little room, just enough, and one short.
            expectSameText(value, decimals, 3);
            expectSameText(value, decimals, 21);
        }
}

} // namespace
