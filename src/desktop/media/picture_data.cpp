// SPDX-License-Identifier: MIT
#include "desktop/media/picture_data.h"

#include <QPainter>
#include <atomic>

#include "media/colour_key.h"
#include "media/wave_offset.h"

namespace pelmoravan {

namespace {

// Pixels scaled by the painter itself, so that a copy of them lands exactly as the painter
// would have drawn the pattern: drawn over full transparency, which leaves each source pixel
// as it is.
QImage ScaledAsPainted(const QImage& source, const QRect& from, QSize size) {
    if (size == from.size()) {
        // A whole picture at its own size shares the source's pixels instead of a copy.
        return from == source.rect() ? source : source.copy(from);
    }
    QImage scaled(size, QImage::Format_ARGB32_Premultiplied);
    scaled.fill(0);
    QPainter painter(&scaled);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawImage(QRect(QPoint(0, 0), size), source, from);
    return scaled;
}

// Pixels picked by the wave draw's fixed-point steps: destination column j takes source column
// (j * step) >> 16, and rows alike.
QImage ScaledByFixedPoint(const QImage& source, const QRect& from, QSize size) {
    QImage scaled(size, QImage::Format_ARGB32_Premultiplied);
    const std::int64_t columnStep = ScaleStep(from.width(), size.width());
    const std::int64_t rowStep = ScaleStep(from.height(), size.height());
    std::vector<std::int32_t> column(static_cast<std::size_t>(size.width()));
    for (int j = 0; j < size.width(); ++j) {
        column[static_cast<std::size_t>(j)] = from.left() + ScaledIndex(j, columnStep);
    }
    for (int i = 0; i < size.height(); ++i) {
        const auto* src = reinterpret_cast<const QRgb*>(
            source.constScanLine(from.top() + ScaledIndex(i, rowStep)));
        auto* dst = reinterpret_cast<QRgb*>(scaled.scanLine(i));
        for (int j = 0; j < size.width(); ++j) {
            dst[j] = src[column[static_cast<std::size_t>(j)]];
        }
    }
    return scaled;
}

void FindRuns(TPreparedImage& image) {
    const int width = image.Pixels.width();
    image.RowRuns.reserve(static_cast<std::size_t>(image.Pixels.height()) + 1);
    for (int y = 0; y < image.Pixels.height(); ++y) {
        image.RowRuns.push_back(static_cast<std::int32_t>(image.Runs.size()));
        const auto* row = reinterpret_cast<const QRgb*>(image.Pixels.constScanLine(y));
        int x = 0;
        while (x < width) {
            const int alpha = qAlpha(row[x]);
            if (alpha == 0) {
                ++x;
                continue;
            }
            if (alpha != 255) {
                image.Blends = true;
            }
            const int first = x;
            while (x < width && qAlpha(row[x]) != 0) {
                if (qAlpha(row[x]) != 255) {
                    image.Blends = true;
                }
                ++x;
            }
            image.Runs.push_back({first, x});
        }
    }
    image.RowRuns.push_back(static_cast<std::int32_t>(image.Runs.size()));
}

std::atomic<std::uint64_t> NextSerial{0};

} // namespace

TQtPictureData::TQtPictureData(const QImage& image)
    : FSerial(++NextSerial), FPixels(image.convertToFormat(QImage::Format_ARGB32_Premultiplied)) {
    // The catalog's pictures are 24-bit; anything with an alpha channel of its own is made opaque
    // so that only the key decides what is drawn.
    if (image.hasAlphaChannel()) {
        for (int y = 0; y < FPixels.height(); ++y) {
            auto* row = reinterpret_cast<QRgb*>(FPixels.scanLine(y));
            for (int x = 0; x < FPixels.width(); ++x) {
                row[x] |= 0xFF000000u;
            }
        }
    }
}

namespace {

// Every pixel for which `replaced` holds becomes `by`.
template <typename Test>
void ReplacePixels(QImage& image, Test replaced, QRgb by) {
    for (int y = 0; y < image.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if (replaced(row[x])) {
                row[x] = by;
            }
        }
    }
}

} // namespace

const QImage& TQtPictureData::Opaque() {
    if (FKey) {
        ReplacePixels(FPixels, [](QRgb pixel) { return qAlpha(pixel) == 0; }, ToQColor(*FKey).rgb());
        FKey.reset();
    }
    return FPixels;
}

const QImage& TQtPictureData::Keyed(TColor key) {
    if (FKey != key) {
        Opaque();
        // Fully transparent, premultiplied; the pixels are all opaque here.
        ReplacePixels(FPixels,
                      [key](QRgb pixel) {
                          return IsKeyColour(static_cast<std::uint8_t>(qRed(pixel)),
                                             static_cast<std::uint8_t>(qGreen(pixel)),
                                             static_cast<std::uint8_t>(qBlue(pixel)), key);
                      },
                      0);
        FKey = key;
    }
    return FPixels;
}

const TPreparedImage& TQtPictureData::Prepared(bool keyed, TColor key, const QRect& from,
                                               QSize size, TSampling sampling) {
    for (const auto& entry : FPrepared) {
        if (entry->Keyed == keyed && (!keyed || entry->Key == key) && entry->From == from &&
            entry->Size == size && entry->Sampling == sampling) {
            return entry->Image;
        }
    }
    if (FPrepared.size() >= kPreparedKept) {
        FPrepared.erase(FPrepared.begin());
    }
    auto entry =
        std::make_unique<TPreparedEntry>(TPreparedEntry{keyed, key, from, size, sampling, {}});
    const QImage& source = keyed ? Keyed(key) : Opaque();
    entry->Image.Pixels = sampling == TSampling::Painter ? ScaledAsPainted(source, from, size)
                                                         : ScaledByFixedPoint(source, from, size);
    FindRuns(entry->Image);
    FPrepared.push_back(std::move(entry));
    return FPrepared.back()->Image;
}

const TPreparedImage* PreparedImage(const TPictureCollectionItem& item, std::int32_t pattern,
                                    QSize size, TSampling sampling) {
    auto* data = dynamic_cast<TQtPictureData*>(item.Picture.get());
    const auto from = PatternQRect(item, pattern);
    if (data == nullptr || data->Empty() || !from || size.isEmpty()) {
        return nullptr;
    }
    return &data->Prepared(item.Transparent, item.TransparentColor, *from, size, sampling);
}

const QImage* SourceImage(const TPictureCollectionItem& item) {
    auto* data = dynamic_cast<TQtPictureData*>(item.Picture.get());
    if (data == nullptr || data->Empty()) {
        return nullptr;
    }
    return item.Transparent ? &data->Keyed(item.TransparentColor) : &data->Opaque();
}

std::optional<QRect> PatternQRect(const TPictureCollectionItem& item, std::int32_t pattern) {
    const auto rect = pelmoravan::PatternRect(item, pattern);
    if (!rect) {
        return std::nullopt;
    }
    return QRect(rect->Left, rect->Top, rect->Right - rect->Left, rect->Bottom - rect->Top);
}

QColor ToQColor(TColor color) {
    return QColor(static_cast<int>(color & 0xFF), static_cast<int>((color >> 8) & 0xFF),
                  static_cast<int>((color >> 16) & 0xFF));
}

} // namespace pelmoravan
