#include "media/frame_record.h"

#include <algorithm>
#include <utility>

namespace pelmoravan {

namespace {

bool SamePicture(const TPictureCollectionItem& a, const TPictureCollectionItem& b) {
    return a.Picture == b.Picture && a.PatternWidth == b.PatternWidth &&
           a.PatternHeight == b.PatternHeight && a.Transparent == b.Transparent &&
           a.TransparentColor == b.TransparentColor;
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

void TFrameRecord::Flush() {
    while (FPainted < FCount) {
        // Counted first: a call that throws is not painted twice.
        Paint(FCalls[FPainted++]);
    }
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
