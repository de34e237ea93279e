// SPDX-License-Identifier: MIT
#include "media/canvas_state.h"

#include <algorithm>

#include "media/collection.h"

namespace pelmoravan {

TStroke StrokeOf(std::int32_t penWidth) {
    const std::int32_t width = std::max(penWidth, 1);
    return {width, width % 2 == 1};
}

void TCanvas::WaveDraw(const TPictureCollectionItem& item, std::int32_t x, std::int32_t y,
                       std::int32_t w, std::int32_t h, std::int32_t pattern, std::int32_t amplitude,
                       std::int32_t wavelength, std::int32_t phase) {
    std::vector<TWaveRow> rows;
    if (const auto from = PatternRect(item, pattern); from && w > 0 && h > 0) {
        rows = WaveRows(y, h, from->Bottom - from->Top, FDevice.Height(), amplitude, wavelength, phase);
    }
    FDevice.WaveRows(item, pattern, {x, y, w, h, amplitude, wavelength, phase}, rows);
}

void TCanvas::SetBrushColor(TColor color) {
    // Choosing a colour is choosing to paint with it: the brush becomes solid.
    FState.BrushColor = color;
    FState.BrushStyle = TBrushStyle::bsSolid;
}

void TCanvas::SetPenWidth(std::int32_t width) { FState.PenWidth = std::max(width, 0); }

void TCanvas::SetFontSize(std::int32_t points) {
    if (points > 0) {
        FState.FontSize = points;
    }
}

void TCanvas::FillRect(const TRect& rect) {
    if (FState.BrushStyle == TBrushStyle::bsSolid) {
        FDevice.FillRect(rect, FState.BrushColor);
    }
}

void TCanvas::TextOut(std::int32_t x, std::int32_t y, const std::string& text) {
    const TTextExtent extent = Measure(text);
    const TTextPaint paint{FState.FontColor, FState.FontSize,
                           FState.BrushStyle == TBrushStyle::bsSolid, FState.BrushColor};
    FDevice.Text(x, y, text, paint, extent);
}

void TCanvas::Polyline(const std::vector<TPoint>& points) {
    if (!points.empty()) {
        FDevice.Polyline(points, FState.PenColor, FState.PenWidth);
    }
}

const TTextExtent& TCanvas::Measure(const std::string& text) {
    auto key = std::make_pair(FState.FontSize, text);
    if (const auto found = FMeasured.find(key); found != FMeasured.end()) {
        return found->second;
    }
    // A long run of new texts starts afresh rather than growing without end.
    if (FMeasured.size() >= 256) {
        FMeasured.clear();
    }
    const TTextExtent extent = FDevice.MeasureText(text, FState.FontSize);
    return FMeasured.emplace(std::move(key), extent).first->second;
}

} // namespace pelmoravan
