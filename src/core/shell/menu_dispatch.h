#pragma once
#include <cstdint>
#include <string>

#include "game/game.h"
#include "shell/menu_model.h"

namespace pelmoravan {

// What the menu's commands ask of the window that shows the menu.
class IMenuWindow {
public:
    virtual ~IMenuWindow() = default;
    // Copies captions, enabled states and check marks from the model to the shown menu.
    virtual void SyncMenu() = 0;
    // The language's texts, the menu's captions and the window caption.
    virtual void ApplyLanguage(std::uint8_t language) = 0;
    virtual void PlayMusic(bool start) = 0;
    virtual void ShowScoreList() = 0;
    virtual void ShowAbout() = 0;
    virtual void CloseWindow() = 0;
    // An error inside a command: shown, and the game goes on.
    virtual void ReportCommandError(const std::string& message) = 0;
};

// What choosing an item does: a menu runs its opening handler, an item its command; the shown
// menu is brought up to date afterwards.
void RunMenuItem(TMenuItem item, TGame& game, TMainMenuModel& model, IMenuWindow& window);

} // namespace pelmoravan
