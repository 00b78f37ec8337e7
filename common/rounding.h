#pragma once

#include <cmath>
#include <cstdint>
#include <limits>

// Floating point to a whole number the one way the program converts: to the nearest, halves to
// even (std::nearbyint in the default rounding mode). Values beyond the 32-bit range stop at its
// limits, and NaN gives 0.
inline std::int32_t roundToInt(double value) {
    if (std::isnan(value))
        return 0;
    const double r = std::nearbyint(value);
    if (r <= double(std::numeric_limits<std::int32_t>::min()))
        return std::numeric_limits<std::int32_t>::min();
    if (r >= double(std::numeric_limits<std::int32_t>::max()))
        return std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(r);
}
