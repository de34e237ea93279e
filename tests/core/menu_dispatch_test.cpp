#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "core/fakes.h"
#include "media/key_latch.h"
#include "shell/apply_language.h"
#include "shell/menu_dispatch.h"

namespace pelmoravan {
namespace {

using testing::GameFixture;
using enum TMenuItem;

// Records what the dispatch asks of the window, in order.
struct RecordingWindow final : IMenuWindow {
    std::vector<std::string> Calls;
    bool FailMusic = false;
    void SyncMenu() override { Calls.push_back("sync"); }
    void ApplyLanguage(std::uint8_t language) override { Calls.push_back("language " + std::to_string(language)); }
    void PlayMusic(bool start) override {
        Calls.push_back(start ? "music on" : "music off");
        if (FailMusic) {
            throw std::runtime_error("no track");
        }
    }
    void ShowScoreList() override { Calls.push_back("scores"); }
    void ShowAbout() override { Calls.push_back("about"); }
    void CloseWindow() override { Calls.push_back("close"); }
    void ReportCommandError(const std::string& message) override { Calls.push_back("error " + message); }
};

struct MenuDispatchTest : ::testing::Test {
    MenuDispatchTest() { ApplyLanguage(f.game, menu, 0); }
    GameFixture f;
    TMainMenuModel menu;
    RecordingWindow window;
    void Run(TMenuItem item) { RunMenuItem(item, f.game, menu, window); }
};

TEST_F(MenuDispatchTest, EachItemReachesTheWindowAsTheDesktopMenuDoes) {
    Run(N2);
    Run(about);
    Run(Exit1);
    Run(English1);
    EXPECT_EQ(window.Calls, (std::vector<std::string>{"scores", "about", "close", "language 1"}));
    EXPECT_EQ(f.game.Language, 1);

    window.Calls.clear();
    window.FailMusic = true;
    Run(BackgroundMusic1); // music was on: switched off, the player is told, its error shown
    EXPECT_FALSE(f.game.MusicOn);
    EXPECT_EQ(window.Calls, (std::vector<std::string>{"sync", "music off", "error no track"}));
}

TEST_F(MenuDispatchTest, OpeningAMenuRunsItsHandlerAndAutoPlaySetsItsCheckMark) {
    f.game.GameState = 1;
    Run(game1);
    EXPECT_FALSE(menu.Item(NewGame1).Enabled);
    EXPECT_TRUE(menu.Item(EndGame1).Enabled);
    f.game.GameState = 0; // the command does nothing here; the mark still follows the game's
    f.game.Auto1Checked = true;
    Run(Auto1);
    EXPECT_TRUE(menu.Item(Auto1).Checked);
    EXPECT_EQ(window.Calls, (std::vector<std::string>{"sync", "sync"}));
}

TEST(KeyLatchTest, APressBetweenTwoPollsCountsOnceAndAHeldKeyUntilReleased) {
    TKeyLatch keys;
    keys.Press(TKey::F9);
    keys.Release(TKey::F9);
    keys.Poll();
    EXPECT_TRUE(keys.KeyDown(TKey::F9));
    keys.Poll();
    EXPECT_FALSE(keys.KeyDown(TKey::F9));

    keys.Press(TKey::Escape);
    keys.Poll();
    keys.Poll();
    EXPECT_TRUE(keys.KeyDown(TKey::Escape));
    keys.LetGoAll();
    keys.Poll();
    EXPECT_FALSE(keys.KeyDown(TKey::Escape));
}

} // namespace
} // namespace pelmoravan
