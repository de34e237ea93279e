// SPDX-License-Identifier: MIT
#pragma once
#include <cstdint>
#include <vector>

namespace pelmoravan {

// A tile picture for the upright board: the picture's glyph (its pixels that are not fully
// transparent) centred on a tall plate of the turned size (height x width), at its own size,
// shrunk evenly only where it is too wide for the plate. rgba: width x height pixels, bytes red,
// green, blue, alpha, the key already cleared. The result has the same layout.
std::vector<std::uint8_t> UprightTile(const std::uint8_t* rgba, std::int32_t width, std::int32_t height);

} // namespace pelmoravan
