// The bandwidth-form biquad design, and when a filter's memory restarts.
#include "engine/Filter.h"

#include <algorithm>
#include <cmath>

#include "engine/Ranges.h"

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kHalfLn2 = 0.34657359027997265471;  // ln(2) / 2

// Near Nyquist sin(w0) nears 0 and alpha grows until the 32-bit coefficients put a pole on
// the unit circle; near 0 the same happens with cos(w0). Between 0.001 rad and 0.45 of the
// sample rate they keep a margin, which covers 50..9050 Hz from 20.2 kHz to 314 kHz.
constexpr double kMaxFrequencyRatio = 0.45;
constexpr double kMinW0 = 0.001;
constexpr double kMinBandwidth = 0.001;  // octaves
constexpr double kMaxBandwidth = 4.0;
// A last bound on alpha; the frequency and bandwidth limits keep the argument below 13.
constexpr double kMaxSinhArgument = 18.0;

// Valid settings give 0.1..1 octaves and a cutoff value of 0..1.
constexpr float kMinWorkingBandwidth = 0.1f;
constexpr float kMaxWorkingBandwidth = 1.0f;

// Radians per sample of a design. A frequency at or above Nyquist would overflow sinh or
// make the filter unstable.
double normalizedFrequency(double frequency, double sampleRate) {
    return clampTo(2.0 * kPi * frequency / sampleRate, kMinW0, 2.0 * kPi * kMaxFrequencyRatio);
}

}  // namespace

BiquadCoefficients calcBiquad(int32_t type, double frequency, double sampleRate, double bandwidth) {
    BiquadCoefficients out;
    if (type < 0 || type > 2 || !(sampleRate > 0.0) || !std::isfinite(sampleRate)) return out;
    // A bandwidth far outside its range would overflow sinh as well.
    const double bw = clampTo(bandwidth, kMinBandwidth, kMaxBandwidth);
    const double w0 = normalizedFrequency(frequency, sampleRate);
    const double sn = std::sin(w0);
    const double cs = std::cos(w0);
    const double alpha = sn * std::sinh(std::min(kHalfLn2 * bw * w0 / sn, kMaxSinhArgument));
    const double a0 = 1.0 + alpha;
    const double a1 = -2.0 * cs;
    const double a2 = 1.0 - alpha;
    double b0 = 0.0;
    double b1 = 0.0;
    double b2 = 0.0;
    switch (type) {
    case 0:  // low-pass
        b0 = (1.0 - cs) / 2.0;
        b1 = 1.0 - cs;
        b2 = (1.0 - cs) / 2.0;
        break;
    case 1:  // high-pass
        b0 = (1.0 + cs) / 2.0;
        b1 = -(1.0 + cs);
        b2 = (1.0 + cs) / 2.0;
        break;
    default:  // band-pass, constant skirt gain: the peak gain is Q
        b0 = sn / 2.0;
        b1 = 0.0;
        b2 = -sn / 2.0;
        break;
    }
    out.b0 = static_cast<float>(b0 / a0);
    out.b1 = static_cast<float>(b1 / a0);
    out.b2 = static_cast<float>(b2 / a0);
    out.a1 = static_cast<float>(a1 / a0);
    out.a2 = static_cast<float>(a2 / a0);
    return out;
}

void Filter::redesign(int32_t type, float cutoff, float bandwidth, int32_t sampleRate) {
    // Cutoff and bandwidth come from parameters the engine does not clamp: a value outside
    // its range acts as the nearest end of it.
    const float c = clampTo(cutoff, 0.0f, 1.0f);
    const float b = clampTo(bandwidth, kMinWorkingBandwidth, kMaxWorkingBandwidth);
    const double frequency = 9000.0 * static_cast<double>(c) + 50.0;
    coefficients = calcBiquad(type - 1, frequency, static_cast<double>(sampleRate), static_cast<double>(b));
    const double w0 = normalizedFrequency(frequency, static_cast<double>(sampleRate));
    const bool far = design.type != 0 && (design.type != type || w0 > design.w0 * kFilterRestartRatio ||
                                          w0 * kFilterRestartRatio < design.w0);
    design.type = type;
    design.cutoff = cutoff;
    design.bandwidth = bandwidth;
    design.sampleRate = sampleRate;
    design.w0 = w0;
    ++revision;
    if (far) restart();
}
