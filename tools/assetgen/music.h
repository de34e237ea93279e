// SPDX-License-Identifier: MIT
#pragma once
#include <filesystem>

namespace assetgen {

// Composes and writes music/SOUND1.mid .. SOUND5.mid.
void MakeMusic(const std::filesystem::path& assets);

}  // namespace assetgen
