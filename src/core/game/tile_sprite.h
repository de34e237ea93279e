// SPDX-License-Identifier: MIT
#pragma once
#include <cstdint>

#include "media/sprite_engine.h"

namespace pelmoravan {

// The token that mirrors one tile in the sprite engine: never drawn, it is counted, hit-tested
// and walked in deal order.
class TMonoSprite : public TImageSprite {
public:
    using TImageSprite::TImageSprite;

    std::int32_t Index = 0;
    std::int32_t Picture = 0;
    std::int32_t Col = 0;
    std::int32_t Row = 0;

    void OnStep(std::int32_t moveCount) override { TImageSprite::OnStep(moveCount); }
};

} // namespace pelmoravan
