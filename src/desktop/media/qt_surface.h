// SPDX-License-Identifier: MIT
#pragma once
#include <QFont>
#include <QImage>
#include <QPainter>
#include <cstdint>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "media/canvas.h"
#include "media/canvas_state.h"
#include "ports/paint_device.h"

namespace pelmoravan {

// The face the canvas draws with: it carries the Chinese glyphs of the interface texts.
inline constexpr const char* kCanvasFontFamily = "WenQuanYi Micro Hei";

// The off-screen surface's pixels: one QImage, painted through the device calls. A single
// painter serves the drawings that need one; it is opened on first use and closed by Release().
class TQtPixels final : public IPaintDevice {
public:
    explicit TQtPixels(QSize size = QSize(1, 1));
    ~TQtPixels() override;
    TQtPixels(const TQtPixels&) = delete;
    TQtPixels& operator=(const TQtPixels&) = delete;

    // A new, black image of the size.
    void Resize(QSize size);
    const QImage& Image() const { return FImage; }
    bool Exists() const { return !FImage.isNull(); }

    // IPaintDevice
    std::int32_t Width() const override { return FImage.width(); }
    std::int32_t Height() const override { return FImage.height(); }
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
    void Release() override;

    bool Painting() const { return FPainter.isActive(); }

private:
    QPainter& Painter();
    // The font at the size, kept between calls: the game writes in few sizes.
    const QFont& FontOf(std::int32_t points);
    // The cell (Advance x Height) of a text drawn on a solid brush, as the painter draws it:
    // kept by text, size and colours, since the game writes the same few texts every frame.
    struct TTextCell {
        QImage Pixels;
        bool Spills = false; // glyphs colour pixels outside the cell: the painter must draw it
    };
    const TTextCell& TextCell(const std::string& text, const TTextPaint& paint,
                              const TTextExtent& extent);

    // Draws the pattern scaled to w x h at (x, y) by copying its prepared pixels; false when
    // that cannot stand for the painter's drawing (too large, or pixels that blend), and the
    // painter must draw it.
    bool CopyPrepared(const TPictureCollectionItem& item, std::int32_t pattern, std::int64_t x,
                      std::int64_t y, std::int64_t w, std::int64_t h);
    // The rectangle is about to be written: it no longer holds the colour of the last fill.
    void Touch(const QRect& rect);
    void FillSame(const QRect& rect, QRgb pixel);

    // The cells of a grid of 32 x 16 written since the last fill, row by row. Pixels outside
    // them hold FFillPixel, so a fill of the same colour need only clear these. Not a record of
    // what changed (the house keeps that): only where the fill's colour may be missing.
    static constexpr int kCellWidth = 32;
    static constexpr int kCellHeight = 16;
    std::vector<std::uint8_t> FDrawn;
    int FColumns = 0;
    bool FDrawnAny = false;
    QRgb FFillPixel = 0;

    QImage FImage;
    QPainter FPainter;
    QFont FFont;
    std::map<std::tuple<std::string, int, QRgb, QRgb>, TTextCell> FTextCells;
};

// Holds the pixels ahead of the canvas that draws on them.
struct TQtPixelsHolder {
    explicit TQtPixelsHolder(QSize size) : Pixels(size) {}
    TQtPixels Pixels;
};

// The off-screen surface and its canvas on one QImage.
class TQtSurface final : private TQtPixelsHolder, public TCanvas {
public:
    explicit TQtSurface(QSize size = QSize(1, 1)) : TQtPixelsHolder(size), TCanvas(Pixels) {}

    // A new, black image of the size; brush, pen and font stay as they were.
    void Resize(QSize size) { Pixels.Resize(size); }
    const QImage& Image() const { return Pixels.Image(); }
    bool Exists() const { return Pixels.Exists(); }
    TQtPixels& QtPixels() { return Pixels; }
    const TQtPixels& QtPixels() const { return Pixels; }
    bool Painting() const { return Pixels.Painting(); }
};

} // namespace pelmoravan
