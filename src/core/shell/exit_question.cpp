// SPDX-License-Identifier: MIT
#include "shell/exit_question.h"

namespace pelmoravan {

void AskToExit(TGame& game, const std::string& question) {
    if (game.GameState != TGameState::Playing && game.GameState != TGameState::Paused) {
        game.Window.CloseWindow();
        return;
    }
    if (game.DialogShown) {
        return;
    }
    game.DialogShown = true;
    TRequest ask;
    ask.Kind = TRequestKind::YesNo;
    ask.Text = question;
    game.Host.Requests().Post(std::move(ask), [&game](const TAnswer& answer) {
        game.DialogShown = false;
        if (answer.Accepted) {
            game.Window.CloseWindow();
        }
    });
}

} // namespace pelmoravan
