// SPDX-License-Identifier: MIT
#include "media/collection.h"

#include "media/canvas.h"

namespace pelmoravan {

std::string LowerAscii(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return text;
}

std::uint8_t NameBucket(const std::string& name) {
    const std::string lower = LowerAscii(name);
    std::uint32_t bucket = 16u * static_cast<std::uint32_t>(lower.size());
    if (lower.size() >= 2) {
        bucket += static_cast<unsigned char>(lower[0]);
        bucket += static_cast<unsigned char>(lower[lower.size() - 2]);
    }
    return static_cast<std::uint8_t>(bucket % 256u);
}

std::optional<TRect> PatternRect(const TPictureCollectionItem& item, std::int32_t pattern) {
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
    const std::int32_t left = (pattern % columns) * w;
    const std::int32_t top = (pattern / columns) * h;
    return TRect{left, top, left + w, top + h};
}

} // namespace pelmoravan
