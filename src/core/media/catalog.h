// SPDX-License-Identifier: MIT
#pragma once
#include <string>
#include <vector>

#include "media/canvas.h"

namespace pelmoravan {

// What the game's pictures and waves are called, where they are kept under assets/, and how
// their colour keys apply: every platform loads the same catalog.
struct TCatalogPicture {
    std::string Name;
    std::string Path; // relative to the assets' root, e.g. "tiles/1.bmp"
    bool Transparent = true;
    TColor Key = 0;
};

inline constexpr TColor kTileKey = 16770247; // red 199, green 228, blue 255

// The three picture collections, each in catalog order.
std::vector<TCatalogPicture> CatalogTilePictures();   // ImageList: "1".."100"
std::vector<TCatalogPicture> CatalogScreenPictures(); // DXImageList1: "back", "gameover", "logo"
std::vector<TCatalogPicture> CatalogTileBacks();      // BackImage: "back1".."back10"

// The nine effects in collection order; positions matter (the shuffle plays position 4).
const std::vector<std::string>& CatalogWaveNames();
std::string CatalogWavePath(const std::string& name); // "waves/<name>.wav"

} // namespace pelmoravan
