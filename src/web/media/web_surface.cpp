// SPDX-License-Identifier: MIT
#include "web/media/web_surface.h"

#include <emscripten.h>

#include <vector>

#include "media/wave_offset.h"

namespace pelmoravan {

namespace {

EM_JS(void, js_resize, (int w, int h), { Pel.surface.resize(w, h); });
EM_JS(void, js_fill, (int rgb), { Pel.surface.fill(rgb); });
EM_JS(void, js_fill_rect, (int l, int t, int w, int h, int bgr), { Pel.surface.fillRect(l, t, w, h, bgr); });
EM_JS(void, js_image, (int id, int sx, int sy, int sw, int sh, int dx, int dy, int dw, int dh),
      { Pel.surface.image(id, sx, sy, sw, sh, dx, dy, dw, dh); });
EM_JS(void, js_wave, (int id, int sx, int sy, int sw, int x, int w, const int* rows, int count),
      { Pel.surface.wave(id, sx, sy, sw, x, w, rows, count); });
EM_JS(void, js_text, (int x, int y, const char* text, int points, int ascent, int fontBgr, int boxW, int boxH, int brushBgr),
      { Pel.surface.text(x, y, UTF8ToString(text), points, ascent, fontBgr, boxW, boxH, brushBgr); });
EM_JS(void, js_measure, (const char* text, int points, int* out),
      { Pel.surface.measure(UTF8ToString(text), points, out); });
EM_JS(void, js_polyline, (const int* xy, int count, int bgr, int width, int half),
      { Pel.surface.polyline(xy, count, bgr, width, half); });
EM_JS(void, js_present, (const int* rects, int count), { Pel.surface.present(rects, count); });

int PictureId(const TPictureCollectionItem& item) {
    const auto* data = dynamic_cast<const TWebPictureData*>(item.Picture.get());
    return data != nullptr ? data->Id : -1;
}

} // namespace

TWebPixels::TWebPixels(std::int32_t width, std::int32_t height) { Resize(width, height); }

void TWebPixels::Resize(std::int32_t width, std::int32_t height) {
    FWidth = width < 1 ? 1 : width;
    FHeight = height < 1 ? 1 : height;
    js_resize(FWidth, FHeight);
}

void TWebPixels::FillAll(std::uint32_t value) {
    // A device value: red in bits 16..23, blue in the low byte.
    js_fill(static_cast<int>(value & 0x00FFFFFFu));
}

void TWebPixels::Picture(const TPictureCollectionItem& item, std::int32_t x, std::int32_t y,
                         std::int32_t pattern) {
    const int id = PictureId(item);
    const auto patternRect = PatternRect(item, pattern);
    if (id < 0 || !patternRect) {
        return;
    }
    const TRect from = *patternRect;
    const std::int32_t w = from.Right - from.Left;
    const std::int32_t h = from.Bottom - from.Top;
    js_image(id, from.Left, from.Top, w, h, x, y, w, h);
}

void TWebPixels::StretchedPicture(const TPictureCollectionItem& item, const TRect& dest,
                                  std::int32_t pattern) {
    const int id = PictureId(item);
    const auto patternRect = PatternRect(item, pattern);
    if (id < 0 || !patternRect || dest.Right <= dest.Left || dest.Bottom <= dest.Top) {
        return;
    }
    const TRect from = *patternRect;
    const std::int64_t width = std::int64_t{dest.Right} - dest.Left;
    const std::int64_t height = std::int64_t{dest.Bottom} - dest.Top;
    if (width > INT32_MAX || height > INT32_MAX) {
        return;
    }
    js_image(id, from.Left, from.Top, from.Right - from.Left, from.Bottom - from.Top, dest.Left,
             dest.Top, static_cast<int>(width), static_cast<int>(height));
}

void TWebPixels::WaveRows(const TPictureCollectionItem& item, std::int32_t pattern,
                          const TWave& wave, const std::vector<TWaveRow>& rows) {
    const int id = PictureId(item);
    const auto patternRect = PatternRect(item, pattern);
    if (id < 0 || !patternRect || rows.empty()) {
        return;
    }
    const TRect from = *patternRect;
    // The page copies each source row across, shifted.
    std::vector<int> flat;
    flat.reserve(rows.size() * 3);
    for (const TWaveRow& row : rows) {
        flat.push_back(row.DestY);
        flat.push_back(row.SourceRow);
        flat.push_back(row.Shift);
    }
    js_wave(id, from.Left, from.Top, from.Right - from.Left, wave.X, wave.W, flat.data(),
            static_cast<int>(rows.size()));
}

void TWebPixels::FillRect(const TRect& rect, TColor color) {
    // The context would draw a reversed rectangle; nothing is drawn for it.
    if (rect.Right <= rect.Left || rect.Bottom <= rect.Top) {
        return;
    }
    js_fill_rect(rect.Left, rect.Top, rect.Right - rect.Left, rect.Bottom - rect.Top,
                 static_cast<int>(color));
}

TTextExtent TWebPixels::MeasureText(const std::string& text, std::int32_t points) {
    int out[3] = {0, 0, 0};
    js_measure(text.c_str(), points, out);
    return {out[0], out[1], out[2], {0, 0, out[0], out[2]}};
}

void TWebPixels::Text(std::int32_t x, std::int32_t y, const std::string& text,
                      const TTextPaint& paint, const TTextExtent& extent) {
    js_text(x, y, text.c_str(), paint.Points, extent.Ascent, static_cast<int>(paint.Color),
            paint.Boxed ? extent.Advance : 0, paint.Boxed ? extent.Height : 0,
            static_cast<int>(paint.Box));
}

void TWebPixels::Polyline(const std::vector<TPoint>& points, TColor color, std::int32_t width) {
    if (points.empty()) {
        return;
    }
    const TStroke stroke = StrokeOf(width);
    std::vector<int> xy;
    xy.reserve(points.size() * 2);
    for (const TPoint& p : points) {
        xy.push_back(p.X);
        xy.push_back(p.Y);
    }
    js_polyline(xy.data(), static_cast<int>(points.size()), static_cast<int>(color), stroke.Width,
                stroke.HalfPixel ? 1 : 0);
}

void TWebDraw::Present(const std::vector<TRect>& changed) {
    std::vector<int> flat;
    flat.reserve(changed.size() * 4);
    for (const TRect& r : changed) {
        flat.insert(flat.end(), {r.Left, r.Top, r.Right - r.Left, r.Bottom - r.Top});
    }
    js_present(flat.data(), static_cast<int>(changed.size()));
}

} // namespace pelmoravan
