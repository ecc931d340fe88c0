// Instantiation refusals and run inputs no host should send but some do: any sample count,
// unconnected ports, absurd tempos and control values.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <vector>

#include "Lv2TestHost.h"
#include "lv2/Lv2Effect.h"
#include "lv2/Lv2Ports.h"

#include <lv2/state/state.h>

namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

TEST(Lv2Robustness, NoInstanceWithoutAPositiveRate) {
    for (double rate : {0.0, -44100.0, std::nan(""), std::numeric_limits<double>::infinity()})
        EXPECT_FALSE(Lv2Run(rate).ok()) << rate;
    EXPECT_TRUE(Lv2Run(8000.0).ok());
    EXPECT_TRUE(Lv2Run(384000.0).ok());
}

// lv2apply gives no features: without the URID map the plug-in plays its controls as the VST 2
// build does without time information, reads no events and refuses state.
TEST(Lv2Robustness, WithoutTheMapAudioAndControlsOnly) {
    const LV2_Feature* none[] = {nullptr};
    Lv2Run bare(44100.0, none);
    ASSERT_TRUE(bare.ok());
    PlaySettings settings;
    settings.render.parameters = {{"size", 0.45f}, {"bits", 0.3f}};
    settings.render.editor.postFilter = 2;
    settings.render.notes = {{1000, 0x90, 60, 100}};
    settings.render.editor.midiNoteControl = 1;
    AudioData vst, lv2;
    PlaySettings withoutNotes = settings;
    withoutNotes.render.notes.clear();
    renderVst2(demoInput(), vst, withoutNotes.render);
    bare.play(demoInput(), lv2, settings);
    EXPECT_EQ(differingSamples(vst, lv2), 0u);
    const auto* state = static_cast<const LV2_State_Interface*>(
        lilv_instance_get_extension_data(bare.get(), LV2_STATE__interface));
    ASSERT_NE(state, nullptr);
    EXPECT_EQ(state->save(
                  bare.handle(),
                  [](LV2_State_Handle, uint32_t, const void*, size_t, uint32_t, uint32_t) {
                      return LV2_STATE_SUCCESS;
                  },
                  nullptr, 0, nullptr),
              LV2_STATE_ERR_NO_FEATURE);
    EXPECT_EQ(
        state->restore(
            bare.handle(),
            [](LV2_State_Handle, uint32_t, size_t*, uint32_t*, uint32_t*) -> const void* { return nullptr; },
            nullptr, 0, nullptr),
        LV2_STATE_ERR_NO_FEATURE);
}

TEST(Lv2Robustness, AnySampleCountAndUnconnectedPorts) {
    Lv2Run run(44100.0);
    ASSERT_TRUE(run.ok());
    std::vector<float> in(20000, 0.25f), outL(20000), outR(20000);
    for (uint32_t frames : {0u, 1u, 4097u, 20000u, 3u}) {
        run.runBlock(in.data(), in.data(), outL.data(), outR.data(), frames);
        for (uint32_t i = 0; i < frames; ++i) ASSERT_TRUE(std::isfinite(outL[i]) && std::isfinite(outR[i]));
    }
    run.connectEvents(false);  // as lv2apply runs it
    run.queueMidi(0, 0x90, 60, 100);
    run.runBlock(in.data(), in.data(), outL.data(), outR.data(), 512);
    // Without an input, a connected output is silent.
    std::fill(outL.begin(), outL.end(), 1.0f);
    run.runBlock(nullptr, in.data(), outL.data(), outR.data(), 256);
    for (uint32_t i = 0; i < 256; ++i) ASSERT_EQ(outL[i], 0.0f);
    run.runBlock(nullptr, nullptr, nullptr, nullptr, 256);
}

