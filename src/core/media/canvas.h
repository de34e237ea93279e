// SPDX-License-Identifier: MIT
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace pelmoravan {

class TPictureCollectionItem;

// Colours are 0x00BBGGRR: red in the low byte (255 red, 65535 yellow, 16777215 white).
using TColor = std::uint32_t;

struct TPoint {
    std::int32_t X = 0;
    std::int32_t Y = 0;
    bool operator==(const TPoint&) const = default;
};

struct TRect {
    std::int32_t Left = 0, Top = 0, Right = 0, Bottom = 0;
    bool operator==(const TRect&) const = default;
};

enum class TBrushStyle { bsSolid, bsClear };

// The surface's canvas. Brush, pen and font keep their values from one frame to the next.
class ICanvas {
public:
    virtual ~ICanvas() = default;
    virtual void SetBrushColor(TColor color) = 0; // a clear brush becomes solid
    virtual void SetBrushStyle(TBrushStyle style) = 0;
    virtual void SetPenColor(TColor color) = 0;
    virtual void SetPenWidth(std::int32_t width) = 0;
    virtual void SetFontColor(TColor color) = 0;
    virtual void SetFontSize(std::int32_t points) = 0;
    // Fills l <= x < r, t <= y < b with the brush colour; nothing while the brush is clear.
    virtual void FillRect(const TRect& rect) = 0;
    // Text (UTF-8) with its top-left at (x, y), on an opaque box while the brush is solid.
    virtual void TextOut(std::int32_t x, std::int32_t y, const std::string& text) = 0;
    virtual std::int32_t TextWidth(const std::string& text) = 0;
    virtual std::int32_t TextHeight(const std::string& text) = 0;
    virtual void Polyline(const std::vector<TPoint>& points) = 0;
    // Gives back the drawing context; done before presenting or drawing images.
    virtual void Release() = 0;
};

// The off-screen surface; its contents persist between frames.
class ISurface {
public:
    virtual ~ISurface() = default;
    virtual std::int32_t Width() const = 0;
    virtual std::int32_t Height() const = 0;
    virtual void Fill(std::uint32_t value) = 0;
    virtual ICanvas& Canvas() = 0;
    // Image copies clip to the surface and honour the item's colour key.
    virtual void Draw(const TPictureCollectionItem& item, std::int32_t x, std::int32_t y,
                      std::int32_t pattern) = 0;
    virtual void StretchDraw(const TPictureCollectionItem& item, const TRect& dest,
                             std::int32_t pattern) = 0;
    virtual void WaveDraw(const TPictureCollectionItem& item, std::int32_t x, std::int32_t y,
                          std::int32_t w, std::int32_t h, std::int32_t pattern,
                          std::int32_t amplitude, std::int32_t wavelength,
                          std::int32_t phase) = 0;
};

// The drawing control as the game sees it.
class IDrawControl {
public:
    virtual ~IDrawControl() = default;
    virtual bool CanDraw() = 0;
    virtual void Flip() = 0;
    virtual ISurface& Surface() = 0;
};

} // namespace pelmoravan
