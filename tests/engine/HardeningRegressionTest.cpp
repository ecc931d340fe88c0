// Faults found by the fuzz, soak and stress runs, each kept here once fixed.
#include <gtest/gtest.h>

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

}  // namespace
