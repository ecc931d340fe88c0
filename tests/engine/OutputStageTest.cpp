// Bit reducer, dry/wet mix and the gain ramp's building blocks.
#include <gtest/gtest.h>

#include <cmath>

#include "CoreRig.h"
#include "engine/StereoVector.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

Stereo sine(size_t frames, double hz, float amplitude) {
    Stereo s(frames);
    for (size_t i = 0; i < frames; ++i)
        s.left[i] = s.right[i] =
            amplitude * static_cast<float>(std::sin(2.0 * kPi * hz * static_cast<double>(i) / 44100.0));
    return s;
}

TEST(BitReducer, RoundsTowardMinusInfinityInStepsOfOneOverQ) {
    const float half = 0.5f;
    const struct {
        float in;
        float out;
    } atOneBit[] = {{-0.1f, -0.5f}, {0.1f, 0.0f}, {0.74f, 0.5f},  {-0.5f, -0.5f}, {-0.51f, -1.0f},
                    {0.0f, 0.0f},   {1.0f, 1.0f}, {-1.0f, -1.0f}, {3e38f, 3e38f}, {-3e38f, -3e38f}};
    for (const auto& c : atOneBit) {
        EXPECT_EQ(reduceBits(c.in, 2.0f, half), c.out) << c.in;
        const Stereo4 both = reduceBitsStereo(Stereo4{c.in, -c.in, 0.0f, 0.0f}, splat(2.0f), splat(half));
        EXPECT_EQ(both[0], c.out) << c.in;
        EXPECT_EQ(both[1], reduceBits(-c.in, 2.0f, half)) << c.in;
    }

    // At 32 bits the step is 2^-32: every sample stays within it, most are unchanged.
    const float q32 = 4294967296.0f;
    for (float x : {0.3f, -0.7f, 1e-12f, -1e-12f, 0.999f}) {
        const float y = reduceBits(x, q32, 1.0f / q32);
        EXPECT_LE(y, x);
        EXPECT_LT(x - y, 2.4e-10f) << x;
    }
    // Huge samples pass unchanged rather than overflowing; NaN stays NaN.
    EXPECT_EQ(reduceBits(1e30f, q32, 1.0f / q32), 1e30f);
    EXPECT_TRUE(std::isnan(reduceBits(NAN, 2.0f, 0.5f)));
}

TEST(BitReducer, BitsZeroMakesEveryLoopSampleAMultipleOfOneHalf) {
    auto rig = makeRig();
    rig->setParameter(kParamBits, 0.0f);
    EXPECT_EQ(rig->core.values.bitsValue.load(), 1.0f);
    const Stereo out = render(*rig, sine(6000, 441.0, 0.9f), 256);
    int32_t nonZero = 0;
    for (float v : out.left) {
        ASSERT_EQ(std::floor(v * 2.0f), v * 2.0f) << v;
        if (v != 0.0f) ++nonZero;
    }
    EXPECT_GT(nonZero, 1000);  // the loop was heard

    // At bits 1 (32 bits) the loop is the recording times its gain.
    auto fine = makeRig();
    const Stereo in = sine(6000, 441.0, 0.9f);
    const Stereo full = render(*fine, in, 256);
    const float* slots = fine->getBufferL();
    // The pass after the wrap in sample 1371 reads slot s at 1371 + s; full gain from slot 46
    // until the fade zone (123 samples at knak 0.1) begins at slot 1249.
    for (int32_t s = 46; s < 1249; ++s)
        ASSERT_NEAR(full.left[static_cast<size_t>(1371 + s)], slots[s], 2.4e-10f) << s;
}

TEST(Mix, DryWetBlendsUnfilteredInputAndLoop) {
    const Stereo in = sine(8000, 300.0, 0.8f);
    auto dry = makeRig();
    dry->setParameter(kParamDryWet, 0.0f);
    dry->cycleFilterType(1);  // a pre filter never reaches the dry path
    const Stereo outDry = render(*dry, in, 128);
    for (size_t i = 0; i < in.size(); ++i) {
        ASSERT_EQ(outDry.left[i], in.left[i]) << i;
        ASSERT_EQ(outDry.right[i], in.right[i]) << i;
    }
    EXPECT_GE(dry->getStepIndex(), 1);  // a loop ran meanwhile

    auto wet = makeRig();
    const Stereo outWet = render(*wet, in, 128);
    auto mixed = makeRig();
    mixed->setParameter(kParamDryWet, 0.25f);
    const Stereo outMixed = render(*mixed, in, 128);
    for (size_t i = 0; i < in.size(); ++i)
        ASSERT_NEAR(outMixed.left[i], 0.25f * outWet.left[i] + 0.75f * in.left[i], 1e-6f) << i;
}

