// SPDX-License-Identifier: MIT
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "media/canvas.h"
#include "ports/paint_device.h"
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

// The page's back-buffer canvas; every call is one 2D-context call there. Pictures are bitmaps
// with their keys applied at load, so a keyed draw is a plain image draw.
class TWebPixels final : public IPaintDevice {
public:
    TWebPixels(std::int32_t width, std::int32_t height);

    // A new, black surface of the size.
    void Resize(std::int32_t width, std::int32_t height);

    std::int32_t Width() const override { return FWidth; }
    std::int32_t Height() const override { return FHeight; }
    void FillAll(std::uint32_t value) override;
    void FillRect(const TRect& rect, TColor color) override;
    void Polyline(const std::vector<TPoint>& points, TColor color, std::int32_t width) override;
    TTextExtent MeasureText(const std::string& text, std::int32_t points) override;
    void Text(std::int32_t x, std::int32_t y, const std::string& text, const TTextPaint& paint,
              const TTextExtent& extent) override;
    void Picture(const TPictureCollectionItem& item, std::int32_t x, std::int32_t y,
                 std::int32_t pattern) override;
    void StretchedPicture(const TPictureCollectionItem& item, const TRect& dest,
                          std::int32_t pattern) override;
    void WaveRows(const TPictureCollectionItem& item, std::int32_t pattern, const TWave& wave,
                  const std::vector<TWaveRow>& rows) override;
    void Release() override {}

private:
    std::int32_t FWidth = 1;
    std::int32_t FHeight = 1;
};

// The play surface as the house sees it: the page's back buffer, whose changed blocks a present
// shows on the page's canvas.
class TWebDraw final : public IPlaySurface {
public:
    TWebDraw(std::int32_t width, std::int32_t height) : FPixels(width, height) {}
    IPaintDevice& Pixels() override { return FPixels; }
    bool CanDraw() const override { return true; }
    void Present(const std::vector<TRect>& changed) override;
    std::int32_t Width() const { return FPixels.Width(); }
    std::int32_t Height() const { return FPixels.Height(); }
    // A new, black surface of the size; the house is told by the caller.
    void Resize(std::int32_t width, std::int32_t height) { FPixels.Resize(width, height); }

private:
    TWebPixels FPixels;
};

} // namespace pelmoravan
