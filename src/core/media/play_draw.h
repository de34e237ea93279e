// SPDX-License-Identifier: MIT
#pragma once
#include <cstdint>
#include <vector>

#include "media/canvas.h"
#include "media/canvas_state.h"
#include "media/frame_record.h"
#include "ports/paint_device.h"

namespace pelmoravan {

// The drawing stack over a front end's play surface, built once for every front end: the
// surface's pixels, the frame record that keeps a frame until its flip, and the canvas the game
// draws on. A flip paints a frame only when it differs from the last, and presents only the
// blocks it changed.
class TPlayDraw final : public IDrawControl {
public:
    explicit TPlayDraw(IPlaySurface& surface) : FSurface(surface) {}

    bool CanDraw() override { return FSurface.CanDraw(); }
    void Flip() override;
    ISurface& Surface() override { return FCanvas; }
    const TCanvas& Canvas() const { return FCanvas; }
    std::int32_t Width() const { return FCanvas.Width(); }
    std::int32_t Height() const { return FCanvas.Height(); }
    // How many frames ended so far, shown or found unchanged.
    std::uint64_t Flips() const { return FFlips; }

    // The pixels took a new size: what the record kept was meant for the old ones.
    void Resized() { FRecord.Invalidate(); }
    // The pixels are about to be shown outside a flip: the frame so far is painted, and since
    // the shown pixels may then hold part of a frame, the next flip presents them all.
    void Repainting();

private:
    IPlaySurface& FSurface;
    TFrameRecord FRecord{FSurface.Pixels(), true};
    TCanvas FCanvas{FRecord};
    bool FShowAll = false;
    std::uint64_t FFlips = 0;
};

} // namespace pelmoravan