TEST(Lv2Robustness, AbsurdTempoIsNoTempoOrTheLargestTaken) {
    // 0, negative and NaN tell nothing: 120 BPM, as without a time:Position at all.
    PlaySettings plain;
    plain.render.parameters = {{"size", 0.6f}};
    plain.sendTempo = false;
    AudioData reference;
    Lv2Run(44100.0).play(demoInput(), reference, plain);
    for (float bpm : {0.0f, -90.0f, kNaN, 1e9f, std::numeric_limits<float>::infinity()}) {
        Lv2Run run(44100.0);
        run.queueTempo(bpm);
        AudioData out;
        run.play(demoInput(), out, plain);
        for (size_t i = 0; i < out.frames(); ++i)
            ASSERT_TRUE(std::isfinite(out.left[i]) && std::isfinite(out.right[i]));
        if (!(bpm >= 1.0f)) {
            EXPECT_EQ(differingSamples(out, reference), 0u) << bpm;
        }
    }
}

TEST(Lv2Robustness, AbsurdControlValuesAreStoredAndKeptInRangeWhereDerived) {
    Lv2Run run(44100.0);
    const float values[] = {kNaN, -1e30f, 1e30f, std::numeric_limits<float>::infinity(), -0.0f, 17.0f};
    std::vector<float> in(4096, 0.5f), outL(4096), outR(4096);
    for (float value : values) {
        for (uint32_t port = kPortFirstParameter; port < kPortTime; ++port) run.setControl(port, value);
        run.queueMidi(5, 0x90, 127, 1);
        run.queueTempo(value);
        run.runBlock(in.data(), in.data(), outL.data(), outR.data(), 4096);
        for (size_t i = 0; i < 4096; ++i) ASSERT_TRUE(std::isfinite(outL[i])) << value;
    }
}

}  // namespace

namespace {

// Sequences whose sizes do not add up are read only as far as they do: an event, or an object's
// body, that claims more than its sequence holds is not read (the buffer ends right there, so a
// read past it is caught by the address sanitizer).
TEST(Lv2Robustness, MalformedEventSequencesAreNotReadPastTheirEnd) {
    Lv2Run run(44100.0);
    auto& effect = *static_cast<Lv2Effect*>(run.handle());
    const LV2_URID position = effect.urids().timePosition;
    const LV2_URID object = effect.urids().atomObject;
    const LV2_URID midi = effect.urids().midiEvent;
    struct Case {
        const char* what;
        uint32_t eventBodySize;    // what the event claims
        uint32_t sequenceExtra;    // bytes after the sequence body the sequence's size claims
        uint32_t type;
    };
    const Case cases[] = {
        {"position larger than its sequence", 4096, sizeof(LV2_Atom_Event) + 16, object},
        {"midi larger than its sequence", 3000, sizeof(LV2_Atom_Event) + 8, midi},
        {"event header cut short", 8, 12, object},
        {"sequence size smaller than its body", 8, 0, object},
    };
    std::vector<float> in(64, 0.1f), outL(64), outR(64);
    for (const Case& c : cases) {
        const size_t bytes = sizeof(LV2_Atom_Sequence) + c.sequenceExtra;
        std::unique_ptr<unsigned char[]> buffer(new unsigned char[bytes]());
        auto* sequence = reinterpret_cast<LV2_Atom_Sequence*>(buffer.get());
        sequence->atom.type = 0;
        sequence->atom.size = static_cast<uint32_t>(sizeof(LV2_Atom_Sequence_Body) + c.sequenceExtra);
        if (c.sequenceExtra == 0) sequence->atom.size = 2;
        if (c.sequenceExtra >= sizeof(LV2_Atom_Event)) {
            auto* event = reinterpret_cast<LV2_Atom_Event*>(sequence + 1);
            event->body.size = c.eventBodySize;
            event->body.type = c.type;
            if (c.sequenceExtra >= sizeof(LV2_Atom_Event) + sizeof(LV2_Atom_Object_Body))
                reinterpret_cast<LV2_Atom_Object*>(&event->body)->body.otype = position;
        }
        for (const uint32_t port : {static_cast<uint32_t>(kPortEvents), kPortTime}) {
            effect.connectPort(port, buffer.get());
            effect.connectPort(kPortInputLeft, in.data());
            effect.connectPort(kPortInputRight, in.data());
            effect.connectPort(kPortOutputLeft, outL.data());
            effect.connectPort(kPortOutputRight, outR.data());
            effect.run(64);
            effect.connectPort(port, nullptr);
            EXPECT_EQ(effect.currentTempo(), 120.0) << c.what;
        }
    }
}

}  // namespace
