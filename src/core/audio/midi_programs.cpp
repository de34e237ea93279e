// SPDX-License-Identifier: MIT
#include "audio/midi_programs.h"

#include <algorithm>
#include <cstring>

namespace pelmoravan {
namespace {

std::uint32_t Be32(const std::uint8_t* p) {
    return (static_cast<std::uint32_t>(p[0]) << 24) | (static_cast<std::uint32_t>(p[1]) << 16) |
           (static_cast<std::uint32_t>(p[2]) << 8) | static_cast<std::uint32_t>(p[3]);
}

// Walks one track's events, adding the program of every program change.
void ScanTrack(const std::uint8_t* at, const std::uint8_t* end, std::set<int>& programs) {
    // A variable-length quantity; false when the track ends inside it.
    auto quantity = [&](std::uint32_t& value) {
        value = 0;
        for (int i = 0; i < 4 && at < end; ++i) {
            const std::uint8_t byte = *at++;
            value = (value << 7) | (byte & 0x7Fu);
            if ((byte & 0x80u) == 0) {
                return true;
            }
        }
        return false;
    };
    std::uint8_t status = 0;
    std::uint32_t value = 0;
    while (at < end) {
        if (!quantity(value) || at >= end) { // the delta time
            return;
        }
        if (*at >= 0x80) {
            status = *at++;
        }
        if (status == 0xFF) { // meta event: type, length, data
            if (at >= end) {
                return;
            }
            ++at;
            if (!quantity(value) || value > static_cast<std::uint32_t>(end - at)) {
                return;
            }
            at += value;
            status = 0; // meta and system events cancel the running status
        } else if (status == 0xF0 || status == 0xF7) { // system exclusive: length, data
            if (!quantity(value) || value > static_cast<std::uint32_t>(end - at)) {
                return;
            }
            at += value;
            status = 0;
        } else if (status >= 0x80) {
            const int kind = status >> 4;
            const int length = kind == 0xC || kind == 0xD ? 1 : 2;
            if (end - at < length) {
                return;
            }
            if (kind == 0xC) {
                programs.insert(*at & 0x7F);
            }
            at += length;
        } else {
            return; // data with no status before it: not a track we can read
        }
    }
}

} // namespace

std::set<int> ProgramChanges(const std::vector<std::uint8_t>& smf) {
    std::set<int> programs;
    if (smf.size() < 14 || std::memcmp(smf.data(), "MThd", 4) != 0) {
        return programs;
    }
    std::size_t at = 0;
    while (smf.size() - at >= 8) {
        const std::uint8_t* chunk = smf.data() + at;
        const std::size_t size = Be32(chunk + 4);
        const std::size_t body = at + 8;
        const std::size_t available = std::min<std::size_t>(size, smf.size() - body);
        if (std::memcmp(chunk, "MTrk", 4) == 0) {
            ScanTrack(smf.data() + body, smf.data() + body + available, programs);
        }
        if (available < size) {
            break;
        }
        at = body + size;
    }
    return programs;
}

} // namespace pelmoravan
