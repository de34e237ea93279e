// SPDX-License-Identifier: MIT
#pragma once
#include <cstdint>

namespace pelmoravan {

// Where a reseed takes its value from: the high-resolution counter on the desktop, the player's
// chosen number (--seed) or fixed values in tests, so that every deal and shuffle can be replayed. Asked on the front end's one thread,
// at every reseed; it must not wait.
class ISeedSource {
public:
    virtual ~ISeedSource() = default;
    virtual std::uint32_t Counter() = 0;
};

} // namespace pelmoravan
