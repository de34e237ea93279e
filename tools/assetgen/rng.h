// SPDX-License-Identifier: MIT
#pragma once
#include <cstdint>

namespace assetgen {

// A small generator with a fixed algorithm (SplitMix64), so that every run and every platform
// draws the same numbers; the standard distributions are not portable enough for that.
class Rng {
public:
    explicit Rng(std::uint64_t seed) : state_(seed) {}

    std::uint64_t Next() {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }

    // Uniform in [0, n); n > 0.
    int Below(int n) { return static_cast<int>(Next() % static_cast<std::uint64_t>(n)); }

    // Uniform in [0, 1).
    double Unit() { return static_cast<double>(Next() >> 11) * (1.0 / 9007199254740992.0); }

    // Uniform in [-1, 1).
    double Signed() { return Unit() * 2.0 - 1.0; }

    bool Chance(double p) { return Unit() < p; }

private:
    std::uint64_t state_;
};

}  // namespace assetgen
