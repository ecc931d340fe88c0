// Float samples as 16- or 24-bit integers, the same on every build of the offline host.
#pragma once

#include <cmath>
#include <cstdint>

// The integer nearest to value * 2^(bits - 1), clipped to what `bits` bits hold (no dither);
// NaN gives 0. Full scale is 2^(bits - 1), as readers divide by it, so 1.0 clips to the
// largest positive value.
inline int32_t quantiseSample(float value, int bits) {
    if (std::isnan(value)) return 0;
    const double scale = static_cast<double>(INT64_C(1) << (bits - 1));
    // Clipped in double before the conversion, so that it is defined for every input.
    const double scaled = std::nearbyint(static_cast<double>(value) * scale);
    if (scaled >= scale - 1.0) return static_cast<int32_t>(scale - 1.0);
    if (scaled <= -scale) return static_cast<int32_t>(-scale);
    return static_cast<int32_t>(scaled);
}
