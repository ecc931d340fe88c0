// The vector back end this build uses (SSE2, NEON or plain C++) against one-lane C++, bit for
// bit: every operation over values that reach its edges (signed zeros, denormals, the 2^23
// limit of truncation, huge values, infinities, NaN), and every lane move.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <limits>
#include <vector>

#include "engine/Simd.h"

namespace {

using simd::Float4;
using simd::Mask4;

uint32_t bitsOf(float v) {
    uint32_t b;
    std::memcpy(&b, &v, sizeof b);
    return b;
}

float fromBits(uint32_t b) {
    float v;
    std::memcpy(&v, &b, sizeof v);
    return v;
}

// Values for the lanes: each operation meets every one of them in every lane position.
const std::vector<float>& edgeValues() {
    static const std::vector<float> values = {0.0f,
                                              -0.0f,
                                              1.0f,
                                              -1.5f,
                                              0.022f,
                                              1e-10f,
                                              1e-40f,
                                              -1e-40f,
                                              8388607.5f,
                                              8388608.0f,
                                              -8388609.0f,
                                              3e38f,
                                              -3e38f,
                                              std::numeric_limits<float>::infinity(),
                                              -std::numeric_limits<float>::infinity(),
                                              2147483520.0f};
    return values;
}

Float4 lanes(size_t i) {
    const std::vector<float>& v = edgeValues();
    return Float4{v[i % v.size()], v[(i + 3) % v.size()], v[(i + 7) % v.size()], v[(i + 11) % v.size()]};
}

void expectLanes(Float4 got, const float (&want)[4], const char* what, size_t i) {
    for (int lane = 0; lane < 4; ++lane)
        EXPECT_EQ(bitsOf(got[lane]), bitsOf(want[lane])) << what << ", values " << i << ", lane " << lane;
}

TEST(SimdLanes, ArithmeticComparesAndSelectsAreThoseOfOneLane) {
    const size_t n = edgeValues().size();
    for (size_t i = 0; i < n; ++i) {
        for (size_t k = 0; k < n; ++k) {
            const Float4 a = lanes(i);
            const Float4 b = lanes(k);
            const Float4 sum = a + b, difference = a - b, product = a * b;
            const Mask4 less = a<b, greater = a> b, atLeast = a >= b, greaterAsInt = simd::greaterBits(a, b);
            const Float4 chosen = simd::select(less, a, b);
            const Float4 low0 = simd::addLane0(simd::mulLane0(simd::subLane0(a, b), b), a);
            for (int lane = 0; lane < 4; ++lane) {
                const float x = a[lane], y = b[lane];
                EXPECT_EQ(bitsOf(sum[lane]), bitsOf(x + y)) << i << " " << k;
                EXPECT_EQ(bitsOf(difference[lane]), bitsOf(x - y)) << i << " " << k;
                EXPECT_EQ(bitsOf(product[lane]), bitsOf(x * y)) << i << " " << k;
                EXPECT_EQ(less[lane], x < y ? -1 : 0) << i << " " << k;
                EXPECT_EQ(greater[lane], x > y ? -1 : 0) << i << " " << k;
                EXPECT_EQ(atLeast[lane], x >= y ? -1 : 0) << i << " " << k;
                EXPECT_EQ(greaterAsInt[lane],
                          static_cast<int32_t>(bitsOf(x)) > static_cast<int32_t>(bitsOf(y)) ? -1 : 0);
                EXPECT_EQ(bitsOf(chosen[lane]), bitsOf(x < y ? x : y)) << i << " " << k;
                const float lane0 = (x - y) * y + x;
                EXPECT_EQ(bitsOf(low0[lane]), bitsOf(lane == 0 ? lane0 : x)) << i << " " << k;
            }
        }
    }
}

TEST(SimdLanes, AbsoluteValueTruncationAndBitsAreThoseOfOneLane) {
    for (size_t i = 0; i < edgeValues().size(); ++i) {
        const Float4 a = lanes(i);
        const Float4 magnitude = simd::absLanes(a);
        // Truncation is asked for below 2^23 only (the bit reducer clamps first).
        const Float4 small = simd::select(simd::absLanes(a) < simd::splat(8388608.0f), a, simd::splat(0.0f));
        const Float4 truncated = simd::truncateLanes(small);
        const Float4 roundTrip = simd::floatsOf(simd::bitsOf(a) ^ simd::splatMask(0));
        for (int lane = 0; lane < 4; ++lane) {
            EXPECT_EQ(bitsOf(magnitude[lane]), bitsOf(a[lane]) & 0x7FFFFFFFu) << i;
            EXPECT_EQ(bitsOf(truncated[lane]), bitsOf(static_cast<float>(static_cast<int32_t>(small[lane]))))
                << i;
            EXPECT_EQ(bitsOf(roundTrip[lane]), bitsOf(a[lane])) << i;
        }
    }
    // NaN keeps its bits through the bit operations; the magnitude only loses the sign.
    const Float4 nan = simd::splat(fromBits(0xFFC01234u));
    EXPECT_EQ(bitsOf(simd::absLanes(nan)[2]), 0x7FC01234u);
    EXPECT_EQ(bitsOf(simd::select(simd::splatMask(-1), nan, simd::splat(1.0f))[1]), 0xFFC01234u);
}

TEST(SimdLanes, LoadsStoresAndLaneMovesPutEachValueWhereTheyPromise) {
    const float left[4] = {1.0f, 2.0f, 3.0f, 4.0f};
    const float right[4] = {-1.0f, -2.0f, -3.0f, -4.0f};
    const Float4 v{10.0f, 20.0f, 30.0f, 40.0f};
    const Float4 w{50.0f, 60.0f, 70.0f, 80.0f};
    const struct {
        const char* what;
        Float4 got;
        float want[4];
    } cases[] = {
        {"load4", simd::load4(left), {1.0f, 2.0f, 3.0f, 4.0f}},
        {"loadLow2", simd::loadLow2(left + 1), {2.0f, 3.0f, 0.0f, 0.0f}},
        {"loadLane0s", simd::loadLane0s(left + 2, right + 2), {3.0f, -3.0f, 0.0f, 0.0f}},
        {"interleaveLow2", simd::interleaveLow2(left, right), {1.0f, -1.0f, 2.0f, -2.0f}},
        {"lowHalf", simd::lowHalf(v), {10.0f, 20.0f, 0.0f, 0.0f}},
        {"highHalf", simd::highHalf(v), {30.0f, 40.0f, 0.0f, 0.0f}},
        {"lowHalves", simd::lowHalves(v, w), {10.0f, 20.0f, 50.0f, 60.0f}},
        {"shuffle 1133", simd::shuffle<1, 1, 3, 3>(v), {20.0f, 20.0f, 40.0f, 40.0f}},
        {"shuffle 3210 of two", simd::shuffle<3, 2, 5, 4>(v, w), {40.0f, 30.0f, 60.0f, 50.0f}},
    };
    for (size_t i = 0; i < std::size(cases); ++i) expectLanes(cases[i].got, cases[i].want, cases[i].what, i);

    float out[6] = {0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f};
    simd::store4(out + 1, v);
    EXPECT_EQ(out[0], 0.0f);
    EXPECT_EQ(out[4], 40.0f);
    EXPECT_EQ(out[5], 0.0f);
    simd::storeLow2(out, w);
    EXPECT_EQ(out[1], 60.0f);
    EXPECT_EQ(out[2], 20.0f);
    float a[3] = {0.0f, 0.0f, 9.0f}, b[3] = {0.0f, 0.0f, 9.0f};
    simd::deinterleaveStore2(v, a, b);
    EXPECT_EQ(a[0], 10.0f);
    EXPECT_EQ(a[1], 30.0f);
    EXPECT_EQ(b[0], 20.0f);
    EXPECT_EQ(b[1], 40.0f);
    EXPECT_EQ(a[2], 9.0f);
    EXPECT_EQ(b[2], 9.0f);

    // Both low lanes set, and each other combination.
    const struct {
        Mask4 mask;
        bool set;
    } masks[] = {
        {{-1, -1, 0, 0}, true}, {{-1, 0, -1, -1}, false}, {{0, -1, -1, -1}, false}, {{-1, -1, -1, -1}, true}};
    for (const auto& m : masks) EXPECT_EQ(simd::lowLanesSet(m.mask), m.set);
}

}  // namespace
