// SPDX-License-Identifier: MIT
#include "desktop/media/qt_surface.h"

#include <QFontMetrics>
#include <QPolygon>
#include <algorithm>
#include <cstring>
#include <functional>
#include <cstdint>
#include <vector>

#include "media/collection.h"
#include "desktop/media/picture_data.h"
#include "media/wave_offset.h"

namespace pelmoravan {

namespace {

QString FromUtf8(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The part of l <= x < r, t <= y < b inside the image, worked out in 64 bits so that no
// rectangle the game passes can overflow.
QRect ClipToImage(std::int64_t l, std::int64_t t, std::int64_t r, std::int64_t b,
                  const QImage& image) {
    l = std::max<std::int64_t>(l, 0);
    t = std::max<std::int64_t>(t, 0);
    r = std::min<std::int64_t>(r, image.width());
    b = std::min<std::int64_t>(b, image.height());
    if (r <= l || b <= t) {
        return {};
    }
    return QRect(static_cast<int>(l), static_cast<int>(t), static_cast<int>(r - l),
                 static_cast<int>(b - t));
}




// Larger draws are made from the picture itself each time rather than from a kept copy of
// their pixels at the size drawn.
constexpr std::int64_t kMostPreparedPixels = 1 << 20;

} // namespace

TQtPixels::TQtPixels(QSize size) : FFont(QString::fromLatin1(kCanvasFontFamily)) {
    FFont.setPointSize(8);
    Resize(size);
}

TQtPixels::~TQtPixels() { Release(); }

void TQtPixels::Resize(QSize size) {
    Release();
    FImage = QImage(size.expandedTo(QSize(1, 1)), QImage::Format_ARGB32_Premultiplied);
    FFillPixel = qRgb(0, 0, 0);
    FImage.fill(FFillPixel);
    FColumns = (FImage.width() + kCellWidth - 1) / kCellWidth;
    FDrawn.assign(static_cast<std::size_t>(FColumns) *
                      static_cast<std::size_t>((FImage.height() + kCellHeight - 1) / kCellHeight),
                  0);
    FDrawnAny = false;
}

void TQtPixels::Touch(const QRect& rect) {
    const QRect inside = rect.intersected(FImage.rect());
    if (inside.isEmpty()) {
        return;
    }
    for (int row = inside.top() / kCellHeight; row <= inside.bottom() / kCellHeight; ++row) {
        std::uint8_t* cells = FDrawn.data() + static_cast<std::size_t>(row) * static_cast<std::size_t>(FColumns);
        std::fill(cells + inside.left() / kCellWidth, cells + inside.right() / kCellWidth + 1, std::uint8_t{1});
    }
    FDrawnAny = true;
}

QPainter& TQtPixels::Painter() {
    if (!FPainter.isActive()) {
        FPainter.begin(&FImage);
        // Hard pixel edges as on the original surface; only glyphs are smoothed.
        FPainter.setRenderHint(QPainter::Antialiasing, false);
        FPainter.setRenderHint(QPainter::SmoothPixmapTransform, false);
        FPainter.setRenderHint(QPainter::TextAntialiasing, true);
    }
    return FPainter;
}

void TQtPixels::FillAll(std::uint32_t value) {
    // A device value: red in bits 16..23, blue in the low byte.
    const QRgb pixel = 0xFF000000u | (value & 0x00FFFFFFu);
    // The pixels are written directly; the painter must not hold the image meanwhile.
    Release();
    if (pixel != FFillPixel) {
        FImage.fill(pixel);
        FFillPixel = pixel;
        std::fill(FDrawn.begin(), FDrawn.end(), std::uint8_t{0});
        FDrawnAny = false;
        return;
    }
    if (!FDrawnAny) {
        return;
    }
    // Every pixel outside what was drawn since the last fill holds this colour already: most
    // frames fill the same colour and draw in the same places, so only those are cleared.
    const int rows = static_cast<int>(FDrawn.size()) / std::max(FColumns, 1);
    for (int row = 0; row < rows; ++row) {
        std::uint8_t* cells = FDrawn.data() + static_cast<std::size_t>(row) * static_cast<std::size_t>(FColumns);
        for (int column = 0; column < FColumns;) {
            if (cells[column] == 0) {
                ++column;
                continue;
            }
            const int first = column;
            while (column < FColumns && cells[column] != 0) {
                cells[column++] = 0;
            }
            const QRect rect = QRect(first * kCellWidth, row * kCellHeight, (column - first) * kCellWidth, kCellHeight)
                                   .intersected(FImage.rect());
            FillSame(rect, pixel);
        }
    }
    FDrawnAny = false;
}

void TQtPixels::FillSame(const QRect& rect, QRgb pixel) {
    const qsizetype stride = FImage.bytesPerLine();
    uchar* bits = FImage.bits();
    {
        // One row by hand, the others copied from it: the library's copy is the faster store.
        const qsizetype offset = static_cast<qsizetype>(rect.left()) * sizeof(QRgb);
        const auto bytes = static_cast<std::size_t>(rect.width()) * sizeof(QRgb);
        uchar* first = bits + rect.top() * stride + offset;
        std::fill_n(reinterpret_cast<QRgb*>(first), rect.width(), pixel);
        for (int y = rect.top() + 1; y <= rect.bottom(); ++y) {
            std::memcpy(bits + y * stride + offset, first, bytes);
        }
    }
}

bool TQtPixels::CopyPrepared(const TPictureCollectionItem& item, std::int32_t pattern,
                              std::int64_t x, std::int64_t y, std::int64_t w, std::int64_t h) {
    if (w <= 0 || h <= 0 || w * h > kMostPreparedPixels) {
        return false;
    }
    const QRect box = ClipToImage(x, y, x + w, y + h, FImage);
    if (box.isEmpty()) {
        return true;
    }
    const TPreparedImage* image =
        PreparedImage(item, pattern, QSize(static_cast<int>(w), static_cast<int>(h)));
    if (image == nullptr || image->Blends) {
        return false;
    }
    // The pixels are written directly; the painter must not hold the image meanwhile.
    Release();
    Touch(box);
    const int left = box.left();
    const int right = box.left() + box.width();
    const qsizetype stride = FImage.bytesPerLine();
    uchar* bits = FImage.bits();
    for (int dy = box.top(); dy <= box.bottom(); ++dy) {
        const auto sy = static_cast<int>(dy - y);
        const auto* src = reinterpret_cast<const QRgb*>(image->Pixels.constScanLine(sy));
        auto* dst = reinterpret_cast<QRgb*>(bits + dy * stride);
        const auto* run = image->Runs.data() + image->RowRuns[static_cast<std::size_t>(sy)];
        const auto* end = image->Runs.data() + image->RowRuns[static_cast<std::size_t>(sy) + 1];
        for (; run != end; ++run) {
            const auto first = static_cast<int>(std::max<std::int64_t>(run->First + x, left));
            const auto last = static_cast<int>(std::min<std::int64_t>(run->Last + x, right));
            if (first < last) {
                std::memcpy(dst + first, src + (first - x),
                            static_cast<std::size_t>(last - first) * sizeof(QRgb));
            }
        }
    }
    return true;
}

void TQtPixels::Picture(const TPictureCollectionItem& item, std::int32_t x, std::int32_t y,
                        std::int32_t pattern) {
    const QImage* source = SourceImage(item);
    const auto from = PatternQRect(item, pattern);
    if (source == nullptr || !from) {
        return;
    }
    if (CopyPrepared(item, pattern, x, y, from->width(), from->height())) {
        return;
    }
    Touch(ClipToImage(x, y, std::int64_t{x} + from->width(), std::int64_t{y} + from->height(), FImage));
    Painter().drawImage(QPoint(x, y), *source, *from);
}

void TQtPixels::StretchedPicture(const TPictureCollectionItem& item, const TRect& dest,
                                 std::int32_t pattern) {
    const QImage* source = SourceImage(item);
    const auto from = PatternQRect(item, pattern);
    if (source == nullptr || !from || dest.Right <= dest.Left || dest.Bottom <= dest.Top) {
        return;
    }
    // Widths beyond 32 bits cannot be drawn sensibly; such a rectangle draws nothing.
    const std::int64_t width = std::int64_t{dest.Right} - dest.Left;
    const std::int64_t height = std::int64_t{dest.Bottom} - dest.Top;
    if (width > INT32_MAX || height > INT32_MAX) {
        return;
    }
    if (CopyPrepared(item, pattern, dest.Left, dest.Top, width, height)) {
        return;
    }
    const QRect to(dest.Left, dest.Top, static_cast<int>(width), static_cast<int>(height));
    Touch(ClipToImage(dest.Left, dest.Top, dest.Right, dest.Bottom, FImage));
    Painter().drawImage(to, *source, *from);
}

void TQtPixels::WaveRows(const TPictureCollectionItem& item, std::int32_t pattern,
                         const TWave& wave, const std::vector<TWaveRow>& rows) {
    const std::int32_t x = wave.X;
    const std::int32_t y = wave.Y;
    const std::int32_t w = wave.W;
    const std::int32_t h = wave.H;
    const QImage* source = SourceImage(item);
    const auto from = PatternQRect(item, pattern);
    if (source == nullptr || !from || w <= 0 || h <= 0) {
        return;
    }
    // Row by row into the pixels; the painter must not hold the image meanwhile.
    Release();
    QRect touched;
    // The pattern scaled once to w x h: each frame then copies its rows, shifted.
    const TPreparedImage* image = std::int64_t{w} * h <= kMostPreparedPixels
                                      ? PreparedImage(item, pattern, QSize(w, h), TSampling::FixedPoint)
                                      : nullptr;
    if (image != nullptr) {
        const int width = FImage.width();
        for (const TWaveRow& row : rows) {
            const auto i = static_cast<int>(row.DestY - std::int64_t{y});
            const auto* src = reinterpret_cast<const QRgb*>(image->Pixels.constScanLine(i));
            auto* dst = reinterpret_cast<QRgb*>(FImage.scanLine(row.DestY));
            const std::int64_t left = std::int64_t{x} + row.Shift;
            const auto* run = image->Runs.data() + image->RowRuns[static_cast<std::size_t>(i)];
            const auto* end = image->Runs.data() + image->RowRuns[static_cast<std::size_t>(i) + 1];
            for (; run != end; ++run) {
                const auto first = static_cast<int>(std::clamp<std::int64_t>(run->First + left, 0, width));
                const auto last = static_cast<int>(std::clamp<std::int64_t>(run->Last + left, 0, width));
                if (first < last) {
                    std::memcpy(dst + first, src + (first - left),
                                static_cast<std::size_t>(last - first) * sizeof(QRgb));
                    touched = touched.united(QRect(first, row.DestY, last - first, 1));
                }
            }
        }
        Touch(touched);
        return;
    }
    // Every row maps its columns alike; work the mapping out once.
    const std::int64_t columnStep = ScaleStep(from->width(), w);
    std::vector<std::int32_t> sourceColumn(static_cast<std::size_t>(w));
    for (std::int32_t j = 0; j < w; ++j) {
        sourceColumn[static_cast<std::size_t>(j)] = from->left() + ScaledIndex(j, columnStep);
    }
    const bool keyed = item.Transparent;
    const auto* sourceBits = source->constBits();
    const qsizetype sourceStride = source->bytesPerLine();
    for (const TWaveRow& row : rows) {
        const auto* src = reinterpret_cast<const QRgb*>(
            sourceBits + (from->top() + row.SourceRow) * sourceStride);
        auto* dst = reinterpret_cast<QRgb*>(FImage.scanLine(row.DestY));
        const std::int64_t left = static_cast<std::int64_t>(x) + row.Shift;
        const TSpan span = ClipSpan(static_cast<std::int32_t>(
                                        std::clamp<std::int64_t>(left, INT32_MIN, INT32_MAX)),
                                    w, FImage.width());
        const std::int32_t* columns = sourceColumn.data();
        if (span.First < span.Last) {
            touched = touched.united(
                QRect(static_cast<int>(left + span.First), row.DestY, span.Last - span.First, 1));
        }
        if (keyed) {
            for (std::int32_t j = span.First; j < span.Last; ++j) {
                const QRgb pixel = src[columns[j]];
                if (qAlpha(pixel) != 0) {
                    dst[left + j] = pixel;
                }
            }
        } else {
            for (std::int32_t j = span.First; j < span.Last; ++j) {
                dst[left + j] = src[columns[j]];
            }
        }
    }
    Touch(touched);
}

void TQtPixels::FillRect(const TRect& rect, TColor color) {
    const QColor brush = ToQColor(color);
    const QRect box = ClipToImage(rect.Left, rect.Top, rect.Right, rect.Bottom, FImage);
    if (!box.isEmpty()) {
        Touch(box);
        Painter().fillRect(box, brush);
    }
}

const QFont& TQtPixels::FontOf(std::int32_t points) {
    if (FFont.pointSize() != points) {
        FFont.setPointSize(points);
    }
    return FFont;
}

TTextExtent TQtPixels::MeasureText(const std::string& text, std::int32_t points) {
    const QString s = FromUtf8(text);
    const QFontMetrics metrics(FontOf(points), &FImage);
    TTextExtent m;
    m.Advance = metrics.horizontalAdvance(s);
    m.Ascent = metrics.ascent();
    m.Height = metrics.height();
    // Glyphs may reach past their advance and cell (overhangs); the margin covers smoothing.
    const QRect ink = metrics.boundingRect(s).translated(0, m.Ascent).adjusted(-2, -2, 2, 2);
    m.Ink = {ink.left(), ink.top(), ink.left() + ink.width(), ink.top() + ink.height()};
    return m;
}

const TQtPixels::TTextCell& TQtPixels::TextCell(const std::string& text, const TTextPaint& paint,
                                                 const TTextExtent& extent) {
    const QColor font = ToQColor(paint.Color);
    const QColor brush = ToQColor(paint.Box);
    const auto key = std::make_tuple(text, paint.Points, font.rgb(), brush.rgb());
    if (const auto found = FTextCells.find(key); found != FTextCells.end()) {
        return found->second;
    }
    if (FTextCells.size() >= 64) {
        FTextCells.clear();
    }
    // Drawn over full transparency around the cell, so that any glyph pixel outside it shows.
    const QRect cell(0, 0, extent.Advance, extent.Height);
    const QRect ink(extent.Ink.Left, extent.Ink.Top, extent.Ink.Right - extent.Ink.Left,
                    extent.Ink.Bottom - extent.Ink.Top);
    const QRect area = cell.united(ink);
    QImage drawn(area.size(), FImage.format());
    drawn.fill(0);
    QPainter painter(&drawn);
    painter.translate(-area.topLeft());
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    painter.fillRect(cell, brush);
    painter.setFont(FontOf(paint.Points));
    painter.setPen(font);
    painter.drawText(QPoint(0, extent.Ascent), FromUtf8(text));
    painter.end();
    TTextCell result;
    const QRect inside = cell.translated(-area.topLeft());
    for (int y = 0; y < drawn.height() && !result.Spills; ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(drawn.constScanLine(y));
        for (int x = 0; x < drawn.width(); ++x) {
            if (row[x] != 0 && !inside.contains(x, y)) {
                result.Spills = true;
                break;
            }
        }
    }
    result.Pixels = drawn.copy(inside);
    return FTextCells.emplace(key, std::move(result)).first->second;
}

void TQtPixels::Text(std::int32_t x, std::int32_t y, const std::string& text,
                     const TTextPaint& paint, const TTextExtent& m) {
    const QColor font = ToQColor(paint.Color);
    const QColor brush = ToQColor(paint.Box);
    const std::int64_t right = std::int64_t{x} + m.Advance;
    const std::int64_t bottom = std::int64_t{y} + m.Height;
    const QRect box = ClipToImage(x, y, right, bottom, FImage);
    const TTextCell* kept = nullptr;
    if (paint.Boxed && !box.isEmpty()) {
        kept = &TextCell(text, paint, m);
    }
    if (kept != nullptr && !kept->Spills) {
        // On a solid brush the cell's pixels depend on nothing under it: copy them.
        const QImage& cell = kept->Pixels;
        Release();
        Touch(box);
        const qsizetype stride = FImage.bytesPerLine();
        uchar* bits = FImage.bits();
        for (int dy = box.top(); dy <= box.bottom(); ++dy) {
            std::memcpy(bits + dy * stride + box.left() * qsizetype{4},
                        cell.constScanLine(static_cast<int>(dy - y)) + (box.left() - x) * qsizetype{4},
                        static_cast<std::size_t>(box.width()) * 4);
        }
        return;
    }
    QPainter& painter = Painter();
    painter.setFont(FontOf(paint.Points));
    if (paint.Boxed && !box.isEmpty()) {
        painter.fillRect(box, brush);
    }
    Touch(ClipToImage(std::min<std::int64_t>(x, std::int64_t{x} + m.Ink.Left),
                      std::min<std::int64_t>(y, std::int64_t{y} + m.Ink.Top),
                      std::max<std::int64_t>(right, std::int64_t{x} + m.Ink.Right),
                      std::max<std::int64_t>(bottom, std::int64_t{y} + m.Ink.Bottom), FImage));
    painter.setPen(font);
    painter.drawText(QPoint(x, y + m.Ascent), FromUtf8(text));
}

void TQtPixels::Polyline(const std::vector<TPoint>& points, TColor color, std::int32_t width) {
    if (points.empty()) {
        return;
    }
    const QColor colour = ToQColor(color);
    QPolygon polygon;
    polygon.reserve(static_cast<qsizetype>(points.size()));
    std::int64_t l = INT64_MAX;
    std::int64_t t = INT64_MAX;
    std::int64_t r = INT64_MIN;
    std::int64_t b = INT64_MIN;
    for (const TPoint& p : points) {
        polygon << QPoint(p.X, p.Y);
        l = std::min<std::int64_t>(l, p.X);
        t = std::min<std::int64_t>(t, p.Y);
        r = std::max<std::int64_t>(r, p.X);
        b = std::max<std::int64_t>(b, p.Y);
    }
    // Square caps reach half the width past an end, mitred corners at most the width past a
    // point; one pixel more covers the rounding of thin lines.
    const std::int64_t reach = std::int64_t{width} + 2;
    Touch(ClipToImage(l - reach, t - reach, r + reach + 1, b + reach + 1, FImage));
    QPainter& painter = Painter();
    // Width 0 is the painter's one-pixel pen, as a stroke of width 1 elsewhere.
    QPen pen(colour);
    pen.setWidth(width);
    pen.setCapStyle(Qt::SquareCap);
    pen.setJoinStyle(Qt::MiterJoin);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawPolyline(polygon);
}

void TQtPixels::Release() {
    if (FPainter.isActive()) {
        FPainter.end();
    }
}

} // namespace pelmoravan
