// SPDX-License-Identifier: MIT
#include "media/block_damage.h"

#include <algorithm>

namespace pelmoravan {

void TBlockDamage::Reset(std::int32_t width, std::int32_t height) {
    FWidth = std::max(width, 0);
    FHeight = std::max(height, 0);
    FColumns = (FWidth + BlockWidth - 1) / BlockWidth;
    FRows = (FHeight + BlockHeight - 1) / BlockHeight;
    const auto blocks = static_cast<std::size_t>(FColumns) * static_cast<std::size_t>(FRows);
    FPrints.assign(blocks, 0);
    FShown.assign(blocks, 0);
    FKnown.assign(blocks, 0);
}

void TBlockDamage::Fill(std::uint64_t print) { std::fill(FPrints.begin(), FPrints.end(), print); }

void TBlockDamage::Touch(const TRect& area, std::uint64_t print) {
    const std::int32_t left = std::max(area.Left, 0);
    const std::int32_t top = std::max(area.Top, 0);
    const std::int32_t right = std::min(area.Right, FWidth);
    const std::int32_t bottom = std::min(area.Bottom, FHeight);
    if (right <= left || bottom <= top) {
        return;
    }
    for (std::int32_t row = top / BlockHeight; row <= (bottom - 1) / BlockHeight; ++row) {
        std::uint64_t* prints = FPrints.data() + static_cast<std::size_t>(row) * FColumns;
        for (std::int32_t column = left / BlockWidth; column <= (right - 1) / BlockWidth; ++column) {
            const std::uint64_t p = (prints[column] ^ print) * 0x9E3779B97F4A7C15ull;
            prints[column] = p ^ (p >> 32);
        }
    }
}

std::vector<TRect> TBlockDamage::Changed() {
    std::vector<TRect> rects;
    for (std::int32_t row = 0; row < FRows; ++row) {
        const auto base = static_cast<std::size_t>(row) * FColumns;
        std::int32_t run = -1;
        for (std::int32_t column = 0; column <= FColumns; ++column) {
            bool changed = false;
            if (column < FColumns) {
                const std::size_t i = base + static_cast<std::size_t>(column);
                changed = FKnown[i] == 0 || FShown[i] != FPrints[i];
                FShown[i] = FPrints[i];
                FKnown[i] = 1;
            }
            if (changed && run < 0) {
                run = column;
            } else if (!changed && run >= 0) {
                rects.push_back({run * BlockWidth, row * BlockHeight, std::min(column * BlockWidth, FWidth),
                                 std::min((row + 1) * BlockHeight, FHeight)});
                run = -1;
            }
        }
    }
    return rects;
}

} // namespace pelmoravan
