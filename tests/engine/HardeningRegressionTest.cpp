// Faults found by the fuzz, soak and stress runs, each kept here once fixed.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>

#include "EngineProbe.h"

namespace {

// One non-finite input sample (a host's denormal trap, a broken upstream plug-in) must not
// leave the envelope follower stuck at NaN: it would never trigger a freeze again.
TEST(HardeningRegression, EnvelopeFollowerRecoversFromNonFiniteInput) {
    const float bad[] = {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(),
                         -std::numeric_limits<float>::infinity()};
    for (float value : bad) {
        auto effect = makeProbe();
        step(*effect, value, 0.0f);
        EXPECT_TRUE(std::isfinite(effect->getEnvelope())) << value;
        // Silence long enough for the follower to fall back, then a loud input freezes.
        render(*effect, Stereo(20000, 0.0f), 512);
        EXPECT_EQ(effect->getEnvelope(), 0.0f) << value;
        EXPECT_FALSE(effect->isRecording());
        render(*effect, Stereo(400, 0.8f), 512);
        EXPECT_TRUE(effect->isRecording()) << value;
        EXPECT_EQ(effect->getStepIndex(), 1) << value;
    }
}

// Non-finite input that arrives while the recorder runs must not be frozen: the loop would
// hand NaN or infinity to the host on every pass (up to 32, or until a note-off), long after
// the bad samples themselves.
TEST(HardeningRegression, NonFiniteInputIsNotReplayedByTheLoop) {
    const float bad[] = {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity()};
    for (float value : bad) {
        auto effect = makeProbe();
        effect->setParameter(kParamRepeat, 1.0f);
        render(*effect, Stereo(400, 0.8f), 512);
        ASSERT_TRUE(effect->isRecording());
        Stereo glitch(16, 0.8f);
        glitch.left[5] = value;
        glitch.right[9] = -value;
        const Stereo during = render(*effect, glitch, 16);
        (void)during;  // the dry part of these samples is the host's own
        const Stereo after = render(*effect, Stereo(20000, 0.0f), 512);
        EXPECT_TRUE(allFinite(after)) << value;
        // The loop is still heard: the rest of the recording is intact.
        float peak = 0.0f;
        for (size_t i = 0; i < after.size(); ++i) peak = std::max(peak, std::fabs(after.left[i]));
        EXPECT_GT(peak, 0.5f) << value;
    }
}

}  // namespace
