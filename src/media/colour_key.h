#pragma once
#include <cstddef>
#include <cstdint>

#include "media/canvas.h"

namespace pelmoravan {

// A keyed picture leaves its key's colour undrawn: every pixel (bytes red, green, blue, alpha)
// of exactly the key's colour (0x00BBGGRR) becomes fully transparent.
void ClearKeyedPixels(std::uint8_t* rgba, std::size_t pixels, TColor key);

} // namespace pelmoravan
