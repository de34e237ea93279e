// SPDX-License-Identifier: MIT
#pragma once
#include <string>

namespace pelmoravan {

// Where a file of the game lives: the bare name (the working directory) when dir is empty.
std::string DataFilePath(const std::string& dir, const std::string& name);

// Makes the folder with its parents when it is missing. Returns the error text for the player
// ("Cannot create folder", the folder and the system's reason), or an empty text.
std::string MakeDataDir(const std::string& dir);

} // namespace pelmoravan
