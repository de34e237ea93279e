// SPDX-License-Identifier: MIT
#include "screen/status_lines.h"

#include <cstddef>

namespace pelmoravan {

namespace {

// The tables are filled by language; an index they do not cover reads as an empty text.
template <std::size_t N>
const std::string& TextAt(const std::array<std::string, N>& table, std::int32_t index) {
    static const std::string empty;
    return index >= 0 && static_cast<std::size_t>(index) < N ? table[static_cast<std::size_t>(index)]
                                                             : empty;
}

} // namespace

std::string TimeLine(const TGame& game, std::int32_t secondsLeft) {
    return game.Messages[10] + std::to_string(secondsLeft);
}

std::string HintLine(const TGame& game) {
    return game.Messages[11] + std::to_string(game.HintsLeft) + game.Messages[13];
}

std::string ShuffleLine(const TGame& game) {
    return game.Messages[12] + std::to_string(game.ShufflesLeft) + game.Messages[13];
}

const std::string& LevelName(const TGame& game, std::int32_t level) {
    return TextAt(game.LevelNames, level);
}

const std::string& RuleLine(const TGame& game) {
    if (game.Level == 10) {
        return game.Messages[42];
    }
    // On the turned board the tiles of a rule move across the screen the other way: left and
    // right become up and down, split and gather likewise, and back.
    if (game.BoardUpright && game.Level >= 2 && game.Level <= 9) {
        return TextAt(game.Messages, game.Level <= 5 ? game.Level + 4 : game.Level - 4);
    }
    return TextAt(game.Messages, game.Level);
}

std::string ScoreLine(const TGame& game) { return "Scores : " + std::to_string(game.Score); }

std::string BonusLine(const TGame& game) {
    if (game.BonusKind <= 0 || game.BonusKind >= 5) {
        return {};
    }
    return std::to_string(game.BonusAmount) + " " + TextAt(game.BonusNames, game.BonusKind);
}

std::string StatusAnnouncement(const TGame& game) {
    if (game.GameState != TGameState::Playing && game.GameState != TGameState::Paused) {
        return {};
    }
    const std::int32_t left = game.TimeLimit - game.ElapsedSeconds;
    const std::int32_t tens = left > 0 ? (left + 9) / 10 * 10 : 0;
    std::string text = LevelName(game, game.Level) + " " + RuleLine(game) + ". " + TimeLine(game, tens) + ". " +
                       HintLine(game) + ". " + ShuffleLine(game) + ". " + ScoreLine(game) + ".";
    const std::string bonus = BonusLine(game);
    if (!bonus.empty()) {
        text += " " + bonus + ".";
    }
    return text;
}

} // namespace pelmoravan
