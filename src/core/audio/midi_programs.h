// SPDX-License-Identifier: MIT
#pragma once
#include <cstdint>
#include <set>
#include <vector>

namespace pelmoravan {

// The programs (instruments, 0-127) that a standard MIDI file's program changes select, on any
// channel. Empty when the bytes are not such a file; a track cut short yields what came before.
std::set<int> ProgramChanges(const std::vector<std::uint8_t>& smf);

} // namespace pelmoravan
