// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <map>
#include <tuple>

#include "core/fakes.h"

namespace pelmoravan {
namespace {

using testing::GameFixture;

TEST(ScorePair, PaceDecidesTheGainRoundedHalfToEven) {
    GameFixture f;
    TGame& g = f.game;
    g.StartGame(1);
    ASSERT_EQ(g.PairPoints, 19);
    ASSERT_EQ(g.PairSeconds, 4);
    g.PairsRemoved = 1;
    g.ElapsedSeconds = 3;
    g.ScorePair(); // 4 / 3 * 19 = 25.33
    EXPECT_EQ(g.Score, 25);
    g.PairsRemoved = 2;
    g.ElapsedSeconds = 5;
    g.ScorePair(); // 8 / 5 * 19 = 30.4
    EXPECT_EQ(g.Score, 55);

    g.PairSeconds = 1;
    g.PairsRemoved = 1;
    g.ElapsedSeconds = 2;
    g.Score = 0;
    g.PairPoints = 5; // 2.5
    g.ScorePair();
    EXPECT_EQ(g.Score, 2);
    g.PairPoints = 7; // 3.5
    g.ScorePair();
    EXPECT_EQ(g.Score, 2 + 4);
}

TEST(ScorePair, ExactHalvesGoToEvenWhereADoubleWouldMissThem) {
    struct Case {
        std::int32_t pairPoints, pairSeconds, pairsRemoved, elapsed, gain;
    };
    // Easy levels 1 and 2, Normal level 1. A double quotient lands above the half in the first
    // two (11, 31) and below it in the last three (57, 127, 1).
    const Case cases[] = {{19, 4, 21, 152, 10}, {19, 4, 61, 152, 30}, {25, 6, 23, 60, 58},
                          {25, 6, 17, 20, 128},  {47, 4, 3, 376, 2}};
    for (const Case& c : cases) {
        GameFixture f;
        TGame& g = f.game;
        g.PairPoints = c.pairPoints;
        g.PairSeconds = c.pairSeconds;
        g.PairsRemoved = c.pairsRemoved;
        g.ElapsedSeconds = c.elapsed;
        g.Score = 1000;
        g.ScorePair();
        EXPECT_EQ(g.Score, 1000 + c.gain) << c.pairsRemoved << " pairs at " << c.elapsed << " s";
    }
}

TEST(ScorePair, BeforeTheFirstSecondTheClockMovesToOne) {
    GameFixture f;
    TGame& g = f.game;
    g.StartGame(1);
    g.PairsRemoved = 1;
    g.ElapsedSeconds = 0;
    g.ScorePair();
    EXPECT_EQ(g.ElapsedSeconds, 1);
    EXPECT_EQ(g.Score, 76);
}

// Seeds, found by replaying the generator, whose bonus draw lands on the wanted value.
std::uint32_t SeedFor(std::int32_t difficulty, std::int32_t draw, std::int32_t kind = -2) {
    for (std::uint32_t s = 1;; ++s) {
        TRandom r;
        r.Seed = s;
        if (1 + r.Random(50 * difficulty - 1) != draw) {
            continue;
        }
        if (kind == -2 || -1 + r.Random(8) == kind) {
            return s;
        }
    }
}

TEST(DrawBonus, OnlyADrawOfFourOrLessGrantsABonus) {
    for (std::int32_t difficulty = 1; difficulty <= 3; ++difficulty) {
        for (const std::int32_t draw : {1, 4, 5, 50 * difficulty - 1}) {
            GameFixture f;
            TGame& g = f.game;
            g.Difficulty = difficulty;
            g.BonusKind = 77; // any grant overwrites it
            f.seeds.Script = {SeedFor(difficulty, draw)};
            g.DrawBonus();
            EXPECT_EQ(g.BonusKind != 77, draw <= 4) << difficulty << " " << draw;
            EXPECT_EQ(f.seeds.Calls, 1); // one reseed, none between the draws
        }
    }
}

TEST(DrawBonus, TheChanceIsFourInFiftyTimesDifficultyLessOne) {
    // Each seed's next value lies just below (granted) or at (missed) 4 x 2^32 / (50d - 1): the
    // draw is 4 or 5 from random(50d - 1), while random(50d - 2) would grant both and
    // random(50d) or random(50d + 1) neither.
    const std::tuple<std::int32_t, std::uint32_t, bool> cases[] = {
        {1, 0xA0BBD4EEu, true}, {1, 0x7A0B7DBBu, false}, {2, 0x8F344643u, true},
        {2, 0x6883EF10u, false}, {3, 0x0BEF1A36u, true}, {3, 0xE53EC303u, false}};
    for (const auto& [difficulty, seed, granted] : cases) {
        GameFixture f;
        f.game.Difficulty = difficulty;
        f.game.BonusKind = 77; // any grant overwrites it
        f.seeds.Script = {seed};
        f.game.DrawBonus();
        EXPECT_EQ(f.game.BonusKind != 77, granted) << difficulty << " " << seed;
    }
}

TEST(GrantBonus, EachKindHasItsEffectAmountAndSound) {
    for (std::int32_t kind = -1; kind <= 6; ++kind) {
        for (const bool sound : {true, false}) {
            GameFixture f;
            TGame& g = f.game;
            g.StartGame(2);
            g.SoundOn = sound;
            g.Score = 1000;
            g.BonusAmount = -5;
            g.DisplayTicks = 17;
            const std::int32_t hints = g.HintsLeft;
            const std::int32_t shuffles = g.ShufflesLeft;
            const std::int32_t limit = g.TimeLimit;
            f.host.Sounds.clear();
            f.seeds.Script = {SeedFor(2, 3, kind)};
            g.DrawBonus();
            EXPECT_EQ(g.BonusKind, kind);
            EXPECT_EQ(g.HintsLeft, hints + (kind == 1 ? 1 : 0));
            EXPECT_EQ(g.ShufflesLeft, shuffles + (kind == 2 ? 1 : 0));
            EXPECT_EQ(g.DisplayTicks, 17); // a message already on screen keeps its count
            switch (kind) {
            case 1:
            case 2:
                EXPECT_EQ(g.BonusAmount, 1);
                break;
            case 3:
                EXPECT_GE(g.BonusAmount, 100);
                EXPECT_LE(g.BonusAmount, 999);
                break;
            case 4:
                EXPECT_GE(g.BonusAmount, 10);
                EXPECT_LE(g.BonusAmount, 29);
                break;
            default:
                EXPECT_EQ(g.BonusAmount, -5);
            }
            EXPECT_EQ(g.Score, 1000 + (kind == 3 ? g.BonusAmount : 0));
            EXPECT_EQ(g.TimeLimit, limit + (kind == 4 ? g.BonusAmount : 0));
            const bool event = kind >= 1 && kind <= 4 && sound;
            EXPECT_EQ(f.host.Sounds, event ? std::vector<std::string>{"event"}
                                           : std::vector<std::string>{});
        }
    }
}

TEST(GrantBonus, AmountsCoverTheirWholeRanges) {
    std::map<std::int32_t, std::pair<std::int32_t, std::int32_t>> range;
    GameFixture f;
    for (std::uint32_t s = 1; s < 20000; ++s) {
        f.game.Rng.Seed = s;
        f.game.GrantBonus();
        const std::int32_t k = f.game.BonusKind;
        if (k == 3 || k == 4) {
            auto [it, fresh] = range.try_emplace(k, f.game.BonusAmount, f.game.BonusAmount);
            it->second.first = std::min(it->second.first, f.game.BonusAmount);
            it->second.second = std::max(it->second.second, f.game.BonusAmount);
        }
    }
    EXPECT_EQ(range[3], std::make_pair(100, 999));
    EXPECT_EQ(range[4], std::make_pair(10, 29));
}

TEST(GrantBonus, ATimeBonusCarriesIntoTheNextLevelsPairSeconds) {
    GameFixture f;
    TGame& g = f.game;
    g.StartGame(1);
    g.TimeLimit += 40; // 520 s
    g.AdvanceLevel();
    EXPECT_EQ(g.PairSeconds, 6); // Rnd(520 / 80) = Rnd(6.5)
    EXPECT_EQ(g.TimeLimit, 480);
}

} // namespace
} // namespace pelmoravan
