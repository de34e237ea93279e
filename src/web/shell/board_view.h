// SPDX-License-Identifier: MIT
#pragma once
#include <string>

#include "game/game.h"

namespace pelmoravan {

// What a finger's page shows of the play screen in its own elements: where the board lies on
// the surface, the status band's texts and time bar, and the marks the last frame drew. The
// page draws these at a finger's size; the surface itself is drawn as always.
class TBoardViewSync {
public:
    // Sends the page what changed since the last call.
    void Sync(const TGame& game);
    // The next call sends everything again (after a change of language).
    void Reset();

private:
    std::string FRegion;
    std::string FStatus;
    std::string FMarks;
};

} // namespace pelmoravan
