#pragma once
#include <QImage>
#include <optional>

#include "media/canvas.h"
#include "media/collection.h"

namespace pelmoravan {

// The pixels of one picture. The colour key is turned into alpha once, when the key is first
// asked for (the loader asks at load time), never per frame.
class TQtPictureData final : public IPictureData {
public:
    explicit TQtPictureData(const QImage& image);

    std::int32_t Width() const override { return FOpaque.width(); }
    std::int32_t Height() const override { return FOpaque.height(); }

    // Every pixel opaque.
    const QImage& Opaque() const { return FOpaque; }
    // Pixels of the key colour (0x00BBGGRR, matched exactly on red, green and blue) transparent,
    // every other pixel opaque.
    const QImage& Keyed(TColor key);

private:
    QImage FOpaque;
    QImage FKeyed;
    std::optional<TColor> FKey;
};

// The image a draw of this item copies from, with its key applied when the item is transparent;
// nullptr when the item holds no pixels of ours.
const QImage* SourceImage(const TPictureCollectionItem& item);

// The rectangle of a pattern inside the item's picture; nothing for an index out of range.
std::optional<QRect> PatternRect(const TPictureCollectionItem& item, std::int32_t pattern);

QColor ToQColor(TColor color);

} // namespace pelmoravan
