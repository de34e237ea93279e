// SPDX-License-Identifier: MIT
#include "game/random.h"

#include <chrono>

namespace pelmoravan {

void TRandom::Reseed() {
    if (Source != nullptr) {
        Seed = Source->Counter();
    }
}

std::int32_t TRandom::Random(std::int32_t n) {
    Seed = Seed * 134775813u + 1u;
    const std::uint64_t product =
        static_cast<std::uint64_t>(Seed) * static_cast<std::uint32_t>(n);
    return static_cast<std::int32_t>(product >> 32);
}

std::uint32_t TSteadyClockSeedSource::Counter() {
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<std::uint32_t>(
        std::chrono::duration_cast<std::chrono::nanoseconds>(now).count());
}

} // namespace pelmoravan
