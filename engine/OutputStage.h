// Gain ramp and bit reducer of the loop: per-sample steps, kept inline for the audio path.
#pragma once

#include <cmath>
#include <cstdint>

#include "engine/FreezeProgram.h"

enum class FadeState : int32_t { Steady = 0, FadingOut = 1, FadingIn = 2 };

// Change of the loop gain per sample: a full ramp takes 46 samples at any sample rate.
constexpr float kFadeStep = 0.022f;

// One sample of the gain ramp after the wrap test; playIndex is the slot read in this sample.
inline void advanceGainRamp(float& gain, FadeState& state, int32_t playIndex, int32_t fadeLength,
                            int32_t loopLength) {
    if (playIndex + fadeLength > loopLength) state = FadeState::FadingOut;
    if (state == FadeState::FadingOut) {
        gain -= kFadeStep;
        if (gain <= 0.0f) {
            gain = 0.0f;
            state = FadeState::Steady;
        }
    }
    if (state == FadeState::FadingIn) {
        gain += kFadeStep;
        if (!(gain < 1.0f)) {
            gain = 1.0f;
            state = FadeState::Steady;
        }
    }
}

// Fade zone at the end of each pass: knak x 0.9 of the loop, at least kMinFadeLength samples.
// knak is clamped to 0..1 beforehand.
inline int32_t fadeLengthFor(float knak, int32_t loopLength) {
    const auto zone = static_cast<int32_t>(static_cast<double>(knak) * 0.9 * loopLength);
    return zone < kMinFadeLength ? kMinFadeLength : zone;
}

// Rounds toward minus infinity; exact for every double, and cheaper than a library call.
inline double floorToward(double value) {
    // Beyond 2^52 every double is already whole (and NaN or infinity pass through).
    if (!(std::fabs(value) < 4503599627370496.0)) return value;
    const auto whole = static_cast<double>(static_cast<int64_t>(value));
    return whole > value ? whole - 1.0 : whole;
}

// Quantises a loop sample to steps of 1 / q, rounding down; q is a power of two.
// Worked in double so that no finite sample overflows on the way.
inline float reduceBits(float w, float q, double inverseQ) {
    return static_cast<float>(floorToward(static_cast<double>(w) * static_cast<double>(q)) * inverseQ);
}
