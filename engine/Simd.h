// The engine's vector operations on four float lanes: arithmetic, compares, selects, shuffles,
// loads and stores. One back end per instruction set (SSE2 on x86, NEON on aarch64) and a plain
// C++ one (any other target, or forced with BRINDLE_SIMD_PLAIN); each does every lane's IEEE
// single-precision arithmetic exactly, so all of them give the same bits. Nothing else in the
// engine includes an intrinsics header.
#pragma once

#include <cstdint>
#include <cstring>

#if defined(BRINDLE_SIMD_PLAIN)
#define BRINDLE_SIMD_BACKEND_PLAIN 1
#elif defined(__SSE2__) || defined(_M_X64)
#define BRINDLE_SIMD_BACKEND_SSE2 1
#include <emmintrin.h>
#elif defined(__ARM_NEON) && defined(__aarch64__)
// (32-bit ARM's NEON flushes denormals to zero, so it would not give the same bits.)
#define BRINDLE_SIMD_BACKEND_NEON 1
#include <arm_neon.h>
#else
#define BRINDLE_SIMD_BACKEND_PLAIN 1
#endif

namespace simd {

#if defined(BRINDLE_SIMD_BACKEND_PLAIN)

// Four lanes as plain arrays; every operation is a loop over them.
struct Mask4 {
    int32_t v[4];
    int32_t operator[](int i) const { return v[i]; }
    int32_t& operator[](int i) { return v[i]; }
};
struct Float4 {
    float v[4];
    float operator[](int i) const { return v[i]; }
    float& operator[](int i) { return v[i]; }
};

#define BRINDLE_SIMD_LANEWISE(Result, Type, op)                \
    inline Result operator op(Type a, Type b) {                \
        Result r;                                              \
        for (int i = 0; i < 4; ++i) r.v[i] = a.v[i] op b.v[i]; \
        return r;                                              \
    }
BRINDLE_SIMD_LANEWISE(Float4, Float4, +)
BRINDLE_SIMD_LANEWISE(Float4, Float4, -)
BRINDLE_SIMD_LANEWISE(Float4, Float4, *)
BRINDLE_SIMD_LANEWISE(Mask4, Mask4, &)
BRINDLE_SIMD_LANEWISE(Mask4, Mask4, |)
BRINDLE_SIMD_LANEWISE(Mask4, Mask4, ^)
#undef BRINDLE_SIMD_LANEWISE

#define BRINDLE_SIMD_COMPARE(Type, op)                                  \
    inline Mask4 operator op(Type a, Type b) {                          \
        Mask4 r;                                                        \
        for (int i = 0; i < 4; ++i) r.v[i] = a.v[i] op b.v[i] ? -1 : 0; \
        return r;                                                       \
    }
BRINDLE_SIMD_COMPARE(Float4, <)
BRINDLE_SIMD_COMPARE(Float4, >)
BRINDLE_SIMD_COMPARE(Float4, >=)
BRINDLE_SIMD_COMPARE(Mask4, >)
#undef BRINDLE_SIMD_COMPARE

inline Mask4 operator~(Mask4 a) {
    for (int i = 0; i < 4; ++i) a.v[i] = ~a.v[i];
    return a;
}

inline Mask4 bitsOf(Float4 a) {
    Mask4 r;
    std::memcpy(r.v, a.v, sizeof r.v);
    return r;
}
inline Float4 floatsOf(Mask4 a) {
    Float4 r;
    std::memcpy(r.v, a.v, sizeof r.v);
    return r;
}

template <int I0, int I1, int I2, int I3>
inline Float4 shuffle(Float4 a, Float4 b) {
    const float all[8] = {a.v[0], a.v[1], a.v[2], a.v[3], b.v[0], b.v[1], b.v[2], b.v[3]};
    return Float4{{all[I0], all[I1], all[I2], all[I3]}};
}

// Lanes 0 to 3 truncated toward zero to whole numbers, as floats; defined where |a| < 2^31.
inline Float4 truncateLanes(Float4 a) {
    for (float& x : a.v) x = static_cast<float>(static_cast<int32_t>(x));
    return a;
}

#else

// Both instruction sets through the compilers' vector types: the arithmetic, compares and
// shuffles below are one instruction each on either.
typedef float Float4 __attribute__((vector_size(16)));
typedef int32_t Mask4 __attribute__((vector_size(16)));

inline Mask4 bitsOf(Float4 a) { return reinterpret_cast<Mask4>(a); }
inline Float4 floatsOf(Mask4 a) { return reinterpret_cast<Float4>(a); }

template <int I0, int I1, int I2, int I3>
inline Float4 shuffle(Float4 a, Float4 b) {
    return __builtin_shufflevector(a, b, I0, I1, I2, I3);
}

inline Float4 truncateLanes(Float4 a) {
    return __builtin_convertvector(__builtin_convertvector(a, Mask4), Float4);
}

#endif

// --- built on the operations above, the same for every back end ---

inline Float4 splat(float v) { return Float4{v, v, v, v}; }
inline Mask4 splatMask(int32_t v) { return Mask4{v, v, v, v}; }
inline Float4 zero() { return splat(0.0f); }

template <int I0, int I1, int I2, int I3>
inline Float4 shuffle(Float4 a) {
    return shuffle<I0, I1, I2, I3>(a, a);
}

inline Float4 absLanes(Float4 a) { return floatsOf(bitsOf(a) & splatMask(0x7FFFFFFF)); }

// Lanes where mask is set take a, the others b.
inline Float4 select(Mask4 mask, Float4 a, Float4 b) {
    return floatsOf((mask & bitsOf(a)) | (~mask & bitsOf(b)));
}

// Lanes 0 and 1 of a, then lanes 0 and 1 of b.
inline Float4 lowHalves(Float4 a, Float4 b) { return shuffle<0, 1, 4, 5>(a, b); }

// --- what each instruction set does its own way ---

#if defined(BRINDLE_SIMD_BACKEND_SSE2)

inline Float4 load4(const float* p) { return Float4(_mm_loadu_ps(p)); }
inline void store4(float* p, Float4 a) { _mm_storeu_ps(p, __m128(a)); }

// {p[0], p[1], 0, 0}, and lanes 0 and 1 back to p[0..1].
inline Float4 loadLow2(const float* p) {
    return Float4(_mm_castsi128_ps(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(p))));
}
inline void storeLow2(float* p, Float4 a) {
    _mm_storel_epi64(reinterpret_cast<__m128i*>(p), _mm_castps_si128(__m128(a)));
}

