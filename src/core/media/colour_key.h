// SPDX-License-Identifier: MIT
#pragma once
#include <cstddef>
#include <cstdint>

#include "media/canvas.h"

namespace pelmoravan {

// A keyed picture leaves undrawn the pixels of exactly its key's colour (0x00BBGGRR).
constexpr bool IsKeyColour(std::uint8_t red, std::uint8_t green, std::uint8_t blue, TColor key) {
    return red == (key & 0xFFu) && green == ((key >> 8) & 0xFFu) && blue == ((key >> 16) & 0xFFu);
}

// Every pixel (bytes red, green, blue, alpha) of the key's colour becomes fully transparent.
void ClearKeyedPixels(std::uint8_t* rgba, std::size_t pixels, TColor key);

} // namespace pelmoravan
