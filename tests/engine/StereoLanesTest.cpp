// The two-lane code the audio path runs (both channels in one register) against the
// one-channel code it stands for, bit for bit: the filter, the bit reducer and the envelope
// follower, over designs and signals that reach the flush, NaN and infinities.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <vector>

#include "engine/Filter.h"
#include "engine/OutputStage.h"
#include "engine/StereoVector.h"

namespace {

bool sameBits(float a, float b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// Test signals for one channel: noise at several levels, a decay into the flush region,
// silence, single non-finite samples, huge values.
std::vector<float> channelSignal(uint32_t seed) {
    std::mt19937 random(seed);
    std::uniform_real_distribution<float> uniform(-1.0f, 1.0f);
    std::vector<float> s;
    for (float level : {1.0f, 1e-3f, 1e-8f, 1e-12f, 30.0f}) {
        for (int i = 0; i < 400; ++i) s.push_back(level * uniform(random));
        for (int i = 0; i < 300; ++i) s.push_back(0.0f);
    }
    for (int i = 0; i < 200; ++i) s.push_back(static_cast<float>(std::exp(-0.2 * i)));
    const float odd[] = {std::numeric_limits<float>::quiet_NaN(),
                         std::numeric_limits<float>::infinity(),
                         -std::numeric_limits<float>::infinity(),
                         3e38f,
                         -3e38f,
                         1e-40f};
    for (float v : odd) {
        s.push_back(v);
        for (int i = 0; i < 50; ++i) s.push_back(0.1f * uniform(random));
    }
    return s;
}

TEST(StereoLanes, TwoLaneFilterGivesEachChannelWhatTheOneChannelFilterGives) {
    const std::vector<float> left = channelSignal(1);
    const std::vector<float> right = channelSignal(2);
    int32_t designs = 0;
    for (int32_t type = 0; type < 3; ++type)
        for (double hz : {50.0, 140.0, 2300.0, 9050.0})
            for (double octaves : {0.1, 0.55, 1.0})
                for (double rate : {22050.0, 44100.0, 192000.0}) {
                    const BiquadCoefficients c = calcBiquad(type, hz, rate, octaves);
                    const StereoCoefficients both(c);
                    BiquadState l, r;
                    StereoState s(l, r);
                    for (size_t i = 0; i < left.size(); ++i) {
                        const Stereo4 y = filterStereo(both, s, stereoPair(left[i], right[i]));
                        const float yl = filterSample(c, l, left[i]);
                        const float yr = filterSample(c, r, right[i]);
                        ASSERT_TRUE(sameBits(y[0], yl) && sameBits(y[1], yr))
                            << "type " << type << " " << hz << " Hz " << octaves << " oct at " << rate
                            << ", sample " << i << ": " << y[0] << " " << y[1] << " vs " << yl << " " << yr;
                    }
                    // The memories agree as well, through the pairs the filter keeps them in,
                    // and restart alike.
                    Filter held;
                    held.coefficients = c;
                    s.store(held.memory);
                    restartFromInput(c, l);
                    restartFromInput(c, r);
                    held.restart();
                    BiquadState sl, sr;
                    StereoState(held.memory).store(sl, sr);
                    ASSERT_TRUE(sameBits(sl.x1, l.x1) && sameBits(sl.x2, l.x2) && sameBits(sl.y1, l.y1) &&
                                sameBits(sl.y2, l.y2) && sameBits(sr.x1, r.x1) && sameBits(sr.x2, r.x2) &&
                                sameBits(sr.y1, r.y1) && sameBits(sr.y2, r.y2));
                    ++designs;
                }
    EXPECT_EQ(designs, 108);
}

TEST(StereoLanes, TwoLaneBitReducerGivesWhatTheOneChannelReducerGives) {
    const std::vector<float> left = channelSignal(3);
    const std::vector<float> right = channelSignal(4);
    for (float bits : {1.0f, 1.5f, 8.3f, 16.0f, 23.9f, 32.0f}) {
        const float q = static_cast<float>(std::exp2(static_cast<double>(bits)));
        const float inverse = 1.0f / q;
        for (size_t i = 0; i < left.size(); ++i) {
            const Stereo4 y = reduceBitsStereo(stereoPair(left[i], right[i]), splat(q), splat(inverse));
            ASSERT_TRUE(sameBits(y[0], reduceBits(left[i], q, inverse)) &&
                        sameBits(y[1], reduceBits(right[i], q, inverse)))
                << bits << " bits, sample " << i;
        }
    }
}

// The follower written plainly, one sample.
float plainEnvelope(float envelope, float left, float right, float attack, float release) {
    const float level = std::fabs(left) * 0.5f + std::fabs(right) * 0.5f;
    const float c = level > envelope ? attack : release;
    envelope = level + (envelope - level) * c;
    return std::fabs(envelope) >= 1e-10f ? envelope : 0.0f;
}

TEST(StereoLanes, EnvelopeFollowerInALaneIsTheFollowerAsSpecified) {
    const std::vector<float> left = channelSignal(5);
    const std::vector<float> right = channelSignal(6);
    const float coefficients[] = {0.0f, 0.5f, 0.9500000f, 0.99897647f, 0.99999f};
    for (float attack : coefficients)
        for (float release : coefficients) {
            float plain = 0.0f;
            Stereo4 lane = splat(0.0f);
            for (size_t i = 0; i < left.size(); ++i) {
                plain = plainEnvelope(plain, left[i], right[i], attack, release);
                lane = followEnvelope(lane, envelopeLevel(stereoPair(left[i], right[i])),
                                      EnvelopeCoefficients(attack, release));
                ASSERT_TRUE(sameBits(lane[0], plain)) << attack << " " << release << ", sample " << i;
            }
        }
}

}  // namespace
