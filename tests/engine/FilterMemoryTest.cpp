// When a filter keeps its memory and when it restarts (and the one case where it restarts on a type change):
// the pre filter's output, which the recorder stores, against a reference filter run on the
// same coefficients that is never reset, or restarted exactly where the engine must restart.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "CoreRig.h"

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr int32_t kBlock = 256;

struct Block {
    int32_t type;  // FilterType: 0 OFF, 1 LP, 2 HP, 3 BP
    float cutoff;  // pre-cutoff parameter
    float reso;    // pre-reso parameter
    double rate;   // served in this block's time information
    bool restart;  // the reference restarts at the start of this block
};

using Signal = float (*)(size_t i, int channel);

float mixture(size_t i, int channel) {
    const double t = static_cast<double>(i) / 44100.0;
    return static_cast<float>(0.3 * std::sin(2.0 * kPi * (440.0 + 110.0 * channel) * t) +
                              0.2 * std::sin(2.0 * kPi * 3000.0 * t) + 0.05);
}

float highTone(size_t i, int) {
    return static_cast<float>(0.5 * std::sin(2.0 * kPi * 20000.0 * static_cast<double>(i) / 44100.0 + 0.5));
}

// Plays the blocks through the engine, recording from the first sample on (threshold 0, a
// 22000-sample loop at 30 BPM and size 1), and returns what the recorder stored: the pre
// filter's output of samples 1, 2, ...
std::vector<float> engineOutput(const std::vector<Block>& blocks, Signal input) {
    auto rig = makeRig();
    rig->time.tempo = 30.0;
    rig->setParameter(kParamThreshold, 0.0f);
    rig->setParameter(kParamSize, 1.0f);
    size_t at = 0;
    for (const Block& block : blocks) {
        rig->setParameter(kParamPreCutoff, block.cutoff);
        rig->setParameter(kParamPreReso, block.reso);
        rig->core.values.preFilter.type = block.type;
        rig->time.sampleRate = block.rate;
        Stereo in(kBlock);
        for (int32_t i = 0; i < kBlock; ++i) {
            in.left[static_cast<size_t>(i)] = input(at + static_cast<size_t>(i), 0);
            in.right[static_cast<size_t>(i)] = input(at + static_cast<size_t>(i), 1);
        }
        render(*rig, in, kBlock);
        at += kBlock;
    }
    EXPECT_TRUE(rig->isRecording());
    return std::vector<float>(rig->getBufferL() + 1, rig->getBufferL() + at);
}

// The same filter as one channel of plain code: coefficients from the design formulas for
// each block (with the rate of the block before, as the engine designs them), memory carried
// from block to block, restarted only where the block says so.
std::vector<float> referenceOutput(const std::vector<Block>& blocks, Signal input) {
    BiquadState state;
    std::vector<float> out;
    double designRate = 44100.0;
    size_t at = 0;
    for (const Block& block : blocks) {
        BiquadCoefficients c;
        if (block.type != 0) {
            const float cutoff = deriveSingle(workingRuleOf(kParamPreCutoff), block.cutoff);
            const float bandwidth = deriveSingle(workingRuleOf(kParamPreReso), block.reso);
            c = calcBiquad(block.type - 1, 9000.0 * static_cast<double>(cutoff) + 50.0, designRate,
                           static_cast<double>(bandwidth));
            if (block.restart) restartFromInput(c, state);
        }
        for (int32_t i = 0; i < kBlock; ++i) {
            const float x = input(at + static_cast<size_t>(i), 0);
            out.push_back(block.type != 0 ? filterSample(c, state, x) : x);
        }
        designRate = block.rate;
        at += kBlock;
    }
    out.erase(out.begin());  // the recording starts with the second sample
    return out;
}

// Samples where the engine's output differs from the reference's.
int32_t differences(const std::vector<Block>& blocks, Signal input = mixture) {
    const std::vector<float> engine = engineOutput(blocks, input);
    const std::vector<float> reference = referenceOutput(blocks, input);
    EXPECT_EQ(engine.size(), reference.size());
    int32_t count = 0;
    for (size_t i = 0; i < engine.size() && i < reference.size(); ++i)
        if (engine[i] != reference[i]) ++count;
    return count;
}

