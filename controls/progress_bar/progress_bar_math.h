#pragma once

#include "common/rounding.h"

#include <cstdint>

// A remainder that keeps the sign of its left operand; 0 when `divisor` is 0.
std::int32_t modKeepSign(std::int32_t value, std::int32_t divisor);

// How Value and FillPercent map onto each other. Percent = (value - min) * 100 / (max - min),
// rounded; with min 0 that is value * 100 / max. The reverse is min + percent * (max - min) / 100.
enum class ValueError { None, DivisionByZero, Overflow };

struct PercentResult {
    ValueError error = ValueError::None;
    std::int32_t percent = 0; // only meaningful when error is None
};

PercentResult percentFromValue(std::int32_t value, std::int32_t min, std::int32_t max);
std::int32_t valueFromPercent(std::int32_t percent, std::int32_t min, std::int32_t max);
