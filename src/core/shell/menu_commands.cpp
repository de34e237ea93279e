#include "shell/menu_commands.h"

#include "shell/apply_language.h"

namespace pelmoravan {

void NewGame1Click(TGame& game) { game.StartGame(game.Difficulty); }

void TogglePause(TGame& game) {
    if (game.GameState == 1) {
        game.GameState = 2;
    } else if (game.GameState == 2) {
        game.GameState = 1;
    }
}

void EndGame(TGame& game) {
    if (game.GameState != 1) {
        return;
    }
    game.ClearPlay();
    game.GameState = 0;
}

void ChooseDifficulty(TGame& game, std::int32_t difficulty) {
    if (game.GameState == 0) {
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
