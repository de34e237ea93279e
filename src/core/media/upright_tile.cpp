// SPDX-License-Identifier: MIT
#include "media/upright_tile.h"

#include <algorithm>
#include <cstddef>

namespace pelmoravan {

std::vector<std::uint8_t> UprightTile(const std::uint8_t* rgba, std::int32_t width, std::int32_t height) {
    const std::int32_t outWidth = height;
    const std::int32_t outHeight = width;
    std::vector<std::uint8_t> out(static_cast<std::size_t>(outWidth) * static_cast<std::size_t>(outHeight) * 4, 0);
    auto at = [&](std::int32_t x, std::int32_t y) { return rgba + (static_cast<std::size_t>(y) * width + x) * 4; };

    std::int32_t left = width;
    std::int32_t right = -1;
    std::int32_t top = height;
    std::int32_t bottom = -1;
    for (std::int32_t y = 0; y < height; ++y) {
        for (std::int32_t x = 0; x < width; ++x) {
            if (at(x, y)[3] != 0) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        }
    }
    if (right < 0) {
        return out; // nothing drawn
    }
    const std::int32_t glyphWidth = right - left + 1;
    const std::int32_t glyphHeight = bottom - top + 1;
    // A pixel of the plate stays clear on each side, as on the level tiles.
    const std::int32_t room = std::max(1, outWidth - 2);
    const double scale = std::min({1.0, static_cast<double>(room) / glyphWidth,
                                   static_cast<double>(std::max(1, outHeight - 2)) / glyphHeight});
    const auto shownWidth = std::max<std::int32_t>(1, static_cast<std::int32_t>(glyphWidth * scale + 0.5));
    const auto shownHeight = std::max<std::int32_t>(1, static_cast<std::int32_t>(glyphHeight * scale + 0.5));
    const std::int32_t ox = (outWidth - shownWidth) / 2;
    const std::int32_t oy = (outHeight - shownHeight) / 2;

    // Each pixel shown averages the glyph's pixels it covers (four by four samples), weighted by
    // their cover, so that a shrunk glyph keeps its outline and its rim.
    constexpr std::int32_t kSamples = 4;
    for (std::int32_t y = 0; y < shownHeight; ++y) {
        for (std::int32_t x = 0; x < shownWidth; ++x) {
            double sum[4] = {0, 0, 0, 0};
            for (std::int32_t sy = 0; sy < kSamples; ++sy) {
                for (std::int32_t sx = 0; sx < kSamples; ++sx) {
                    const double fx = (x + (sx + 0.5) / kSamples) * glyphWidth / shownWidth;
                    const double fy = (y + (sy + 0.5) / kSamples) * glyphHeight / shownHeight;
                    const std::int32_t gx = std::min(glyphWidth - 1, static_cast<std::int32_t>(fx));
                    const std::int32_t gy = std::min(glyphHeight - 1, static_cast<std::int32_t>(fy));
                    const std::uint8_t* p = at(left + gx, top + gy);
                    const double a = p[3];
                    sum[0] += p[0] * a;
                    sum[1] += p[1] * a;
                    sum[2] += p[2] * a;
                    sum[3] += a;
                }
            }
            std::uint8_t* o = out.data() + (static_cast<std::size_t>(oy + y) * outWidth + ox + x) * 4;
            const double alpha = sum[3] / (kSamples * kSamples);
            // Half covered or more is glyph, as when the tiles were made: no soft fringe to key.
            if (alpha < 128) {
                continue;
            }
            for (int c = 0; c < 3; ++c) {
                o[c] = static_cast<std::uint8_t>(sum[c] / sum[3] + 0.5);
            }
            o[3] = 255;
        }
    }
    return out;
}

} // namespace pelmoravan
