// SPDX-License-Identifier: MIT
#include "media/colour_key.h"

namespace pelmoravan {

void ClearKeyedPixels(std::uint8_t* rgba, std::size_t pixels, TColor key) {
    for (std::uint8_t* p = rgba; p != rgba + pixels * 4; p += 4) {
        if (IsKeyColour(p[0], p[1], p[2], key)) {
            p[3] = 0;
        }
    }
}

} // namespace pelmoravan
