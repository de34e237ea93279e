// SPDX-License-Identifier: MIT
#pragma once
#include <cstdint>

#include "ports/seed_source.h"

namespace pelmoravan {

// The game's one random generator: a 32-bit linear congruential generator.
class TRandom {
public:
    explicit TRandom(ISeedSource* source = nullptr) : Source(source) {}

    std::uint32_t Seed = 0;
    ISeedSource* Source;

    // Takes the low 32 bits of the counter; without a source the seed stays as it is.
    void Reseed();
    // A uniform integer in 0..n-1 (0 when n is 0).
    std::int32_t Random(std::int32_t n);
};

// Reads the monotonic clock in nanoseconds, the nearest thing to the performance counter.
class TSteadyClockSeedSource final : public ISeedSource {
public:
    std::uint32_t Counter() override;
};

// The seeds of --seed N: N, then N + 1 and so on, one a reseed. A replay of the same moves
// reseeds at the same points and so gets the same game; unlike one fixed value, each reseed
// differs, or every exchange of a shuffle (two reseeds, one a pick) would pick one cell twice.
class TCountingSeedSource final : public ISeedSource {
public:
    explicit TCountingSeedSource(std::uint32_t first) : FNext(first) {}
    std::uint32_t Counter() override { return FNext++; }

private:
    std::uint32_t FNext;
};

} // namespace pelmoravan
