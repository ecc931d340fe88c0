// Left and right channels side by side in one vector, so that both channels' filters, bit
// reducer and mix cost one instruction each: a pair {left, right} sits in lanes 0 and 1, and
// two samples' pairs fill a vector as {left 0, right 0, left 1, right 1} where nothing is
// recursive. Every lane does exactly the arithmetic of the one-channel code, in the same
// order. Written on the lane type of engine/Simd.h, so it is the same code on every target.
#pragma once

#include <cstdint>

#include "engine/Filter.h"
#include "engine/Simd.h"

typedef simd::Float4 Stereo4;
typedef simd::Mask4 StereoMask;

using simd::select;
using simd::splat;

inline Stereo4 stereoPair(float left, float right) { return Stereo4{left, right, 0.0f, 0.0f}; }

// {left[0], right[0], 0, 0}
inline Stereo4 loadPair(const float* left, const float* right) { return simd::loadLane0s(left, right); }

// {p[0], p[1], 0, 0}, and lanes 0 and 1 back: a pair held in memory.
inline Stereo4 loadLanes01(const float* p) { return simd::loadLow2(p); }
inline void storeLanes01(Stereo4 v, float* p) { simd::storeLow2(p, v); }

// {left[0], right[0], left[1], right[1]}: two samples' pairs.
inline Stereo4 loadPairs(const float* left, const float* right) { return simd::interleaveLow2(left, right); }

// The pairs of two samples back to their channels: left[0..1] = lanes 0 and 2, right[0..1] =
// lanes 1 and 3; with Accumulate added to what the channels hold.
// Both channels on one buffer (a host mixing to mono) add both, left first, as one sample at a
// time does.
template <bool Accumulate>
inline void storePairs(Stereo4 pairs, float* left, float* right) {
    if constexpr (Accumulate) {
        if (left == right) {
            left[0] = (left[0] + pairs[0]) + pairs[1];
            left[1] = (left[1] + pairs[2]) + pairs[3];
            return;
        }
        pairs = loadPairs(left, right) + pairs;
    }
    simd::deinterleaveStore2(pairs, left, right);
}

// One sample's pair (lanes 0 and 1) to its channels.
template <bool Accumulate>
inline void storePair(Stereo4 pair, float* left, float* right) {
    if constexpr (Accumulate) {
        *left += pair[0];
        *right += pair[1];
    } else {
        *left = pair[0];
        *right = pair[1];
    }
}

inline Stereo4 stereoAbs(Stereo4 v) { return simd::absLanes(v); }

// Lane 1 moved down to lane 0 (and 3 to 2).
inline Stereo4 lane1(Stereo4 v) { return simd::shuffle<1, 1, 3, 3>(v); }

// Lanes 2 and 3 moved down to 0 and 1: the second sample's pair.
inline Stereo4 upperHalf(Stereo4 v) { return simd::shuffle<2, 3, 2, 3>(v); }
// The first sample's pair alone: {v0, v1, 0, 0}.
inline Stereo4 firstPair(Stereo4 v) { return simd::lowHalf(v); }
// The second sample's pair alone: {v2, v3, 0, 0}.
inline Stereo4 secondPair(Stereo4 v) { return simd::highHalf(v); }
// Lanes 0 and 1 of a, then lanes 0 and 1 of b.
inline Stereo4 lowerHalves(Stereo4 a, Stereo4 b) { return simd::lowHalves(a, b); }

// One biquad's coefficients, each in every lane.
struct StereoCoefficients {
    Stereo4 b0, b1, b2, a1, a2;
    StereoCoefficients() = default;
    explicit StereoCoefficients(const BiquadCoefficients& c)
        : b0(splat(c.b0)), b1(splat(c.b1)), b2(splat(c.b2)), a1(splat(c.a1)), a2(splat(c.a2)) {}
};

