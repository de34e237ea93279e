// SPDX-License-Identifier: MIT
#include "media/frame_record.h"

#include <algorithm>
#include <climits>
#include <functional>
#include <utility>

namespace pelmoravan {

namespace {

bool SamePicture(const TPictureCollectionItem& a, const TPictureCollectionItem& b) {
    return a.Picture == b.Picture && a.PatternWidth == b.PatternWidth &&
           a.PatternHeight == b.PatternHeight && a.Transparent == b.Transparent &&
           a.TransparentColor == b.TransparentColor;
}

// One step of the splitmix64 generator: every bit of the input moves about half the output's.
std::uint64_t Mixed(std::uint64_t h, std::uint64_t value) {
    std::uint64_t z = h ^ value;
    z += 0x9E3779B97F4A7C15ull;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

std::uint64_t Pair(std::int64_t a, std::int64_t b) {
    return (static_cast<std::uint64_t>(a) << 32) ^ static_cast<std::uint32_t>(b);
}

std::uint64_t PictureMix(std::uint64_t h, const TPictureCollectionItem& item, std::int32_t pattern) {
    h = Mixed(h, reinterpret_cast<std::uintptr_t>(item.Picture.get()));
    h = Mixed(h, Pair(item.PatternWidth, item.PatternHeight));
    h = Mixed(h, item.Transparent ? 0x100000000ull | item.TransparentColor : 0);
    return Mixed(h, static_cast<std::uint32_t>(pattern));
}

// l <= x < r, t <= y < b, worked out in 64 bits, kept within 32.
TRect Box(std::int64_t l, std::int64_t t, std::int64_t r, std::int64_t b) {
    auto c = [](std::int64_t v) { return static_cast<std::int32_t>(std::clamp<std::int64_t>(v, INT32_MIN, INT32_MAX)); };
    return {c(l), c(t), c(r), c(b)};
}

} // namespace

bool TFrameRecord::TCall::operator==(const TCall& o) const {
    if (Kind != o.Kind) {
        return false;
    }
    switch (Kind) {
    case TKind::FillAll:
        return Value == o.Value;
    case TKind::FillRect:
        return Rect == o.Rect && Color == o.Color;
    case TKind::Polyline:
        return Color == o.Color && Width == o.Width && Points == o.Points;
    case TKind::Text:
        return X == o.X && Y == o.Y && Paint == o.Paint && Extent == o.Extent && Text == o.Text;
    case TKind::Picture:
        return X == o.X && Y == o.Y && Pattern == o.Pattern && SamePicture(Item, o.Item);
    case TKind::Stretched:
        return Rect == o.Rect && Pattern == o.Pattern && SamePicture(Item, o.Item);
    case TKind::Wave:
        return Wave == o.Wave && Pattern == o.Pattern && Rows == o.Rows && SamePicture(Item, o.Item);
    }
    return false;
}

TFrameRecord::TCall& TFrameRecord::Next(TKind kind) {
    if (FCount == FCalls.size()) {
        FCalls.emplace_back();
    }
    TCall& call = FCalls[FCount++];
    call.Kind = kind;
    return call;
}

void TFrameRecord::FillAll(std::uint32_t value) { Next(TKind::FillAll).Value = value; }

void TFrameRecord::FillRect(const TRect& rect, TColor color) {
    TCall& call = Next(TKind::FillRect);
    call.Rect = rect;
    call.Color = color;
}

void TFrameRecord::Polyline(const std::vector<TPoint>& points, TColor color, std::int32_t width) {
    TCall& call = Next(TKind::Polyline);
    call.Points.assign(points.begin(), points.end());
    call.Color = color;
    call.Width = width;
}

void TFrameRecord::Text(std::int32_t x, std::int32_t y, const std::string& text,
                        const TTextPaint& paint, const TTextExtent& extent) {
    TCall& call = Next(TKind::Text);
    call.X = x;
    call.Y = y;
    call.Text.assign(text);
    call.Paint = paint;
    call.Extent = extent;
}

void TFrameRecord::Picture(const TPictureCollectionItem& item, std::int32_t x, std::int32_t y,
                           std::int32_t pattern) {
    TCall& call = Next(TKind::Picture);
    call.Item = item;
    call.X = x;
    call.Y = y;
    call.Pattern = pattern;
}

void TFrameRecord::StretchedPicture(const TPictureCollectionItem& item, const TRect& dest,
                                    std::int32_t pattern) {
    TCall& call = Next(TKind::Stretched);
    call.Item = item;
    call.Rect = dest;
    call.Pattern = pattern;
}

void TFrameRecord::WaveRows(const TPictureCollectionItem& item, std::int32_t pattern,
                            const TWave& wave, const std::vector<TWaveRow>& rows) {
    TCall& call = Next(TKind::Wave);
    call.Item = item;
    call.Pattern = pattern;
    call.Wave = wave;
    call.Rows.assign(rows.begin(), rows.end());
}

void TFrameRecord::Paint(const TCall& call) {
    switch (call.Kind) {
    case TKind::FillAll:
        FTarget.FillAll(call.Value);
        break;
    case TKind::FillRect:
        FTarget.FillRect(call.Rect, call.Color);
        break;
    case TKind::Polyline:
        FTarget.Polyline(call.Points, call.Color, call.Width);
        break;
    case TKind::Text:
        FTarget.Text(call.X, call.Y, call.Text, call.Paint, call.Extent);
        break;
    case TKind::Picture:
        FTarget.Picture(call.Item, call.X, call.Y, call.Pattern);
        break;
    case TKind::Stretched:
        FTarget.StretchedPicture(call.Item, call.Rect, call.Pattern);
        break;
    case TKind::Wave:
        FTarget.WaveRows(call.Item, call.Pattern, call.Wave, call.Rows);
        break;
    }
}

void TFrameRecord::NoteDamage(const TCall& call) {
    std::uint64_t h = Mixed(0, static_cast<std::uint64_t>(call.Kind));
    switch (call.Kind) {
    case TKind::FillAll:
        FDamage.Fill(Mixed(h, call.Value));
        return;
    case TKind::FillRect:
        h = Mixed(Mixed(Mixed(h, Pair(call.Rect.Left, call.Rect.Top)), Pair(call.Rect.Right, call.Rect.Bottom)), call.Color);
        FDamage.Touch(call.Rect, h);
        return;
    case TKind::Polyline: {
        h = Mixed(h, Pair(call.Color, call.Width));
        std::int64_t l = INT64_MAX, t = INT64_MAX, r = INT64_MIN, b = INT64_MIN;
        for (const TPoint& p : call.Points) {
            h = Mixed(h, Pair(p.X, p.Y));
            l = std::min<std::int64_t>(l, p.X);
            t = std::min<std::int64_t>(t, p.Y);
            r = std::max<std::int64_t>(r, p.X);
            b = std::max<std::int64_t>(b, p.Y);
        }
        // Square caps and mitred corners reach at most the width past a point.
        const std::int64_t reach = std::int64_t{call.Width} + 2;
        if (!call.Points.empty()) {
            FDamage.Touch(Box(l - reach, t - reach, r + reach + 1, b + reach + 1), h);
        }
        return;
    }
    case TKind::Text: {
        const TTextExtent& e = call.Extent;
        h = Mixed(h, std::hash<std::string>{}(call.Text));
        h = Mixed(h, Pair(call.X, call.Y));
        h = Mixed(h, Pair(call.Paint.Color, call.Paint.Points));
        h = Mixed(h, Pair(call.Paint.Boxed, call.Paint.Box));
        h = Mixed(Mixed(h, Pair(e.Advance, e.Ascent)), e.Height);
        const std::int64_t x = call.X;
        const std::int64_t y = call.Y;
        FDamage.Touch(Box(x + std::min(0, e.Ink.Left), y + std::min(0, e.Ink.Top),
                          x + std::max(e.Advance, e.Ink.Right), y + std::max(e.Height, e.Ink.Bottom)),
                      h);
        return;
    }
    case TKind::Picture: {
        h = Mixed(PictureMix(h, call.Item, call.Pattern), Pair(call.X, call.Y));
        if (const auto from = PatternRect(call.Item, call.Pattern)) {
            FDamage.Touch(Box(call.X, call.Y, std::int64_t{call.X} + (from->Right - from->Left),
                              std::int64_t{call.Y} + (from->Bottom - from->Top)),
                          h);
        }
        return;
    }
    case TKind::Stretched:
        h = PictureMix(h, call.Item, call.Pattern);
        h = Mixed(Mixed(h, Pair(call.Rect.Left, call.Rect.Top)), Pair(call.Rect.Right, call.Rect.Bottom));
        FDamage.Touch(call.Rect, h);
        return;
    case TKind::Wave: {
        const TWave& w = call.Wave;
        h = PictureMix(h, call.Item, call.Pattern);
        h = Mixed(Mixed(h, Pair(w.X, w.Y)), Pair(w.W, w.H));
        h = Mixed(Mixed(h, Pair(w.Amplitude, w.Wavelength)), static_cast<std::uint32_t>(w.Phase));
        std::int64_t l = INT64_MAX, t = INT64_MAX, r = INT64_MIN, b = INT64_MIN;
        for (const TWaveRow& row : call.Rows) {
            l = std::min<std::int64_t>(l, std::int64_t{w.X} + row.Shift);
            r = std::max<std::int64_t>(r, std::int64_t{w.X} + row.Shift + w.W);
            t = std::min<std::int64_t>(t, row.DestY);
            b = std::max<std::int64_t>(b, std::int64_t{row.DestY} + 1);
        }
        if (!call.Rows.empty()) {
            FDamage.Touch(Box(l, t, r, b), h);
        }
        return;
    }
    }
}

bool TFrameRecord::Flush() {
    if (FTrackDamage && (FDamage.Width() != FTarget.Width() || FDamage.Height() != FTarget.Height())) {
        FDamage.Reset(FTarget.Width(), FTarget.Height());
    }
    const bool painting = FPainted < FCount;
    while (FPainted < FCount) {
        // Counted first: a call that throws is not painted twice.
        const TCall& call = FCalls[FPainted++];
        if (FTrackDamage) {
            NoteDamage(call);
        }
        Paint(call);
    }
    return painting;
}

bool TFrameRecord::EndFrame() {
    const auto begin = FCalls.begin();
    const auto end = begin + static_cast<std::ptrdiff_t>(FCount);
    const bool repeats = FLastOnTarget && FPainted == 0 && FCount == FLastCount &&
                         std::equal(begin, end, FLast.begin()) &&
                         (FCalls[0].Kind == TKind::FillAll ||
                          std::all_of(begin, end, [](const TCall& call) {
                              return call.Kind != TKind::Text && call.Kind != TKind::Polyline;
                          }));
    if (FCount == 0 || repeats) {
        FCount = 0;
        return false;
    }
    // Once painting starts, the target no longer holds the last frame.
    FLastOnTarget = false;
    try {
        Flush();
        FTarget.Release();
    } catch (...) {
        // The frame is lost; the next starts empty.
        FCount = 0;
        FPainted = 0;
        throw;
    }
    std::swap(FCalls, FLast);
    FLastCount = FCount;
    FLastOnTarget = true;
    FCount = 0;
    FPainted = 0;
    return true;
}

} // namespace pelmoravan
