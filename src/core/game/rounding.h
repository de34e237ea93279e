// SPDX-License-Identifier: MIT
#pragma once
#include <cmath>
#include <cstdint>

namespace pelmoravan {

// Nearest integer, halves to the even neighbour: Rnd(4.5) = 4, Rnd(5.5) = 6.
inline std::int32_t Rnd(double v) {
    const double whole = std::floor(v);
    const double frac = v - whole;
    double r = whole;
    if (frac > 0.5 || (frac == 0.5 && std::fmod(whole, 2.0) != 0.0)) {
        r = whole + 1.0;
    }
    return static_cast<std::int32_t>(r);
}

// n / d to the nearest integer, halves to the even neighbour, in exact integers (d > 0). A
// quotient of two steps in double can land a hair beside an exact half and round the wrong way.
inline std::int64_t RndRatio(std::int64_t n, std::int64_t d) {
    std::int64_t q = n / d;
    std::int64_t r = n % d;
    if (r < 0) { // toward minus infinity, so that r is the distance above q
        q -= 1;
        r += d;
    }
    if (2 * r > d || (2 * r == d && q % 2 != 0)) {
        q += 1;
    }
    return q;
}

} // namespace pelmoravan
