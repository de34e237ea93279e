#include "shell/exit_question.h"

namespace pelmoravan {

bool ExitConfirmed(TGame& game, const std::string& question) {
    if (game.GameState != TGameState::Playing && game.GameState != TGameState::Paused) {
        return true;
    }
    if (game.DialogShown) {
        return false;
    }
    game.DialogShown = true;
    bool yes = false;
    try {
        yes = game.Window.AskYesNo(question);
    } catch (...) {
        game.DialogShown = false;
        throw;
    }
    game.DialogShown = false;
    return yes;
}

} // namespace pelmoravan
