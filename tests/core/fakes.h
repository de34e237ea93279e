// SPDX-License-Identifier: MIT
#pragma once
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "game/game.h"

namespace pelmoravan::testing {

// Counter values handed out in turn; after the list runs out it keeps counting up by one.
class FakeSeedSource final : public ISeedSource {
public:
    explicit FakeSeedSource(std::uint32_t first = 12345) : Next(first) {}
    std::uint32_t Counter() override {
        Calls += 1;
        if (!Script.empty()) {
            const std::uint32_t v = Script.front();
            Script.pop_front();
            return v;
        }
        return Next++;
    }
    std::deque<std::uint32_t> Script;
    std::uint32_t Next;
    int Calls = 0;
};

struct ScoreOffer {
    bool Enter;
    std::int32_t Score;
};

// A window and house in one that records what the rules ask of them. Requests wait until the
// test answers them (AnswerAll, from a script), and the link line's turns until it runs them
// (RunTurns), as a front end's loop would later; the menu's calls are recorded in order.
class FakeHost : public IGameWindow, public IGameHost {
public:
    // --- the window ---
    void ShowRequest(const TRequest& request) override {
        Shown.push_back(request);
        switch (request.Kind) {
        case TRequestKind::YesNo:
            Questions.push_back(request.Text);
            break;
        case TRequestKind::SaveFile:
            SaveDialogs += 1;
            break;
        case TRequestKind::About:
            MenuCalls.push_back("about");
            break;
        default:
            break;
        }
    }
    void CloseRequest(std::uint32_t id) override {
        std::erase_if(Shown, [id](const TRequest& request) { return request.Id == id; });
    }
    void RequestTurn() override { TurnsAsked += 1; }
    std::int32_t ScreenWidth() const override { return Screen; }
    void Terminate(int) override { TerminateRequests += 1; }
    void SyncMenu() override { MenuCalls.push_back("sync"); }
    void ShowCaption(const std::string&) override {}
    void CloseWindow() override { MenuCalls.push_back("close"); }

    // --- the house ---
    void PlaySound(const std::string& name) override { Sounds.push_back(name); }
    void PlaySoundAt(std::int32_t position) override {
        // Appended rather than "#" + ...: GCC 12 at -O3 warns falsely (-Wrestrict) on the latter.
        std::string name = "#";
        name += std::to_string(position);
        Sounds.push_back(name);
    }
    std::int32_t SurfaceWidth() const override { return Width; }
    std::int32_t SurfaceHeight() const override { return Height; }
    void EnableFrameTimer() override { TimerEnables += 1; }
    void PlayMusic(bool start) override {
        MenuCalls.push_back(start ? "music on" : "music off");
        if (OnPlayMusic) {
            OnPlayMusic();
        }
    }
    void ApplyLanguage(std::uint8_t language) override { MenuCalls.push_back("language " + std::to_string(language)); }
    void Tell(const TNews& news) override { News.push_back(news); }
    TRequestQueue& Requests() override { return Queue; }
    void Run(TFlow<> flow) override {
        Flows.push_back(std::move(flow));
        Flows.back().Start();
    }
    // Records the offer; the list itself is the score flow's (tested on its own).
    TFlow<> UpdateScores(bool enter, std::int32_t score) override {
        Offers.push_back({enter, score});
        if (score == -1) {
            MenuCalls.push_back("scores");
        }
        if (OnUpdateScores) {
            OnUpdateScores(); // the window's score dialogs, or its report of a file error
        }
        co_return;
    }
    void ReportError(const std::string& message) override { MenuCalls.push_back("error " + message); }

    // Answers the shown requests in turn until none is shown: a question with the next of
    // Answers (No once they run out) after OnQuestion ran while it was open, a save dialog after
    // OnSaveDialog, anything else with OK and its preset.
    void AnswerAll() {
        while (!Shown.empty()) {
            const TRequest request = Shown.front();
            Shown.erase(Shown.begin());
            TAnswer answer;
            answer.Accepted = true;
            answer.Name = request.Preset;
            if (request.Kind == TRequestKind::YesNo) {
                if (OnQuestion) {
                    OnQuestion();
                }
                answer.Accepted = !Answers.empty() && Answers.front();
                if (!Answers.empty()) {
                    Answers.pop_front();
                }
            } else if (request.Kind == TRequestKind::SaveFile && OnSaveDialog) {
                OnSaveDialog();
            }
            Queue.Answer(request.Id, answer);
        }
    }
    // The link line's turns the game asked for, each run in turn.
    void RunTurns(TGame& game) {
        while (TurnsAsked > 0) {
            TurnsAsked -= 1;
            game.LinkLineTurn();
        }
    }

    std::int32_t Screen = 1280;
    std::int32_t Width = 1280;
    std::int32_t Height = 720;
    std::deque<bool> Answers;
    std::vector<TRequest> Shown;
    std::vector<std::string> Questions;
    std::vector<ScoreOffer> Offers;
    std::vector<std::string> Sounds;
    std::vector<TNews> News;
    int TurnsAsked = 0;
    int TimerEnables = 0;
    int TerminateRequests = 0;
    int SaveDialogs = 0;
    std::function<void()> OnSaveDialog;
    std::function<void()> OnQuestion;
    std::function<void()> OnUpdateScores;
    std::vector<std::string> MenuCalls;
    std::function<void()> OnPlayMusic;
    TRequestQueue Queue{*this};
    std::vector<TFlow<>> Flows;
};

// 100 tile pictures named "1".."100", without pixels.
inline std::unique_ptr<TPictureCollection> MakeTilePictures(int count = 100) {
    auto list = std::make_unique<TPictureCollection>();
    for (int i = 1; i <= count; ++i) {
        list->Add(std::to_string(i));
    }
    return list;
}

// A game wired to fakes, ready to start.
struct GameFixture {
    FakeHost host;
    FakeSeedSource seeds;
    std::unique_ptr<TPictureCollection> pictures = MakeTilePictures();
    TGame game{host, host, seeds};
    GameFixture() { game.ImageList = pictures.get(); }
};

} // namespace pelmoravan::testing