std::vector<Block> repeat(std::vector<Block> blocks, const Block& block, int times) {
    for (int i = 0; i < times; ++i) blocks.push_back(block);
    return blocks;
}

std::vector<Block> neverReset(std::vector<Block> blocks) {
    for (Block& block : blocks) block.restart = false;
    return blocks;
}

float peakOf(const std::vector<float>& samples) {
    float peak = 0.0f;
    for (float v : samples) peak = std::max(peak, std::fabs(v));
    return peak;
}

// A change of type restarts the recursion even at an unchanged centre: the feedback
// coefficients a1 and a2 stay the same, but the past outputs of the old type are far from what
// the new one would have put out, and the poles ring the difference out.
TEST(FilterMemory, TypeChangeAtTheSameCentreRestarts) {
    std::vector<Block> blocks;
    int32_t last = 0;
    for (int32_t type : {1, 2, 3, 1, 3, 2}) {
        blocks.push_back(Block{type, 0.5f, 0.3f, 44100.0, last != 0 && type != last});
        blocks = repeat(blocks, Block{type, 0.5f, 0.3f, 44100.0, false}, 2);
        last = type;
    }
    EXPECT_EQ(differences(blocks), 0);
    EXPECT_GT(differences(neverReset(blocks)), 0);
}

// What the restart prevents: a 20 kHz tone at 0.5 through a resonant 50 Hz low-pass, then the
// high-pass at the same centre, and back. Never reset, the filter rings at about 200 times
// the tone; restarted, it passes the tone at about its own level.
TEST(FilterMemory, ANeverResetFilterBurstsOnATypeChangeAtALowCentre) {
    std::vector<Block> blocks;
    blocks = repeat(blocks, Block{1, 0.0f, 1.0f, 44100.0, false}, 8);
    blocks.push_back(Block{2, 0.0f, 1.0f, 44100.0, true});
    blocks = repeat(blocks, Block{2, 0.0f, 1.0f, 44100.0, false}, 8);
    blocks.push_back(Block{1, 0.0f, 1.0f, 44100.0, true});
    blocks = repeat(blocks, Block{1, 0.0f, 1.0f, 44100.0, false}, 8);
    EXPECT_EQ(differences(blocks, highTone), 0);
    EXPECT_LT(peakOf(engineOutput(blocks, highTone)), 1.0f);
    EXPECT_GT(peakOf(referenceOutput(neverReset(blocks), highTone)), 50.0f);
}

// Automation moving the cutoff a little every block, down and up again, at two resonances.
TEST(FilterMemory, GradualSweepKeepsTheMemory) {
    std::vector<Block> blocks;
    for (float reso : {0.0f, 1.0f}) {
        for (int i = 0; i <= 18; ++i)
            blocks.push_back(Block{1, 1.0f - 0.05f * static_cast<float>(i), reso, 44100.0, false});
        for (int i = 18; i >= 0; --i)
            blocks.push_back(Block{1, 1.0f - 0.05f * static_cast<float>(i), reso, 44100.0, false});
    }
    EXPECT_EQ(differences(blocks), 0);
}

// A filter switched off and on again as the same type at a nearby centre continues from its
// old memory; coming back as another type is a change of type, and restarts.
TEST(FilterMemory, OffAndOnAgainAtANearbyCentreKeepsTheMemory) {
    std::vector<Block> blocks;
    blocks = repeat(blocks, Block{1, 0.5f, 0.0f, 44100.0, false}, 3);
    blocks = repeat(blocks, Block{0, 0.5f, 0.0f, 44100.0, false}, 3);
    blocks = repeat(blocks, Block{1, 0.55f, 0.0f, 44100.0, false}, 3);
    blocks = repeat(blocks, Block{0, 0.55f, 0.0f, 44100.0, false}, 2);
    blocks.push_back(Block{2, 0.5f, 0.0f, 44100.0, true});
    blocks = repeat(blocks, Block{2, 0.5f, 0.0f, 44100.0, false}, 2);
    EXPECT_EQ(differences(blocks), 0);
}

