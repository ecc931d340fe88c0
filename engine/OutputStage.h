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

// Fade zone at the end of each pass: the part of the loop the knak parameter's rule gives
// (0.9 knak, knak taken within 0..1; engine/ParameterTable.h), at least kMinFadeLength samples.
inline int32_t fadeLengthFor(float knak, int32_t loopLength) {
    const auto zone = static_cast<int32_t>(deriveDouble(workingRuleOf(kParamKnak), knak) * loopLength);
    return zone < kMinFadeLength ? kMinFadeLength : zone;
}

// Quantises a loop sample to steps of 1 / q, rounding toward minus infinity: floor(w q) / q,
// with the division done as a product with inverseQ. From |w q| = 2^23 on every float is
// whole, so the sample passes unchanged (which also keeps huge samples from overflowing).
inline float reduceBits(float w, float q, float inverseQ) {
    const float t = w * q;
    if (!(std::fabs(t) < 8388608.0f)) return w;
    float floored = static_cast<float>(static_cast<int32_t>(t));
    if (floored > t) floored -= 1.0f;
    return floored * inverseQ;
}
