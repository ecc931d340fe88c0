// Loop length from tempo, sample rate, size and step.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "CoreRig.h"

namespace {

struct LengthCase {
    double tempo;
    double sampleRate;
    float size;
    float stepValue;
    int32_t expected;
};

TEST(LoopLength, FollowsTempoGridSizeAndStep) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const LengthCase cases[] = {
        {120, 44100, 0.25f, 0.5f, 1372},     // 4 x 343, the default
        {120, 44100, 1.0f, 1.0f, 24 * 343},  // 16 units + 8
        {120, 44100, 0.0f, 0.0f, 343},       // 1 - 8 raised to 1 unit
        {120, 44100, 0.25f, 0.44f, 1372},    // offset -0.96 truncates to 0
        {120, 44100, 0.25f, 0.4375f, 1029},  // offset exactly -1
        {120, 44100, 0.25f, 0.5625f, 1715},  // offset exactly +1
        {0, 44100, 0.25f, 0.5f, 1372},       // no tempo: 120
        {0.5, 44100, 0.25f, 0.5f, 1372},
        {-30, 44100, 0.25f, 0.5f, 1372},
        {nan, 44100, 0.25f, 0.5f, 1372},
        {60, 44100, 0.25f, 0.5f, 4 * 687},    // 4000 ms x 44 / 256 = 687.5
        {97.9, 44100, 0.25f, 0.5f, 4 * 425},  // 240000 / 97 = 2474 ms
        {120, 48000, 0.25f, 0.5f, 1500},
        {120, 96000, 0.25f, 0.5f, 3000},
        {120, 44999, 0.25f, 0.5f, 1372},  // whole kilohertz
        {1, 44100, 0.25f, 0.5f, 4 * 41250},
        {1, 44100, 1.0f, 1.0f, kMaxLoopLength},
        {1e9, 44100, 0.25f, 0.5f, 0},  // a grid unit below one sample
        {120, 1e9, 0.25f, 0.5f, kMaxLoopLength},
        {120, 500, 0.25f, 0.5f, 0},  // below 1 kHz
    };
    for (const LengthCase& c : cases) {
        auto rig = makeRig();
        rig->time.tempo = c.tempo;
        rig->time.sampleRate = c.sampleRate;
        rig->setParameter(kParamSize, c.size);
        rig->setStepValue(0, c.stepValue);
        rig->prepare();
        EXPECT_EQ(rig->getLoopLength(), c.expected) << "tempo " << c.tempo << " rate " << c.sampleRate
                                                    << " size " << c.size << " step " << c.stepValue;
    }
}

TEST(LoopLength, MissingOrInvalidTimeKeepsThePreviousValues) {
    auto rig = makeRig();
    rig->timeKnown = false;  // before any answer: 44100 Hz and 120 BPM
    rig->prepare();
    EXPECT_EQ(rig->getLoopLength(), 1372);

    rig->timeKnown = true;
    rig->time.tempo = 60;
    rig->time.sampleRate = 48000;
    rig->prepare();
    const int32_t at60 = 4 * static_cast<int32_t>(4000 * 48 / 256.0);
    EXPECT_EQ(rig->getLoopLength(), at60);

    rig->timeKnown = false;
    rig->prepare();
    EXPECT_EQ(rig->getLoopLength(), at60);
    EXPECT_EQ(rig->state().hostSampleRate, 48000);
    EXPECT_EQ(rig->state().tempo, 60);

    // A sample rate that is no rate keeps the last one; the tempo still follows the host.
    rig->timeKnown = true;
    for (double rate : {0.0, -44100.0, std::numeric_limits<double>::quiet_NaN(),
                        -std::numeric_limits<double>::infinity()}) {
        rig->time.sampleRate = rate;
        rig->prepare();
        EXPECT_EQ(rig->state().hostSampleRate, 48000) << rate;
        EXPECT_EQ(rig->getLoopLength(), at60) << rate;
    }
    rig->time.sampleRate = std::numeric_limits<double>::infinity();
    rig->time.tempo = std::numeric_limits<double>::infinity();
    rig->prepare();
    EXPECT_EQ(rig->getLoopLength(), 0);
    EXPECT_GE(rig->state().hostSampleRate, 1);
}

TEST(LoopLength, StepSequencerOffsetsEnterAtTheNextBlock) {
    auto rig = makeRig();
    rig->setStepValue(1, 1.0f);                         // +8 units
    rig->setStepValue(2, 0.0f);                         // -8 units
    rig->setSequenceLength(sequenceLengthValueFor(2));  // steps 0..2
    int32_t seen[4] = {};
    int32_t triggers = 0;
    // Loud bursts far enough apart for the hold-off; the length is read per 64-sample block.
    Stereo in(64);
    for (int32_t block = 0; block < 2000 && triggers < 4; ++block) {
        const bool burst = block % 200 == 0;
        std::fill(in.left.begin(), in.left.end(), burst ? 1.0f : 0.0f);
        std::fill(in.right.begin(), in.right.end(), burst ? 1.0f : 0.0f);
        const int32_t before = rig->getStepIndex();
        render(*rig, in, 64);
        if (rig->getStepIndex() != before) {
            rig->prepare();
            seen[triggers++] = rig->getLoopLength();
        }
    }
    ASSERT_EQ(triggers, 4);
    EXPECT_EQ(seen[0], 12 * 343);  // step 1
    EXPECT_EQ(seen[1], 343);       // step 2: 4 - 8 raised to 1
    EXPECT_EQ(seen[2], 4 * 343);   // back to step 0
    EXPECT_EQ(seen[3], 12 * 343);
}

}  // namespace
