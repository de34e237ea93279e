#include "media/qt/picture_data.h"

namespace pelmoravan {

TQtPictureData::TQtPictureData(const QImage& image)
    : FOpaque(image.convertToFormat(QImage::Format_ARGB32_Premultiplied)) {
    // The catalog's pictures are 24-bit; anything with an alpha channel of its own is made opaque
    // so that only the key decides what is drawn.
    if (image.hasAlphaChannel()) {
        for (int y = 0; y < FOpaque.height(); ++y) {
            auto* row = reinterpret_cast<QRgb*>(FOpaque.scanLine(y));
            for (int x = 0; x < FOpaque.width(); ++x) {
                row[x] |= 0xFF000000u;
            }
        }
    }
}

const QImage& TQtPictureData::Keyed(TColor key) {
    if (FKey == key) {
        return FKeyed;
    }
    const QRgb match = qRgb(static_cast<int>(key & 0xFF), static_cast<int>((key >> 8) & 0xFF),
                            static_cast<int>((key >> 16) & 0xFF));
    FKeyed = FOpaque.copy();
    for (int y = 0; y < FKeyed.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(FKeyed.scanLine(y));
        for (int x = 0; x < FKeyed.width(); ++x) {
            if (row[x] == match) {
                row[x] = 0; // fully transparent, premultiplied
            }
        }
    }
    FKey = key;
    return FKeyed;
}

const QImage* SourceImage(const TPictureCollectionItem& item) {
    auto* data = dynamic_cast<TQtPictureData*>(item.Picture.get());
    if (data == nullptr || data->Opaque().isNull()) {
        return nullptr;
    }
    return item.Transparent ? &data->Keyed(item.TransparentColor) : &data->Opaque();
}

std::optional<QRect> PatternRect(const TPictureCollectionItem& item, std::int32_t pattern) {
    const std::int32_t pictureWidth = item.Width();
    const std::int32_t pictureHeight = item.Height();
    const std::int32_t w = item.PatternWidth > 0 ? item.PatternWidth : pictureWidth;
    const std::int32_t h = item.PatternHeight > 0 ? item.PatternHeight : pictureHeight;
    if (w <= 0 || h <= 0) {
        return std::nullopt;
    }
    const std::int32_t columns = pictureWidth / w;
    const std::int32_t rows = pictureHeight / h;
    if (pattern < 0 || columns <= 0 || pattern >= columns * rows) {
        return std::nullopt;
    }
    return QRect((pattern % columns) * w, (pattern / columns) * h, w, h);
}

QColor ToQColor(TColor color) {
    return QColor(static_cast<int>(color & 0xFF), static_cast<int>((color >> 8) & 0xFF),
                  static_cast<int>((color >> 16) & 0xFF));
}

} // namespace pelmoravan
