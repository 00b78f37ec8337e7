#include "controls/progress_bar/progress_bar_math.h"

#include <limits>

std::int32_t modKeepSign(std::int32_t value, std::int32_t divisor) {
    if (divisor == 0)
        return 0;
    return static_cast<std::int32_t>(std::int64_t{value} % std::int64_t{divisor});
}

PercentResult percentFromValue(std::int32_t value, std::int32_t min, std::int32_t max) {
    const std::int64_t range = std::int64_t{max} - min;
    if (range == 0)
        return {ValueError::DivisionByZero, 0};
    // The product with 100 must fit 32 bits, as the stored percentage is a 32-bit value.
    const std::int64_t scaled = (std::int64_t{value} - min) * 100;
    if (scaled < std::numeric_limits<std::int32_t>::min() ||
        scaled > std::numeric_limits<std::int32_t>::max())
        return {ValueError::Overflow, 0};
    return {ValueError::None, roundToInt(double(scaled) / double(range))};
}

std::int32_t valueFromPercent(std::int32_t percent, std::int32_t min, std::int32_t max) {
    const double range = double(max) - double(min);
    return roundToInt(double(min) + double(percent) * range / 100.0);
}
