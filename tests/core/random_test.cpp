// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include "core/fakes.h"
#include "game/random.h"
#include "game/rounding.h"

namespace pelmoravan {
namespace {

TEST(Random, FollowsTheLinearCongruentialSequence) {
    TRandom rng;
    rng.Seed = 1;
    // seed: 1 -> 134775814 -> 134775814*134775813+1 mod 2^32
    EXPECT_EQ(rng.Random(100), static_cast<std::int32_t>((134775814ull * 100) >> 32));
    EXPECT_EQ(rng.Seed, 134775814u);
    const std::uint32_t next = 134775814u * 134775813u + 1u;
    EXPECT_EQ(rng.Random(99), static_cast<std::int32_t>((static_cast<std::uint64_t>(next) * 99) >> 32));
    EXPECT_EQ(rng.Seed, next);
}

TEST(Random, WrapsModulo2To32AndStaysInRange) {
    TRandom rng;
    rng.Seed = 0xFFFFFFFFu;
    rng.Random(10);
    EXPECT_EQ(rng.Seed, 0xFFFFFFFFu * 134775813u + 1u);
    for (int i = 0; i < 10000; ++i) {
        const auto v = rng.Random(16);
        ASSERT_GE(v, 0);
        ASSERT_LT(v, 16);
    }
}

TEST(Random, ReseedTakesTheCounterValue) {
    testing::FakeSeedSource source;
    source.Script = {777u};
    TRandom rng(&source);
    rng.Seed = 5;
    rng.Reseed();
    EXPECT_EQ(rng.Seed, 777u);
    // Same seed, same draw: a deal can be replayed.
    TRandom other;
    other.Seed = 777u;
    EXPECT_EQ(rng.Random(99), other.Random(99));
}

TEST(Rounding, HalvesGoToTheEvenNeighbour) {
    EXPECT_EQ(Rnd(4.5), 4);
    EXPECT_EQ(Rnd(5.5), 6);
    EXPECT_EQ(Rnd(4.4999), 4);
    EXPECT_EQ(Rnd(4.5001), 5);
    EXPECT_EQ(Rnd(0.5), 0);
    EXPECT_EQ(Rnd(57.291666), 57);
    EXPECT_EQ(Rnd(-1.5), -2);
    EXPECT_EQ(RndRatio(5, 2), 2);
    EXPECT_EQ(RndRatio(7, 2), 4);
    EXPECT_EQ(RndRatio(10, 4), 2);
    EXPECT_EQ(RndRatio(11, 4), 3);
    EXPECT_EQ(RndRatio(-3, 2), -2);
    EXPECT_EQ(RndRatio(-5, 2), -2);
    EXPECT_EQ(RndRatio(-7, 3), -2);
}

} // namespace
} // namespace pelmoravan
