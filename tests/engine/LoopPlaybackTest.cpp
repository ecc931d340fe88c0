// Loop playback: repeat counts, the fade zone of each pass, silence after a trigger.
#include <gtest/gtest.h>

#include <vector>

#include "CoreRig.h"

namespace {

// DC 0.5 long enough to fill one recording, then silence.
Stereo dcThenSilence(size_t frames) {
    Stereo in(frames);
    for (size_t i = 0; i < 1500; ++i) in.left[i] = in.right[i] = 0.5f;
    return in;
}

// Stretches of non-zero output: each pass begins with the silent slot 0.
int32_t countPasses(const std::vector<float>& out) {
    int32_t runs = 0;
    bool inRun = false;
    for (float v : out) {
        if (v != 0.0f && !inRun) ++runs;
        inRun = v != 0.0f;
    }
    return runs;
}

TEST(LoopPlayback, RecordingIsHeardRepeatLimitMinusOneTimes) {
    const std::pair<float, int32_t> cases[] = {{0.0f, 1}, {1.0f, 32}, {0.5f, 16}};
    for (const auto& [repeat, passes] : cases) {
        auto rig = makeRig();
        rig->setParameter(kParamRepeat, repeat);
        rig->setParameter(kParamKnak, 0.0f);
        const Stereo out = render(*rig, dcThenSilence(1372 * 40), 512);
        EXPECT_EQ(countPasses(out.left), passes) << "repeat " << repeat;
        EXPECT_EQ(countPasses(out.right), passes) << "repeat " << repeat;
    }
}

// Gain of every slot of the first full pass after the trigger, sample by sample.
std::vector<float> gainsOfFirstPass(CoreRig& rig) {
    const Stereo in = dcThenSilence(4000);
    std::vector<float> gains(1372, -1.0f);
    int32_t wraps = 0;
    for (size_t i = 0; i < in.size() && wraps < 2; ++i) {
        step(rig, in.left[i]);
        if (rig.getStepIndex() == 0) continue;  // not triggered yet
        if (rig.state().playIndex == 0) ++wraps;
        if (wraps == 1) gains[static_cast<size_t>(rig.state().playIndex)] = rig.state().loopGain;
    }
    return gains;
}

TEST(LoopPlayback, KnakSetsTheFadeZoneAtTheEndOfEachPass) {
    auto rig = makeRig();
    rig->setParameter(kParamKnak, 0.5f);
    const std::vector<float> g = gainsOfFirstPass(*rig);
    EXPECT_EQ(rig->state().fadeLength, 617);
    // Fades in over the first 46 samples (slot 0 included), steady, fades out from 756.
    EXPECT_NEAR(g[0], 0.022f, 1e-6f);
    EXPECT_NEAR(g[44], 0.99f, 1e-5f);
    EXPECT_EQ(g[45], 1.0f);
    EXPECT_EQ(g[755], 1.0f);
    EXPECT_NEAR(g[756], 0.978f, 1e-6f);
    EXPECT_NEAR(g[800], 0.01f, 1e-5f);
    EXPECT_EQ(g[801], 0.0f);
    EXPECT_EQ(g[1371], 0.0f);

    auto hard = makeRig();
    hard->setParameter(kParamKnak, 0.0f);
    const std::vector<float> h = gainsOfFirstPass(*hard);
    EXPECT_EQ(hard->state().fadeLength, kMinFadeLength);
    EXPECT_EQ(h[1332], 1.0f);  // zone is slots 1333..1371
    EXPECT_NEAR(h[1333], 0.978f, 1e-6f);
    EXPECT_NEAR(h[1371], 1.0f - 39 * 0.022f, 1e-5f);
}

TEST(LoopPlayback, OutputIsTheLoopTimesItsGain) {
    auto rig = makeRig();
    rig->setParameter(kParamKnak, 0.5f);
    const Stereo out = render(*rig, dcThenSilence(4200), 64);
    // Sample i reads slot i + 1 until playback wraps in sample 1371; slot s of the first pass
    // after the trigger (sample 6) is then heard at sample 1371 + s.
    EXPECT_EQ(out.left[1371], 0.0f);                    // slot 0
    EXPECT_NEAR(out.left[1372], 0.5f * 0.044f, 1e-6f);  // slot 1, fading in
    EXPECT_EQ(out.left[1371 + 100], 0.5f);
    EXPECT_EQ(out.left[1371 + 801], 0.0f);
    // Before the wrap the loop played the zeroed buffer: silence, whatever the input.
    for (size_t i = 0; i < 1371; ++i) ASSERT_EQ(out.left[i], 0.0f) << i;
}

TEST(LoopPlayback, TriggerFadesAPlayingLoopOutWithin46Samples) {
    auto rig = makeRig();
    rig->setParameter(kParamKnak, 0.0f);
    rig->setParameter(kParamRepeat, 1.0f);
    render(*rig, dcThenSilence(1372 * 5 + 500), 1);  // past the hold-off
    ASSERT_EQ(rig->state().loopGain, 1.0f);
    ASSERT_GE(rig->state().playIndex, 400);
    ASSERT_LE(rig->state().playIndex, 1200);
    // Another burst (the hold-off has passed): the playing loop goes silent within 46 samples
    // and stays silent until the wrap, then plays the new recording.
    int32_t silentAfter = -1;
    int32_t wrapAt = -1;
    for (int32_t i = 0; i < 1400 && wrapAt < 0; ++i) {
        const float out = step(*rig, 0.9f);
        if (silentAfter < 0 && rig->getStepIndex() == 2 && rig->state().loopGain == 0.0f) silentAfter = i;
        if (silentAfter >= 0 && rig->state().playIndex == 0) wrapAt = i;
        if (silentAfter >= 0 && wrapAt < 0) {
            ASSERT_EQ(out, 0.0f) << i;
        }
    }
    EXPECT_GE(silentAfter, 0);
    EXPECT_LE(silentAfter, 4 + 46);  // trigger at the 4th loud sample
    EXPECT_GE(wrapAt, 0);
    EXPECT_EQ(rig->getStepIndex(), 2);
}

}  // namespace
