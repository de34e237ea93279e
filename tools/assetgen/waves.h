// SPDX-License-Identifier: MIT
#pragma once
#include <filesystem>

namespace assetgen {

// Writes the nine sound effects waves/<Name>.wav.
void MakeWaves(const std::filesystem::path& assets);

}  // namespace assetgen
