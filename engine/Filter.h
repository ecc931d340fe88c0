// One biquad filter: its design, its coefficients and the memory of both channels,
// used for the pre and the post filter alike; the bandwidth-form design; one direct-form-I
// step of one channel.
#pragma once

#include <cmath>
#include <cstdint>

// b0, b1, b2, a1, a2, already divided by a0.
struct BiquadCoefficients {
    float b0 = 0.0f;
    float b1 = 0.0f;
    float b2 = 0.0f;
    float a1 = 0.0f;
    float a2 = 0.0f;
};

// Last two inputs and outputs of one channel.
struct BiquadState {
    float x1 = 0.0f;
    float x2 = 0.0f;
    float y1 = 0.0f;
    float y2 = 0.0f;
};

// The memories of both channels as the two-sample step keeps them in its registers: the
// last two inputs {x2 left, x2 right, x1 left, x1 right}, and the last two outputs the same
// way; a run loads and stores each as one vector, a one-sample step takes a pair from either
// half, at any alignment.
struct BiquadPairState {
    float x21[4] = {0.0f, 0.0f, 0.0f, 0.0f};
    float y21[4] = {0.0f, 0.0f, 0.0f, 0.0f};
    // Channel 0 is left, 1 right.
    BiquadState channel(int32_t c) const { return BiquadState{x21[2 + c], x21[c], y21[2 + c], y21[c]}; }
    void setChannel(int32_t c, const BiquadState& s) {
        x21[2 + c] = s.x1;
        x21[c] = s.x2;
        y21[2 + c] = s.y1;
        y21[c] = s.y2;
    }
};

// Outputs whose magnitude is below this become 0; also catches NaN.
constexpr float kFilterFlushLevel = 1e-10f;

// type 0 low-pass, 1 high-pass, 2 band-pass (a FilterType minus 1); frequencies in Hz,
// bandwidth in octaves. Computed in double, stored as floats. Other types, or a sample rate
// that is not positive and finite, give all-zero coefficients.
BiquadCoefficients calcBiquad(int32_t type, double frequency, double sampleRate, double bandwidth);

// One sample of one channel, direct form I: y = b0 x + b1 x1 + b2 x2 - a1 y1 - a2 y2, summed in
// that order, then the flush.
inline float filterSample(const BiquadCoefficients& c, BiquadState& s, float x) {
    float y = c.b0 * x + c.b1 * s.x1 + c.b2 * s.x2 - c.a1 * s.y1 - c.a2 * s.y2;
    if (!(std::fabs(y) >= kFilterFlushLevel)) y = 0.0f;
    s.x2 = s.x1;
    s.x1 = x;
    s.y2 = s.y1;
    s.y1 = y;
    return y;
}

// Replaces the past outputs by the filter's response to the last two inputs from rest; the
// inputs stay.
inline void restartFromInput(const BiquadCoefficients& c, BiquadState& s) {
    BiquadState rest;
    filterSample(c, rest, s.x2);
    filterSample(c, rest, s.x1);
    s = rest;
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
// type at a nearby centre, keep the memory.
constexpr double kFilterRestartRatio = 2.0;

struct Filter {
    FilterDesign design;
    BiquadCoefficients coefficients;
    BiquadPairState memory;
    // Counts the designs: a copy of the coefficients made from revision r is current while
    // revision is still r.
    uint32_t revision = 0;
    // A block began with the filter off: its settings may have moved since the design, and a
    // switch back on inside a block must design it anew even as the same type.
    bool stale = false;

    // Computes the coefficients for a real type (1..3) from the working values (cutoff value
    // 0..1, bandwidth 0.1..1 octaves; others act as the nearest end) unless they already are;
    // a design far from the last one restarts the memory from its last inputs. Checked
    // inline: every block asks, and the design rarely changed.
    void update(int32_t type, float cutoff, float bandwidth, int32_t sampleRate) {
        if (design.type == type && design.cutoff == cutoff && design.bandwidth == bandwidth &&
            design.sampleRate == sampleRate)
            return;
        redesign(type, cutoff, bandwidth, sampleRate);
    }
    // update's work when the design changed.
    void redesign(int32_t type, float cutoff, float bandwidth, int32_t sampleRate);
    // restartFromInput for both channels.
    void restart() {
        for (int32_t c = 0; c < 2; ++c) {
            BiquadState s = memory.channel(c);
            restartFromInput(coefficients, s);
            memory.setChannel(c, s);
        }
    }
};
