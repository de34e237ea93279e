// SPDX-License-Identifier: MIT
#include "shell/score_flow.h"

#include <cstdio>
#include <exception>
#include <optional>

#include "media/binary_file.h"
#include "shell/dialog_texts.h"
#include "shell/language_tables.h"
#include "shell/score_file.h"

namespace pelmoravan {

namespace {

// The storage's begin or end, awaited until it calls back. GCC 12 mishandles temporaries with
// destructors inside a co_await expression: every awaitable here is a named local first.
struct TStorageCall {
    IScoreStorage* Storage;
    bool Begin;
    bool Changed;
    bool Finished = false;
    bool Suspended = false;
    co::coroutine_handle<> Waiting;

    bool await_ready() const noexcept { return Storage == nullptr; }
    bool await_suspend(co::coroutine_handle<> waiting) {
        Waiting = waiting;
        auto done = [this] {
            Finished = true;
            if (Suspended) {
                Waiting.resume();
            }
        };
        if (Begin) {
            Storage->BeginChange(done);
        } else {
            Storage->EndChange(Changed, done);
        }
        // Called back at once: no need to wait.
        Suspended = !Finished;
        return Suspended;
    }
    void await_resume() const noexcept {}
};

TStorageCall BeginChange(IScoreStorage* storage) { return TStorageCall{storage, true, false, false, false, {}}; }
TStorageCall EndChange(IScoreStorage* storage, bool changed) { return TStorageCall{storage, false, changed, false, false, {}}; }

// One locked step, tried each tick until this copy gets the lock; nullopt when the player gave
// the wait up.
TFlow<std::optional<TScoreStep>> Locked(TScoreFlowParts& parts, bool recording,
                                        std::function<std::optional<TScoreStep>()> step) {
    std::uint32_t busyBox = 0;
    bool cancelled = false;
    std::int32_t waited = 0;
    for (;;) {
        // A Cancel holds even when the lock came free since: the player was told it gives up.
        if (cancelled) {
            if (recording) {
                TRequest told;
                told.Kind = TRequestKind::Message;
                told.Text = std::string(ControlTexts(parts.Language).ScoreNotRecorded);
                told.Button = std::string(ControlTexts(parts.Language).Ok);
                TRequestQueue::TAsk asked = parts.Requests.Ask(std::move(told));
                co_await asked;
            }
            co_return std::nullopt;
        }
        TStorageCall begin = BeginChange(parts.Storage);
        co_await begin;
        std::optional<TScoreStep> done;
        std::exception_ptr error;
        try {
            done = step();
        } catch (...) {
            error = std::current_exception();
        }
        TStorageCall end = EndChange(parts.Storage, !error && done && done->Changed);
        co_await end;
        if (error || done) {
            if (busyBox != 0) {
                parts.Requests.Withdraw(busyBox); // the lock came free: the box goes by itself
            }
            if (error) {
                std::rethrow_exception(error);
            }
            co_return done;
        }
        if (busyBox == 0 && parts.Ending && parts.Ending()) {
            co_return std::nullopt;
        }
        TTickWaits::TNext tick = parts.Ticks.Next();
        co_await tick;
        waited += 1;
        if (busyBox == 0 && waited >= parts.PatienceTicks) {
            TRequest busy;
            busy.Kind = TRequestKind::ScoreBusy;
            busy.Text = std::string(ControlTexts(parts.Language).ScoreFileBusy);
            busy.Button = std::string(ControlTexts(parts.Language).Cancel);
            busyBox = parts.Requests.Post(std::move(busy), [&cancelled](const TAnswer&) { cancelled = true; });
        }
    }
}

TRequest ScoreListRequest(const TScoreEntries& entries) {
    TRequest list;
    list.Kind = TRequestKind::ScoreList;
    list.Caption = ScoreListCaption;
    list.Headers = {ScoreListRankHeader, ScoreListNameHeader, ScoreListScoreHeader};
    list.Button = ScoreListOk;
    for (const TScoreEntry& entry : ShownScores(entries)) {
        list.Rows.push_back(TScoreRow{entry.Name, entry.Score});
    }
    return list;
}

} // namespace

TFlow<> ScoreListFlow(TScoreFlowParts& parts, bool enter, std::int32_t score) {
    const bool recording = enter && score != -1;
    const std::string path = parts.Path;
    TFlow<std::optional<TScoreStep>> reading = Locked(parts, recording, [path] { return ReadScores(path); });
    const std::optional<TScoreStep> read = co_await reading;
    if (!read || !enter) {
        co_return;
    }
    if (score == -1) {
        TRequestQueue::TAsk shown = parts.Requests.Ask(ScoreListRequest(read->Entries));
        co_await shown;
        co_return;
    }
    const int offered = ScoreRank(read->Entries, score);
    if (offered == 0) {
        co_return;
    }
    TRequest prompt;
    prompt.Kind = TRequestKind::NameEntry;
    prompt.Caption = "No." + std::to_string(offered);
    prompt.Text = "Please Input Your Name:";
    prompt.Preset = "Default User";
    TRequestQueue::TAsk asked = parts.Requests.Ask(std::move(prompt));
    const TAnswer answer = co_await asked;
    const std::string name = answer.Accepted ? answer.Name : std::string("Default User");
    TFlow<std::optional<TScoreStep>> writing =
        Locked(parts, true, [path, score, name] { return RecordScore(path, score, name); });
    const std::optional<TScoreStep> recorded = co_await writing;
    if (recorded) {
        TRequestQueue::TAsk shown = parts.Requests.Ask(ScoreListRequest(recorded->Entries));
        co_await shown;
    }
}

TFlow<> UpdateScoresFlow(TScoreFlowParts parts, bool enter, std::int32_t score) {
    std::string message;
    try {
        TFlow<> offer = ScoreListFlow(parts, enter, score);
        co_await offer;
    } catch (const EFileError& error) {
        std::fprintf(stderr, "pelmoravan: %s\n", error.Detail().c_str());
        std::fflush(stderr);
        message = error.what();
    }
    if (!message.empty()) {
        TRequest shown;
        shown.Kind = TRequestKind::Message;
        shown.Error = true;
        shown.Text = message;
        TRequestQueue::TAsk told = parts.Requests.Ask(std::move(shown));
        co_await told;
    }
}

} // namespace pelmoravan
