// Filter design and direct-form-I filtering, measured with sines against the design formulas.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <limits>

#include "CoreRig.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

// Steady-state gain of the coefficients for a sine of hz, measured through filterSample.
double measuredGain(const BiquadCoefficients& c, double hz, double rate) {
    BiquadState state;
    const int32_t settle = static_cast<int32_t>(rate);  // one second
    const int32_t measure = static_cast<int32_t>(rate);
    double in = 0.0;
    double out = 0.0;
    for (int32_t i = 0; i < settle + measure; ++i) {
        const double x = 0.5 * std::sin(2.0 * kPi * hz * i / rate);
        const double y = static_cast<double>(filterSample(c, state, static_cast<float>(x)));
        if (i >= settle) {
            in += x * x;
            out += y * y;
        }
    }
    return std::sqrt(out / in);
}

// Magnitude of the cookbook transfer function, from the design formulas in double.
double designGain(int32_t type, double f0, double rate, double bw, double hz) {
    const double w0 = 2.0 * kPi * f0 / rate;
    const double sn = std::sin(w0);
    const double cs = std::cos(w0);
    const double alpha = sn * std::sinh(std::log(2.0) / 2.0 * bw * w0 / sn);
    double b0, b1, b2;
    if (type == 0) {
        b0 = (1 - cs) / 2, b1 = 1 - cs, b2 = (1 - cs) / 2;
    } else if (type == 1) {
        b0 = (1 + cs) / 2, b1 = -(1 + cs), b2 = (1 + cs) / 2;
    } else {
        b0 = sn / 2, b1 = 0, b2 = -sn / 2;
    }
    const std::complex<double> z1 = std::polar(1.0, -2.0 * kPi * hz / rate);
    const std::complex<double> num = b0 + b1 * z1 + b2 * z1 * z1;
    const std::complex<double> den = (1 + alpha) + (-2 * cs) * z1 + (1 - alpha) * z1 * z1;
    return std::abs(num / den);
}

double qOf(double f0, double rate, double bw) {
    const double w0 = 2.0 * kPi * f0 / rate;
    return 1.0 / (2.0 * std::sinh(std::log(2.0) / 2.0 * bw * w0 / std::sin(w0)));
}

double toDb(double gain) { return 20.0 * std::log10(gain); }

TEST(FilterResponse, EachTypeMatchesTheDesignAtAndAroundItsCentre) {
    const double rates[] = {44100.0, 48000.0, 96000.0};
    const double centres[] = {50.0, 2300.0, 9050.0};
    const double bandwidths[] = {1.0, 0.1};
    for (double rate : rates)
        for (double f0 : centres)
            for (double bw : bandwidths)
                for (int32_t type = 0; type < 3; ++type) {
                    const BiquadCoefficients c = calcBiquad(type, f0, rate, bw);
                    for (double ratio : {0.25, 0.5, 0.8, 1.0, 1.25, 2.0, 4.0}) {
                        const double hz = f0 * ratio;
                        if (hz < 40.0 || hz > rate * 0.45) continue;
                        const double expected = designGain(type, f0, rate, bw, hz);
                        const double got = measuredGain(c, hz, rate);
                        // Very deep stop bands sit near the flush level; compare what is audible.
                        if (expected < 1e-3) continue;
                        EXPECT_NEAR(toDb(got), toDb(expected), 0.1)
                            << "type " << type << " f0 " << f0 << " rate " << rate << " bw " << bw << " at "
                            << hz;
                    }
                    // The cookbook's own checkpoints: LP and HP peak at Q at the centre,
                    // the band-pass has its peak gain Q there too.
                    const double q = qOf(f0, rate, bw);
                    EXPECT_NEAR(designGain(type, f0, rate, bw, f0), q, q * 1e-9);
                }
}

TEST(FilterResponse, PassBandsHaveUnityGain) {
    const double rate = 44100.0;
    const BiquadCoefficients lp = calcBiquad(0, 2300.0, rate, 1.0);
    const BiquadCoefficients hp = calcBiquad(1, 2300.0, rate, 1.0);
    EXPECT_NEAR((lp.b0 + lp.b1 + lp.b2) / (1.0f + lp.a1 + lp.a2), 1.0f, 1e-4f);  // DC
    EXPECT_NEAR((hp.b0 - hp.b1 + hp.b2) / (1.0f - hp.a1 + hp.a2), 1.0f, 1e-4f);  // Nyquist
    EXPECT_NEAR(measuredGain(lp, 100.0, rate), 1.0, 0.01);
    EXPECT_NEAR(measuredGain(hp, 15000.0, rate), 1.0, 0.01);
}

