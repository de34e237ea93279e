// SPDX-License-Identifier: MIT
#include "shell/menu_model.h"

#include <vector>

namespace pelmoravan {
namespace {

using enum TMenuItem;

const std::array<TMenuItemInfo, MenuItemCount> Infos = {{
    {"game1", std::nullopt, "Game", "", true, false},
    {"NewGame1", game1, "New Game", "F2", true, false},
    {"GameOver1", game1, "Pause Game ", "F3", true, false},
    {"EndGame1", game1, "EndGame", "", true, false},
    {"Level1", std::nullopt, "Setting", "", true, false},
    {"Level2", Level1, "Level", "", true, false},
    {"Easy1", Level2, "Easy", "", true, true},
    {"Normal1", Level2, "Normal", "", true, true},
    {"Hard1", Level2, "Hard", "", true, true},
    {"Sound1", Level1, "Sound", "", true, false},
    {"Music1", Sound1, "Music", "", true, true},
    {"BackgroundMusic1", Sound1, "Background Music", "", true, true},
    {"other1", std::nullopt, "Other", "", true, false},
    {"hint1", other1, "Hint", "F4", true, false},
    {"wash1", other1, "Wash", "F5", true, false},
    {"Language1", other1, "Language", "", false, false},
    {"Chinese1", Language1, "Chinese", "", true, true},
    {"English1", Language1, "English", "", true, true},
    {"Auto1", other1, "Auto", "", true, true},
    {"N2", other1, "Sequence", "", true, false},
    {"about", std::nullopt, "About", "", true, false},
    {"Exit1", std::nullopt, "Exit", "", true, false},
}};

} // namespace

const TMenuItemInfo& MenuItemInfo(TMenuItem item) {
    return Infos[static_cast<std::size_t>(item)];
}

bool HasChildren(TMenuItem item) {
    for (std::size_t i = 0; i < MenuItemCount; ++i) {
        if (MenuItemInfo(static_cast<TMenuItem>(i)).Parent == item) {
            return true;
        }
    }
    return false;
}

TMainMenuModel::TMainMenuModel() {
    for (std::size_t i = 0; i < MenuItemCount; ++i) {
        FItems[i].Caption = Infos[i].DesignCaption;
    }
}

void TMainMenuModel::game1Click(const TGame& game) {
    At(GameOver1).Caption = game.GameState == TGameState::Paused ? game.Messages[46] : game.Messages[21];
    At(NewGame1).Enabled = game.GameState == TGameState::Title;
    At(EndGame1).Enabled = game.GameState == TGameState::Playing;
    At(GameOver1).Enabled = game.GameState == TGameState::Playing || game.GameState == TGameState::Paused;
}

void TMainMenuModel::other1Click(const TGame& game) {
    At(hint1).Enabled = game.HintsLeft > 0;
    At(wash1).Enabled = game.ShufflesLeft > 0;
}

void TMainMenuModel::Level2Click(const TGame& game) {
    At(Easy1).Checked = game.Difficulty == 1;
    At(Normal1).Checked = game.Difficulty == 2;
    At(Hard1).Checked = game.Difficulty == 3;
}

void TMainMenuModel::Sound1Click(const TGame& game) {
    At(BackgroundMusic1).Checked = game.MusicOn;
    At(Music1).Checked = game.SoundOn;
}

void TMainMenuModel::Language1Click(const TGame& game) {
    At(Chinese1).Checked = game.Language == 0;
    At(English1).Checked = game.Language == 1;
}

void TMainMenuModel::OpenMenu(TMenuItem menu, const TGame& game) {
    switch (menu) {
    case game1: game1Click(game); break;
    case other1: other1Click(game); break;
    case Level2: Level2Click(game); break;
    case Sound1: Sound1Click(game); break;
    case Language1: Language1Click(game); break;
    default: break;
    }
}

bool TMainMenuModel::PrepareShortcut(TMenuItem item, const TGame& game) {
    std::vector<TMenuItem> parents;
    for (auto p = MenuItemInfo(item).Parent; p.has_value(); p = MenuItemInfo(*p).Parent) {
        parents.push_back(*p);
    }
    for (auto it = parents.rbegin(); it != parents.rend(); ++it) {
        OpenMenu(*it, game);
    }
    return Item(item).Enabled;
}

void TMainMenuModel::ApplyCaptions(const TGame& game) {
    const auto& m = game.Messages;
    At(game1).Caption = m[19];
    At(NewGame1).Caption = m[20];
    At(GameOver1).Caption = game.GameState == TGameState::Paused ? m[46] : m[21];
    At(Exit1).Caption = m[22];
    At(Level1).Caption = m[23];
    At(Level2).Caption = m[24];
    At(Easy1).Caption = m[25];
    At(Normal1).Caption = m[26];
    At(Hard1).Caption = m[27];
    At(Sound1).Caption = m[28];
    At(Music1).Caption = m[29];
    At(BackgroundMusic1).Caption = m[30];
    At(other1).Caption = m[31];
    At(hint1).Caption = m[32];
    At(wash1).Caption = m[33];
    At(Language1).Caption = m[34];
    At(Chinese1).Caption = m[35];
    At(English1).Caption = m[36];
    At(Auto1).Caption = m[37];
    At(about).Caption = m[39];
    At(N2).Caption = m[43];
    FWindowCaption = m[44];
    At(EndGame1).Caption = m[45];
}

} // namespace pelmoravan
