// SPDX-License-Identifier: MIT
#pragma once
#include <cstdint>
#include <vector>

#include "media/canvas.h"

namespace pelmoravan {

// Prints of the blocks of a surface: every drawing mixes its own print into the blocks it may
// write, a fill of the whole surface starts them afresh. Blocks whose prints differ from when
// they were last shown are the ones a frame changed, found without reading a pixel.
class TBlockDamage {
public:
    static constexpr std::int32_t BlockWidth = 64;
    static constexpr std::int32_t BlockHeight = 32;

    // Every block unknown, for a surface of the size: the next look reports each as changed.
    void Reset(std::int32_t width, std::int32_t height);
    std::int32_t Width() const { return FWidth; }
    std::int32_t Height() const { return FHeight; }
    // The whole surface filled by the drawing of the print.
    void Fill(std::uint64_t print);
    // The drawing of the print may have written into the area.
    void Touch(const TRect& area, std::uint64_t print);
    // The blocks that changed since the last look (one rectangle per run of them in a band of
    // blocks, clipped to the surface), remembered as shown.
    std::vector<TRect> Changed();

private:
    std::int32_t FWidth = 0;
    std::int32_t FHeight = 0;
    std::int32_t FColumns = 0;
    std::int32_t FRows = 0;
    std::vector<std::uint64_t> FPrints;
    std::vector<std::uint64_t> FShown;
    std::vector<std::uint8_t> FKnown;
};

} // namespace pelmoravan
