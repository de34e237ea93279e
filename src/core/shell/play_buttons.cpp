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
    buttons[2].Caption += " " + std::to_string(game.HintsLeft);
    buttons[3].Caption += " " + std::to_string(game.ShufflesLeft);
    return buttons;
}

} // namespace pelmoravan
