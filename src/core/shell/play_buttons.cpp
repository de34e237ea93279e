// SPDX-License-Identifier: MIT
#include "shell/play_buttons.h"

namespace pelmoravan {

std::array<TPlayButton, 4> PlayButtons(const TMainMenuModel& menu, const TGame& game) {
    using enum TMenuItem;
    std::array<TPlayButton, 4> buttons{{{NewGame1, {}, false},
                                        {GameOver1, {}, false},
                                        {hint1, {}, false},
                                        {wash1, {}, false}}};
    for (TPlayButton& button : buttons) {
        TMainMenuModel probe = menu;
        button.Enabled = probe.PrepareShortcut(button.Item, game);
        button.Caption = probe.Item(button.Item).Caption;
    }
    // A finger's hint and shuffle act only on the board in play, and count only what a game in
    // progress has left: on the title and game-over screens a lit count would promise nothing.
    const bool inGame = game.GameState == TGameState::Playing || game.GameState == TGameState::Paused;
    for (const auto& [button, left] : {std::pair{&buttons[2], game.HintsLeft}, {&buttons[3], game.ShufflesLeft}}) {
        button->Enabled = button->Enabled && game.GameState == TGameState::Playing && left > 0;
        if (inGame) {
            // Appended piece by piece: GCC 12 at -O3 warns falsely about " " + a temporary.
            button->Caption.append(1, ' ').append(std::to_string(left));
        }
    }
    return buttons;
}

} // namespace pelmoravan
