#pragma once

// A sample of sights for the checker's properties: every pair of names, both
// methods and every longitude name, with the special rules both on and off,
// declinations and latitudes over their whole range up to 89°59.9', from a
// fixed seed so that every run checks the same sights.

#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "reduction/calculate.h"
#include "reduction/record.h"

namespace checktest {

struct SampledSight {
    reduction::ReductionInput input;
    reduction::ReductionRecord record;
};

inline std::string tenths(double x) {
    char text[16];
    std::snprintf(text, sizeof text, "%.1f", x);
    return text;
}

// perCombination complete sights for each method, declination name,
// latitude name and longitude name.
inline std::vector<SampledSight> sampledSights(int perCombination) {
    using reduction::Method;
    using reduction::NorthSouth;
    using reduction::WestEast;
    std::mt19937 random(20240607);
    const auto whole = [&](int below) {
        return std::uniform_int_distribution<int>(0, below - 1)(random);
    };
    const auto minutes = [&] { return tenths(whole(600) / 10.0); };
    std::vector<SampledSight> sights;
    for (const Method method : {Method::Q, Method::QQ}) {
        for (const NorthSouth decName : {NorthSouth::N, NorthSouth::S}) {
            for (const NorthSouth latName : {NorthSouth::N, NorthSouth::S}) {
                for (const WestEast loName : {WestEast::W, WestEast::E}) {
                    for (int found = 0, tried = 0; found < perCombination; ++tried) {
                        SampledSight s;
                        s.input.method = method;
                        s.input.decName = decName;
                        s.input.latName = latName;
                        s.input.loName = loName;
                        s.input.ghaDeg = std::to_string(whole(360));
                        s.input.ghaMin = minutes();
                        s.input.decDeg = std::to_string(whole(90));
                        s.input.decMin = minutes();
                        s.input.latDeg = std::to_string(whole(90));
                        s.input.latMin = minutes();
                        s.input.loDeg = std::to_string(whole(180));
                        s.input.loMin = minutes();
                        // The first six tries put the declination, the
                        // latitude or both at their bound.
                        if (tried < 6 && tried % 3 != 1) {
                            s.input.decDeg = "89";
                            s.input.decMin = "59.9";
                        }
                        if (tried < 6 && tried % 3 != 0) {
                            s.input.latDeg = "89";
                            s.input.latMin = "59.9";
                        }
                        if (reduction::calculateReduction(s.input, s.record).outcome ==
                            reduction::Outcome::Complete) {
                            sights.push_back(std::move(s));
                            ++found;
                        }
                    }
                }
            }
        }
    }
    return sights;
}

} // namespace checktest
