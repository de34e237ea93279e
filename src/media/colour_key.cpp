#include "media/colour_key.h"

namespace pelmoravan {

void ClearKeyedPixels(std::uint8_t* rgba, std::size_t pixels, TColor key) {
    const auto r = static_cast<std::uint8_t>(key & 0xFFu);
    const auto g = static_cast<std::uint8_t>((key >> 8) & 0xFFu);
    const auto b = static_cast<std::uint8_t>((key >> 16) & 0xFFu);
    for (std::uint8_t* p = rgba; p != rgba + pixels * 4; p += 4) {
        if (p[0] == r && p[1] == g && p[2] == b) {
            p[3] = 0;
        }
    }
}

} // namespace pelmoravan
