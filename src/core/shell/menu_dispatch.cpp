// SPDX-License-Identifier: MIT
#include "shell/menu_dispatch.h"

#include <exception>

#include "shell/dialog_texts.h"
#include "shell/exit_question.h"
#include "shell/language_tables.h"
#include "shell/menu_commands.h"

namespace pelmoravan {

TRequest AboutRequest() {
    TRequest about;
    about.Kind = TRequestKind::About;
    about.Caption = AboutCaption;
    about.Lines = {AboutTitle, AboutVersion, AboutHomePageLabel, AboutHomePage, AboutMailLabel, AboutMailAddress,
                   AboutHowToPlay};
    about.Button = AboutClose;
    return about;
}

void RunMenuItem(TMenuItem item, TGame& game, TMainMenuModel& model) {
    IGameWindow& window = game.Window;
    IGameHost& house = game.Host;
    auto guarded = [&house](auto command) {
        try {
            command();
        } catch (const std::exception& e) {
            house.ReportError(e.what());
        }
    };
    using enum TMenuItem;
    switch (item) {
    case game1:
    case other1:
    case Level2:
    case Sound1:
    case Language1:
        model.OpenMenu(item, game);
        break;
    case Level1:
        break;
    case NewGame1:
        guarded([&game] { NewGame1Click(game); });
        break;
    case GameOver1:
        TogglePause(game);
        break;
    case EndGame1:
        EndGame(game);
        break;
    case Easy1:
        Easy1Click(game);
        break;
    case Normal1:
        Normal1Click(game);
        break;
    case Hard1:
        Hard1Click(game);
        break;
    case Music1:
        Music1Click(game);
        break;
    case BackgroundMusic1: {
        const bool start = BackgroundMusic1Click(game);
        window.SyncMenu();
        guarded([&house, start] { house.PlayMusic(start); });
        return;
    }
    case hint1:
        guarded([&game] { game.hint1Click(); });
        break;
    case wash1:
        guarded([&game] { game.wash1Click(); });
        break;
    case Auto1:
        guarded([&game] { game.Auto1Click(); });
        model.SetChecked(Auto1, game.Auto1Checked);
        break;
    case Chinese1:
        Chinese1Click(game, model);
        house.ApplyLanguage(game.Language);
        return;
    case English1:
        English1Click(game, model);
        house.ApplyLanguage(game.Language);
        return;
    case N2:
        house.Run(house.UpdateScores(true, -1));
        return;
    case about:
        house.Requests().Post(AboutRequest());
        return;
    case Exit1:
        if (game.ExitAsks) {
            AskToExit(game, std::string(ControlTexts(game.Language).ExitQuestion));
        } else {
            window.CloseWindow();
        }
        return;
    }
    window.SyncMenu();
}

} // namespace pelmoravan
