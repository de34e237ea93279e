// SPDX-License-Identifier: MIT
// The scripted sessions against the desktop window, on Qt's offscreen platform: clicks and
// menu commands as the player gives them, dialogs read and answered through their widgets.
#include <QAction>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include <memory>

#include "desktop/media/dxdraw.h"
#include "desktop/shell/about_dialog.h"
#include "desktop/shell/main_menu.h"
#include "desktop/shell/scores_dialog.h"
#include "desktop/modal_helpers.h"
#include "host/game_host.h"
#include "last_pair.h"
#include "sessions.h"

namespace pelmoravan::conformance {
namespace {

using pelmoravan::testing::WatchedForm;

constexpr int kTicksAfterClick = 400;
constexpr int kTicksAfterAnswer = 20;

class TDesktopDriver final : public IDriver {
public:
    TDesktopDriver() { Open(true); }

    void StartOutOfOrder() override { Open(false); }
    void Deal() override { Menu(MenuItemInfo(TMenuItem::NewGame1).Name); }
    void Menu(const std::string& item) override {
        for (std::size_t i = 0; i < MenuItemCount; ++i) {
            if (item == MenuItemInfo(static_cast<TMenuItem>(i)).Name) {
                FForm->MainMenu1().Action(static_cast<TMenuItem>(i))->trigger();
                QCoreApplication::processEvents();
                return;
            }
        }
        ADD_FAILURE() << "no menu item " << item;
    }
    void Error(const std::string& text) override { FForm->Host().ReportError(text); }
    void LastPair() override {
        const auto pair = LeaveLastPair(FForm->Game());
        ASSERT_NE(pair[0], pair[1]) << "no pair on the board";
        for (const TPoint& at : pair) {
            QTest::mouseClick(FForm->DXDraw(), Qt::LeftButton, Qt::NoModifier, QPoint(at.X, at.Y));
        }
        TickUntilShown(kTicksAfterClick);
    }
    std::optional<TShown> Shown() override {
        QDialog* dialog = pelmoravan::testing::ShownDialog<QDialog>(*FForm, 0);
        if (dialog == nullptr) {
            return std::nullopt;
        }
        if (auto* box = qobject_cast<QMessageBox*>(dialog)) {
            const bool busy = box->button(QMessageBox::Cancel) != nullptr && box->button(QMessageBox::Ok) == nullptr;
            return TShown{box->icon() == QMessageBox::Question ? "question" : busy ? "busy" : "message",
                          box->text().toStdString(), {}};
        }
        if (auto* input = qobject_cast<QInputDialog*>(dialog)) {
            return TShown{"name", input->labelText().toStdString(), {}};
        }
        if (auto* list = qobject_cast<TfmScores*>(dialog)) {
            TShown shown{"list", {}, {}};
            if (QTreeWidgetItem* row = list->ListView1->topLevelItem(0)) {
                for (int column = 0; column < 3; ++column) {
                    shown.FirstRow.push_back(row->text(column).toStdString());
                }
            }
            return shown;
        }
        if (qobject_cast<TFormAbout*>(dialog) != nullptr) {
            return TShown{"about", {}, {}};
        }
        if (qobject_cast<QFileDialog*>(dialog) != nullptr) {
            return TShown{"save", {}, {}};
        }
        return TShown{"?", {}, {}};
    }
    void Answer(const std::string& how, const std::string& name) override {
        QDialog* dialog = pelmoravan::testing::ShownDialog<QDialog>(*FForm, 0);
        ASSERT_NE(dialog, nullptr) << "nothing to answer";
        const QPointer<QDialog> answered = dialog;
        if (auto* box = qobject_cast<QMessageBox*>(dialog)) {
            const auto button = how == "yes"  ? QMessageBox::Yes
                                : how == "no" ? QMessageBox::No
                                : how == "ok" ? QMessageBox::Ok
                                              : QMessageBox::Cancel;
            ASSERT_NE(box->button(button), nullptr) << "no button for " << how;
            box->button(button)->click();
        } else if (auto* input = qobject_cast<QInputDialog*>(dialog)) {
            if (how == "name") {
                input->setTextValue(QString::fromStdString(name));
                input->accept();
            } else {
                input->reject();
            }
        } else if (how == "cancel" || how == "no") {
            dialog->reject();
        } else {
            dialog->accept();
        }
        // The answer reaches the house on a later turn; then the next dialog shows, or none is left.
        ASSERT_TRUE(QTest::qWaitFor([&] {
            QDialog* shown = FForm->ShownRequest();
            return shown != nullptr ? answered.isNull() || shown != answered.data() : !FForm->Host().RequestOpen();
        }));
        TickUntilShown(kTicksAfterAnswer);
    }
    std::optional<int> Ended() override {
        if (!FForm->ExitCodes.empty()) {
            return FForm->ExitCodes.back();
        }
        // The Exit command closes the last window, which ends the program with code 0.
        return FForm->isVisible() ? std::nullopt : std::optional<int>(0);
    }
    std::string State() override {
        switch (FForm->Game().GameState) {
        case TGameState::Title: return "title";
        case TGameState::Playing: return "playing";
        case TGameState::Paused: return "paused";
        case TGameState::GameOver: return "game-over";
        }
        return "?";
    }
    int Score() override { return FForm->Game().Score; }

private:
    void Open(bool check) {
        FForm.reset();
        FDir = std::make_unique<QTemporaryDir>();
        TStartOptions options;
        options.Seed = 7;
        options.DataDir = FDir->path().toStdString();
        if (check) {
            ASSERT_TRUE(TGameHost::CheckScoreFile(options.ScorePath(), [](const std::string&) {}));
        }
        FForm = std::make_unique<WatchedForm>(options);
        FForm->DXTimer1().SetEnabled(false);
        FForm->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(FForm.get()));
        QCoreApplication::processEvents();
    }
    // The frame timer's ticks, up to ticks of them, until a dialog shows.
    void TickUntilShown(int ticks) {
        QCoreApplication::processEvents();
        for (int i = 0; i < ticks && FForm->ShownRequest() == nullptr && FForm->ExitCodes.empty(); ++i) {
            pelmoravan::testing::Tick(*FForm);
            QCoreApplication::processEvents();
        }
        if (FForm->ShownRequest() != nullptr) {
            pelmoravan::testing::ShownDialog<QDialog>(*FForm);
        }
    }

    std::unique_ptr<QTemporaryDir> FDir;
    std::unique_ptr<WatchedForm> FForm;
};

class DesktopConformance : public ::testing::TestWithParam<TSession> {};

TEST_P(DesktopConformance, PlaysTheSession) {
    TDesktopDriver driver;
    Play(GetParam(), driver);
}

INSTANTIATE_TEST_SUITE_P(Sessions, DesktopConformance, ::testing::ValuesIn(ReadSessions(PELMORAVAN_SESSIONS_FILE)),
                         [](const auto& info) { return "s" + std::to_string(info.index); });

} // namespace
} // namespace pelmoravan::conformance
