// SPDX-License-Identifier: MIT
#include "audio/rmid.h"

#include <algorithm>
#include <cstring>

namespace pelmoravan {
namespace {

std::uint32_t Le32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

} // namespace

std::vector<std::uint8_t> UnwrapRmid(const std::vector<std::uint8_t>& bytes) {
    if (bytes.size() < 12 || std::memcmp(bytes.data(), "RIFF", 4) != 0 ||
        std::memcmp(bytes.data() + 8, "RMID", 4) != 0) {
        return bytes;
    }
    std::size_t at = 12;
    while (bytes.size() - at >= 8) {
        const std::uint8_t* chunk = bytes.data() + at;
        const std::size_t size = Le32(chunk + 4);
        const std::size_t body = at + 8;
        const std::size_t available = std::min(size, bytes.size() - body);
        if (std::memcmp(chunk, "data", 4) == 0) {
            return {bytes.begin() + static_cast<std::ptrdiff_t>(body),
                    bytes.begin() + static_cast<std::ptrdiff_t>(body + available)};
        }
        if (available < size) {
            break;
        }
        at = body + size + (size & 1); // chunks are padded to an even length
        if (at > bytes.size()) {
            break;
        }
    }
    return bytes;
}

} // namespace pelmoravan
