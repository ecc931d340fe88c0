// Left and right channels side by side in one SIMD register (lanes 0 and 1; 2 and 3 unused),
// so that both channels' filters, bit reducer and mix cost one instruction each. Every lane
// does exactly the arithmetic of the one-channel code, in the same order.
#pragma once

#include <cstdint>

#include "engine/Filter.h"

typedef float Stereo4 __attribute__((vector_size(16)));
typedef int32_t StereoMask __attribute__((vector_size(16)));

inline Stereo4 splat(float v) { return Stereo4{v, v, v, v}; }

inline Stereo4 stereoPair(float left, float right) { return Stereo4{left, right, 0.0f, 0.0f}; }

inline Stereo4 stereoAbs(Stereo4 v) {
    return reinterpret_cast<Stereo4>(reinterpret_cast<StereoMask>(v) & 0x7FFFFFFF);
}

// Lanes where mask is set keep a, the others take b.
inline Stereo4 select(StereoMask mask, Stereo4 a, Stereo4 b) {
    return reinterpret_cast<Stereo4>((mask & reinterpret_cast<StereoMask>(a)) |
                                     (~mask & reinterpret_cast<StereoMask>(b)));
}

// One biquad's coefficients, arranged for the packed memories below.
struct StereoCoefficients {
    Stereo4 b0;   // b0 in every lane
    Stereo4 b12;  // b1, b1, b2, b2
    Stereo4 a12;  // a1, a1, a2, a2
    explicit StereoCoefficients(const BiquadCoefficients& c)
        : b0(splat(c.b0)), b12{c.b1, c.b1, c.b2, c.b2}, a12{c.a1, c.a1, c.a2, c.a2} {}
};

// The memories of a left and a right BiquadState, two vectors instead of four so that both
// filters' state stays in registers: inputs {x1 left, x1 right, x2 left, x2 right}, outputs
// likewise.
struct StereoState {
    Stereo4 x;
    Stereo4 y;
    StereoState(const BiquadState& l, const BiquadState& r)
        : x{l.x1, r.x1, l.x2, r.x2}, y{l.y1, r.y1, l.y2, r.y2} {}
    void store(BiquadState& l, BiquadState& r) const {
        l = BiquadState{x[0], x[2], y[0], y[2]};
        r = BiquadState{x[1], x[3], y[1], y[3]};
    }
};

// Lane 1 moved down to lane 0.
inline Stereo4 lane1(Stereo4 v) { return __builtin_shufflevector(v, v, 1, 1, 3, 3); }

// Lanes 2 and 3 moved down to 0 and 1.
inline Stereo4 upperHalf(Stereo4 v) { return __builtin_shufflevector(v, v, 2, 3, 2, 3); }
// Lanes 0 and 1 of a, then lanes 0 and 1 of b.
inline Stereo4 lowerHalves(Stereo4 a, Stereo4 b) { return __builtin_shufflevector(a, b, 0, 1, 4, 5); }

// The running copy of a filter's two memories, restarted from their last inputs.
inline void restartStereo(const BiquadCoefficients& c, StereoState& state) {
    BiquadState left;
    BiquadState right;
    state.store(left, right);
    restartFromInput(c, left);
    restartFromInput(c, right);
    state = StereoState(left, right);
}

// filterSample for both channels (lanes 0 and 1), with the same products and the same order
// of sums: direct form I, outputs below 1e-10 (or NaN) become 0.
inline Stereo4 filterStereo(const StereoCoefficients& c, StereoState& s, Stereo4 x) {
    const Stereo4 bx = c.b12 * s.x;  // b1 x1, b2 x2
    const Stereo4 ay = c.a12 * s.y;  // a1 y1, a2 y2
    Stereo4 y = c.b0 * x + bx;
    y = y + upperHalf(bx);
    y = y - ay;
    y = y - upperHalf(ay);
    y = select(stereoAbs(y) >= splat(1e-10f), y, splat(0.0f));
    s.x = lowerHalves(x, s.x);
    s.y = lowerHalves(y, s.y);
    return y;
}

// reduceBits for both channels: floor(w x q) / q, rounding toward minus infinity.
inline Stereo4 reduceBitsStereo(Stereo4 w, Stereo4 q, Stereo4 inverseQ) {
    const Stereo4 limit = splat(8388608.0f);  // 2^23: from here on every float is whole
    const Stereo4 t = w * q;
    const StereoMask small = stereoAbs(t) < limit;  // false for NaN and infinity as well
    // Clamped first so that the conversion is defined for every lane.
    const Stereo4 clamped = select(small, t, splat(0.0f));
    const Stereo4 truncated = __builtin_convertvector(__builtin_convertvector(clamped, StereoMask), Stereo4);
    const Stereo4 floored = truncated - select(truncated > clamped, splat(1.0f), splat(0.0f));
    return select(small, floored * inverseQ, w);
}

// Envelope follower (Part 2.2, step 3), in lane 0; the other lanes stay 0.
//
// The level of a pre-filtered pair: |sL| x 0.5 + |sR| x 0.5 (halves first, so that no finite
// input overflows).
inline Stereo4 envelopeLevel(Stereo4 s) {
    const Stereo4 halves = stereoAbs(s) * splat(0.5f);
    const StereoMask laneZero{-1, 0, 0, 0};
    return reinterpret_cast<Stereo4>(reinterpret_cast<StereoMask>(halves + lane1(halves)) & laneZero);
}

// envelope = level + (envelope - level) x c, with the attack coefficient when the level is
// above the envelope and the release coefficient otherwise; below 1e-10 (or NaN, which a NaN
// or infinite input leaves) it becomes 0. Each sample waits only for the subtraction, the
// multiplication and the addition: the envelope is never negative and the level is a
// magnitude, so comparing their bits as integers orders them as floats (a NaN level picks
// either coefficient, and its NaN result is flushed all the same), and the flush is a branch
// that is almost never taken. Bit for bit the follower as specified.
inline Stereo4 followEnvelope(Stereo4 envelope, Stereo4 level, Stereo4 attack, Stereo4 release) {
    const StereoMask rising = reinterpret_cast<StereoMask>(level) > reinterpret_cast<StereoMask>(envelope);
    envelope = level + (envelope - level) * select(rising, attack, release);
    if (__builtin_expect(!(envelope[0] >= 1e-10f), 0)) {
        asm("");  // stays a branch: in the chain it would cost a compare and a select
        envelope = splat(0.0f);
    }
    return envelope;
}
