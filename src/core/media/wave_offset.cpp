// SPDX-License-Identifier: MIT
#include "media/wave_offset.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace pelmoravan {

std::int64_t ScaleStep(std::int32_t sourceSize, std::int32_t destSize) {
    if (destSize <= 0) {
        return 0;
    }
    return static_cast<std::int64_t>(sourceSize) * 65536 / destSize;
}

std::int32_t ScaledIndex(std::int32_t i, std::int64_t step) {
    return static_cast<std::int32_t>((static_cast<std::int64_t>(i) * step) >> 16);
}

std::int32_t WaveK(std::int32_t row, std::int32_t wavelength, std::int32_t phase) {
    const std::int32_t step = wavelength == 0 ? 0 : 16777216 / wavelength;
    // Wrapping arithmetic in unsigned, then read back as two's complement.
    const std::uint32_t v = static_cast<std::uint32_t>(phase) * 65536u +
                            static_cast<std::uint32_t>(row) * static_cast<std::uint32_t>(step);
    const auto signedV = static_cast<std::int32_t>(v);
    return (signedV / 65536) & 0xFF;
}

std::int32_t WaveShift(std::int32_t k, std::int32_t amplitude) {
    const double angle = 2.0 * std::numbers::pi * static_cast<double>(k) / 256.0;
    return static_cast<std::int32_t>(std::nearbyint(amplitude * std::sin(angle)));
}

std::vector<TWaveRow> WaveRows(std::int32_t y, std::int32_t h, std::int32_t sourceHeight,
                               std::int32_t surfaceHeight, std::int32_t amplitude,
                               std::int32_t wavelength, std::int32_t phase) {
    std::vector<TWaveRow> rows;
    const TSpan visible = ClipSpan(y, h, surfaceHeight);
    if (visible.First >= visible.Last || sourceHeight <= 0) {
        return rows;
    }
    const std::int64_t step = ScaleStep(sourceHeight, h);
    rows.reserve(static_cast<std::size_t>(visible.Last - visible.First));
    for (std::int32_t i = visible.First; i < visible.Last; ++i) {
        rows.push_back({y + i, ScaledIndex(i, step),
                        WaveShift(WaveK(i, wavelength, phase), amplitude)});
    }
    return rows;
}

TSpan ClipSpan(std::int32_t start, std::int32_t length, std::int32_t limit) {
    if (length <= 0 || limit <= 0) {
        return {};
    }
    const std::int64_t first = std::max<std::int64_t>(0, -static_cast<std::int64_t>(start));
    const std::int64_t last =
        std::min<std::int64_t>(length, static_cast<std::int64_t>(limit) - start);
    if (first >= last) {
        return {};
    }
    return {static_cast<std::int32_t>(first), static_cast<std::int32_t>(last)};
}

} // namespace pelmoravan
