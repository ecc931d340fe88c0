// One direct-form-I biquad step with the denormal flush, and the inputs a design was made from.
#pragma once

#include <cmath>
#include <cstdint>

#include "engine/Biquad.h"

// Outputs whose magnitude is below this become 0; also catches NaN.
constexpr float kFilterFlushLevel = 1e-10f;

// Audio thread. Filters x through one channel's memory; the coefficients are shared.
inline float filterSample(const BiquadCoefficients& c, BiquadState& s, float x) {
    float y = c.b0 * x + c.b1 * s.x1 + c.b2 * s.x2 - c.a1 * s.y1 - c.a2 * s.y2;
    if (!(std::fabs(y) >= kFilterFlushLevel)) y = 0.0f;
    s.x2 = s.x1;
    s.x1 = x;
    s.y2 = s.y1;
    s.y1 = y;
    return y;
}

// What a filter's coefficients were computed from; type 0 means none were computed yet.
struct FilterDesign {
    int32_t type = 0;
    float cutoff = 0.0f;
    float bandwidth = 0.0f;
    int32_t sampleRate = 0;
    double w0 = 0.0;  // radians per sample the design used
};

// A design this far from the last one restarts the recursion: another type, or a centre that
// moved, relative to the sample rate, by more than this factor (a cutoff jump of more than an
// octave, or a jump of the sample rate). Direct form I reads its past outputs as the new
// filter's own; where they are far from what the new filter would have put out, the poles
// ring them out as a burst. A centre moved from a high to a low frequency turns their slope
// into tens to hundreds of times the signal; so does a change of type alone, although a1 and
// a2 stay the same: the high-pass output of a 20 kHz tone, read as the past of a 50 Hz
// low-pass, rings at up to 199 times the tone (and the low-pass's near-silent past, read by
// the high-pass, as much). Gradual moves, and a filter switched off and on again as the same
// type at a nearby centre, keep the memory, as Part 2.3 says.
constexpr double kFilterRestartRatio = 2.0;

// Audio thread. Replaces the past outputs by the new filter's response to the last two
// inputs from rest; the inputs stay.
inline void restartFromInput(const BiquadCoefficients& c, BiquadState& s) {
    BiquadState rest;
    filterSample(c, rest, s.x2);
    filterSample(c, rest, s.x1);
    s = rest;
}
