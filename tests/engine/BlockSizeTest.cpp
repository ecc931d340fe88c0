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
    rig.cycleFilterType(1);  // pre LP
    rig.cycleFilterType(2);
    rig.cycleFilterType(2);
    rig.cycleFilterType(2);  // post BP
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

namespace {

// Random settings and input, rendered once sample by sample (every sample then goes through
// the steps one by one, no run is longer than one) and once in blocks (runs of plain samples
// through the compiled loops, two or four samples at a time): the outputs, the recordings and
// the envelopes must agree bit for bit. No notes: what they do depends on the blocks by design
// (a later note replaces a pending one, a note-off acts when the list is handled, a loop
// length a note sets gets its fade zone at the next block).
struct Scenario {
    uint32_t seed;
    std::vector<std::pair<int32_t, float>> parameters;
    int32_t preType, postType;
    bool inverse, control, recordStart, tillOff;
    std::vector<std::pair<int32_t, int32_t>> notes;  // sample, note (0: a note-off)
};

Scenario randomScenario(uint32_t seed) {
    std::mt19937 random(seed);
    auto unit = [&] { return std::uniform_real_distribution<float>(0.0f, 1.0f)(random); };
    Scenario s{seed, {}, 0, 0, false, false, false, false, {}};
    for (int32_t index = 0; index < kNumParams; ++index)
        if (random() % 2) s.parameters.emplace_back(index, unit());
    s.parameters.emplace_back(kParamThreshold, 0.02f + 0.3f * unit());
    s.parameters.emplace_back(kParamSize, 0.3f * unit());  // short loops: many wraps and events
    s.preType = static_cast<int32_t>(random() % kNumFilterTypes);
    s.postType = static_cast<int32_t>(random() % kNumFilterTypes);
    if (random() % 3 == 0) s.preType = s.postType = 0;
    s.inverse = random() % 4 == 0;
    s.recordStart = random() % 8 == 0;  // no recordings at all then
    return s;
}

Stereo scenarioInput(uint32_t seed, size_t frames) {
    Stereo in(frames);
    std::mt19937 random(seed * 7 + 1);
    std::uniform_real_distribution<float> uniform(-1.0f, 1.0f);
    for (size_t i = 0; i < frames; ++i) {
        const size_t beat = i % (2000 + 500 * (seed % 5));
        const float level = beat < 300 ? 0.9f : (beat < 3000 ? 0.05f : 0.0f);
        in.left[i] = level * uniform(random);
        in.right[i] = (seed % 3 == 0 ? 1.0f : 0.6f) * level * uniform(random);
    }
    return in;
}

struct Rendered {
    Stereo out;
    std::vector<float> envelopes;  // after each block of the coarser schedule
};

// Where the outputs go: buffers of their own, the inputs' own (in place), each the other
// channel's input (crossed), or both one buffer of their own (a host mixing to mono).
enum class Layout { Separate, InPlace, Crossed, OneBuffer };

Stereo renderScenario(const Scenario& s, const Stereo& in, const std::vector<int32_t>& blocks,
                      bool accumulate, Layout layout = Layout::Separate) {
    auto rig = makeRig();
    for (const auto& [index, value] : s.parameters) rig->setParameter(index, value);
    rig->core.values.preFilter.type = s.preType;
    rig->core.values.postFilter.type = s.postType;
    if (s.inverse) rig->toggleInverse();
    if (s.control) rig->toggleMidiNoteControl();
    if (s.recordStart) rig->toggleNoteRecordStart();
    if (s.tillOff) rig->toggleRepeatTillNoteOff();
    Stereo out(in.size(), accumulate ? 0.125f : 0.0f);
    Stereo shared = in;  // the host's buffers where the outputs overwrite the inputs
    size_t at = 0;
    size_t next = 0;
    size_t note = 0;
    while (at < in.size()) {
        int32_t block = blocks[next++ % blocks.size()];
        if (static_cast<size_t>(block) > in.size() - at) block = static_cast<int32_t>(in.size() - at);
        // Notes of this block, with their offsets in it.
        while (note < s.notes.size() &&
               static_cast<size_t>(s.notes[note].first) < at + static_cast<size_t>(block)) {
            const auto [position, key] = s.notes[note++];
            if (key == 0)
                rig->core.noteOff();
            else
                rig->core.noteOn(key, position - static_cast<int32_t>(at));
        }
        float* inputs[2] = {const_cast<float*>(in.left.data() + at),
                            const_cast<float*>(in.right.data() + at)};
        float* outputs[2] = {out.left.data() + at, out.right.data() + at};
        if (layout == Layout::InPlace || layout == Layout::Crossed) {
            inputs[0] = shared.left.data() + at;
            inputs[1] = shared.right.data() + at;
            outputs[0] = layout == Layout::InPlace ? inputs[0] : inputs[1];
            outputs[1] = layout == Layout::InPlace ? inputs[1] : inputs[0];
        }
        if (layout == Layout::OneBuffer) outputs[1] = outputs[0];
        if (accumulate)
            rig->process(inputs, outputs, block);
        else
            rig->processReplacing(inputs, outputs, block);
        at += static_cast<size_t>(block);
    }
    if (layout == Layout::InPlace) out = shared;
    if (layout == Layout::Crossed) {
        out.left = shared.right;
        out.right = shared.left;
    }
    // What was recorded last lies in the buffers: compare it through the output's end.
    out.left.push_back(rig->getEnvelope());
    out.right.push_back(static_cast<float>(rig->getStepIndex()));
    for (int32_t slot = 0; slot < 4000; ++slot) {
        out.left.push_back(rig->getBufferL()[slot]);
        out.right.push_back(rig->getBufferR()[slot]);
    }
    return out;
}

TEST(BlockSize, RunsGiveWhatSampleBySampleStepsGive) {
    for (uint32_t seed = 1; seed <= 60; ++seed) {
        const Scenario s = randomScenario(seed);
        const Stereo in = scenarioInput(seed, 24000);
        const bool accumulate = seed % 3 == 0;
        // Every buffer layout a host may hand over, replacing and adding.
        const auto layout = static_cast<Layout>((seed / 3) % 4);
        // Every block of one sample: the notes land at their own samples either way.
        const Stereo reference = renderScenario(s, in, {1}, accumulate, layout);
        std::mt19937 sizes(seed);
        std::vector<int32_t> random(100);
        for (auto& b : random) b = 1 + static_cast<int32_t>(sizes() % 700);
        for (const auto& schedule : std::vector<std::vector<int32_t>>{{64}, {4096}, random}) {
            const Stereo out = renderScenario(s, in, schedule, accumulate, layout);
            for (size_t i = 0; i < out.size(); ++i) {
                ASSERT_EQ(out.left[i], reference.left[i])
                    << "seed " << seed << " at " << i << " first block " << schedule[0];
                ASSERT_EQ(out.right[i], reference.right[i])
                    << "seed " << seed << " at " << i << " first block " << schedule[0];
            }
        }
    }
}

}  // namespace

