// SPDX-License-Identifier: MIT
#pragma once
#include <cstdint>
#include <vector>

namespace pelmoravan {

// 16.16 fixed-point step that maps destination pixels of a size onto source pixels of another:
// source index = (i * step) >> 16. 0 for an empty destination.
std::int64_t ScaleStep(std::int32_t sourceSize, std::int32_t destSize);
std::int32_t ScaledIndex(std::int32_t i, std::int64_t step);

// The wave position k (0..255) of destination row i: the low 8 bits of V div 65536, where
// V = phase * 65536 + i * (16777216 div wavelength) wraps as a signed 32-bit integer.
std::int32_t WaveK(std::int32_t row, std::int32_t wavelength, std::int32_t phase);

// Sideways shift of a row at wave position k: round(amplitude * sin(2 pi k / 256)).
std::int32_t WaveShift(std::int32_t k, std::int32_t amplitude);

// One destination row of a wave draw that lies on the surface.
struct TWaveRow {
    std::int32_t DestY = 0;     // surface row
    std::int32_t SourceRow = 0; // row of the pattern
    std::int32_t Shift = 0;     // the row starts at x + Shift
    bool operator==(const TWaveRow&) const = default;
};

// The visible rows of a wave draw of a pattern sourceHeight rows high into h rows at y, on a
// surface surfaceHeight rows high. Clipping drops rows but changes neither the wave position nor
// the source row of the rows that remain.
std::vector<TWaveRow> WaveRows(std::int32_t y, std::int32_t h, std::int32_t sourceHeight,
                               std::int32_t surfaceHeight, std::int32_t amplitude,
                               std::int32_t wavelength, std::int32_t phase);

// The part [First, Last) of a span of length pixels starting at start that lies in [0, limit).
struct TSpan {
    std::int32_t First = 0;
    std::int32_t Last = 0;
    bool operator==(const TSpan&) const = default;
};
TSpan ClipSpan(std::int32_t start, std::int32_t length, std::int32_t limit);

} // namespace pelmoravan
