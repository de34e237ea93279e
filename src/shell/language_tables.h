#pragma once
#include <array>
#include <string_view>

namespace pelmoravan {

// The built-in texts of both languages, indexed from 1 like the game's text arrays; entry 0 of
// each table is unused and empty.
using TLevelNameTable = std::array<std::string_view, 11>;  // 1..10
using TMessageTable = std::array<std::string_view, 49>;    // 1..48
using TBonusNameTable = std::array<std::string_view, 6>;   // 1..5

extern const TLevelNameTable ChineseLevelNames;
extern const TMessageTable ChineseMessages;
extern const TBonusNameTable ChineseBonusNames;

extern const TLevelNameTable EnglishLevelNames;
extern const TMessageTable EnglishMessages;
extern const TBonusNameTable EnglishBonusNames;

} // namespace pelmoravan
