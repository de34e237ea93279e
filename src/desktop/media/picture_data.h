// SPDX-License-Identifier: MIT
#pragma once
#include <QImage>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "media/canvas.h"
#include "media/collection.h"

namespace pelmoravan {

// How a pattern's pixels are picked for another size: as the painter picks them for a stretch
// draw, or by the 16.16 fixed-point steps of the wave draw.
enum class TSampling { Painter, FixedPoint };

// A pattern made ready to be copied at one size: its pixels scaled, and for every row the runs
// of pixels that are drawn (all of them unless keyed).
struct TPreparedImage {
    struct TRun {
        std::int32_t First; // first column drawn
        std::int32_t Last;  // one past the last
    };
    QImage Pixels; // ARGB32_Premultiplied, of the size drawn
    std::vector<TRun> Runs;
    std::vector<std::int32_t> RowRuns; // row y's runs are Runs[RowRuns[y] .. RowRuns[y + 1])
    // Some pixel is neither opaque nor fully transparent: runs cannot stand for a blend.
    bool Blends = false;
};

// The pixels of one picture, held once: opaque, or with the colour key turned into alpha. The
// key is applied when first asked for (the loader asks at load time), never per frame; the two
// forms turn into each other exactly, since the opaque one has no transparent pixel.
class TQtPictureData final : public IPictureData {
public:
    explicit TQtPictureData(const QImage& image);

    // Differs between any two pictures made in one run, unlike their addresses.
    std::uint64_t Serial() const { return FSerial; }

    std::int32_t Width() const override { return FPixels.width(); }
    std::int32_t Height() const override { return FPixels.height(); }
    bool Empty() const { return FPixels.isNull(); }

    // Every pixel opaque.
    const QImage& Opaque();
    // Pixels of the key colour (0x00BBGGRR, matched exactly on red, green and blue) transparent,
    // every other pixel opaque.
    const QImage& Keyed(TColor key);

    // The pattern `from`, keyed or not, ready to be drawn at `size`. Made on first use and kept
    // for the next draws of that size (a few sizes at a time); the reference holds until the
    // next call.
    const TPreparedImage& Prepared(bool keyed, TColor key, const QRect& from, QSize size,
                                   TSampling sampling = TSampling::Painter);

private:
    struct TPreparedEntry {
        bool Keyed;
        TColor Key;
        QRect From;
        QSize Size;
        TSampling Sampling;
        TPreparedImage Image;
    };
    static constexpr std::size_t kPreparedKept = 4;

    std::uint64_t FSerial;
    QImage FPixels;
    std::optional<TColor> FKey; // the key FPixels is keyed with, if any
    std::vector<std::unique_ptr<TPreparedEntry>> FPrepared; // the most recently made last
};

// The pattern of the item, ready to be drawn at the size; nullptr when the item holds no pixels
// of ours or the pattern does not exist.
const TPreparedImage* PreparedImage(const TPictureCollectionItem& item, std::int32_t pattern,
                                    QSize size, TSampling sampling = TSampling::Painter);

// The image a draw of this item copies from, with its key applied when the item is transparent;
// nullptr when the item holds no pixels of ours.
const QImage* SourceImage(const TPictureCollectionItem& item);

// The core's pattern rectangle as a QRect; nothing for an index out of range.
std::optional<QRect> PatternQRect(const TPictureCollectionItem& item, std::int32_t pattern);

QColor ToQColor(TColor color);

} // namespace pelmoravan
