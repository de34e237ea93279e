#pragma once
#include <cstdint>
#include <map>
#include <string>
#include <utility>

#include "media/canvas.h"
#include "media/collection.h"

namespace pelmoravan {

// A picture decoded by the page: the index of its bitmap there, its key already made
// transparent when the catalog asks for one.
class TWebPictureData final : public IPictureData {
public:
    TWebPictureData(std::int32_t id, std::int32_t width, std::int32_t height)
        : Id(id), FWidth(width), FHeight(height) {}
    std::int32_t Width() const override { return FWidth; }
    std::int32_t Height() const override { return FHeight; }
    const std::int32_t Id;

private:
    std::int32_t FWidth;
    std::int32_t FHeight;
};

// The off-screen surface and its canvas on the page's back-buffer canvas; every call is one
// 2D-context call there. Pictures are bitmaps with their keys applied at load, so a keyed
// draw is a plain image draw.
class TWebSurface final : public ISurface, public ICanvas {
public:
    TWebSurface(std::int32_t width, std::int32_t height);

    // A new, black surface of the size; brush, pen and font stay as they were.
    void Resize(std::int32_t width, std::int32_t height);

    // ISurface
    std::int32_t Width() const override { return FWidth; }
    std::int32_t Height() const override { return FHeight; }
    void Fill(std::uint32_t value) override;
    ICanvas& Canvas() override { return *this; }
    void Draw(const TPictureCollectionItem& item, std::int32_t x, std::int32_t y,
              std::int32_t pattern) override;
    void StretchDraw(const TPictureCollectionItem& item, const TRect& dest,
                     std::int32_t pattern) override;
    void WaveDraw(const TPictureCollectionItem& item, std::int32_t x, std::int32_t y,
                  std::int32_t w, std::int32_t h, std::int32_t pattern, std::int32_t amplitude,
                  std::int32_t wavelength, std::int32_t phase) override;

    // ICanvas
    void SetBrushColor(TColor color) override;
    void SetBrushStyle(TBrushStyle style) override { FBrushStyle = style; }
    void SetPenColor(TColor color) override { FPenColor = color; }
    void SetPenWidth(std::int32_t width) override { FPenWidth = width < 0 ? 0 : width; }
    void SetFontColor(TColor color) override { FFontColor = color; }
    void SetFontSize(std::int32_t points) override;
    void FillRect(const TRect& rect) override;
    void TextOut(std::int32_t x, std::int32_t y, const std::string& text) override;
    std::int32_t TextWidth(const std::string& text) override { return Measure(text).Advance; }
    std::int32_t TextHeight(const std::string& text) override { return Measure(text).Height; }
    void Polyline(const std::vector<TPoint>& points) override;
    void Release() override {}

private:
    struct TTextMetrics {
        std::int32_t Advance = 0;
        std::int32_t Ascent = 0;
        std::int32_t Height = 0;
    };
    // Measured by the page once per text and size: the game measures the same few every frame.
    TTextMetrics Measure(const std::string& text);

    std::int32_t FWidth = 1;
    std::int32_t FHeight = 1;
    TColor FBrushColor = 0xFFFFFF;
    TBrushStyle FBrushStyle = TBrushStyle::bsSolid;
    TColor FPenColor = 0;
    std::int32_t FPenWidth = 1;
    TColor FFontColor = 0;
    std::int32_t FFontSize = 8;
    std::map<std::pair<std::int32_t, std::string>, TTextMetrics> FMeasured;
};

// The play surface as the game sees it: Flip shows the back buffer on the page's canvas.
class TWebDraw final : public IDrawControl {
public:
    TWebDraw(std::int32_t width, std::int32_t height) : FSurface(width, height) {}
    bool CanDraw() override { return true; }
    void Flip() override;
    ISurface& Surface() override { return FSurface; }
    TWebSurface& WebSurface() { return FSurface; }
    const TWebSurface& WebSurface() const { return FSurface; }

private:
    TWebSurface FSurface;
};

} // namespace pelmoravan