TEST(Mix, FullyWetIsSilentOnceTheLoopStops) {
    auto rig = makeRig();
    rig->setParameter(kParamRepeat, 0.0f);  // heard once
    Stereo in(1372 * 6, 0.05f);             // below the threshold after the burst
    for (size_t i = 0; i < 200; ++i) in.left[i] = in.right[i] = 0.9f;
    const Stereo out = render(*rig, in, 100);
    EXPECT_GE(rig->state().repeatCount, rig->state().repeatLimit);
    for (size_t i = 1372 * 2 + 10; i < in.size(); ++i) ASSERT_EQ(out.left[i], 0.0f) << i;
}

TEST(GainRamp, FadeLengthIsKnakOfTheLoopWithAFloorOf40) {
    EXPECT_EQ(fadeLengthFor(0.5f, 1372), 617);
    EXPECT_EQ(fadeLengthFor(0.0f, 1372), 40);
    EXPECT_EQ(fadeLengthFor(1.0f, 1372), 1234);
    EXPECT_EQ(fadeLengthFor(1.0f, 30), 40);
    EXPECT_EQ(fadeLengthFor(1.0f, kMaxLoopLength), 198449);

    // A loop of 39 samples lies in the fade zone: its gain falls to 0 and stays there.
    float gain = 1.0f;
    FadeState state = FadeState::FadingIn;
    for (int32_t pass = 0; pass < 5; ++pass)
        for (int32_t slot = 0; slot < 39; ++slot) advanceGainRamp(gain, state, slot, 40, 39);
    EXPECT_EQ(gain, 0.0f);
    EXPECT_EQ(state, FadeState::Steady);
}

}  // namespace

// The block keeps what it derives from dry/wet, repeat and knak with the stored value it came
// from: every change must reach it, back to an earlier value, to -0, NaN and out of range too.
TEST(BlockPreparation, DerivedValuesFollowEveryChangeOfTheirStoredValues) {
    struct Row {
        float dryWet, repeat, knak;
        float dry;  // the dry gain heard
        int32_t repeatLimit, fadeLength;
    };
    const float nan = std::nanf("");
    const Row rows[] = {
        {0.0f, 0.0f, 0.0f, 1.0f, 2, 40},     {-0.0f, 1.0f, 1.0f, 1.0f, 33, 1234},
        {0.25f, 0.5f, 0.5f, 0.75f, 17, 617}, {0.25f, 0.5f, 0.5f, 0.75f, 17, 617},
        {nan, nan, nan, 1.0f, 2, 40},        {2.0f, -1.0f, 7.0f, 0.0f, 2, 1234},
        {0.0f, 0.0f, 0.0f, 1.0f, 2, 40},
    };
    auto rig = makeRig();
    Stereo in(16, 0.001f);  // far below the threshold: the loop plays its silent buffer
    Stereo out(16);
    float* inputs[2] = {in.left.data(), in.right.data()};
    float* outputs[2] = {out.left.data(), out.right.data()};
    for (const Row& row : rows) {
        rig->setParameter(kParamDryWet, row.dryWet);
        rig->setParameter(kParamRepeat, row.repeat);
        rig->setParameter(kParamKnak, row.knak);
        rig->processReplacing(inputs, outputs, 16);
        EXPECT_EQ(rig->state().repeatLimit, row.repeatLimit) << row.repeat;
        EXPECT_EQ(rig->state().fadeLength, row.fadeLength) << row.knak;
        for (size_t i = 0; i < 16; ++i) ASSERT_EQ(out.left[i], 0.001f * row.dry) << row.dryWet << " " << i;
    }
}
