#include "media/qt/qt_surface.h"

#include <QFontMetrics>
#include <QPolygon>
#include <algorithm>
#include <cstdint>
#include <vector>

#include "media/collection.h"
#include "media/qt/picture_data.h"
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

} // namespace

TQtSurface::TQtSurface(QSize size) : FFont(QString::fromLatin1(kCanvasFontFamily)) {
    FFont.setPointSize(8);
    Resize(size);
}

TQtSurface::~TQtSurface() { Release(); }

void TQtSurface::Resize(QSize size) {
    Release();
    FImage = QImage(size.expandedTo(QSize(1, 1)), QImage::Format_ARGB32_Premultiplied);
    FImage.fill(QColor(Qt::black));
}

QPainter& TQtSurface::Painter() {
    if (!FPainter.isActive()) {
        FPainter.begin(&FImage);
        // Hard pixel edges as on the original surface; only glyphs are smoothed.
        FPainter.setRenderHint(QPainter::Antialiasing, false);
        FPainter.setRenderHint(QPainter::SmoothPixmapTransform, false);
        FPainter.setRenderHint(QPainter::TextAntialiasing, true);
    }
    return FPainter;
}

void TQtSurface::Fill(std::uint32_t value) {
    // A device value: red in bits 16..23, blue in the low byte.
    const QRgb pixel = 0xFF000000u | (value & 0x00FFFFFFu);
    if (FPainter.isActive()) {
        FPainter.setCompositionMode(QPainter::CompositionMode_Source);
        FPainter.fillRect(FImage.rect(), QColor::fromRgb(pixel));
        FPainter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    } else {
        FImage.fill(pixel);
    }
}

void TQtSurface::Draw(const TPictureCollectionItem& item, std::int32_t x, std::int32_t y,
                      std::int32_t pattern) {
    const QImage* source = SourceImage(item);
    const auto from = PatternRect(item, pattern);
    if (source == nullptr || !from) {
        return;
    }
    Painter().drawImage(QPoint(x, y), *source, *from);
}

void TQtSurface::StretchDraw(const TPictureCollectionItem& item, const TRect& dest,
                             std::int32_t pattern) {
    const QImage* source = SourceImage(item);
    const auto from = PatternRect(item, pattern);
    if (source == nullptr || !from || dest.Right <= dest.Left || dest.Bottom <= dest.Top) {
        return;
    }
    // Widths beyond 32 bits cannot be drawn sensibly; such a rectangle draws nothing.
    const std::int64_t width = std::int64_t{dest.Right} - dest.Left;
    const std::int64_t height = std::int64_t{dest.Bottom} - dest.Top;
    if (width > INT32_MAX || height > INT32_MAX) {
        return;
    }
    const QRect to(dest.Left, dest.Top, static_cast<int>(width), static_cast<int>(height));
    Painter().drawImage(to, *source, *from);
}

void TQtSurface::WaveDraw(const TPictureCollectionItem& item, std::int32_t x, std::int32_t y,
                          std::int32_t w, std::int32_t h, std::int32_t pattern,
                          std::int32_t amplitude, std::int32_t wavelength, std::int32_t phase) {
    const QImage* source = SourceImage(item);
    const auto from = PatternRect(item, pattern);
    if (source == nullptr || !from || w <= 0 || h <= 0) {
        return;
    }
    // Row by row into the pixels; the painter must not hold the image meanwhile.
    Release();
    // Every row maps its columns alike; work the mapping out once.
    const std::int64_t columnStep = ScaleStep(from->width(), w);
    std::vector<std::int32_t> sourceColumn(static_cast<std::size_t>(w));
    for (std::int32_t j = 0; j < w; ++j) {
        sourceColumn[static_cast<std::size_t>(j)] = from->left() + ScaledIndex(j, columnStep);
    }
    const bool keyed = item.Transparent;
    const auto* sourceBits = source->constBits();
    const qsizetype sourceStride = source->bytesPerLine();
    for (const TWaveRow& row : WaveRows(y, h, from->height(), FImage.height(), amplitude,
                                        wavelength, phase)) {
        const auto* src = reinterpret_cast<const QRgb*>(
            sourceBits + (from->top() + row.SourceRow) * sourceStride);
        auto* dst = reinterpret_cast<QRgb*>(FImage.scanLine(row.DestY));
        const std::int64_t left = static_cast<std::int64_t>(x) + row.Shift;
        const TSpan span = ClipSpan(static_cast<std::int32_t>(
                                        std::clamp<std::int64_t>(left, INT32_MIN, INT32_MAX)),
                                    w, FImage.width());
        const std::int32_t* columns = sourceColumn.data();
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
}

void TQtSurface::SetBrushColor(TColor color) {
    FBrushColor = ToQColor(color);
    FBrushStyle = TBrushStyle::bsSolid;
}

void TQtSurface::SetBrushStyle(TBrushStyle style) { FBrushStyle = style; }
void TQtSurface::SetPenColor(TColor color) { FPenColor = ToQColor(color); }
void TQtSurface::SetPenWidth(std::int32_t width) { FPenWidth = std::max(width, 0); }
void TQtSurface::SetFontColor(TColor color) { FFontColor = ToQColor(color); }

void TQtSurface::SetFontSize(std::int32_t points) {
    if (points > 0) {
        FFont.setPointSize(points);
    }
}

void TQtSurface::FillRect(const TRect& rect) {
    if (FBrushStyle == TBrushStyle::bsClear) {
        return;
    }
    const QRect box = ClipToImage(rect.Left, rect.Top, rect.Right, rect.Bottom, FImage);
    if (!box.isEmpty()) {
        Painter().fillRect(box, FBrushColor);
    }
}

void TQtSurface::TextOut(std::int32_t x, std::int32_t y, const std::string& text) {
    QPainter& painter = Painter();
    painter.setFont(FFont);
    const QString s = FromUtf8(text);
    const QFontMetrics metrics(FFont, &FImage);
    if (FBrushStyle == TBrushStyle::bsSolid) {
        const QRect box = ClipToImage(x, y, std::int64_t{x} + metrics.horizontalAdvance(s),
                                      std::int64_t{y} + metrics.height(), FImage);
        if (!box.isEmpty()) {
            painter.fillRect(box, FBrushColor);
        }
    }
    painter.setPen(FFontColor);
    painter.drawText(QPoint(x, y + metrics.ascent()), s);
}

std::int32_t TQtSurface::TextWidth(const std::string& text) {
    return QFontMetrics(FFont, &FImage).horizontalAdvance(FromUtf8(text));
}

std::int32_t TQtSurface::TextHeight(const std::string&) {
    // The height of the text cell, as the opaque box of TextOut.
    return QFontMetrics(FFont, &FImage).height();
}

void TQtSurface::Polyline(const std::vector<TPoint>& points) {
    if (points.empty()) {
        return;
    }
    QPolygon polygon;
    polygon.reserve(static_cast<qsizetype>(points.size()));
    for (const TPoint& p : points) {
        polygon << QPoint(p.X, p.Y);
    }
    QPainter& painter = Painter();
    QPen pen(FPenColor);
    pen.setWidth(FPenWidth);
    pen.setCapStyle(Qt::SquareCap);
    pen.setJoinStyle(Qt::MiterJoin);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawPolyline(polygon);
}

void TQtSurface::Release() {
    if (FPainter.isActive()) {
        FPainter.end();
    }
}

} // namespace pelmoravan
