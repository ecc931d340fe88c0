// The clamp helpers that keep values from hosts, chunks, MIDI and the editor inside the ranges
// the audio path needs. One rule for NaN everywhere: it takes `ifNaN`, the low end of the
// range unless the caller names the setting's own fallback.
#pragma once

#include <cstdint>

template <typename T>
constexpr T clampTo(T value, T lo, T hi, T ifNaN) {
    if (value != value) return ifNaN;
    return value < lo ? lo : (value > hi ? hi : value);
}

template <typename T>
constexpr T clampTo(T value, T lo, T hi) {
    return clampTo(value, lo, hi, lo);
}

// Truncation toward zero after clamping into lo..hi (so the conversion is always defined).
inline int32_t truncToInt(double value, int32_t lo, int32_t hi, int32_t ifNaN) {
    return static_cast<int32_t>(
        clampTo(value, static_cast<double>(lo), static_cast<double>(hi), static_cast<double>(ifNaN)));
}

inline int32_t truncToInt(double value, int32_t lo, int32_t hi) { return truncToInt(value, lo, hi, lo); }
