#pragma once

#include <cstdint>

namespace exercises {

// SplitMix64, the generator of Java's SplittableRandom (Steele, Lea and
// Flood, 2014): 64 bits of state and nothing but integer arithmetic, so a
// seed gives the same numbers on every platform and compiler, WebAssembly
// included. The standard library's distributions are left alone: their
// results differ from one library to the next.
class SplitMix64 {
  public:
    explicit SplitMix64(std::uint64_t seed) : state_(seed) {}

    std::uint64_t next() {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15u);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9u;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBu;
        return z ^ (z >> 31);
    }

    // A whole number from 0 to n - 1 (n at least 1), each equally likely:
    // the 2^64 mod n lowest draws are drawn again, so what is left divides
    // evenly by n.
    std::uint64_t below(std::uint64_t n) {
        const std::uint64_t uneven = (0 - n) % n;
        while (true) {
            const std::uint64_t x = next();
            if (x >= uneven) {
                return x % n;
            }
        }
    }

    // A whole number from low to high, both included.
    std::int64_t between(std::int64_t low, std::int64_t high) {
        return low + static_cast<std::int64_t>(below(static_cast<std::uint64_t>(high - low) + 1));
    }

    // True in chances out of every outOf.
    bool chance(std::uint64_t chances, std::uint64_t outOf) { return below(outOf) < chances; }

  private:
    std::uint64_t state_;
};

} // namespace exercises
