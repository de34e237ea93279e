#include "shell/exit_question.h"

namespace pelmoravan {

bool ExitConfirmed(TGame& game, const std::string& question) {
    if (game.GameState != 1 && game.GameState != 2) {
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
