// SPDX-License-Identifier: MIT
#pragma once
#include <cstdint>
#include <functional>
#include <string>

#include "flow/flow.h"
#include "flow/request_queue.h"
#include "flow/tick_waits.h"
#include "ports/score_storage.h"

namespace pelmoravan {

// What offering a score to the best-score list works with.
struct TScoreFlowParts {
    TRequestQueue& Requests;
    TTickWaits& Ticks;
    IScoreStorage* Storage = nullptr; // null: the file system alone
    std::string Path;
    std::uint8_t Language = 0;        // of the busy box and the note that nothing was recorded
    std::int32_t PatienceTicks = 10;  // ticks the lock is waited for before the busy box shows
    // Asked on each tick the lock is waited for before the busy box shows: true when the
    // player ended the program meanwhile (Esc), which gives the wait up without a word.
    std::function<bool()> Ending;
};

// Shows the list (enter, score -1), or offers a score: when it reaches the list, asks for a name
// (a cancelled prompt takes the offered "Default User"), records it at the rank it takes in the
// list as it is after the answer, and shows the list. Without enter, only makes sure the file can
// be used. The file is open only while its lock is held, never across a dialog; the lock is
// tried again each tick, and after the patience a busy box offers Cancel, which gives the
// record up (the player is told so). A file error is written to standard error in full and
// shown to the player; the flow then ends as if answered.
TFlow<> UpdateScoresFlow(TScoreFlowParts parts, bool enter, std::int32_t score);

// The same steps, but a file error (EFileError) ends the flow and goes to whoever awaits it.
// parts must outlive the flow.
TFlow<> ScoreListFlow(TScoreFlowParts& parts, bool enter, std::int32_t score);

} // namespace pelmoravan
