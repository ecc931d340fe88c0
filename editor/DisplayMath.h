// Conversions from the effect's stored floats to the integers the panels draw. The effect keeps
// values as the host gave them (NaN, huge, negative), so every conversion here is bounded.
#pragma once

#include <cmath>
#include <cstdint>
#include <cstdio>

namespace displayMath {

// Truncation toward zero, saturated to +-1e9; NaN gives 0.
inline int32_t truncated(double value) {
    if (!(value == value)) return 0;
    if (value > 1e9) return 1000000000;
    if (value < -1e9) return -1000000000;
    return static_cast<int32_t>(value);
}

// Rounded up, with the same bounds.
inline int32_t ceiling(double value) { return truncated(std::ceil(value)); }

// v limited to lowest..highest; NaN gives lowest.
inline float limited(float value, float lowest, float highest) {
    if (!(value >= lowest)) return lowest;
    return value > highest ? highest : value;
}

// Height of a bar of travel pixels for value: at least 1 pixel, at most the travel.
inline int32_t barHeight(float value, int32_t travel) {
    const int32_t height = truncated(static_cast<double>(static_cast<float>(travel) * value));
    if (height < 1) return 1;
    return height > travel ? travel : height;
}

// Decimal text of a number, as the panels write it.
struct NumberText {
    char text[16];
    explicit NumberText(int32_t number) { std::snprintf(text, sizeof text, "%d", static_cast<int>(number)); }
};

}  // namespace displayMath
