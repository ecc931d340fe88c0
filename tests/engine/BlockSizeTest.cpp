// The same settings give the same output whatever the block sizes, and process adds what
// processReplacing stores.
#include <gtest/gtest.h>

#include <random>

#include "CoreRig.h"

namespace {

// Drum-like bursts over a quiet tone: several freezes, in both channels differently.
Stereo testSignal(size_t frames) {
    Stereo s(frames);
    std::mt19937 noise(1234);
    std::uniform_real_distribution<float> uniform(-1.0f, 1.0f);
    for (size_t i = 0; i < frames; ++i) {
        const size_t beat = i % 11025;
        const float decay = beat < 2000 ? 1.0f - static_cast<float>(beat) / 2000.0f : 0.0f;
        const float tone = 0.05f * static_cast<float>(std::sin(0.031 * static_cast<double>(i)));
        s.left[i] = tone + 0.8f * decay * uniform(noise);
        s.right[i] = 0.7f * tone + 0.6f * decay * uniform(noise);
    }
    return s;
}

void configure(CoreRig& rig) {
    rig.setParameter(kParamBits, 0.4f);
    rig.setParameter(kParamKnak, 0.3f);
    rig.setParameter(kParamDryWet, 0.7f);
    rig.setParameter(kParamPreCutoff, 0.6f);
    rig.setParameter(kParamPreReso, 0.5f);
    rig.setParameter(kParamPostCutoff, 0.4f);
    rig.setParameter(kParamPostReso, 0.8f);
    rig.setParameter(kParamRepeat, 0.2f);
    rig.cycleFilterType(1);           // pre LP
    rig.cycleFilterType(2);
    rig.cycleFilterType(2);
    rig.cycleFilterType(2);           // post BP
}

TEST(BlockSize, OutputIsTheSameForAnyBlockSizes) {
    const Stereo in = testSignal(44100 * 3);
    auto reference = makeRig();
    configure(*reference);
    Stereo expected;
    render(*reference, in, expected, {4096});
    EXPECT_GE(reference->getStepIndex(), 3);

    std::mt19937 sizes(99);
    std::uniform_int_distribution<int32_t> pick(1, 700);
    std::vector<int32_t> random(200);
    for (auto& s : random) s = pick(sizes);
    const std::vector<std::vector<int32_t>> schedules = {{1}, {16}, {64}, {512}, {37, 1, 255}, random};
    for (const auto& schedule : schedules) {
        auto rig = makeRig();
        configure(*rig);
        Stereo out;
        render(*rig, in, out, schedule);
        for (size_t i = 0; i < in.size(); ++i) {
            ASSERT_EQ(out.left[i], expected.left[i]) << "sample " << i << " first block " << schedule[0];
            ASSERT_EQ(out.right[i], expected.right[i]) << "sample " << i << " first block " << schedule[0];
        }
    }
}

TEST(BlockSize, ProcessAddsWhatProcessReplacingStores) {
    const Stereo in = testSignal(44100);
    auto replacing = makeRig();
    configure(*replacing);
    Stereo stored;
    render(*replacing, in, stored, {256});

    auto adding = makeRig();
    configure(*adding);
    Stereo sum(in.size(), 0.25f);
    render(*adding, in, sum, {256}, true);
    for (size_t i = 0; i < in.size(); ++i) {
        ASSERT_EQ(sum.left[i], 0.25f + stored.left[i]) << i;
        ASSERT_EQ(sum.right[i], 0.25f + stored.right[i]) << i;
    }
}

TEST(BlockSize, InPlaceBuffersWork) {
    const Stereo in = testSignal(20000);
    auto separate = makeRig();
    configure(*separate);
    const Stereo expected = render(*separate, in, 500);

    auto inPlace = makeRig();
    configure(*inPlace);
    Stereo buffer = in;
    for (size_t at = 0; at < buffer.size(); at += 500) {
        float* channels[2] = {buffer.left.data() + at, buffer.right.data() + at};
        inPlace->processReplacing(channels, channels, 500);
    }
    for (size_t i = 0; i < in.size(); ++i) ASSERT_EQ(buffer.left[i], expected.left[i]) << i;
}

}  // namespace
