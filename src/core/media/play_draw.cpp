// SPDX-License-Identifier: MIT
#include "media/play_draw.h"

namespace pelmoravan {

void TPlayDraw::Flip() {
    FFlips += 1;
    if (!FRecord.EndFrame()) {
        return; // the frame on show again
    }
    std::vector<TRect> changed = FRecord.TakeChanged();
    if (FShowAll) {
        FShowAll = false;
        changed = {TRect{0, 0, Width(), Height()}};
    }
    if (!changed.empty()) {
        FSurface.Present(changed);
    }
}

void TPlayDraw::Repainting() {
    if (FRecord.Flush()) {
        FShowAll = true;
    }
}

} // namespace pelmoravan