// {*a, *b, 0, 0}.
inline Float4 loadLane0s(const float* a, const float* b) {
    return Float4(_mm_unpacklo_ps(_mm_load_ss(a), _mm_load_ss(b)));
}

// {a[0], b[0], a[1], b[1]}.
inline Float4 interleaveLow2(const float* a, const float* b) {
    return Float4(_mm_unpacklo_ps(__m128(loadLow2(a)), __m128(loadLow2(b))));
}

// Lanes 0 and 2 to a[0..1], lanes 1 and 3 to b[0..1].
inline void deinterleaveStore2(Float4 v, float* a, float* b) {
    const __m128 byRow = _mm_shuffle_ps(__m128(v), __m128(v), _MM_SHUFFLE(3, 1, 2, 0));
    _mm_storel_pi(reinterpret_cast<__m64*>(a), byRow);
    _mm_storeh_pi(reinterpret_cast<__m64*>(b), byRow);
}

// {a0, a1, 0, 0} and {a2, a3, 0, 0}.
inline Float4 lowHalf(Float4 a) {
    return Float4(_mm_castsi128_ps(_mm_move_epi64(_mm_castps_si128(__m128(a)))));
}
inline Float4 highHalf(Float4 a) { return Float4(_mm_movehl_ps(_mm_setzero_ps(), __m128(a))); }

// Whether lanes 0 and 1 of a compare's mask are both set.
inline bool lowLanesSet(Mask4 m) { return (_mm_movemask_ps(_mm_castsi128_ps(__m128i(m))) & 3) == 3; }

// Lane 0 of a op b; lanes 1 to 3 stay a's. One scalar instruction, no shuffle.
inline Float4 subLane0(Float4 a, Float4 b) { return Float4(_mm_sub_ss(__m128(a), __m128(b))); }
inline Float4 mulLane0(Float4 a, Float4 b) { return Float4(_mm_mul_ss(__m128(a), __m128(b))); }
inline Float4 addLane0(Float4 a, Float4 b) { return Float4(_mm_add_ss(__m128(a), __m128(b))); }

