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

// co_await Bracket(storage, ...): the storage's begin or end, done when it calls back.
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
        co_await BeginChange(parts.Storage);
        std::optional<TScoreStep> done;
        std::exception_ptr error;
        try {
            done = step();
        } catch (...) {
            error = std::current_exception();
        }
        co_await EndChange(parts.Storage, !error && done && done->Changed);
        if (error || done) {
            if (busyBox != 0) {
                parts.Requests.Withdraw(busyBox); // the lock came free: the box goes by itself
            }
            if (error) {
                std::rethrow_exception(error);
            }
            co_return done;
        }
        if (cancelled) {
            if (recording) {
                TRequest told;
                told.Kind = TRequestKind::Message;
                told.Text = std::string(ControlTexts(parts.Language).ScoreNotRecorded);
                told.Button = std::string(ControlTexts(parts.Language).Ok);
                co_await parts.Requests.Ask(std::move(told));
            }
            co_return std::nullopt;
        }
        if (busyBox == 0 && parts.Ending && parts.Ending()) {
            co_return std::nullopt;
        }
        co_await parts.Ticks.Next();
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

TFlow<> Offer(TScoreFlowParts& parts, bool enter, std::int32_t score) {
    const bool recording = enter && score != -1;
    const std::string path = parts.Path;
    // The steps are named, not temporaries of the co_await: GCC 12 moves such a temporary into
    // the frame bitwise, and a short string captured in it is then freed from the wrong place.
    const auto readStep = [path] { return ReadScores(path); };
    std::optional<TScoreStep> read = co_await Locked(parts, recording, readStep);
    if (!read || !enter) {
        co_return;
    }
    if (score == -1) {
        co_await parts.Requests.Ask(ScoreListRequest(read->Entries));
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
    const TAnswer answer = co_await parts.Requests.Ask(std::move(prompt));
    const std::string name = answer.Accepted ? answer.Name : std::string("Default User");
    const auto recordStep = [path, score, name] { return RecordScore(path, score, name); };
    std::optional<TScoreStep> recorded = co_await Locked(parts, true, recordStep);
    if (recorded) {
        co_await parts.Requests.Ask(ScoreListRequest(recorded->Entries));
    }
}

} // namespace

TFlow<> UpdateScoresFlow(TScoreFlowParts parts, bool enter, std::int32_t score) {
    std::string message;
    try {
        co_await Offer(parts, enter, score);
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
        co_await parts.Requests.Ask(std::move(shown));
    }
}

} // namespace pelmoravan
