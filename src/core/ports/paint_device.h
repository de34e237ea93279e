// SPDX-License-Identifier: MIT
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "media/canvas.h"
#include "media/wave_offset.h"

namespace pelmoravan {

// A text's extent in a font size: the advance and height of its cell, the ascent of its
// baseline, and where its glyphs may leave colour, from the cell's top-left.
struct TTextExtent {
    std::int32_t Advance = 0;
    std::int32_t Ascent = 0;
    std::int32_t Height = 0;
    TRect Ink;
    bool operator==(const TTextExtent&) const = default;
};

// How one text is drawn: its colour and size, and the colour of its opaque cell when boxed.
struct TTextPaint {
    TColor Color = 0;
    std::int32_t Points = 8;
    bool Boxed = true;
    TColor Box = 0;
    bool operator==(const TTextPaint&) const = default;
};

// One wave draw of a pattern into w x h at (x, y): its parameters and its visible rows.
struct TWave {
    std::int32_t X = 0, Y = 0, W = 0, H = 0;
    std::int32_t Amplitude = 0, Wavelength = 0, Phase = 0;
    bool operator==(const TWave&) const = default;
};

// A pen of width 0 draws as one of width 1; a line of odd width lies on pixel centres, so a
// device whose coordinates fall between pixels moves it by half a pixel to cover whole ones.
struct TStroke {
    std::int32_t Width = 1;
    bool HalfPixel = true;
};
TStroke StrokeOf(std::int32_t penWidth);

// What a front end draws with: a few calls, each carrying its own colour, width and font, so
// that the device keeps no canvas state. The canvas (media/canvas_state.h) keeps that state once.
// Calls come on the front end's one thread and never run ticks. Pixels persist between calls.
class IPaintDevice {
public:
    virtual ~IPaintDevice() = default;
    virtual std::int32_t Width() const = 0;
    virtual std::int32_t Height() const = 0;
    // The whole surface in a device value: red in bits 16..23, blue in the low byte.
    virtual void FillAll(std::uint32_t value) = 0;
    // l <= x < r, t <= y < b.
    virtual void FillRect(const TRect& rect, TColor color) = 0;
    // Square caps, mitred corners; the width is never negative.
    virtual void Polyline(const std::vector<TPoint>& points, TColor color, std::int32_t width) = 0;
    virtual TTextExtent MeasureText(const std::string& text, std::int32_t points) = 0;
    // UTF-8 text with its cell's top-left at (x, y); extent is MeasureText's for it.
    virtual void Text(std::int32_t x, std::int32_t y, const std::string& text,
                      const TTextPaint& paint, const TTextExtent& extent) = 0;
    // Image copies clip to the surface and honour the item's colour key.
    virtual void Picture(const TPictureCollectionItem& item, std::int32_t x, std::int32_t y,
                         std::int32_t pattern) = 0;
    virtual void StretchedPicture(const TPictureCollectionItem& item, const TRect& dest,
                                  std::int32_t pattern) = 0;
    // Each row copies the pattern's SourceRow, scaled to the wave's width, to DestY at x + Shift.
    virtual void WaveRows(const TPictureCollectionItem& item, std::int32_t pattern,
                          const TWave& wave, const std::vector<TWaveRow>& rows) = 0;
    // Gives back the drawing context; done before presenting.
    virtual void Release() = 0;
};

// The play surface a front end gives the house: pixels to paint on and a way to show them. The
// house builds the rest over it (device, then the frame record, then the canvas: media/
// play_draw.h), ends each frame and presents only what changed. The front end tells the house
// when the pixels change size (TGameHost::SurfaceResized) and before it shows them outside a
// present (TGameHost::SurfaceRepainting); it never paints on them itself.
class IPlaySurface {
public:
    virtual ~IPlaySurface() = default;
    virtual IPaintDevice& Pixels() = 0;
    // False while there is nothing to draw on: the game skips its frames.
    virtual bool CanDraw() const = 0;
    // Shows the areas of the pixels that frames changed since the last present (clipped to the
    // pixels, none empty). Returns at once; the showing may come later, from the pixels as they
    // are then.
    virtual void Present(const std::vector<TRect>& changed) = 0;
};

} // namespace pelmoravan
