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

// A window and house in one that records what the rules ask of them and answers questions from a
// script; the menu's calls are recorded in order.
class FakeHost : public IGameWindow, public IGameHost {
public:
    bool AskYesNo(const std::string& text) override {
        Questions.push_back(text);
        if (OnQuestion) {
            OnQuestion(); // what happens while the modal question is open (nested ticks)
        }
        bool answer = Answers.empty() ? false : Answers.front();
        if (!Answers.empty()) {
            Answers.pop_front();
        }
        return answer;
    }
    void UpdateScores(bool enter, std::int32_t score) override {
        Offers.push_back({enter, score});
        if (score == -1) {
            MenuCalls.push_back("scores");
        }
        if (OnUpdateScores) {
            OnUpdateScores(); // the window's score dialogs, or its report of a file error
        }
    }
    void PlaySound(const std::string& name) override { Sounds.push_back(name); }
    void PlaySoundAt(std::int32_t position) override {
        // Appended rather than "#" + ...: GCC 12 at -O3 warns falsely (-Wrestrict) on the latter.
        std::string name = "#";
        name += std::to_string(position);
        Sounds.push_back(name);
    }
    void ProcessOneMessage() override {
        MessagesHandled += 1;
        if (OnProcessMessage) {
            OnProcessMessage(); // the pending message: a nested tick or click
        }
    }
    std::int32_t ScreenWidth() const override { return Screen; }
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
    void SyncMenu() override { MenuCalls.push_back("sync"); }
    void ShowCaption(const std::string&) override {}
    void ShowAbout() override { MenuCalls.push_back("about"); }
    void CloseWindow() override { MenuCalls.push_back("close"); }
    void ReportError(const std::string& message) override { MenuCalls.push_back("error " + message); }
    void ReportCommandError(const std::string& message) override { MenuCalls.push_back("error " + message); }
    void ReportStartError(const std::string& message) override { MenuCalls.push_back("error " + message); }
    void Terminate() override { TerminateRequests += 1; }
    void ShowSaveDialog() override {
        SaveDialogs += 1;
        if (OnSaveDialog) {
            OnSaveDialog(); // what happens while the modal dialog is open (nested ticks)
        }
    }

    void Tell(const TNews& news) override { News.push_back(news); }

    std::int32_t Screen = 1280;
    std::int32_t Width = 1280;
    std::int32_t Height = 720;
    std::deque<bool> Answers;
    std::vector<std::string> Questions;
    std::vector<ScoreOffer> Offers;
    std::vector<std::string> Sounds;
    std::vector<TNews> News;
    int MessagesHandled = 0;
    int TimerEnables = 0;
    int TerminateRequests = 0;
    int SaveDialogs = 0;
    std::function<void()> OnSaveDialog;
    std::function<void()> OnProcessMessage;
    std::function<void()> OnQuestion;
    std::function<void()> OnUpdateScores;
    std::vector<std::string> MenuCalls;
    std::function<void()> OnPlayMusic;
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
