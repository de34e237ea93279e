// SPDX-License-Identifier: MIT
#pragma once
#include <cstdint>
#include <vector>

namespace pelmoravan {

// A RIFF "RMID" container carries a standard MIDI file in its "data" chunk; the mixer only
// takes the bare MIDI file. Returns the chunk's contents, or the bytes unchanged when they are
// not such a container. A container whose data chunk is cut short yields what is there.
std::vector<std::uint8_t> UnwrapRmid(const std::vector<std::uint8_t>& bytes);

} // namespace pelmoravan
