// Keeps values derived from host, chunk or MIDI input inside the ranges the audio path needs.
#pragma once

#include <cstdint>

// lo when value is below lo or NaN, hi when above hi, otherwise value.
inline float clampOrLow(float value, float lo, float hi) {
    if (!(value >= lo)) return lo;
    if (value > hi) return hi;
    return value;
}

inline double clampOrLow(double value, double lo, double hi) {
    if (!(value >= lo)) return lo;
    if (value > hi) return hi;
    return value;
}

// Truncation toward zero of a value that has already been clamped into the int32 range.
inline int32_t truncToInt(double value, int32_t lo, int32_t hi) {
    return static_cast<int32_t>(clampOrLow(value, static_cast<double>(lo), static_cast<double>(hi)));
}
