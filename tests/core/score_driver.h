// SPDX-License-Identifier: MIT
#pragma once
#include <algorithm>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "flow/request_queue.h"
#include "flow/tick_waits.h"
#include "shell/score_file.h"
#include "shell/score_flow.h"

namespace pelmoravan {

// A name prompt as a test answers it; nullopt cancels.
class INamePrompt {
public:
    virtual ~INamePrompt() = default;
    virtual std::optional<std::string> InputName(const std::string& caption, const std::string& prompt,
                                                 const std::string& preset) = 0;
};

// The list as a test sees it.
class IScoreListView {
public:
    virtual ~IScoreListView() = default;
    virtual void ShowScoreList(const TScoreEntries& entries) = 0;
};

// Plays the game's score flow to its end as a window would: each request answered as it shows
// (the prompt and the list through the test's own), a tick whenever the flow waits for one.
// Every request shown is kept in Shown, and the ticks it took in Ticks. A file error comes out
// of Run as it was thrown.
class TScoreDriver final : public IGameWindow {
public:
    void ShowRequest(const TRequest& request) override { Shown.push_back(request); FPending.push_back(request); }
    void CloseRequest(std::uint32_t id) override {
        Withdrawn.push_back(id);
        std::erase_if(FPending, [id](const TRequest& request) { return request.Id == id; });
    }
    void RequestTurn() override {}
    std::int32_t ScreenWidth() const override { return 1280; }
    void Terminate(int) override {}
    void SyncMenu() override {}
    void ShowCaption(const std::string&) override {}
    void CloseWindow() override {}

    void Run(bool enter, std::int32_t score, INamePrompt& prompt, IScoreListView& list, const std::string& path,
             IScoreStorage* storage = nullptr) {
        TScoreFlowParts parts{Queue, Ticks, storage, path, 0, 10, {}};
        TFlow<> flow = ScoreListFlow(parts, enter, score);
        flow.Start();
        while (!flow.Done()) {
            // The busy box stays up until the test cancels it.
            const auto next = std::find_if(FPending.begin(), FPending.end(), [this](const TRequest& request) {
                return request.Kind != TRequestKind::ScoreBusy || CancelBusy;
            });
            if (next != FPending.end()) {
                const TRequest request = *next;
                FPending.erase(next);
                Queue.Answer(request.Id, Answer(request, prompt, list));
            } else if (!Ticks.Empty()) {
                TickCount += 1;
                if (OnTick) {
                    OnTick();
                }
                Ticks.Tick();
            } else {
                break; // waits for something this driver cannot give (a storage's call back)
            }
        }
        if (flow.Error()) {
            std::rethrow_exception(flow.Error());
        }
    }

    TRequestQueue Queue{*this};
    TTickWaits Ticks;
    std::vector<TRequest> Shown;
    std::vector<std::uint32_t> Withdrawn;
    int TickCount = 0;
    // What happens on each tick the flow waits for (the lock freed, the busy box cancelled).
    std::function<void()> OnTick;
    // The answer to the busy box, when it is answered at all: Cancel.
    bool CancelBusy = false;

private:
    TAnswer Answer(const TRequest& request, INamePrompt& prompt, IScoreListView& list) {
        TAnswer answer;
        answer.Accepted = true;
        if (request.Kind == TRequestKind::NameEntry) {
            const std::optional<std::string> name = prompt.InputName(request.Caption, request.Text, request.Preset);
            answer.Accepted = name.has_value();
            answer.Name = name.value_or("");
        } else if (request.Kind == TRequestKind::ScoreList) {
            TScoreEntries entries{};
            for (std::size_t i = 0; i < entries.size() && i < request.Rows.size(); ++i) {
                entries[i] = TScoreEntry{request.Rows[i].Name, request.Rows[i].Score};
            }
            list.ShowScoreList(entries);
        }
        return answer;
    }
    std::vector<TRequest> FPending;
};

// The score flow played to its end with the test's prompt and list.
inline void UpdateScores(bool enter, std::int32_t score, INamePrompt& prompt, IScoreListView& list,
                         const std::string& path = ScoreFileName, IScoreStorage* storage = nullptr) {
    TScoreDriver driver;
    driver.Run(enter, score, prompt, list, path, storage);
}

} // namespace pelmoravan
