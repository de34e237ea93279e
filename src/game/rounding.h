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

} // namespace pelmoravan
