// The neutral block: control events split it where they fall and notes act as a VST 2 host's
// event list makes them act, so every format plays what the VST 2 build plays; bypass fades to
// the input without a click and lets the engine go on listening.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "TestSignals.h"
#include "plugin/FreezePlugin.h"
#include "vst2/FreezeEffect.h"

namespace {

Stereo tone(size_t frames, double hz = 220.0) {
    Stereo s(frames);
    for (size_t i = 0; i < frames; ++i) {
        const double t = static_cast<double>(i) / 44100.0;
        s.left[i] = static_cast<float>(0.6 * std::sin(2.0 * 3.14159265358979 * hz * t) * (1.0 + 0.5 * std::sin(7.0 * t)));
        s.right[i] = static_cast<float>(0.4 * std::sin(2.0 * 3.14159265358979 * hz * 1.5 * t));
    }
    return s;
}

struct Change {
    int32_t at;  // sample of the whole render
    EventType type;
    int32_t number;
    float value;
};

// The VST 2 build: a parameter at a block boundary, notes in the block's event list.
Stereo renderVst2(const Stereo& in, int32_t block, const std::vector<Change>& changes) {
    FreezeEffect effect(nullptr);
    Stereo out(in.size());
    for (size_t at = 0; at < in.size();) {
        // The host's blocks, each cut before a control change, as a VST 2 host sets it
        // between blocks; the notes of a whole block come with its first part.
        const auto gridStart = static_cast<int32_t>(at / static_cast<size_t>(block) * static_cast<size_t>(block));
        const int32_t gridEnd = std::min<int32_t>(gridStart + block, static_cast<int32_t>(in.size()));
        int32_t n = gridEnd - static_cast<int32_t>(at);
        for (const Change& c : changes)
            if (c.type == EventType::control && c.at > static_cast<int32_t>(at) && c.at < static_cast<int32_t>(at) + n)
                n = c.at - static_cast<int32_t>(at);
        for (const Change& c : changes)
            if (c.type == EventType::control && c.at == static_cast<int32_t>(at)) effect.plugin().setControl(c.number, c.value);
        for (const Change& c : changes)
            if (c.type != EventType::control && static_cast<int32_t>(at) == gridStart && c.at >= gridStart &&
                c.at < gridEnd) {
                if (c.type == EventType::noteOn)
                    effect.plugin().noteOn(c.number, c.at - static_cast<int32_t>(at));
                else
                    effect.plugin().noteOff();
            }
        float* inputs[2] = {const_cast<float*>(in.left.data() + at), const_cast<float*>(in.right.data() + at)};
        float* outputs[2] = {out.left.data() + at, out.right.data() + at};
        effect.processReplacing(inputs, outputs, n);
        at += static_cast<size_t>(n);
    }
    return out;
}

// The neutral block: every change an event of the block it falls in.
Stereo renderNeutral(const Stereo& in, int32_t block, const std::vector<Change>& changes, bool inPlace) {
    FreezePlugin plugin;
    Stereo out = inPlace ? in : Stereo(in.size());
    std::vector<TimedEvent> events;
    for (size_t at = 0; at < in.size(); at += static_cast<size_t>(block)) {
        const int32_t n = std::min<int32_t>(block, static_cast<int32_t>(in.size() - at));
        events.clear();
        for (const Change& c : changes)
            if (c.at >= static_cast<int32_t>(at) && c.at < static_cast<int32_t>(at) + n)
                events.push_back({c.at - static_cast<int32_t>(at), c.type, c.number, c.value});
        const float* inputs[2] = {(inPlace ? out : in).left.data() + at, (inPlace ? out : in).right.data() + at};
        float* outputs[2] = {out.left.data() + at, out.right.data() + at};
        plugin.process(inputs, outputs, n, EventList{events.data(), static_cast<int32_t>(events.size())},
                       Transport{});
    }
    return out;
}

TEST(NeutralBlock, PlaysWhatTheVst2BuildPlaysWithTheSameChangesAtTheSameSamples) {
    const Stereo in = tone(30000);
    const int32_t note = controlOfSetting(Setting::midiNoteControl);
    const std::vector<std::vector<Change>> scenarios = {
        {},
        {{0, EventType::control, kParamThreshold, 0.05f}, {777, EventType::control, kParamSize, 0.9f},
         {5000, EventType::control, kParamBits, 0.3f}, {5001, EventType::control, kParamDryWet, 0.5f}},
        {{0, EventType::control, controlOfSetting(Setting::preFilterType), 2.0f},
         {300, EventType::control, controlOfSetting(Setting::postFilterType), 3.0f},
         {4100, EventType::control, kParamPostCutoff, 0.2f},
         {9000, EventType::control, controlOfSetting(Setting::sequenceLength), 3.0f},
         {12000, EventType::control, controlOfSetting(Setting::inverse), 1.0f}},
        {{0, EventType::control, note, 1.0f}, {100, EventType::noteOn, 60, 100.0f},
         {3000, EventType::control, controlOfSetting(Setting::repeatTillNoteOff), 1.0f},
         {3500, EventType::noteOn, 72, 90.0f}, {9000, EventType::noteOff, 72, 0.0f},
         {15000, EventType::control, kParamRepeat, 0.1f}},
    };
    for (size_t s = 0; s < scenarios.size(); ++s)
        for (const int32_t block : {1, 64, 500, 4096}) {
            const Stereo expected = renderVst2(in, block, scenarios[s]);
            for (const bool inPlace : {false, true}) {
                const Stereo got = renderNeutral(in, block, scenarios[s], inPlace);
                ASSERT_EQ(got.left, expected.left) << "scenario " << s << " block " << block << " in place " << inPlace;
                ASSERT_EQ(got.right, expected.right) << "scenario " << s << " block " << block;
            }
        }
}

// Bypass switched on at `on` and off at `off`; the largest step between neighbouring samples
// inside each fade, and outside them.
struct BypassRun {
    Stereo out;
    float fadeStep = 0.0f;
    float ownStep = 0.0f;
};

BypassRun runBypass(const Stereo& in, int32_t block, int32_t on, int32_t off, bool inPlace) {
    std::vector<Change> changes = {{0, EventType::control, kParamThreshold, 0.02f},
                                   {0, EventType::control, kParamBits, 0.2f},
                                   {on, EventType::control, kBypassControl, 1.0f},
                                   {off, EventType::control, kBypassControl, 0.0f}};
    BypassRun run;
    run.out = renderNeutral(in, block, changes, inPlace);
    constexpr int32_t kFade = 441;  // 10 ms at 44.1 kHz
    for (size_t i = 1; i < in.size(); ++i) {
        const auto at = static_cast<int32_t>(i);
        const bool fading = (at >= on && at <= on + kFade) || (at >= off && at <= off + kFade);
        for (const auto* channel : {&run.out.left, &run.out.right}) {
            const float step = std::fabs((*channel)[i] - (*channel)[i - 1]);
            (fading ? run.fadeStep : run.ownStep) = std::max(fading ? run.fadeStep : run.ownStep, step);
        }
    }
    return run;
}

TEST(Bypass, FadesToTheInputExactlyAndBackWithoutAClick) {
    const Stereo in = tone(40000, 330.0);
    for (const int32_t block : {1, 96, 1024})
        for (const bool inPlace : {false, true}) {
            const BypassRun run = runBypass(in, block, 10000, 25000, inPlace);
            // After the fade out the input is heard bit for bit until bypass ends.
            for (int32_t i = 10000 + 441; i < 25000; ++i) {
                ASSERT_EQ(run.out.left[i], in.left[i]) << i << " block " << block;
                ASSERT_EQ(run.out.right[i], in.right[i]) << i << " block " << block;
            }
            // The effect was heard before (bits reduced): bypass changed the output.
            bool differs = false;
            for (int32_t i = 0; i < 10000; ++i) differs = differs || run.out.left[i] != in.left[i];
            EXPECT_TRUE(differs);
            EXPECT_LE(run.fadeStep, run.ownStep) << "block " << block;
        }
}

TEST(Bypass, TheEngineGoesOnListening) {
    FreezePlugin plugin;
    plugin.setControl(kParamThreshold, 0.05f);
    plugin.setBypass(true);
    plugin.clearBuffers();  // switched on bypassed: no fade
    const Stereo in = tone(4000);
    Stereo out(in.size());
    const float* inputs[2] = {in.left.data(), in.right.data()};
    float* outputs[2] = {out.left.data(), out.right.data()};
    plugin.process(inputs, outputs, 4000, EventList{}, Transport{});
    EXPECT_GT(plugin.getEnvelope(), 0.05f);
    EXPECT_TRUE(plugin.isRecording() || plugin.getLoopLength() > 0);
    EXPECT_EQ(out.left, in.left);
}

}  // namespace