namespace {

// A recording that starts while playback reads a slot or three ahead of the recorder: in a
// run that handles samples two or four at a time, a read must still see what that sample
// would see one sample at a time (the old loop), not what a later sample of its group writes.
TEST(BlockSize, RecordingJustBehindPlaybackReadsTheOldLoop) {
    for (bool filtered : {false, true})
        for (int32_t at : {1, 2, 3, 4}) {
            auto one = makeRig();
            auto runs = makeRig();
            for (CoreRig* rig : {one.get(), runs.get()}) {
                rig->setParameter(kParamThreshold, 0.3f);
                rig->setParameter(kParamRepeat, 1.0f);
                // The shortest fade zone leaves the gain well above 0 at the wrap, so the fade-out
                // after the trigger lasts a few groups of samples.
                rig->setParameter(kParamKnak, 0.0f);
                if (filtered) rig->cycleFilterType(2);  // post LP: the pairs' loop
            }
            // A loud recording, then silence until it is heard again after a wrap, nothing records
            // and the hold-off is over, and the next sample moves playback to slot `at`.
            const Stereo burst(200, 0.9f);
            render(*one, burst, 1);
            render(*runs, burst, 1);
            int32_t waited = 0;
            auto ready = [&](const CoreRig& rig) {
                const CoreState& a = rig.state();
                return !rig.isRecording() && !a.holdOff && a.loopGain > 0.0f && a.repeatCount >= 1 &&
                       static_cast<int32_t>(a.playPosition) == at - 1;
            };
            while (!ready(*one) && waited < 100000) {
                step(*one, 0.0f);
                step(*runs, 0.0f);
                ++waited;
            }
            ASSERT_TRUE(ready(*runs)) << at;
            // One huge sample fires the trigger at once; the recording starts with the next.
            step(*one, 100.0f);
            step(*runs, 100.0f);
            ASSERT_TRUE(one->isRecording());
            Stereo in(128);
            for (size_t i = 0; i < in.size(); ++i)
                in.left[i] = in.right[i] = 0.01f * static_cast<float>(i % 7);
            const Stereo a = render(*one, in, 1);
            const Stereo b = render(*runs, in, 128);
            for (size_t i = 0; i < in.size(); ++i) {
                ASSERT_EQ(a.left[i], b.left[i])
                    << "slot " << at << (filtered ? " filtered" : "") << ", sample " << i;
                ASSERT_EQ(a.right[i], b.right[i]) << at << " " << i;
            }
        }
}

}  // namespace
