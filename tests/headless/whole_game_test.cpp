// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <functional>
#include <memory>
#include <set>
#include <string>
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

// Keeping frames never changes the game: with every 400th kept, the run is the run without
// (score, frames, ticks), each kept frame under its number in the run. A frame that cannot be
// written stops the run there, without an error thrown into the game; a folder that cannot take
// a file is told before the first tick.
TEST(Headless, KeptFramesNeverChangeTheGameAndTheFirstUnwritableOneStopsIt) {
    const std::filesystem::path dir = std::filesystem::path(::testing::TempDir()) / "pelmoravan-headless-frames";
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    THeadlessOptions options;
    options.Game.Seed = 20261207;
    options.Game.DataDir = dir.string();
    options.AssetsDir = PELMORAVAN_ASSETS_DIR;
    ASSERT_TRUE(TGameHost::CheckScoreFile(options.Game.ScorePath(), [](const std::string&) {}));
    const auto pixels = [] { return std::make_unique<TSoftPixels>(kHeadlessWidth, kHeadlessHeight, PELMORAVAN_FONT_FILE); };
    const auto names = [](const std::filesystem::path& folder) {
        std::set<std::string> found;
        for (const auto& entry : std::filesystem::directory_iterator(folder)) {
            found.insert(entry.path().filename().string());
        }
        return found;
    };
    const auto bytes = [](const std::filesystem::path& file) {
        std::ifstream in(file, std::ios::binary);
        return std::vector<char>{std::istreambuf_iterator<char>(in), {}};
    };

    const THeadlessResult plain = RunHeadless(options, *pixels());

    const std::filesystem::path kept = dir / "kept";
    std::filesystem::create_directory(kept);
    const auto keptPixels = pixels();
    TFrameWriter every(*keptPixels, kept.string(), 400);
    EXPECT_EQ(every.CheckFolder(), "");
    const THeadlessResult withFrames = RunHeadless(options, *keptPixels, std::ref(every));
    EXPECT_TRUE(withFrames.Finished);
    EXPECT_FALSE(withFrames.Stopped);
    EXPECT_EQ(withFrames.Score, plain.Score);
    EXPECT_EQ(withFrames.Presented, plain.Presented);
    EXPECT_EQ(withFrames.Skipped, plain.Skipped);
    EXPECT_EQ(withFrames.Ticks, plain.Ticks);
    std::set<std::string> expected;
    for (std::int64_t n = 1; n <= plain.Presented; n += 400) {
        const std::string digits = std::to_string(n);
        expected.insert(std::string(6 - digits.size(), '0') + digits + ".png");
    }
    EXPECT_EQ(names(kept), expected);
    EXPECT_EQ(every.Written(), static_cast<std::int64_t>(expected.size()));

    // The third frame's name is taken by a folder.
    const std::filesystem::path blocked = dir / "blocked";
    std::filesystem::create_directories(blocked / "000003.png");
    const auto blockedPixels = pixels();
    TFrameWriter all(*blockedPixels, blocked.string());
    const THeadlessResult stopped = RunHeadless(options, *blockedPixels, std::ref(all));
    EXPECT_TRUE(stopped.Stopped);
    EXPECT_FALSE(stopped.Finished);
    EXPECT_TRUE(stopped.Errors.empty()) << stopped.Errors.front();
    EXPECT_GE(stopped.Presented, 3); // the tick it failed in is played out
    EXPECT_LT(stopped.Ticks, 100);
    EXPECT_NE(all.Error().find((blocked / "000003.png").string()), std::string::npos) << all.Error();
    EXPECT_EQ(names(blocked), (std::set<std::string>{"000001.png", "000002.png", "000003.png"}));
    EXPECT_EQ(bytes(blocked / "000001.png"), bytes(kept / "000001.png"));

    TFrameWriter nowhere(*blockedPixels, "/proc/self");
    EXPECT_EQ(nowhere.CheckFolder().rfind("cannot write frames in \"/proc/self\": ", 0), 0u) << nowhere.CheckFolder();
    std::filesystem::remove_all(dir);
}

} // namespace
} // namespace pelmoravan
