// SPDX-License-Identifier: MIT
#pragma once
#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "media/canvas.h"
#include "ports/paint_device.h"

namespace pelmoravan {

// Brush, pen and font as the game last set them.
struct TCanvasState {
    TColor BrushColor = 16777215;
    TBrushStyle BrushStyle = TBrushStyle::bsSolid;
    TColor PenColor = 0;
    std::int32_t PenWidth = 1;
    TColor FontColor = 0;
    std::int32_t FontSize = 8;
};

// The surface and canvas the game draws on, over a device that only paints: the canvas state
// and its rules live here, once for every front end.
class TCanvas : public ISurface, public ICanvas {
public:
    explicit TCanvas(IPaintDevice& device) : FDevice(device) {}

    const TCanvasState& State() const { return FState; }
    IPaintDevice& Device() { return FDevice; }

    // ISurface
    std::int32_t Width() const override { return FDevice.Width(); }
    std::int32_t Height() const override { return FDevice.Height(); }
    void Fill(std::uint32_t value) override { FDevice.FillAll(value); }
    ICanvas& Canvas() override { return *this; }
    void Draw(const TPictureCollectionItem& item, std::int32_t x, std::int32_t y,
              std::int32_t pattern) override {
        FDevice.Picture(item, x, y, pattern);
    }
    void StretchDraw(const TPictureCollectionItem& item, const TRect& dest,
                     std::int32_t pattern) override {
        FDevice.StretchedPicture(item, dest, pattern);
    }
    void WaveDraw(const TPictureCollectionItem& item, std::int32_t x, std::int32_t y,
                  std::int32_t w, std::int32_t h, std::int32_t pattern, std::int32_t amplitude,
                  std::int32_t wavelength, std::int32_t phase) override;

    // ICanvas
    void SetBrushColor(TColor color) override;
    void SetBrushStyle(TBrushStyle style) override { FState.BrushStyle = style; }
    void SetPenColor(TColor color) override { FState.PenColor = color; }
    void SetPenWidth(std::int32_t width) override;
    void SetFontColor(TColor color) override { FState.FontColor = color; }
    void SetFontSize(std::int32_t points) override;
    void FillRect(const TRect& rect) override;
    void TextOut(std::int32_t x, std::int32_t y, const std::string& text) override;
    std::int32_t TextWidth(const std::string& text) override { return Measure(text).Advance; }
    std::int32_t TextHeight(const std::string& text) override { return Measure(text).Height; }
    void Polyline(const std::vector<TPoint>& points) override;
    void Release() override { FDevice.Release(); }

private:
    // The game measures the same few texts every frame: each is measured once per size.
    const TTextExtent& Measure(const std::string& text);

    IPaintDevice& FDevice;
    TCanvasState FState;
    std::map<std::pair<std::int32_t, std::string>, TTextExtent> FMeasured;
};

} // namespace pelmoravan
