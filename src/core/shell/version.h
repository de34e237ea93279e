// SPDX-License-Identifier: MIT
#pragma once

namespace pelmoravan {

// The game's version, written once: the build reads it from here for the project and the
// package, and the window caption and the About box show it.
#define PELMORAVAN_VERSION_TEXT "2.2"

inline constexpr const char* GameVersion = PELMORAVAN_VERSION_TEXT;
inline constexpr const char* GameCaption = "Pelmoravan v" PELMORAVAN_VERSION_TEXT;
inline constexpr const char* AboutVersion = "(Ver " PELMORAVAN_VERSION_TEXT ")";

} // namespace pelmoravan
