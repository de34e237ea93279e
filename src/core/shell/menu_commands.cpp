// SPDX-License-Identifier: MIT
#include "shell/menu_commands.h"

#include "shell/apply_language.h"

namespace pelmoravan {

void NewGame1Click(TGame& game) { game.StartGame(game.Difficulty); }

void TogglePause(TGame& game) {
    TNews news;
    if (game.GameState == TGameState::Playing) {
        game.GameState = TGameState::Paused;
        news.Kind = TNewsKind::Paused;
    } else if (game.GameState == TGameState::Paused) {
        game.GameState = TGameState::Playing;
        news.Kind = TNewsKind::Resumed;
        // The words told before the pause were taken away with the board: where the cursor is.
        game.AddCursorCell(news);
    } else {
        return;
    }
    game.Host.Tell(news);
}

void EndGame(TGame& game) {
    if (game.GameState != TGameState::Playing) {
        return;
    }
    game.ClearPlay();
    game.GameState = TGameState::Title;
}

void ChooseDifficulty(TGame& game, std::int32_t difficulty) {
    if (game.GameState == TGameState::Title) {
        game.Difficulty = difficulty;
    }
}

void Easy1Click(TGame& game) { ChooseDifficulty(game, 1); }
void Normal1Click(TGame& game) { ChooseDifficulty(game, 2); }
void Hard1Click(TGame& game) { ChooseDifficulty(game, 3); }

void Music1Click(TGame& game) { game.SoundOn = !game.SoundOn; }

bool BackgroundMusic1Click(TGame& game) {
    game.MusicOn = !game.MusicOn;
    return game.MusicOn;
}

void Chinese1Click(TGame& game, TMainMenuModel& menu) {
    game.Language = 0;
    ApplyLanguage(game, menu, 0);
}

void English1Click(TGame& game, TMainMenuModel& menu) {
    game.Language = 1;
    ApplyLanguage(game, menu, 1);
}

} // namespace pelmoravan
