// SPDX-License-Identifier: MIT
// The scripted sessions against the headless front end, in process.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <unistd.h>

#include "headless/session.h"
#include "headless/soft_pixels.h"
#include "host/game_host.h"
#include "last_pair.h"
#include "sessions.h"

namespace pelmoravan::conformance {
namespace {

// Clock steps a click may take before what it leads to shows (the pair's leaving and the
// level's banner), and an answer (the name's writing).
constexpr int kStepsAfterClick = 400;
constexpr int kStepsAfterAnswer = 20;

std::string KindName(TRequestKind kind) {
    switch (kind) {
    case TRequestKind::YesNo: return "question";
    case TRequestKind::NameEntry: return "name";
    case TRequestKind::ScoreList: return "list";
    case TRequestKind::Message: return "message";
    case TRequestKind::About: return "about";
    case TRequestKind::SaveFile: return "save";
    case TRequestKind::ScoreBusy: return "busy";
    case TRequestKind::StartError: return "message";
    }
    return "?";
}

class THeadlessDriver final : public IDriver {
public:
    explicit THeadlessDriver(const std::filesystem::path& dir) : FDir(dir), FPixels(kHeadlessWidth, kHeadlessHeight, PELMORAVAN_FONT_FILE) {
        std::filesystem::remove_all(FDir);
        std::filesystem::create_directories(FDir / "checked");
        Open(FDir / "checked", true);
    }
    ~THeadlessDriver() override {
        FSession.reset();
        std::filesystem::remove_all(FDir);
    }

    void StartOutOfOrder() override { Open(FDir / "unchecked", false); }
    void Deal() override {
        Host().MenuItem(TMenuItem::NewGame1);
        Settle(0);
    }
    void Menu(const std::string& item) override {
        for (std::size_t i = 0; i < MenuItemCount; ++i) {
            if (item == MenuItemInfo(static_cast<TMenuItem>(i)).Name) {
                Host().MenuItem(static_cast<TMenuItem>(i));
                Settle(0);
                return;
            }
        }
        ADD_FAILURE() << "no menu item " << item;
    }
    void Error(const std::string& text) override { Host().ReportError(text); }
    void LastPair() override {
        const auto pair = LeaveLastPair(Host().Game());
        ASSERT_NE(pair[0], pair[1]) << "no pair on the board";
        for (const TPoint& at : pair) {
            Host().MouseDown(TMouseButton::mbLeft, at.X, at.Y);
        }
        Settle(kStepsAfterClick);
    }
    std::optional<TShown> Shown() override {
        if (FSession->Shown().empty()) {
            return std::nullopt;
        }
        const TRequest& request = FSession->Shown().front();
        TShown shown{KindName(request.Kind), request.Text, {}};
        if (!request.Rows.empty()) {
            shown.FirstRow = {"1", request.Rows[0].Name, std::to_string(request.Rows[0].Score)};
        }
        return shown;
    }
    void Answer(const std::string& how, const std::string& name) override {
        TAnswer answer;
        answer.Accepted = how == "yes" || how == "ok" || how == "name";
        answer.Name = name;
        ASSERT_TRUE(FSession->Answer(answer)) << "nothing to answer";
        Settle(kStepsAfterAnswer);
    }
    std::optional<int> Ended() override { return FSession->Ended(); }
    std::string State() override {
        switch (Host().Game().GameState) {
        case TGameState::Title: return "title";
        case TGameState::Playing: return "playing";
        case TGameState::Paused: return "paused";
        case TGameState::GameOver: return "game-over";
        }
        return "?";
    }
    int Score() override { return Host().Game().Score; }

private:
    TGameHost& Host() { return FSession->Host(); }
    void Open(const std::filesystem::path& data, bool check) {
        FSession.reset();
        THeadlessOptions options;
        options.Game.Seed = 7;
        options.Game.DataDir = data.string();
        options.AssetsDir = PELMORAVAN_ASSETS_DIR;
        if (check) {
            ASSERT_TRUE(TGameHost::CheckScoreFile(options.Game.ScorePath(), [](const std::string&) {}));
        }
        FSession = std::make_unique<THeadlessSession>(options, FPixels, FResult);
    }
    // The turns asked for; then the clock, up to steps wake-ups, until a dialog shows.
    void Settle(int steps) {
        FSession->Settle();
        for (int i = 0; i < steps && FSession->Shown().empty() && !FSession->Ended(); ++i) {
            FSession->Step();
        }
    }

    std::filesystem::path FDir;
    TSoftPixels FPixels;
    THeadlessResult FResult;
    std::unique_ptr<THeadlessSession> FSession;
};

class HeadlessConformance : public ::testing::TestWithParam<TSession> {};

TEST_P(HeadlessConformance, PlaysTheSession) {
    THeadlessDriver driver(std::filesystem::path(::testing::TempDir()) /
                           ("pelmoravan-conformance-" + std::to_string(::getpid())));
    Play(GetParam(), driver);
}

INSTANTIATE_TEST_SUITE_P(Sessions, HeadlessConformance,
                         ::testing::ValuesIn(ReadSessions(PELMORAVAN_SESSIONS_FILE)),
                         [](const auto& info) { return "s" + std::to_string(info.index); });

} // namespace
} // namespace pelmoravan::conformance
