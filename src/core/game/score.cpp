// SPDX-License-Identifier: MIT
#include "game/game.h"
#include "game/rounding.h"

namespace pelmoravan {

// A steady fast pace earns most: the gain grows with the pairs already taken in the level and
// shrinks with the seconds spent on it.
void TGame::ScorePair() {
    if (ElapsedSeconds == 0) {
        ElapsedSeconds = 1; // the level clock itself: no division by zero
    }
    // PairsRemoved x PairSeconds / ElapsedSeconds x PairPoints, as one exact fraction.
    const std::int64_t points = static_cast<std::int64_t>(PairsRemoved) * PairSeconds * PairPoints;
    Score += static_cast<std::int32_t>(RndRatio(points, ElapsedSeconds));
}

void TGame::DrawBonus() {
    Rng.Reseed();
    const std::int32_t draw = 1 + Rng.Random(50 * Difficulty - 1);
    if (draw <= 4) {
        GrantBonus();
    }
}

void TGame::GrantBonus() {
    const std::int32_t k = -1 + Rng.Random(8);
    BonusKind = k;
    switch (k) {
    case 1:
        HintsLeft += 1;
        BonusAmount = 1;
        break;
    case 2:
        ShufflesLeft += 1;
        BonusAmount = 1;
        break;
    case 3: {
        const std::int32_t a = 100 + Rng.Random(900);
        Score += a;
        BonusAmount = a;
        break;
    }
    case 4: {
        const std::int32_t t = 10 + Rng.Random(20);
        TimeLimit += t;
        BonusAmount = t;
        break;
    }
    default:
        return; // nothing granted, and a message on screen ends with it
    }
    if (SoundOn) {
        Host.PlaySound("event");
    }
}

} // namespace pelmoravan
