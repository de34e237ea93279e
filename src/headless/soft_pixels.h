// SPDX-License-Identifier: MIT
#pragma once
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "media/collection.h"
#include "ports/paint_device.h"

namespace pelmoravan {

// Pixels here are the bytes red, green, blue, alpha: read as one little-endian number, a colour
// of the game (0x00BBGGRR) with the alpha on top.

// A picture's pixels in memory, row by row from the top; a keyed pixel has alpha 0.
class TSoftPicture final : public IPictureData {
public:
    TSoftPicture(std::int32_t width, std::int32_t height, std::vector<std::uint32_t> pixels)
        : Pixels(std::move(pixels)), FWidth(width), FHeight(height) {}
    std::int32_t Width() const override { return FWidth; }
    std::int32_t Height() const override { return FHeight; }
    // Every pixel of the key's colour stops showing.
    void Key(TColor key);

    std::vector<std::uint32_t> Pixels;

private:
    std::int32_t FWidth, FHeight;
};

// Reads a 24- or 32-bit uncompressed BMP file; throws std::runtime_error naming the file.
std::shared_ptr<TSoftPicture> ReadBmp(const std::string& path);

// The surface's pixels in memory: what the game paints, with texts set in the game's own font
// through FreeType.
class TSoftPixels final : public IPaintDevice {
public:
    TSoftPixels(std::int32_t width, std::int32_t height, const std::string& fontPath);
    ~TSoftPixels() override;
    TSoftPixels(const TSoftPixels&) = delete;
    TSoftPixels& operator=(const TSoftPixels&) = delete;

    // Writes the pixels as an RGB PNG; throws std::runtime_error when it cannot.
    void SavePng(const std::string& path) const;

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
    struct TGlyph {
        std::int32_t Left = 0, Top = 0, Width = 0, Rows = 0, Advance = 0;
        std::vector<std::uint8_t> Coverage;
    };
    std::size_t Index(std::int32_t x, std::int32_t y) const {
        return static_cast<std::size_t>(y) * static_cast<std::size_t>(FWidth) + static_cast<std::size_t>(x);
    }
    const TGlyph& Glyph(char32_t code, std::int32_t points);
    // Copies w x h of the pattern's pixels, scaled, to (x, y): columns and rows of the
    // destination map to the source through the core's fixed-point steps.
    void Copy(const TPictureCollectionItem& item, std::int32_t pattern, std::int64_t x, std::int64_t y,
              std::int64_t w, std::int64_t h);

    std::int32_t FWidth, FHeight;
    std::vector<std::uint32_t> FPixels;
    struct TFont;
    std::unique_ptr<TFont> FFont;
    std::map<std::pair<char32_t, std::int32_t>, TGlyph> FGlyphs;
};

} // namespace pelmoravan
