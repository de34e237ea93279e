// SPDX-License-Identifier: MIT
#pragma once
#include <filesystem>

namespace assetgen {

// The desktop id the icons are named after; cmake/Install.cmake installs the launcher and the
// metainfo under the same name.
inline constexpr const char* kAppId = "io.github.pelmoravan.Pelmoravan";

// Writes icons/hicolor/<n>x<n>/apps/<id>.png for every size the launcher needs:
// a matching pair of tiles on the game's plates (one tile at the smallest size).
void MakeIcons(const std::filesystem::path& assets);

}  // namespace assetgen