#elif defined(BRINDLE_SIMD_BACKEND_NEON)

inline Float4 load4(const float* p) { return Float4(vld1q_f32(p)); }
inline void store4(float* p, Float4 a) { vst1q_f32(p, float32x4_t(a)); }

inline Float4 loadLow2(const float* p) { return Float4(vcombine_f32(vld1_f32(p), vdup_n_f32(0.0f))); }
inline void storeLow2(float* p, Float4 a) { vst1_f32(p, vget_low_f32(float32x4_t(a))); }

inline Float4 loadLane0s(const float* a, const float* b) {
    return Float4(vcombine_f32(vld1_lane_f32(b, vld1_dup_f32(a), 1), vdup_n_f32(0.0f)));
}

inline Float4 interleaveLow2(const float* a, const float* b) {
    const float32x2x2_t z = vzip_f32(vld1_f32(a), vld1_f32(b));
    return Float4(vcombine_f32(z.val[0], z.val[1]));
}

inline void deinterleaveStore2(Float4 v, float* a, float* b) {
    const float32x2x2_t rows = vuzp_f32(vget_low_f32(float32x4_t(v)), vget_high_f32(float32x4_t(v)));
    vst1_f32(a, rows.val[0]);
    vst1_f32(b, rows.val[1]);
}

inline Float4 lowHalf(Float4 a) {
    return Float4(vcombine_f32(vget_low_f32(float32x4_t(a)), vdup_n_f32(0.0f)));
}
inline Float4 highHalf(Float4 a) {
    return Float4(vcombine_f32(vget_high_f32(float32x4_t(a)), vdup_n_f32(0.0f)));
}

inline bool lowLanesSet(Mask4 m) {
    return vget_lane_u64(vreinterpret_u64_s32(vget_low_s32(int32x4_t(m))), 0) == ~static_cast<uint64_t>(0);
}

// Lane 0 of a op b; lanes 1 to 3 stay a's (scalar instructions on the register's low lane).
inline Float4 subLane0(Float4 a, Float4 b) { return Float4(vsetq_lane_f32(a[0] - b[0], float32x4_t(a), 0)); }
inline Float4 mulLane0(Float4 a, Float4 b) { return Float4(vsetq_lane_f32(a[0] * b[0], float32x4_t(a), 0)); }
inline Float4 addLane0(Float4 a, Float4 b) { return Float4(vsetq_lane_f32(a[0] + b[0], float32x4_t(a), 0)); }

#else

inline Float4 load4(const float* p) { return Float4{p[0], p[1], p[2], p[3]}; }
inline void store4(float* p, Float4 a) {
    for (int i = 0; i < 4; ++i) p[i] = a[i];
}
inline Float4 loadLow2(const float* p) { return Float4{p[0], p[1], 0.0f, 0.0f}; }
inline void storeLow2(float* p, Float4 a) {
    p[0] = a[0];
    p[1] = a[1];
}
inline Float4 loadLane0s(const float* a, const float* b) { return Float4{*a, *b, 0.0f, 0.0f}; }
inline Float4 interleaveLow2(const float* a, const float* b) { return Float4{a[0], b[0], a[1], b[1]}; }
inline void deinterleaveStore2(Float4 v, float* a, float* b) {
    a[0] = v[0];
    a[1] = v[2];
    b[0] = v[1];
    b[1] = v[3];
}
inline Float4 lowHalf(Float4 a) { return Float4{a[0], a[1], 0.0f, 0.0f}; }
inline Float4 highHalf(Float4 a) { return Float4{a[2], a[3], 0.0f, 0.0f}; }
inline bool lowLanesSet(Mask4 m) { return m[0] != 0 && m[1] != 0; }
inline Float4 subLane0(Float4 a, Float4 b) {
    a[0] = a[0] - b[0];
    return a;
}
inline Float4 mulLane0(Float4 a, Float4 b) {
    a[0] = a[0] * b[0];
    return a;
}
inline Float4 addLane0(Float4 a, Float4 b) {
    a[0] = a[0] + b[0];
    return a;
}

#endif

// A signed integer compare of the lanes' bits: for floats that are not negative it orders them
// as floats do, one instruction shorter than a float compare on some chips.
inline Mask4 greaterBits(Float4 a, Float4 b) { return bitsOf(a) > bitsOf(b); }

}  // namespace simd
