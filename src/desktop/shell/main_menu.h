// SPDX-License-Identifier: MIT
#pragma once
#include <QObject>
#include <array>
#include <cstdint>
#include <optional>

#include "shell/menu_model.h"

class QAction;
class QMenu;
class QMenuBar;

namespace pelmoravan {

class TForm1;
class TGame;

// The main menu MainMenu1 of the main window: one QAction (and QMenu for a submenu) per item,
// mirroring the house's menu model. The rules live in the model and in the commands; this class
// only wires them to Qt.
class TMainMenu : public QObject {
    Q_OBJECT
public:
    TMainMenu(TForm1& form, QMenuBar& bar);

    QAction* Action(TMenuItem item) const { return FActions[Slot(item)]; }
    QMenu* Menu(TMenuItem item) const { return FMenus[Slot(item)]; }
    const TMainMenuModel& Model() const;

    // Copies captions, enabled states and check marks from the model to the actions.
    void Sync();
    // The item a key runs from anywhere in the window (F2 to F5), if any.
    static std::optional<TMenuItem> ShortcutItem(int key);
    // Runs a shortcut's item, its menus' opening handlers first.
    void RunShortcut(TMenuItem item);
    // Opens the first menu of the bar, as F10 does.
    void OpenBar();

    // Handlers, one per item.
    void game1Click();
    void other1Click();
    void Level2Click();
    void Sound1Click();
    void Language1Click();
    void NewGame1Click();
    void GameOver1Click();
    void EndGame1Click();
    void Easy1Click();
    void Normal1Click();
    void Hard1Click();
    void Music1Click();
    void BackgroundMusic1Click();
    void hint1Click();
    void wash1Click();
    void Chinese1Click();
    void English1Click();
    void Auto1Click();
    void N2Click();
    void aboutClick();
    void Exit1Click();

protected:
    // F2 to F5 are the window's to run (TForm1::keyPressEvent), not their actions': the opening
    // handler of the item's menu runs before it is known whether the item is enabled, also when
    // the menu was never opened.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    static std::size_t Slot(TMenuItem item) { return static_cast<std::size_t>(item); }
    TGame& Game() const;
    bool BelongsToWindow(QObject* object) const;
    void Build(QMenuBar& bar);
    // Runs the item's handler as the core's dispatch has it.
    void Run(TMenuItem item);

    TForm1& FForm;
    QMenuBar& FBar;
    std::array<QAction*, MenuItemCount> FActions{};
    std::array<QMenu*, MenuItemCount> FMenus{};
};

} // namespace pelmoravan
