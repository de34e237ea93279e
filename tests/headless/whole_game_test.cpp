#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "headless/headless.h"
#include "host/game_host.h"
#include "headless/soft_pixels.h"
#include "shell/score_file.h"

namespace pelmoravan {
namespace {

// What a seed of 20261207 scores on Easy by auto-play: any change to the deal, the moves, the
// pair search, the timing or the scoring moves it.
constexpr std::int32_t kPinnedScore = 1020036;

TEST(Headless, AutoPlayTakesAWholeEasyDifficultyToItsScoreAndTheList) {
    const std::filesystem::path dir = std::filesystem::path(::testing::TempDir()) / "pelmoravan-headless";
    std::filesystem::remove_all(dir);
    THeadlessOptions options;
    options.Game.Seed = 20261207;
    options.Game.DataDir = dir.string();
    options.AssetsDir = PELMORAVAN_ASSETS_DIR;
    std::filesystem::create_directories(dir);
    TSoftPixels pixels(kHeadlessWidth, kHeadlessHeight, PELMORAVAN_FONT_FILE);
    ASSERT_TRUE(TGameHost::CheckScoreFile(options.Game.ScorePath(), [](const std::string&) {}));

    const THeadlessResult result = RunHeadless(options, pixels);

    EXPECT_TRUE(result.Finished);
    EXPECT_TRUE(result.Errors.empty()) << result.Errors.front();
    EXPECT_EQ(result.TicksWithoutFrame, 0);
    EXPECT_GT(result.Presented, 100);
    EXPECT_GT(result.Skipped, 0); // the paused-free play repeats frames, which cost nothing
    EXPECT_EQ(result.Score, kPinnedScore);
    // The name prompt took the default name, and the list keeps the score under it.
    std::ifstream file(dir / ScoreFileName, std::ios::binary);
    const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(file), {}};
    const auto entries = DecodeScoreFile(bytes.data(), bytes.size());
    ASSERT_TRUE(entries.has_value());
    EXPECT_EQ((*entries)[0], (TScoreEntry{"Default User", result.Score}));
    EXPECT_TRUE(std::filesystem::exists(dir / "back.MID")); // the music's file, though silent
    std::filesystem::remove_all(dir);
}

} // namespace
} // namespace pelmoravan