// A centre that moves by more than an octave at once restarts the recursion from the last two
// inputs; a filter never reset would burst there, so the engine differs from it.
TEST(FilterMemory, CentreJumpOfMoreThanAnOctaveRestarts) {
    std::vector<Block> blocks;
    blocks = repeat(blocks, Block{1, 1.0f, 0.0f, 44100.0, false}, 3);
    blocks.push_back(Block{1, 0.1f, 0.0f, 44100.0, true});  // 9050 Hz to 140 Hz
    blocks = repeat(blocks, Block{1, 0.1f, 0.0f, 44100.0, false}, 2);
    blocks.push_back(Block{3, 0.7f, 0.0f, 44100.0, true});  // and up again, with a type change
    blocks = repeat(blocks, Block{3, 0.7f, 0.0f, 44100.0, false}, 2);
    EXPECT_EQ(differences(blocks), 0);

    EXPECT_GT(differences(neverReset(blocks)), 0);
}

// A sample rate that moves the centre by less than an octave (44.1 to 48 kHz) keeps the
// memory; one that jumps (to 192 kHz) restarts it. The coefficients follow the rate one block
// late, and so does the restart.
TEST(FilterMemory, SampleRateJumpRestartsAndSmallRateChangeDoesNot) {
    std::vector<Block> blocks;
    blocks = repeat(blocks, Block{1, 0.5f, 0.0f, 44100.0, false}, 3);
    blocks = repeat(blocks, Block{1, 0.5f, 0.0f, 48000.0, false}, 3);
    blocks.push_back(Block{1, 0.5f, 0.0f, 192000.0, false});
    blocks.push_back(Block{1, 0.5f, 0.0f, 192000.0, true});
    blocks = repeat(blocks, Block{1, 0.5f, 0.0f, 192000.0, false}, 2);
    EXPECT_EQ(differences(blocks), 0);
}

}  // namespace

namespace {

// A host thread that switches a filter on while the block runs, after the block's design:
// the time is asked between the two, so the switch lands in the block's first run.
class SwitchingRig : public CoreRig {
public:
    FilterSettings* target = nullptr;
    int32_t switchTo = -1;
    const HostTime* blockTime() override {
        if (target && switchTo >= 0) target->type = switchTo;
        switchTo = -1;
        return CoreRig::blockTime();
    }
};

// Switched back on as the type it had, after its settings moved while it was off, a filter
// plays its new design from the sample it is on, as if it had been switched on before the block.
TEST(FilterMemory, SwitchedBackOnInsideABlockPlaysItsNewDesign) {
    for (const int32_t type : {1, 2, 3})
        for (const bool post : {false, true}) {
            std::vector<float> outputs[2];
            for (const bool insideBlock : {false, true}) {
                SwitchingRig rig;
                rig.setParameter(kParamThreshold, 0.0f);
                rig.setParameter(kParamDryWet, 0.5f);
                FilterSettings& settings = post ? rig.core.values.postFilter : rig.core.values.preFilter;
                rig.target = &settings;
                settings.type = type;
                std::vector<float> left(kBlock), right(kBlock), outL(kBlock), outR(kBlock);
                float* in[2] = {left.data(), right.data()};
                float* out[2] = {outL.data(), outR.data()};
                for (int32_t i = 0; i < kBlock; ++i) left[i] = right[i] = mixture(static_cast<size_t>(i), 0);
                // The switch comes while the recorder takes the pre filter's output, or while the
                // loop plays through the post filter.
                for (int32_t n = 0; n < (post ? 7 : 1); ++n) rig.processReplacing(in, out, kBlock);
                settings.type = 0;
                rig.setParameter(post ? kParamPostCutoff : kParamPreCutoff, 0.3f);
                rig.setParameter(post ? kParamPostReso : kParamPreReso, 0.6f);
                rig.processReplacing(in, out, kBlock);
                if (insideBlock)
                    rig.switchTo = type;
                else
                    settings.type = type;
                for (int32_t n = 0; n < 2; ++n) rig.processReplacing(in, out, kBlock);
                outputs[insideBlock].assign(outL.begin(), outL.end());
                outputs[insideBlock].insert(outputs[insideBlock].end(), rig.getBufferL(),
                                            rig.getBufferL() + 4 * kBlock);
            }
            EXPECT_EQ(outputs[0], outputs[1]) << "type " << type << (post ? " post" : " pre");
        }
}

}  // namespace
