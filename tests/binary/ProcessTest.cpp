// Blocks of audio through the record's two process entries.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "LoadedPlugin.h"

namespace {

constexpr int kFrames = 512;
constexpr int kGuard = 16;  // samples after each block that must stay untouched
constexpr float kCanary = -12345.0f;

// Two channels of input and output, each with a guard zone behind the block.
struct Buffers {
    std::vector<float> in[2], out[2];
    float* inputs[2];
    float* outputs[2];

    explicit Buffers(float outputFill = kCanary) {
        for (int c = 0; c < 2; ++c) {
            in[c].assign(kFrames + kGuard, kCanary);
            out[c].assign(kFrames + kGuard, kCanary);
            for (int i = 0; i < kFrames; ++i) out[c][static_cast<size_t>(i)] = outputFill;
            inputs[c] = in[c].data();
            outputs[c] = out[c].data();
        }
    }
    void sine(float amplitude, int block) {
        for (int c = 0; c < 2; ++c) {
            for (int i = 0; i < kFrames; ++i) {
                const double t = static_cast<double>(block * kFrames + i);
                in[c][static_cast<size_t>(i)] = amplitude * static_cast<float>(std::sin(0.05 * t + c));
            }
        }
    }
    void silence() {
        for (int c = 0; c < 2; ++c)
            for (int i = 0; i < kFrames; ++i) in[c][static_cast<size_t>(i)] = 0.0f;
    }
    void expectGuardsIntact() const {
        for (int c = 0; c < 2; ++c) {
            for (int i = kFrames; i < kFrames + kGuard; ++i) {
                ASSERT_EQ(out[c][static_cast<size_t>(i)], kCanary) << "wrote past the block, channel " << c;
                ASSERT_EQ(in[c][static_cast<size_t>(i)], kCanary) << "wrote past the input, channel " << c;
            }
        }
    }
};

void replacing(const PluginInstance& plugin, Buffers& b, int frames = kFrames) {
    plugin.effect()->processReplacing(plugin.effect(), b.inputs, b.outputs, frames);
}

void accumulating(const PluginInstance& plugin, Buffers& b, int frames = kFrames) {
    plugin.effect()->process(plugin.effect(), b.inputs, b.outputs, frames);
}

}  // namespace

TEST(Process, SilenceInSilenceOutAndOneTimeRequestPerBlock) {
    PluginInstance plugin;
    ASSERT_TRUE(plugin);
    plugin.dispatch(effMainsChanged, 0, 1);
    RecordingHost::requests.clear();
    for (int block = 0; block < 4; ++block) {
        Buffers b;
        b.silence();
        replacing(plugin, b);
        for (int c = 0; c < 2; ++c)
            for (int i = 0; i < kFrames; ++i) ASSERT_EQ(b.out[c][static_cast<size_t>(i)], 0.0f);
        b.expectGuardsIntact();
    }
    EXPECT_EQ(RecordingHost::count(audioMasterGetTime), 4);
    for (const HostRequest& r : RecordingHost::requests) {
        if (r.opcode == audioMasterGetTime) {
            EXPECT_EQ(r.value, kVstPpqPosValid | kVstTempoValid);
        }
    }
    // Nothing is reported as automation from the audio path.
    EXPECT_EQ(RecordingHost::count(audioMasterAutomate), 0);
}

TEST(Process, DryOnlyMixReturnsTheInputOnBothEntries) {
    PluginInstance plugin;
    ASSERT_TRUE(plugin);
    plugin.dispatch(effMainsChanged, 0, 1);
    plugin.setParameter(4, 0.0f);  // dry/wet: dry only
    for (int block = 0; block < 6; ++block) {
        Buffers replaced;
        replaced.sine(0.8f, block);
        replacing(plugin, replaced);
        Buffers added(0.25f);
        added.sine(0.8f, block);
        accumulating(plugin, added);
        for (int c = 0; c < 2; ++c) {
            for (int i = 0; i < kFrames; ++i) {
                const auto s = static_cast<size_t>(i);
                ASSERT_EQ(replaced.out[c][s], replaced.in[c][s]) << "block " << block << " sample " << i;
                ASSERT_FLOAT_EQ(added.out[c][s], 0.25f + added.in[c][s])
                    << "block " << block << " sample " << i;
            }
        }
        replaced.expectGuardsIntact();
        added.expectGuardsIntact();
    }
}

TEST(Process, LoudInputStaysFiniteAndBounded) {
    PluginInstance plugin;
    ASSERT_TRUE(plugin);
    plugin.dispatch(effMainsChanged, 0, 1);
    for (int block = 0; block < 40; ++block) {
        Buffers b;
        b.sine(block % 8 < 4 ? 0.9f : 0.0f, block);  // bursts that cross the threshold
        replacing(plugin, b);
        for (int c = 0; c < 2; ++c) {
            for (int i = 0; i < kFrames; ++i) {
                const float v = b.out[c][static_cast<size_t>(i)];
                ASSERT_TRUE(std::isfinite(v)) << "block " << block;
                ASSERT_LE(std::fabs(v), 4.0f) << "block " << block;
            }
        }
        b.expectGuardsIntact();
    }
}

TEST(Process, EmptyBlocksAndOddHostsAreHarmless) {
    PluginInstance plugin;
    ASSERT_TRUE(plugin);
    plugin.dispatch(effMainsChanged, 0, 1);
    Buffers b;
    b.sine(0.5f, 0);
    replacing(plugin, b, 0);
    accumulating(plugin, b, 0);
    for (int c = 0; c < 2; ++c) EXPECT_EQ(b.out[c][0], kCanary);

    // A host without time information, and hosts with absurd tempos and rates.
    const double kNan = std::numeric_limits<double>::quiet_NaN();
    const double kInf = std::numeric_limits<double>::infinity();
    const struct {
        bool answer;
        double rate, tempo;
    } kHosts[] = {{false, 44100, 120}, {true, 44100, 0},    {true, 44100, -90}, {true, 44100, 1e12},
                  {true, 0, 120},      {true, -48000, 120}, {true, 1e12, 999},  {true, kNan, kNan},
                  {true, kInf, kInf},  {true, 8000, 300}};
    for (const auto& host : kHosts) {
        RecordingHost::answerTime = host.answer;
        RecordingHost::timeInfo.sampleRate = host.rate;
        RecordingHost::timeInfo.tempo = host.tempo;
        for (int block = 0; block < 3; ++block) {
            Buffers out;
            out.sine(0.9f, block);
            replacing(plugin, out);
            out.expectGuardsIntact();
        }
    }
    RecordingHost::reset();
    Buffers after;
    after.sine(0.9f, 0);
    replacing(plugin, after);
    for (int i = 0; i < kFrames; ++i) ASSERT_TRUE(std::isfinite(after.out[0][static_cast<size_t>(i)]));
}
