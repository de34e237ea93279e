// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

#include "core/file_size_limit.h"
#include "core/screen_fixture.h"
#include "media/binary_file.h"

namespace pelmoravan {
namespace {

// Writes bytes to a fresh file in the temporary folder under a file size limit of 100 bytes,
// so that the system takes only part of them; returns the error the file layer reports.
std::string WriteOverTheSizeLimit(std::size_t bytes) {
    const std::filesystem::path path =
        std::filesystem::temp_directory_path() / ("pelmoravan-limit-" + std::to_string(::getpid()));
    std::string error = "no error";
    {
        const TFileSizeLimit limit(100);
        try {
            TBinaryFile file(path.string(), TFileMode::Create);
            const std::vector<std::uint8_t> data(bytes, 0x5A);
            file.WriteBuffer(data.data(), data.size());
            file.Close();
        } catch (const EFileError& e) {
            error = e.what();
        }
    }
    std::filesystem::remove(path);
    return error;
}

TEST(StreamWriteError, AWriteThatCannotLandIsReportedWhetherBufferedOrNot) {
    // A score file's 593 bytes fail only when the file is closed; a large write fails at once.
    EXPECT_EQ(WriteOverTheSizeLimit(593), "Stream write error");
    EXPECT_EQ(WriteOverTheSizeLimit(1 << 20), "Stream write error");
    EXPECT_EQ(WriteOverTheSizeLimit(50), "no error");
}

struct ScoreOfferError : testing::ScreenFixture {};

TEST_F(ScoreOfferError, AtTheEndOfADifficultyIsShownThenTadaAndTheQuestionComeAndPlayGoesOn) {
    std::vector<std::string> seen;
    // As the window does: the offer's file error goes to a message box, and the offer returns.
    host.OnUpdateScores = [&] { seen.push_back(WriteOverTheSizeLimit(593)); };
    host.OnQuestion = [&] {
        seen.insert(seen.end(), host.Sounds.begin(), host.Sounds.end());
        seen.push_back("question");
        Ticks(3); // ticks while the box is open only present the surface
    };
    host.Answers = {true};
    game.Messages[40] = "Congratulation!Next Level?";
    game.StartGame(1);
    game.Level = 10;
    game.Score = 4321;
    host.Sounds.clear();
    ClearBoard();
    Ticks(5); // the pause after the last pair, then the end of the difficulty
    host.AnswerAll();
    EXPECT_EQ(seen, (std::vector<std::string>{"Stream write error", "tada", "question"}));
    ASSERT_EQ(host.Offers.size(), 1u);
    EXPECT_EQ(host.Offers[0].Score, 4321);
    // Not frozen: Normal level 1 is on and its clock runs.
    EXPECT_FALSE(game.DialogShown);
    EXPECT_EQ(game.GameState, TGameState::Playing);
    EXPECT_EQ(game.Difficulty, 2);
    EXPECT_EQ(game.ElapsedSeconds, 0);
    Ticks(10);
    EXPECT_EQ(game.ElapsedSeconds, 1);
    EXPECT_EQ(LiveSprites(), 192);
}

} // namespace
} // namespace pelmoravan
