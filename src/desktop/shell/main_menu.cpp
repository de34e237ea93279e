// SPDX-License-Identifier: MIT
#include "desktop/shell/main_menu.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QWidget>
#include <QWindow>

#include "desktop/shell/form1.h"

namespace pelmoravan {
namespace {

using enum TMenuItem;
using THandler = void (TMainMenu::*)();

// The handler of each item, in menu order; a menu's handler runs when it opens.
const std::array<THandler, MenuItemCount> Handlers = {
    &TMainMenu::game1Click,    &TMainMenu::NewGame1Click,        &TMainMenu::GameOver1Click,
    &TMainMenu::EndGame1Click, nullptr,                          &TMainMenu::Level2Click,
    &TMainMenu::Easy1Click,    &TMainMenu::Normal1Click,         &TMainMenu::Hard1Click,
    &TMainMenu::Sound1Click,   &TMainMenu::Music1Click,          &TMainMenu::BackgroundMusic1Click,
    &TMainMenu::other1Click,   &TMainMenu::hint1Click,           &TMainMenu::wash1Click,
    &TMainMenu::Language1Click, &TMainMenu::Chinese1Click,       &TMainMenu::English1Click,
    &TMainMenu::Auto1Click,    &TMainMenu::N2Click,              &TMainMenu::aboutClick,
    &TMainMenu::Exit1Click,
};

} // namespace

TMainMenu::TMainMenu(TForm1& form, QMenuBar& bar) : QObject(&form), FForm(form), FBar(bar) {
    Build(bar);
    qApp->installEventFilter(this);
}

TGame& TMainMenu::Game() const { return FForm.Game(); }
const TMainMenuModel& TMainMenu::Model() const { return FForm.Host().Menu(); }

void TMainMenu::Build(QMenuBar& bar) {
    bar.setObjectName(QStringLiteral("MainMenu1"));
    for (std::size_t i = 0; i < MenuItemCount; ++i) {
        const auto item = static_cast<TMenuItem>(i);
        const TMenuItemInfo& info = MenuItemInfo(item);
        const QString caption = QString::fromUtf8(info.DesignCaption);
        QMenu* parent = info.Parent.has_value() ? FMenus[Slot(*info.Parent)] : nullptr;
        const THandler handler = Handlers[i];
        QAction* action = nullptr;
        if (HasChildren(item)) {
            auto* menu = new QMenu(caption, parent != nullptr ? static_cast<QWidget*>(parent)
                                                              : static_cast<QWidget*>(&bar));
            menu->setObjectName(QString::fromLatin1(info.Name));
            action = parent != nullptr ? parent->addMenu(menu) : bar.addMenu(menu);
            FMenus[i] = menu;
            if (handler != nullptr) {
                connect(menu, &QMenu::aboutToShow, this, [this, handler] { (this->*handler)(); });
            }
        } else {
            action = new QAction(caption, parent != nullptr ? static_cast<QObject*>(parent)
                                                            : static_cast<QObject*>(&bar));
            action->setShortcut(QKeySequence(QString::fromLatin1(info.Shortcut)));
            action->setCheckable(info.CheckMark);
            if (parent != nullptr) {
                parent->addAction(action);
            } else {
                bar.addAction(action);
            }
            connect(action, &QAction::triggered, this, [this, handler] { (this->*handler)(); });
        }
        action->setObjectName(QString::fromLatin1(info.Name));
        action->setVisible(info.Visible);
        FActions[i] = action;
    }
    Sync();
}

void TMainMenu::Sync() {
    for (std::size_t i = 0; i < MenuItemCount; ++i) {
        const TMenuItemState& state = Model().Item(static_cast<TMenuItem>(i));
        QAction* action = FActions[i];
        action->setText(QString::fromStdString(state.Caption));
        action->setEnabled(state.Enabled);
        if (action->isCheckable()) {
            action->setChecked(state.Checked);
        }
    }
}

void TMainMenu::Run(TMenuItem item) { FForm.Host().MenuItem(item); }

void TMainMenu::game1Click() { Run(game1); }
void TMainMenu::other1Click() { Run(other1); }
void TMainMenu::Level2Click() { Run(Level2); }
void TMainMenu::Sound1Click() { Run(Sound1); }
void TMainMenu::Language1Click() { Run(Language1); }
void TMainMenu::NewGame1Click() { Run(NewGame1); }
void TMainMenu::GameOver1Click() { Run(GameOver1); }
void TMainMenu::EndGame1Click() { Run(EndGame1); }
void TMainMenu::Easy1Click() { Run(Easy1); }
void TMainMenu::Normal1Click() { Run(Normal1); }
void TMainMenu::Hard1Click() { Run(Hard1); }
void TMainMenu::Music1Click() { Run(Music1); }
void TMainMenu::BackgroundMusic1Click() { Run(BackgroundMusic1); }
void TMainMenu::hint1Click() { Run(hint1); }
void TMainMenu::wash1Click() { Run(wash1); }
void TMainMenu::Auto1Click() { Run(Auto1); }
void TMainMenu::Chinese1Click() { Run(Chinese1); }
void TMainMenu::English1Click() { Run(English1); }
void TMainMenu::N2Click() { Run(N2); }
void TMainMenu::aboutClick() { Run(about); }
void TMainMenu::Exit1Click() { Run(Exit1); }

bool TMainMenu::BelongsToWindow(QObject* object) const {
    if (auto* window = qobject_cast<QWindow*>(object)) {
        return window == FForm.windowHandle();
    }
    for (auto* w = qobject_cast<QWidget*>(object); w != nullptr; w = w->parentWidget()) {
        if (w == &FForm) {
            return true;
        }
    }
    return false;
}

std::optional<TMenuItem> TMainMenu::ShortcutItem(int key) {
    switch (key) {
    case Qt::Key_F2: return NewGame1;
    case Qt::Key_F3: return GameOver1;
    case Qt::Key_F4: return hint1;
    case Qt::Key_F5: return wash1;
    default: return std::nullopt;
    }
}

void TMainMenu::RunShortcut(TMenuItem item) { FForm.Host().MenuItem(item, true); }

void TMainMenu::OpenBar() {
    if (QAction* first = Action(game1); first != nullptr && first->isVisible() && first->isEnabled()) {
        FBar.setActiveAction(first);
    }
}

bool TMainMenu::eventFilter(QObject* watched, QEvent* event) {
    // Behind a modal dialog the window takes no commands.
    if (event->type() != QEvent::ShortcutOverride || !BelongsToWindow(watched) ||
        QApplication::activeModalWidget() != nullptr) {
        return false;
    }
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->modifiers() != Qt::NoModifier || !ShortcutItem(key->key())) {
        return false;
    }
    // Taken from the action's shortcut, so that the key comes as a key press, once. Here it
    // would not: with a screen reader listening, the toolkit holds each key back until the
    // reader lets it go, then sends it again, and the second sending overrides shortcuts anew.
    event->accept();
    return true;
}

} // namespace pelmoravan