TEST(FilterResponse, CutoffAndResonanceMapToFrequencyAndBandwidth) {
    const struct {
        float cutoff;
        double hz;
        float reso;
        double octaves;
    } cases[] = {{1.0f, 9050.0, 0.0f, 1.0}, {0.5f, 2300.0, 1.0f, 0.1}, {0.0f, 50.0, 0.5f, 0.55}};
    for (const auto& c : cases) {
        auto rig = makeRig();
        rig->cycleFilterType(1);  // pre LP
        rig->cycleFilterType(2);
        rig->cycleFilterType(2);
        rig->cycleFilterType(2);  // post BP
        rig->setParameter(kParamPreCutoff, c.cutoff);
        rig->setParameter(kParamPreReso, c.reso);
        rig->setParameter(kParamPostCutoff, c.cutoff);
        rig->setParameter(kParamPostReso, c.reso);
        rig->prepare();
        const BiquadCoefficients& pre = rig->core.preFilter().coefficients;
        const BiquadCoefficients& post = rig->core.postFilter().coefficients;
        const BiquadCoefficients lp = calcBiquad(0, c.hz, 44100.0, c.octaves);
        const BiquadCoefficients bp = calcBiquad(2, c.hz, 44100.0, c.octaves);
        EXPECT_FLOAT_EQ(pre.b0, lp.b0) << c.cutoff;
        EXPECT_FLOAT_EQ(pre.a1, lp.a1) << c.cutoff;
        EXPECT_FLOAT_EQ(pre.a2, lp.a2) << c.cutoff;
        EXPECT_FLOAT_EQ(post.b0, bp.b0) << c.cutoff;
        EXPECT_FLOAT_EQ(post.a2, bp.a2) << c.cutoff;
    }
}

TEST(FilterResponse, SlowResonantLowPassStaysStableAndFreeOfDenormals) {
    // Low-pass at 50 Hz and a tenth of an octave: the slowest and most resonant setting.
    const BiquadCoefficients c = calcBiquad(0, 50.0, 44100.0, 0.1);
    BiquadState state;
    // Silent input into a silent filter is exactly silent.
    for (int32_t i = 0; i < 1000; ++i) ASSERT_EQ(filterSample(c, state, 0.0f), 0.0f);
    // After an impulse the ringing decays; rounding may leave a tiny limit cycle far below
    // hearing, but never a denormal and never growth.
    filterSample(c, state, 1.0f);
    float peakLate = 0.0f;
    for (int32_t i = 0; i < 10 * 44100; ++i) {
        const float y = filterSample(c, state, 0.0f);
        ASSERT_TRUE(y == 0.0f || std::fabs(y) >= 1e-10f) << i;
        if (i > 5 * 44100) peakLate = std::max(peakLate, std::fabs(y));
    }
    EXPECT_LT(peakLate, 1e-7f);  // below -140 dB
}

TEST(FilterResponse, DesignStaysFiniteAndStableForAnyInput) {
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double rates[] = {1.0, 100.0, 8000.0, 18100.0, 44100.0, 1e9, 0.0, -5.0, nan, inf};
    const double freqs[] = {50.0, 9050.0, 0.0, -100.0, 1e12, nan, inf};
    const double bws[] = {0.1, 1.0, 0.0, -3.0, 1e6, nan};
    for (double rate : rates)
        for (double f : freqs)
            for (double bw : bws)
                for (int32_t type = -1; type < 4; ++type) {
                    const BiquadCoefficients c = calcBiquad(type, f, rate, bw);
                    ASSERT_TRUE(std::isfinite(c.b0) && std::isfinite(c.b1) && std::isfinite(c.b2) &&
                                std::isfinite(c.a1) && std::isfinite(c.a2))
                        << rate << " " << f << " " << bw << " " << type;
                    // Poles inside the unit circle, with the 32-bit coefficients.
                    ASSERT_LT(std::fabs(c.a2), 1.0f) << rate << " " << f << " " << bw;
                    ASSERT_LT(std::fabs(c.a1), 1.0f + c.a2) << rate << " " << f << " " << bw;
                }
}

// Switches the pre filter on after the block's coefficients were computed (when the block asks
// for its time), as an editor thread may do while a block runs.
class LateSwitch : public CoreRig {
public:
    bool switchPending = false;
    const HostTime* blockTime() override {
        if (switchPending) {
            cycleFilterType(1);
            switchPending = false;
        }
        return CoreRig::blockTime();
    }
};

TEST(FilterResponse, FilterSwitchedOnDuringABlockRunsWithItsOwnCoefficients) {
    Stereo in(3000);
    for (size_t i = 0; i < in.size(); ++i)
        in.left[i] = in.right[i] = 0.8f * static_cast<float>(std::sin(0.05 * static_cast<double>(i)));

    LateSwitch late;
    late.setParameter(kParamPreCutoff, 0.3f);
    late.switchPending = true;
    const Stereo outLate = render(late, in, 3000);
    EXPECT_EQ(late.core.values.preFilter.type, 1);

    auto early = makeRig();
    early->setParameter(kParamPreCutoff, 0.3f);
    early->cycleFilterType(1);
    const Stereo outEarly = render(*early, in, 3000);

    EXPECT_EQ(late.getStepIndex(), early->getStepIndex());
    EXPECT_GE(early->getStepIndex(), 1);
    for (int32_t i = 0; i <= 1372; ++i) ASSERT_EQ(late.getBufferL()[i], early->getBufferL()[i]) << i;
    for (size_t i = 0; i < in.size(); ++i) ASSERT_EQ(outLate.left[i], outEarly.left[i]) << i;
}

}  // namespace
