// SPDX-License-Identifier: MIT
#pragma once
#include <filesystem>

namespace assetgen {

// Writes backs/back1.bmp .. back10.bmp: the tile plates, one colour per level, on black.
void MakeBacks(const std::filesystem::path& assets);

// Writes screens/back.bmp (paused), screens/gameover.bmp and screens/logo.bmp.
void MakeScreens(const std::filesystem::path& assets);

}  // namespace assetgen
