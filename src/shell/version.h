#pragma once

namespace pelmoravan {

// The game's version; the build reads it from here for the project and the package.
inline constexpr const char* GameVersion = "2.2";

} // namespace pelmoravan
