// Envelope trigger, recorder timing, hold-off and inverse mode, observed sample by sample.
#include <gtest/gtest.h>

#include <cmath>
#include <utility>

#include "CoreRig.h"

namespace {

// Index of the first sample after which the recorder runs, or -1.
int32_t firstTrigger(CoreRig& rig, const std::vector<float>& input, int32_t from = 0) {
    for (size_t i = static_cast<size_t>(from); i < input.size(); ++i) {
        const bool before = rig.isRecording();
        step(rig, input[i]);
        if (!before && rig.isRecording()) return static_cast<int32_t>(i);
    }
    return -1;
}

TEST(Trigger, FiresWhenTheEnvelopeCrossesAndRecordsTheFollowingSamples) {
    auto rig = makeRig();
    std::vector<float> input(8000, 0.0f);
    for (size_t i = 100; i < input.size(); ++i) input[i] = 0.5f + 1e-4f * static_cast<float>(i);

    // Attack 0 is 2 ms to 1 %; the follower is simulated here to find the expected sample.
    const double c = std::exp(std::log(0.01) / (2.0 * 44.1));
    double env = 0.0;
    int32_t expected = -1;
    for (size_t i = 0; i < input.size() && expected < 0; ++i) {
        const double x = static_cast<double>(input[i]);
        env = x + (env - x) * c;
        if (env > 0.15) expected = static_cast<int32_t>(i);
    }
    const int32_t at = firstTrigger(*rig, input);
    ASSERT_EQ(at, expected);
    EXPECT_EQ(rig->getStepIndex(), 1);
    EXPECT_EQ(rig->state().fadeState, FadeState::FadingOut);

    // The recording fills slots 1..1372 with the samples after the trigger, then stops.
    for (int32_t i = at + 1; i <= at + 1372; ++i) {
        step(*rig, input[static_cast<size_t>(i)]);
        ASSERT_TRUE(rig->isRecording()) << i;
    }
    step(*rig, input[static_cast<size_t>(at + 1373)]);
    EXPECT_FALSE(rig->isRecording());
    EXPECT_EQ(rig->getBufferL()[0], 0.0f);
    EXPECT_EQ(rig->getBufferL()[1], input[static_cast<size_t>(at + 1)]);
    EXPECT_EQ(rig->getBufferL()[1372], input[static_cast<size_t>(at + 1372)]);
    EXPECT_EQ(rig->getBufferL()[1373], 0.0f);

    // The hold-off counts 5000 idle samples, the ending sample included; the loud input then
    // triggers again in the sample that releases it.
    const int32_t again = firstTrigger(*rig, input, at + 1374);
    EXPECT_EQ(again, at + 1373 + 4999);
    EXPECT_EQ(rig->getStepIndex(), 2);
}

TEST(Trigger, CloseTransientsGiveOneFreezeAndDistantOnesTwo) {
    auto burst = [](std::vector<float>& v, size_t at) {
        for (size_t i = at; i < at + 10; ++i) v[i] = 1.0f;
    };
    // The second burst counts only once the recording (1372) and the hold-off (5000) after
    // the trigger at sample 103 have passed; a burst before that has decayed by then.
    const std::pair<size_t, int32_t> cases[] = {{1500, 1}, {4000, 1}, {6500, 2}, {8000, 2}};
    for (const auto& [gap, expected] : cases) {
        auto rig = makeRig();
        std::vector<float> input(20000, 0.0f);
        burst(input, 100);
        burst(input, 100 + gap);
        Stereo in(input.size());
        in.left = input;
        in.right = input;
        render(*rig, in, 256);
        EXPECT_EQ(rig->getStepIndex(), expected) << "gap " << gap;
    }
}

TEST(Trigger, EnvelopeExactlyAtTheThresholdNeverTriggers) {
    for (bool inverse : {false, true}) {
        auto rig = makeRig();
        rig->setParameter(kParamThreshold, 0.0f);
        if (inverse) rig->toggleInverse();
        render(*rig, Stereo(20000), 333);  // silence: the envelope stays exactly 0
        EXPECT_EQ(rig->getStepIndex(), 0) << inverse;
        EXPECT_FALSE(rig->isRecording());
    }
}

TEST(Trigger, InverseFiresWhenTheLevelFallsBelowTheThreshold) {
    auto rig = makeRig();
    rig->toggleInverse();
    // Silence is below the threshold at once.
    EXPECT_EQ(firstTrigger(*rig, std::vector<float>(10, 0.0f)), 0);

    auto loud = makeRig();
    loud->toggleInverse();
    std::vector<float> input(12000, 0.0f);
    std::fill(input.begin(), input.begin() + 8000, 0.8f);
    // The envelope starts at 0, below the threshold: that first trigger records the start.
    EXPECT_EQ(firstTrigger(*loud, input), 0);
    // After the recording and the hold-off the level is high: nothing until it falls, and
    // the release (102 ms) takes it from 0.8 to 0.15 in about 1.5 x 10^3 samples.
    const int32_t at = firstTrigger(*loud, input, 1);
    const double release = std::exp(std::log(0.01) / (102.0 * 44.1));
    const int32_t fall = static_cast<int32_t>(std::log(0.15 / 0.8) / std::log(release));
    EXPECT_GE(at, 8000 + fall - 2);
    EXPECT_LE(at, 8000 + fall + 2);
}

TEST(Trigger, NoteRecordStartSwitchesTheEnvelopeTriggerOff) {
    auto rig = makeRig();
    rig->toggleNoteRecordStart();
    render(*rig, Stereo(10000, 0.9f), 512);
    EXPECT_EQ(rig->getStepIndex(), 0);
    EXPECT_FALSE(rig->isRecording());
    for (int32_t i = 0; i < kBufferLength; ++i) ASSERT_EQ(rig->getBufferL()[i], 0.0f) << i;
}

}  // namespace
