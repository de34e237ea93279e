// SPDX-License-Identifier: MIT
#pragma once
#include <cstdint>
#include <functional>
#include <optional>
#include <set>
#include <vector>

namespace pelmoravan {

// Reads `count` bytes of a file at `offset` into `out`; false unless all of them were read.
using TReadAt = std::function<bool(std::uint64_t offset, std::uint8_t* out, std::size_t count)>;

// A SoundFont 2 file seen with fewer presets: the synthesizer builds a structure for every zone
// of every preset it loads, a few megabytes for a General MIDI font, though the music selects a
// handful. The view is the file's own bytes up to its preset data (the header, the information
// and all the samples, so every sample stays where the preset data says it is), then the preset
// data rebuilt with only the presets kept and the instruments they use.
struct TSoundFontView {
    std::uint64_t Prefix = 0;       // bytes read from the file as they are...
    std::uint32_t RiffSize = 0;     // ...but for the RIFF chunk's size, bytes 4 to 7
    std::vector<std::uint8_t> Tail; // the rebuilt "pdta" list, its header included

    std::uint64_t Size() const { return Prefix + Tail.size(); }
    // Reads the view's bytes as TReadAt does, taking the prefix from the file.
    bool Read(const TReadAt& file, std::uint64_t offset, std::uint8_t* out, std::size_t count) const;
};

// The view of a file of `fileSize` bytes that keeps every percussion kit (bank 128) and, in every
// other bank, the presets of the given programs, so that a program asked for in a bank that
// lacks it still finds the synthesizer's fallback in bank 0. Nothing when the file is not a
// SoundFont 2 file whose preset data comes last and is whole.
std::optional<TSoundFontView> ViewWithPrograms(const TReadAt& file, std::uint64_t fileSize,
                                               const std::set<int>& programs);

} // namespace pelmoravan
