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

// A set of places on an image, kept as a grid of blocks: cheap to mark many times a frame,
// read back as a few rectangles that cover at least every marked pixel.
class TBlockSet {
public:
    static constexpr int BlockWidth = 32;
    static constexpr int BlockHeight = 16;

    // Empty, for an image of the size.
    void Reset(QSize size);
    // Marks the blocks under the rectangle's part inside the image.
    void Mark(const QRect& rect);
    void MarkAll();
    void Add(const TBlockSet& other);
    void Clear();
    bool Empty() const { return !FAny; }
    // The marked blocks, clipped to the image: one rectangle per run of marked blocks in a band
    // of blocks, bands top to bottom, runs left to right.
    std::vector<QRect> Rects() const;

private:
    QSize FSize;
    int FColumns = 0;
    int FRows = 0;
    std::vector<std::uint8_t> FBlocks;
    bool FAny = false;
};

// Calls visit(index, block) for every block of the grid of TBlockSet, on an image of the size,
// under the rectangle; index counts blocks row by row, and block is clipped to the image.
template <typename F>
void ForEachBlock(QSize size, const QRect& rect, F&& visit) {
    const QRect bounds(QPoint(0, 0), size);
    const QRect inside = rect.intersected(bounds);
    if (inside.isEmpty()) {
        return;
    }
    constexpr int W = TBlockSet::BlockWidth;
    constexpr int H = TBlockSet::BlockHeight;
    const auto columns = static_cast<std::size_t>((size.width() + W - 1) / W);
    for (int row = inside.top() / H; row <= inside.bottom() / H; ++row) {
        for (int column = inside.left() / W; column <= inside.right() / W; ++column) {
            visit(static_cast<std::size_t>(row) * columns + static_cast<std::size_t>(column),
                  QRect(column * W, row * H, W, H).intersected(bounds));
        }
    }
}

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

    // Covers every pixel written since the last call (or since the image was made); forgets them.
    std::vector<QRect> TakeWritten();
    // What TakeWritten would cover now, left in place.
    std::vector<QRect> Unflipped() const { return FWritten.Rects(); }
    // A fingerprint of the last fill and of everything drawn since, with all that decides its
    // pixels: two equal fingerprints mean two equal images (but for a chance of 2^-64).
    std::uint64_t Fingerprint() const { return FPrint; }
    // The same for one block of the grid (ForEachBlock's index): the fill it was last given and
    // every drawing since that wrote into it.
    std::uint64_t BlockPrint(std::size_t index) const { return FBlockPrints[index]; }

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
    // A drawing starts: what it absorbs makes its own print as well as the surface's.
    void Begin(std::uint64_t operation);
    void Absorb(std::uint64_t value);
    void Absorb(const TPictureCollectionItem& item, std::int32_t pattern);
    // The rectangle is about to be written by the drawing begun last: the window must learn of
    // it, it no longer holds the colour of the last fill, and its blocks take the drawing's print.
    void Touch(const QRect& rect);

    // Blocks written since TakeWritten, and blocks written since the last fill. Pixels outside
    // FDrawn hold FFillPixel, so a fill of the same colour need only clear FDrawn.
    TBlockSet FWritten;
    TBlockSet FDrawn;
    QRgb FFillPixel = 0;
    std::uint64_t FPrint = 0;
    std::uint64_t FOp = 0; // the print of the drawing begun last
    std::vector<std::uint64_t> FBlockPrints;

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
    std::vector<QRect> TakeWritten() { return Pixels.TakeWritten(); }
    std::vector<QRect> Unflipped() const { return Pixels.Unflipped(); }
    std::uint64_t Fingerprint() const { return Pixels.Fingerprint(); }
    std::uint64_t BlockPrint(std::size_t index) const { return Pixels.BlockPrint(index); }
};

} // namespace pelmoravan
