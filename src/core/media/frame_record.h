// SPDX-License-Identifier: MIT
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "media/block_damage.h"
#include "media/collection.h"
#include "ports/paint_device.h"

namespace pelmoravan {

// Keeps a frame's paint calls instead of painting them at once, so that a frame that repeats
// the last one costs neither painting nor presenting. Calls are painted on the target, in order,
// when the frame ends or when the target must show them sooner (Flush).
class TFrameRecord final : public IPaintDevice {
public:
    // A record that tracks damage also tells which blocks each painted frame changed.
    explicit TFrameRecord(IPaintDevice& target, bool trackDamage = false)
        : FTarget(target), FTrackDamage(trackDamage) {}

    std::int32_t Width() const override { return FTarget.Width(); }
    std::int32_t Height() const override { return FTarget.Height(); }
    void FillAll(std::uint32_t value) override;
    void FillRect(const TRect& rect, TColor color) override;
    void Polyline(const std::vector<TPoint>& points, TColor color, std::int32_t width) override;
    TTextExtent MeasureText(const std::string& text, std::int32_t points) override {
        return FTarget.MeasureText(text, points);
    }
    void Text(std::int32_t x, std::int32_t y, const std::string& text, const TTextPaint& paint,
              const TTextExtent& extent) override;
    void Picture(const TPictureCollectionItem& item, std::int32_t x, std::int32_t y,
                 std::int32_t pattern) override;
    void StretchedPicture(const TPictureCollectionItem& item, const TRect& dest,
                          std::int32_t pattern) override;
    void WaveRows(const TPictureCollectionItem& item, std::int32_t pattern, const TWave& wave,
                  const std::vector<TWaveRow>& rows) override;
    // The target is released when the frame ends.
    void Release() override {}

    // Paints what is kept and not yet painted: the target is about to be shown mid-frame. True
    // when it painted anything.
    bool Flush();
    // The frame ends. False when painting it would change nothing: it is empty, or it repeats
    // the last frame, which the target still holds, and either covers the whole target first or
    // only writes pixels that do not depend on those under them (fills and pictures, whose
    // pixels are opaque or keyed away), so that painting it again gives what it gave. True when
    // it was painted on the target, which must be presented.
    bool EndFrame();
    // The target's pixels changed behind the record (a new size): what is kept was meant for
    // the old pixels and is dropped, and the next frame paints.
    void Invalidate() {
        FCount = 0;
        FPainted = 0;
        FLastOnTarget = false;
        FDamage.Reset(0, 0);
    }
    // With damage tracked: the areas that frames painted since the last call changed, in
    // blocks (all of the target after Invalidate).
    std::vector<TRect> TakeChanged() { return FDamage.Changed(); }

private:
    enum class TKind : std::uint8_t { FillAll, FillRect, Polyline, Text, Picture, Stretched, Wave };
    struct TCall {
        TKind Kind = TKind::FillAll;
        std::uint32_t Value = 0;
        TRect Rect;
        std::int32_t X = 0, Y = 0, Pattern = 0, Width = 0;
        TColor Color = 0;
        TTextPaint Paint;
        TTextExtent Extent;
        TWave Wave;
        std::string Text;
        std::vector<TPoint> Points;
        std::vector<TWaveRow> Rows;
        // A copy, which keeps the picture alive: a caller's item may not outlive the frame.
        TPictureCollectionItem Item;
        bool operator==(const TCall& other) const;
    };
    // The next call's place, reused from frame to frame so that keeping costs no allocation.
    TCall& Next(TKind kind);
    void Paint(const TCall& call);
    void NoteDamage(const TCall& call);

    IPaintDevice& FTarget;
    bool FTrackDamage;
    TBlockDamage FDamage;
    std::vector<TCall> FCalls;
    std::size_t FCount = 0;
    std::size_t FPainted = 0;
    std::vector<TCall> FLast;
    std::size_t FLastCount = 0;
    // The last frame was painted and nothing was painted over it since.
    bool FLastOnTarget = false;
};

} // namespace pelmoravan
