// Faults found by the fuzz, soak and stress runs, each kept here once fixed.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <memory>
#include <new>
#include <vector>

#include "CoreRig.h"

namespace {

// One non-finite input sample (a host's denormal trap, a broken upstream plug-in) must not
// leave the envelope follower stuck at NaN: it would never trigger a freeze again.
TEST(HardeningRegression, EnvelopeFollowerRecoversFromNonFiniteInput) {
    const float bad[] = {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(),
                         -std::numeric_limits<float>::infinity()};
    for (float value : bad) {
        auto rig = makeRig();
        step(*rig, value, 0.0f);
        EXPECT_TRUE(std::isfinite(rig->getEnvelope())) << value;
        // Silence long enough for the follower to fall back, then a loud input freezes.
        render(*rig, Stereo(20000, 0.0f), 512);
        EXPECT_EQ(rig->getEnvelope(), 0.0f) << value;
        EXPECT_FALSE(rig->isRecording());
        render(*rig, Stereo(400, 0.8f), 512);
        EXPECT_TRUE(rig->isRecording()) << value;
        EXPECT_EQ(rig->getStepIndex(), 1) << value;
    }
}

// Non-finite input that arrives while the recorder runs must not be frozen: the loop would
// hand NaN or infinity to the host on every pass (up to 32, or until a note-off), long after
// the bad samples themselves.
TEST(HardeningRegression, NonFiniteInputIsNotReplayedByTheLoop) {
    const float bad[] = {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity()};
    for (float value : bad) {
        auto rig = makeRig();
        rig->setParameter(kParamRepeat, 1.0f);
        render(*rig, Stereo(400, 0.8f), 512);
        ASSERT_TRUE(rig->isRecording());
        Stereo glitch(16, 0.8f);
        glitch.left[5] = value;
        glitch.right[9] = -value;
        const Stereo during = render(*rig, glitch, 16);
        (void)during;  // the dry part of these samples is the host's own
        const Stereo after = render(*rig, Stereo(20000, 0.0f), 512);
        EXPECT_TRUE(allFinite(after)) << value;
        // The loop is still heard: the rest of the recording is intact.
        float peak = 0.0f;
        for (size_t i = 0; i < after.size(); ++i) peak = std::max(peak, std::fabs(after.left[i]));
        EXPECT_GT(peak, 0.5f) << value;
    }
}

// A cutoff or type that jumps far at once (a program change, a preset, an automation step)
// must not turn the filter's memory into a burst: the direct-form state of a filter at a
// high frequency, read by the recursion of one at a low frequency, rang at up to 50 times
// the input. Found by the soak run. The pre filter's output is what the recorder stores.
TEST(HardeningRegression, FarFilterJumpsDoNotBurst) {
    struct Jump {
        int32_t cycles;  // cycleFilterType(1) count from OFF: 1 LP, 2 HP, 3 BP
        float reso;
        float fromCutoff;
        float toCutoff;
        int32_t toCycles;  // extra cycles at the jump: a type change as well
    };
    const Jump jumps[] = {{1, 0.0f, 1.0f, 0.0f, 0}, {2, 0.0f, 1.0f, 0.0f, 0}, {3, 1.0f, 1.0f, 0.0f, 0},
                          {1, 1.0f, 1.0f, 0.0f, 0}, {2, 0.5f, 0.1f, 0.1f, 3}, {1, 0.0f, 0.0f, 1.0f, 0}};
    for (const Jump& jump : jumps) {
        auto rig = makeRig();
        for (int32_t i = 0; i < jump.cycles; ++i) rig->cycleFilterType(1);
        rig->setParameter(kParamPreReso, jump.reso);
        rig->setParameter(kParamPreCutoff, jump.fromCutoff);
        rig->setParameter(kParamThreshold, 0.0f);  // record at once
        // An 8 kHz tone at 0.5 through the first design until it settles, then the jump
        // in mid-recording; the recording keeps the filter's output across it.
        Stereo tone(2000);
        for (size_t i = 0; i < tone.size(); ++i)
            tone.left[i] = tone.right[i] =
                0.5f * std::sin(2.0f * 3.14159265f * 8000.0f / 44100.0f * static_cast<float>(i));
        render(*rig, Stereo(10, 0.5f), 10);
        ASSERT_TRUE(rig->isRecording());
        Stereo first(600);
        std::copy(tone.left.begin(), tone.left.begin() + 600, first.left.begin());
        first.right = first.left;
        render(*rig, first, 64);
        rig->setParameter(kParamPreCutoff, jump.toCutoff);
        for (int32_t i = 0; i < jump.toCycles; ++i) rig->cycleFilterType(1);
        Stereo second(700);
        std::copy(tone.left.begin() + 600, tone.left.begin() + 1300, second.left.begin());
        second.right = second.left;
        render(*rig, second, 64);
        float peak = 0.0f;
        for (int32_t slot = 1; slot <= 1300; ++slot)
            peak = std::max(peak, std::fabs(rig->getBufferL()[slot]));
        // The steady output of these designs for this tone stays below 2.5; a burst is tens.
        EXPECT_LT(peak, 4.0f) << jump.cycles << " " << jump.reso << " " << jump.fromCutoff << " -> "
                              << jump.toCutoff << " +" << jump.toCycles;
    }
}

}  // namespace

// The core keeps SSE operands, and a 32-bit Windows heap aligns it to 8 bytes only: placed
// at an address that is 8 but not 16 aligned, it must run every vector path (both filters,
// reduced bits, a loop playing while a new one records) and sound as a core placed anywhere.
TEST(HardeningRegression, ACoreAlignedToEightBytesOnlyRunsItsVectorCodeAlike) {
    auto reference = makeRig();
    const std::uintptr_t coreOffset = reinterpret_cast<std::uintptr_t>(&reference->core) -
                                      reinterpret_cast<std::uintptr_t>(reference.get());
    std::vector<double> storage(sizeof(CoreRig) / sizeof(double) + 2);
    std::uintptr_t address = reinterpret_cast<std::uintptr_t>(storage.data());
    if ((address + coreOffset) % 16 == 0) address += 8;
    std::unique_ptr<CoreRig, void (*)(CoreRig*)> shifted(new (reinterpret_cast<void*>(address)) CoreRig(),
                                                         [](CoreRig* rig) { rig->~CoreRig(); });
    Stereo input(30000);
    for (size_t i = 0; i < input.size(); ++i)
        input.left[i] = input.right[i] =
            (i % 7000 < 300 ? 0.8f : 0.05f) * std::sin(0.05f * static_cast<float>(i));
    Stereo outputs[2];
    CoreRig* rigs[2] = {shifted.get(), reference.get()};
    for (int32_t r = 0; r < 2; ++r) {
        rigs[r]->setParameter(kParamBits, 0.5f);
        rigs[r]->setParameter(kParamDryWet, 0.7f);
        rigs[r]->cycleFilterType(1);
        for (int32_t i = 0; i < 3; ++i) rigs[r]->cycleFilterType(2);
        render(*rigs[r], input, outputs[r], {16, 512, 3});
    }
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(&shifted->core) % 16, 8u);
    EXPECT_EQ(outputs[0].left, outputs[1].left);
    EXPECT_EQ(outputs[0].right, outputs[1].right);
}
