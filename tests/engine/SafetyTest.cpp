// Hostile host, parameter, chunk and MIDI input: no crash, no NaN or infinity out of finite input.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>

#include "CoreRig.h"
#include "TestHost.h"

namespace {

const float kNanF = std::numeric_limits<float>::quiet_NaN();
const float kInfF = std::numeric_limits<float>::infinity();
const double kNan = std::numeric_limits<double>::quiet_NaN();
const double kInf = std::numeric_limits<double>::infinity();

Stereo noiseBursts(size_t frames, float amplitude) {
    Stereo s(frames);
    std::mt19937 noise(7);
    std::uniform_real_distribution<float> uniform(-1.0f, 1.0f);
    for (size_t i = 0; i < frames; ++i) {
        const float envelope = (i % 7000) < 1500 ? amplitude : amplitude * 0.01f;
        s.left[i] = envelope * uniform(noise);
        s.right[i] = envelope * uniform(noise);
    }
    return s;
}

template <typename Engine>
void allFiltersOn(Engine& effect) {
    effect.plugin().cycleFilterType(1);
    effect.plugin().cycleFilterType(1);  // pre HP
    effect.plugin().cycleFilterType(2);  // post LP
}

TEST(Safety, EmptyOrMissingBuffersOnlyPrepareTheBlock) {
    auto rig = makeRig();
    float sample = 0.5f;
    float* channels[2] = {&sample, nullptr};
    for (int32_t frames : {0, -1, std::numeric_limits<int32_t>::min()}) {
        rig->processReplacing(nullptr, nullptr, frames);
        rig->process(nullptr, nullptr, frames);
    }
    rig->processReplacing(channels, channels, 1);
    rig->process(nullptr, channels, 1);
    EXPECT_EQ(sample, 0.5f);
    EXPECT_EQ(rig->getLoopLength(), 1372);
}

TEST(Safety, AnyTimeInformationKeepsTheOutputFinite) {
    const double values[] = {0.0, -1.0, kNan, kInf, -kInf, 1e9, 1e300, 0.5, 1.0, 44100.0};
    for (double rate : values)
        for (double bpm : values) {
            auto rig = makeRig();
            allFiltersOn(*rig);
            rig->time.sampleRate = rate;
            rig->time.tempo = bpm;
            const Stereo out = render(*rig, noiseBursts(16000, 0.9f), 512);
            ASSERT_TRUE(allFinite(out)) << rate << " " << bpm;
            ASSERT_GE(rig->getLoopLength(), 0);
            ASSERT_LE(rig->getLoopLength(), kMaxLoopLength);
        }
}

TEST(Safety, ParametersFarOutsideTheirRangeKeepTheOutputFinite) {
    const float values[] = {1e6f, -1e6f, kNanF, kInfF, -kInfF, 3e38f, -0.5f, 1.5f};
    for (int32_t index = 0; index < kNumParams; ++index)
        for (float value : values) {
            auto effect = makeEffect();
            allFiltersOn(*effect);
            effect->setParameter(index, value);
            const Stereo out = render(*effect, noiseBursts(16000, 0.9f), 333);
            ASSERT_TRUE(allFinite(out)) << "parameter " << index << " = " << value;
            // The stored value stays what the host gave.
            const float stored = effect->getParameter(index);
            if (std::isnan(value))
                EXPECT_TRUE(std::isnan(stored));
            else
                EXPECT_EQ(stored, value);
        }

    // Bits of 1e6 do not silence or poison the loop: it is heard as at 32 bits.
    auto huge = makeEffect();
    auto normal = makeEffect();
    huge->setParameter(kParamBits, 1e6f);
    const Stereo in = noiseBursts(8000, 0.9f);
    const Stereo a = render(*huge, in, 256);
    const Stereo b = render(*normal, in, 256);
    for (size_t i = 0; i < in.size(); ++i) ASSERT_EQ(a.left[i], b.left[i]) << i;
}

TEST(Safety, StepValuesFromABankChunkMayBeAnything) {
    const float values[] = {kNanF, kInfF, -kInfF, 1e30f, -1e30f, 2.0f, -1.0f};
    for (float value : values) {
        auto effect = makeEffect();
        void* data = nullptr;
        const int32_t size = effect->getChunk(&data, false);
        ASSERT_EQ(size, kBankChunkSize);
        std::vector<unsigned char> bank(static_cast<unsigned char*>(data),
                                        static_cast<unsigned char*>(data) + size);
        for (int32_t step = 0; step < kNumStepValues; ++step)
            std::memcpy(bank.data() + kBankStepsOffset + step * 4, &value, 4);
        effect->setChunk(bank.data(), size, false);
        const Stereo out = render(*effect, noiseBursts(30000, 0.9f), 512);
        ASSERT_TRUE(allFinite(out)) << value;
        EXPECT_GE(effect->plugin().getStepIndex(), 1) << value;
        // The offset stays within -8..+8 units (NaN counts as no offset).
        EXPECT_GE(effect->plugin().getLoopLength(), 343) << value;
        EXPECT_LE(effect->plugin().getLoopLength(), 12 * 343) << value;
    }
}

TEST(Safety, VeryLoudInputStaysFinite) {
    for (float amplitude : {1e3f, 1e30f}) {
        auto rig = makeRig();
        allFiltersOn(*rig);
        rig->setParameter(kParamDryWet, 0.5f);
        rig->setParameter(kParamBits, 0.5f);
        const Stereo out = render(*rig, noiseBursts(20000, amplitude), 512);
        ASSERT_TRUE(allFinite(out)) << amplitude;
    }
}

TEST(Safety, ExtremeMidiInput) {
    auto rig = makeRig();
    rig->toggleMidiNoteControl();
    rig->toggleNoteRecordStart();
    rig->toggleRepeatTillNoteOff();
    for (int32_t note : {0, 127, -1000000, 1000000, std::numeric_limits<int32_t>::min(),
                         std::numeric_limits<int32_t>::max()}) {
        rig->core.noteOn(note, -5);
        EXPECT_GE(rig->state().noteLoopLength, 0) << note;
        EXPECT_LE(rig->state().noteLoopLength, kMaxLoopLength) << note;
        const Stereo out = render(*rig, noiseBursts(3000, 0.5f), 100);
        ASSERT_TRUE(allFinite(out)) << note;
        EXPECT_FALSE(rig->state().notePending);
        rig->core.noteOff();
    }
}

}  // namespace