// The memories of a left and a right BiquadState as four pairs (lanes 0 and 1), so that both
// channels' recursion runs in registers and a step moves its memory without shuffling.
struct StereoState {
    Stereo4 x1, x2, y1, y2;
    StereoState() = default;
    StereoState(const BiquadState& l, const BiquadState& r)
        : x1(stereoPair(l.x1, r.x1)), x2(stereoPair(l.x2, r.x2)), y1(stereoPair(l.y1, r.y1)),
          y2(stereoPair(l.y2, r.y2)) {}
    explicit StereoState(const BiquadPairState& m)
        : x1(loadLanes01(m.x21 + 2)), x2(loadLanes01(m.x21)), y1(loadLanes01(m.y21 + 2)),
          y2(loadLanes01(m.y21)) {}
    void store(BiquadState& l, BiquadState& r) const {
        l = BiquadState{x1[0], x2[0], y1[0], y2[0]};
        r = BiquadState{x1[1], x2[1], y1[1], y2[1]};
    }
    void store(BiquadPairState& m) const {
        storeLanes01(x1, m.x21 + 2);
        storeLanes01(x2, m.x21);
        storeLanes01(y1, m.y21 + 2);
        storeLanes01(y2, m.y21);
    }
};

// A filter's output pair with the flush: lanes below 1e-10 (or NaN) become 0, where lanes 0
// and 1 are not both kept (so lanes 2 and 3, which are 0, take the branch only with them).
inline Stereo4 flushFiltered(Stereo4 y) {
    const StereoMask keep = stereoAbs(y) >= splat(kFilterFlushLevel);
    if (__builtin_expect(!simd::lowLanesSet(keep), 0)) y = select(keep, y, splat(0.0f));
    return y;
}

// filterSample for both channels of a pair (lanes 0 and 1 of x and of the result; lanes 2 and
// 3 of x must be 0, so that they stay 0 in the memory), with the same products and the same
// order of sums: direct form I, outputs below 1e-10 (or NaN) become 0. The flush is a branch
// that is almost never taken (only where a channel is silent or nearly so), so that each
// sample waits only for the multiplication and the two subtractions of the recursion.
inline Stereo4 filterStereo(const StereoCoefficients& c, StereoState& s, Stereo4 x) {
    const Stereo4 y = flushFiltered(c.b0 * x + c.b1 * s.x1 + c.b2 * s.x2 - c.a1 * s.y1 - c.a2 * s.y2);
    s.x2 = s.x1;
    s.x1 = x;
    s.y2 = s.y1;
    s.y1 = y;
    return y;
}

// A filter's memory while it steps two samples' pairs at a time: the last two inputs as one
// vector {x2, x1} (the last step's input) and the last two outputs as {y2, y1} (its output).
// Two vectors instead of four to keep in registers through a run (32-bit x86 has eight).
struct StereoTwoState {
    Stereo4 x21, y21;
    StereoTwoState() = default;
    explicit StereoTwoState(const StereoState& s)
        : x21(lowerHalves(s.x2, s.x1)), y21(lowerHalves(s.y2, s.y1)) {}
    // The memory as a filter keeps it: one load and one store each.
    explicit StereoTwoState(const BiquadPairState& m) : x21(simd::load4(m.x21)), y21(simd::load4(m.y21)) {}
    void store(BiquadPairState& m) const {
        simd::store4(m.x21, x21);
        simd::store4(m.y21, y21);
    }
    void store(StereoState& s) const {
        s.x2 = firstPair(x21);
        s.x1 = secondPair(x21);
        s.y2 = firstPair(y21);
        s.y1 = secondPair(y21);
    }
};

// filterStereo of two samples' pairs x = {pair 0, pair 1}, one after the other, with the
// outputs as two samples' pairs: the sums of the inputs' products ((b0 x + b1 x1) + b2 x2)
// of both samples in one vector (pair 0's x1 and x2 are the memory's, pair 1's are pair 0 and
// the memory's x1), then each sample's recursion and flush as filterStereo's. Every lane the
// same products and sums in the same order: the same bits.
inline Stereo4 filterStereoTwo(const StereoCoefficients& c, StereoTwoState& s, Stereo4 x) {
    const Stereo4 inputs = c.b0 * x + c.b1 * simd::shuffle<2, 3, 4, 5>(s.x21, x) + c.b2 * s.x21;
    const Stereo4 y1 = secondPair(s.y21);
    const Stereo4 first = flushFiltered(firstPair(inputs) - c.a1 * y1 - c.a2 * firstPair(s.y21));
    const Stereo4 second = flushFiltered(secondPair(inputs) - c.a1 * first - c.a2 * y1);
    s.x21 = x;
    s.y21 = lowerHalves(first, second);
    return s.y21;
}

