// SPDX-License-Identifier: MIT
#pragma once
#include <cstdint>

#include "game/random.h"

namespace pelmoravan {

// The page's stand-in for the performance counter: the browser's clock in nanoseconds, which
// browsers round to tens of microseconds. Reads within one operation (a shuffle reseeds for each
// exchange) would all return one value and repeat one exchange; like a counter, each read here
// is later than the one before, by a microsecond at least.
class TWebSeedSource final : public ISeedSource {
public:
    std::uint32_t Counter() override;

private:
    std::uint64_t FLast = 0;
};

} // namespace pelmoravan
