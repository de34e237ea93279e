// SPDX-License-Identifier: MIT
#include "headless/soft_pixels.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include <png.h>

#include <algorithm>
#include <bit>
#include <cstring>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "media/colour_key.h"
#include "media/wave_offset.h"

namespace pelmoravan {

static_assert(std::endian::native == std::endian::little, "pixels are read as little-endian numbers");

namespace {

constexpr std::uint32_t kOpaque = 0xFF000000u;

std::uint32_t Le(const std::vector<std::uint8_t>& b, std::size_t at, int bytes) {
    std::uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i) {
        v = (v << 8) | b[at + static_cast<std::size_t>(i)];
    }
    return v;
}

// The next code point of UTF-8 text; a broken sequence stands for U+FFFD.
char32_t NextCodePoint(const std::string& text, std::size_t& i) {
    const auto lead = static_cast<unsigned char>(text[i++]);
    const int more = lead < 0x80 ? 0 : lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : -1;
    if (more < 0) {
        return 0xFFFD;
    }
    char32_t code = more == 0 ? lead : lead & (0x3F >> more);
    for (int k = 0; k < more; ++k) {
        if (i >= text.size() || (static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) {
            return 0xFFFD;
        }
        code = (code << 6) | (static_cast<unsigned char>(text[i++]) & 0x3F);
    }
    return code;
}

std::uint32_t Blend(std::uint32_t under, TColor over, std::uint32_t coverage) {
    std::uint32_t out = kOpaque;
    for (int shift = 0; shift < 24; shift += 8) {
        const std::int32_t a = static_cast<std::int32_t>((under >> shift) & 0xFF);
        const std::int32_t b = static_cast<std::int32_t>((over >> shift) & 0xFF);
        out |= static_cast<std::uint32_t>(a + (b - a) * static_cast<std::int32_t>(coverage) / 255) << shift;
    }
    return out;
}

} // namespace

void TSoftPicture::Key(TColor key) {
    ClearKeyedPixels(reinterpret_cast<std::uint8_t*>(Pixels.data()), Pixels.size(), key);
}

std::shared_ptr<TSoftPicture> ReadBmp(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    const std::vector<std::uint8_t> b{std::istreambuf_iterator<char>(file), {}};
    auto fail = [&path](const char* why) { return std::runtime_error("Picture '" + path + "' " + why); };
    if (!file.good() && !file.eof()) {
        throw fail("cannot be read");
    }
    if (b.size() < 54 || b[0] != 'B' || b[1] != 'M') {
        throw fail("is not a BMP file");
    }
    const auto width = static_cast<std::int32_t>(Le(b, 18, 4));
    const auto rawHeight = static_cast<std::int32_t>(Le(b, 22, 4));
    const std::uint32_t bits = Le(b, 28, 2);
    if ((bits != 24 && bits != 32) || Le(b, 30, 4) != 0) {
        throw fail("is not an uncompressed 24- or 32-bit BMP");
    }
    const std::int64_t height = rawHeight < 0 ? -std::int64_t{rawHeight} : rawHeight;
    if (width <= 0 || height <= 0 || std::int64_t{width} * height > (1 << 24)) {
        throw fail("has no sensible size");
    }
    const std::size_t step = bits / 8;
    const std::size_t stride = (width * step + 3) / 4 * 4;
    const std::size_t offset = Le(b, 10, 4);
    if (offset > b.size() || (b.size() - offset) / stride < static_cast<std::size_t>(height)) {
        throw fail("is cut short");
    }
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    for (std::int64_t y = 0; y < height; ++y) {
        // Rows run from the bottom up unless the height is negative.
        const std::size_t row = offset + stride * static_cast<std::size_t>(rawHeight < 0 ? y : height - 1 - y);
        for (std::int32_t x = 0; x < width; ++x) {
            const std::uint8_t* p = &b[row + static_cast<std::size_t>(x) * step];
            pixels[static_cast<std::size_t>(y * width + x)] = kOpaque | std::uint32_t{p[0]} << 16 |
                                                              std::uint32_t{p[1]} << 8 | p[2];
        }
    }
    return std::make_shared<TSoftPicture>(width, static_cast<std::int32_t>(height), std::move(pixels));
}

struct TSoftPixels::TFont {
    FT_Library Library = nullptr;
    FT_Face Face = nullptr;
    std::int32_t Points = 0;
    ~TFont() {
        if (Face != nullptr) {
            FT_Done_Face(Face);
        }
        if (Library != nullptr) {
            FT_Done_FreeType(Library);
        }
    }
    // Point sizes at 96 dots an inch, as the desktop's surface sets them.
    void Size(std::int32_t points) {
        if (points != Points && FT_Set_Char_Size(Face, 0, std::max(points, 1) * 64, 96, 96) == 0) {
            Points = points;
        }
    }
};

TSoftPixels::TSoftPixels(std::int32_t width, std::int32_t height, const std::string& fontPath)
    : FWidth(std::max(width, 1)), FHeight(std::max(height, 1)),
      FPixels(static_cast<std::size_t>(FWidth) * static_cast<std::size_t>(FHeight), kOpaque),
      FFont(std::make_unique<TFont>()) {
    if (FT_Init_FreeType(&FFont->Library) != 0 || FT_New_Face(FFont->Library, fontPath.c_str(), 0, &FFont->Face) != 0) {
        throw std::runtime_error("Font '" + fontPath + "' cannot be loaded");
    }
}

TSoftPixels::~TSoftPixels() = default;

void TSoftPixels::SavePng(const std::string& path) const {
    std::vector<std::uint8_t> rgb(FPixels.size() * 3);
    for (std::size_t i = 0; i < FPixels.size(); ++i) {
        std::memcpy(&rgb[i * 3], &FPixels[i], 3);
    }
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(FWidth);
    image.height = static_cast<png_uint_32>(FHeight);
    image.format = PNG_FORMAT_RGB;
    // Thousands of frames a game: quick compression over small files.
    image.flags = PNG_IMAGE_FLAG_FAST;
    if (png_image_write_to_file(&image, path.c_str(), 0, rgb.data(), 0, nullptr) == 0) {
        throw std::runtime_error("Cannot write '" + path + "': " + image.message);
    }
}

void TSoftPixels::FillAll(std::uint32_t value) {
    // The device value has red high; the pixels have it low.
    const std::uint32_t pixel = kOpaque | (value & 0xFF) << 16 | (value & 0xFF00) | (value >> 16 & 0xFF);
    std::fill(FPixels.begin(), FPixels.end(), pixel);
}

void TSoftPixels::FillRect(const TRect& rect, TColor color) {
    const std::int32_t l = std::max(rect.Left, 0), r = std::min(rect.Right, FWidth);
    for (std::int32_t y = std::max(rect.Top, 0); y < std::min(rect.Bottom, FHeight); ++y) {
        for (std::int32_t x = l; x < r; ++x) {
            FPixels[Index(x, y)] = kOpaque | (color & 0xFFFFFFu);
        }
    }
}

void TSoftPixels::Polyline(const std::vector<TPoint>& points, TColor color, std::int32_t width) {
    // Each point of the line stamps a square of the pen's width centred on it: square caps, and
    // mitred corners for the game's right-angled links.
    const std::int32_t w = StrokeOf(width).Width;
    auto stamp = [&](std::int64_t x, std::int64_t y) {
        const auto l = static_cast<std::int32_t>(std::clamp<std::int64_t>(x - w / 2, INT32_MIN, INT32_MAX - w));
        const auto t = static_cast<std::int32_t>(std::clamp<std::int64_t>(y - w / 2, INT32_MIN, INT32_MAX - w));
        FillRect({l, t, l + w, t + w}, color);
    };
    for (std::size_t i = 0; i < points.size(); ++i) {
        const TPoint a = points[i];
        const TPoint b = points[i + 1 < points.size() ? i + 1 : i];
        std::int64_t x = a.X, y = a.Y;
        const std::int64_t dx = std::abs(std::int64_t{b.X} - x), dy = -std::abs(std::int64_t{b.Y} - y);
        const std::int64_t sx = x < b.X ? 1 : -1, sy = y < b.Y ? 1 : -1;
        for (std::int64_t error = dx + dy;;) {
            stamp(x, y);
            if ((x == b.X && y == b.Y) || (x < -w && sx < 0) || (x > FWidth + w && sx > 0) ||
                (y < -w && sy < 0) || (y > FHeight + w && sy > 0)) {
                break;
            }
            const std::int64_t twice = 2 * error;
            if (twice >= dy) {
                error += dy;
                x += sx;
            }
            if (twice <= dx) {
                error += dx;
                y += sy;
            }
        }
    }
}

const TSoftPixels::TGlyph& TSoftPixels::Glyph(char32_t code, std::int32_t points) {
    const auto key = std::make_pair(code, points);
    if (const auto found = FGlyphs.find(key); found != FGlyphs.end()) {
        return found->second;
    }
    TGlyph glyph;
    FFont->Size(points);
    if (FT_Load_Char(FFont->Face, code, FT_LOAD_RENDER) == 0) {
        const FT_GlyphSlot slot = FFont->Face->glyph;
        glyph.Left = slot->bitmap_left;
        glyph.Top = slot->bitmap_top;
        glyph.Width = static_cast<std::int32_t>(slot->bitmap.width);
        glyph.Rows = static_cast<std::int32_t>(slot->bitmap.rows);
        glyph.Advance = static_cast<std::int32_t>((slot->advance.x + 32) >> 6);
        for (std::int32_t row = 0; row < glyph.Rows; ++row) {
            const unsigned char* line = slot->bitmap.buffer + row * slot->bitmap.pitch;
            glyph.Coverage.insert(glyph.Coverage.end(), line, line + glyph.Width);
        }
    }
    return FGlyphs.emplace(key, std::move(glyph)).first->second;
}

TTextExtent TSoftPixels::MeasureText(const std::string& text, std::int32_t points) {
    FFont->Size(points);
    const FT_Size_Metrics& metrics = FFont->Face->size->metrics;
    TTextExtent extent;
    extent.Ascent = static_cast<std::int32_t>((metrics.ascender + 63) >> 6);
    extent.Height = extent.Ascent + static_cast<std::int32_t>((-metrics.descender + 63) >> 6);
    extent.Ink = {0, 0, 0, extent.Height};
    for (std::size_t i = 0; i < text.size();) {
        const TGlyph& glyph = Glyph(NextCodePoint(text, i), points);
        extent.Ink.Left = std::min(extent.Ink.Left, extent.Advance + glyph.Left);
        extent.Ink.Right = std::max(extent.Ink.Right, extent.Advance + glyph.Left + glyph.Width);
        extent.Ink.Top = std::min(extent.Ink.Top, extent.Ascent - glyph.Top);
        extent.Ink.Bottom = std::max(extent.Ink.Bottom, extent.Ascent - glyph.Top + glyph.Rows);
        extent.Advance += glyph.Advance;
    }
    return extent;
}

void TSoftPixels::Text(std::int32_t x, std::int32_t y, const std::string& text, const TTextPaint& paint,
                       const TTextExtent& extent) {
    if (paint.Boxed) {
        FillRect({x, y, x + extent.Advance, y + extent.Height}, paint.Box);
    }
    std::int32_t pen = x;
    for (std::size_t i = 0; i < text.size();) {
        const TGlyph& glyph = Glyph(NextCodePoint(text, i), paint.Points);
        for (std::int32_t row = 0; row < glyph.Rows; ++row) {
            const std::int32_t py = y + extent.Ascent - glyph.Top + row;
            for (std::int32_t col = 0; col < glyph.Width; ++col) {
                const std::int32_t px = pen + glyph.Left + col;
                const std::uint8_t coverage = glyph.Coverage[static_cast<std::size_t>(row * glyph.Width + col)];
                if (coverage != 0 && px >= 0 && px < FWidth && py >= 0 && py < FHeight) {
                    std::uint32_t& pixel = FPixels[Index(px, py)];
                    pixel = Blend(pixel, paint.Color, coverage);
                }
            }
        }
        pen += glyph.Advance;
    }
}

void TSoftPixels::Copy(const TPictureCollectionItem& item, std::int32_t pattern, std::int64_t x, std::int64_t y,
                       std::int64_t w, std::int64_t h) {
    const auto* picture = dynamic_cast<const TSoftPicture*>(item.Picture.get());
    const auto from = PatternRect(item, pattern);
    if (picture == nullptr || !from || w <= 0 || h <= 0 || w > INT32_MAX || h > INT32_MAX) {
        return;
    }
    const std::int64_t columnStep = ScaleStep(from->Right - from->Left, static_cast<std::int32_t>(w));
    const std::int64_t rowStep = ScaleStep(from->Bottom - from->Top, static_cast<std::int32_t>(h));
    const std::int64_t right = std::min<std::int64_t>(x + w, FWidth);
    for (std::int64_t py = std::max<std::int64_t>(y, 0); py < std::min<std::int64_t>(y + h, FHeight); ++py) {
        const std::int32_t sy = from->Top + ScaledIndex(static_cast<std::int32_t>(py - y), rowStep);
        const std::uint32_t* source = &picture->Pixels[static_cast<std::size_t>(sy) * static_cast<std::size_t>(picture->Width())];
        for (std::int64_t px = std::max<std::int64_t>(x, 0); px < right; ++px) {
            const std::uint32_t pixel = source[from->Left + ScaledIndex(static_cast<std::int32_t>(px - x), columnStep)];
            if ((pixel & kOpaque) != 0) {
                FPixels[Index(static_cast<std::int32_t>(px), static_cast<std::int32_t>(py))] = pixel;
            }
        }
    }
}

void TSoftPixels::Picture(const TPictureCollectionItem& item, std::int32_t x, std::int32_t y, std::int32_t pattern) {
    if (const auto from = PatternRect(item, pattern)) {
        Copy(item, pattern, x, y, from->Right - from->Left, from->Bottom - from->Top);
    }
}

void TSoftPixels::StretchedPicture(const TPictureCollectionItem& item, const TRect& dest, std::int32_t pattern) {
    Copy(item, pattern, dest.Left, dest.Top, std::int64_t{dest.Right} - dest.Left, std::int64_t{dest.Bottom} - dest.Top);
}

void TSoftPixels::WaveRows(const TPictureCollectionItem& item, std::int32_t pattern, const TWave& wave,
                           const std::vector<TWaveRow>& rows) {
    const auto* picture = dynamic_cast<const TSoftPicture*>(item.Picture.get());
    const auto from = PatternRect(item, pattern);
    if (picture == nullptr || !from || wave.W <= 0) {
        return;
    }
    const std::int64_t columnStep = ScaleStep(from->Right - from->Left, wave.W);
    for (const TWaveRow& row : rows) {
        const std::uint32_t* source =
            &picture->Pixels[static_cast<std::size_t>(from->Top + row.SourceRow) * static_cast<std::size_t>(picture->Width())];
        const std::int64_t left = std::int64_t{wave.X} + row.Shift;
        const TSpan span = ClipSpan(static_cast<std::int32_t>(std::clamp<std::int64_t>(left, INT32_MIN, INT32_MAX)),
                                    wave.W, FWidth);
        for (std::int32_t j = span.First; j < span.Last; ++j) {
            const std::uint32_t pixel = source[from->Left + ScaledIndex(j, columnStep)];
            if ((pixel & kOpaque) != 0) {
                FPixels[Index(static_cast<std::int32_t>(left + j), row.DestY)] = pixel;
            }
        }
    }
}

} // namespace pelmoravan
