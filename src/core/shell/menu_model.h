// SPDX-License-Identifier: MIT
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "game/game.h"

namespace pelmoravan {

// Every item of the main menu, in menu order.
enum class TMenuItem : std::uint8_t {
    game1, NewGame1, GameOver1, EndGame1,
    Level1, Level2, Easy1, Normal1, Hard1, Sound1, Music1, BackgroundMusic1,
    other1, hint1, wash1, Language1, Chinese1, English1, Auto1, N2,
    about, Exit1,
};
inline constexpr std::size_t MenuItemCount = 22;

struct TMenuItemState {
    std::string Caption;
    bool Enabled = true;
    bool Checked = false;
};

// What does not change while the program runs.
struct TMenuItemInfo {
    const char* Name;
    std::optional<TMenuItem> Parent;  // none for the items of the menu bar
    const char* DesignCaption;
    const char* Shortcut;             // "" when the item has none
    bool Visible;
    bool CheckMark;                   // shows a check mark
};

const TMenuItemInfo& MenuItemInfo(TMenuItem item);
// Whether the item is a menu: some item names it as its parent.
bool HasChildren(TMenuItem item);

// The state the main menu shows: captions, enabled items and check marks. Enabled states and
// check marks change only when a menu's opening handler runs and keep their values in between;
// before the first opening every item is enabled and unchecked.
class TMainMenuModel {
public:
    TMainMenuModel();

    const TMenuItemState& Item(TMenuItem item) const { return FItems[Slot(item)]; }
    const std::string& WindowCaption() const { return FWindowCaption; }

    // Opening handlers, run each time their menu opens.
    void game1Click(const TGame& game);
    void other1Click(const TGame& game);
    void Level2Click(const TGame& game);
    void Sound1Click(const TGame& game);
    void Language1Click(const TGame& game);
    // Runs the opening handler of a menu, if it has one.
    void OpenMenu(TMenuItem menu, const TGame& game);

    // A shortcut key of an item: runs the opening handlers of the item's parent menus, outermost
    // first, and tells whether the item is enabled afterwards, so whether its command may run.
    bool PrepareShortcut(TMenuItem item, const TGame& game);

    // Relabels the menu and the window from the game's Messages.
    void ApplyCaptions(const TGame& game);

    // The auto-play item's check mark is set by its command, not by an opening handler.
    void SetChecked(TMenuItem item, bool checked) { FItems[Slot(item)].Checked = checked; }

private:
    static std::size_t Slot(TMenuItem item) { return static_cast<std::size_t>(item); }
    TMenuItemState& At(TMenuItem item) { return FItems[Slot(item)]; }

    std::array<TMenuItemState, MenuItemCount> FItems;
    std::string FWindowCaption = "Pelmoravan";
};

} // namespace pelmoravan