// The memory of a filterStereoTwo step taken from `before` with input x and outputs y, as it
// was after the first sample alone (where a run stops there).
inline StereoState afterFirstOfTwo(const StereoTwoState& before, Stereo4 x, Stereo4 y) {
    StereoState s;
    s.x2 = secondPair(before.x21);
    s.x1 = firstPair(x);
    s.y2 = secondPair(before.y21);
    s.y1 = firstPair(y);
    return s;
}

// reduceBits for both channels: floor(w x q) / q, rounding toward minus infinity; samples
// with |w x q| of 2^23 or more (every float there is whole), NaN or infinite pass unchanged.
inline Stereo4 reduceBitsStereo(Stereo4 w, Stereo4 q, Stereo4 inverseQ) {
    const Stereo4 limit = splat(8388608.0f);  // 2^23
    const Stereo4 t = w * q;
    const StereoMask small = stereoAbs(t) < limit;  // false for NaN and infinity as well
    // Clamped first so that the conversion is defined for every lane.
    const Stereo4 clamped = select(small, t, splat(0.0f));
    const Stereo4 truncated = simd::truncateLanes(clamped);
    const Stereo4 floored = truncated - select(truncated > clamped, splat(1.0f), splat(0.0f));
    // Where the sample passes, floored is 0: adding w there (and +0 elsewhere) is the select,
    // bit for bit (floored is never -0, and such a w is never 0).
    return floored * inverseQ + select(small, splat(0.0f), w);
}

// Envelope follower (the third per-sample step), in lane 0.
//
// The level of a pre-filtered pair: |sL| x 0.5 + |sR| x 0.5 (halves first, so that no finite
// input overflows). For two samples' pairs, the second sample's level is in lane 2.
inline Stereo4 envelopeLevel(Stereo4 s) {
    const Stereo4 halves = stereoAbs(s) * splat(0.5f);
    return halves + lane1(halves);
}

// envelope = level + (envelope - level) x c, with the attack coefficient when the level is
// above the envelope and the release coefficient otherwise; below 1e-10 (or NaN, which a NaN
// or infinite input leaves) it becomes 0. Each sample waits only for the subtraction, the
// multiplication and the addition: the envelope is never negative and the level is a
// magnitude, so comparing their bits as integers orders them as floats (a NaN level picks
// either coefficient, and its NaN result is flushed all the same), and the flush is a branch
// that is almost never taken. Only lane 0 is computed. Bit for bit the plain follower.
// The follower's two coefficients as followEnvelope takes them: the release coefficient, and
// the bits in which the attack coefficient differs from it.
struct EnvelopeCoefficients {
    Stereo4 release;
    Stereo4 attackXorRelease;
    EnvelopeCoefficients() = default;
    EnvelopeCoefficients(float attack, float releaseCoefficient)
        : release(splat(releaseCoefficient)),
          attackXorRelease(
              simd::floatsOf(simd::bitsOf(splat(attack)) ^ simd::bitsOf(splat(releaseCoefficient)))) {}
};

inline Stereo4 followEnvelope(Stereo4 envelope, Stereo4 level, const EnvelopeCoefficients& k) {
    const StereoMask rising = simd::greaterBits(level, envelope);
    const Stereo4 c = simd::floatsOf((rising & simd::bitsOf(k.attackXorRelease)) ^ simd::bitsOf(k.release));
    const Stereo4 next = simd::addLane0(simd::mulLane0(simd::subLane0(envelope, level), c), level);
    // Told that the flush is rare to the point of being predictable, the compilers keep it a
    // branch; as a select it would lengthen the chain by a compare and a blend.
    if (__builtin_expect_with_probability(!(next[0] >= 1e-10f), 0, 0.999)) return splat(0.0f);
    return next;
}
