// SPDX-License-Identifier: MIT
#pragma once
#include "picture.h"

#include <filesystem>
#include <string_view>

class QFont;

namespace assetgen {

struct TileGlyph {
    char32_t code;
    std::string_view name;
};

// The key colour of every tile picture: the background that lets the tile back show through.
inline constexpr Rgb kTileKey{199, 228, 255};
inline constexpr int kTileWidth = 50;
inline constexpr int kTileHeight = 38;

// The font the tile pictures are drawn from; throws when it is not installed.
QFont TileFont();

// One tile picture: the glyph fitted into the tile with a small margin, on the key colour. No
// pixel of the glyph itself is left exactly on the key colour.
Picture RenderTile(const QFont& font, char32_t code);

// The hundred glyphs in tile order, "1" first.
const TileGlyph* TileGlyphs();

// Writes tiles/1.bmp .. tiles/100.bmp.
void MakeTiles(const std::filesystem::path& assets);

}  // namespace assetgen
