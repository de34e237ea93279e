// SPDX-License-Identifier: MIT
#include "shell/apply_language.h"

#include <cstddef>

#include "shell/language_tables.h"

namespace pelmoravan {
namespace {

template <std::size_t N, std::size_t M>
void CopyTable(std::array<std::string, N>& target, const std::array<std::string_view, M>& source) {
    static_assert(M <= N, "a table must fit its array");
    for (std::size_t i = 1; i < M; ++i) {
        target[i] = source[i];
    }
}

} // namespace

void ApplyLanguageTexts(TGame& game, std::uint8_t language) {
    if (language == 0) {
        CopyTable(game.Messages, ChineseMessages);
        CopyTable(game.LevelNames, ChineseLevelNames);
        CopyTable(game.BonusNames, ChineseBonusNames);
    } else if (language == 1) {
        CopyTable(game.Messages, EnglishMessages);
        CopyTable(game.LevelNames, EnglishLevelNames);
        CopyTable(game.BonusNames, EnglishBonusNames);
    }
}

void ApplyLanguage(TGame& game, TMainMenuModel& menu, std::uint8_t language) {
    ApplyLanguageTexts(game, language);
    menu.ApplyCaptions(game);
}

} // namespace pelmoravan
