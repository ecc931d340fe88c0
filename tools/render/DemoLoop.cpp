// Drum voices from a sine sweep and a deterministic noise source, mixed into a stereo loop.
#include "tools/render/DemoLoop.h"

#include <cmath>
#include <cstdint>

namespace {

constexpr double kRate = 44100.0;
constexpr double kPi = 3.14159265358979323846;

// xorshift32: the same noise on every platform.
class Noise {
public:
    float next() {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return static_cast<float>(state) / 2147483648.0f - 1.0f;
    }

private:
    uint32_t state = 0x9E3779B9u;
};

void addKick(AudioData& audio, size_t at) {
    double phase = 0.0;
    for (size_t i = 0; i < 9000 && at + i < audio.frames(); ++i) {
        const double t = static_cast<double>(i) / kRate;
        phase += 2.0 * kPi * (45.0 + 110.0 * std::exp(-t * 30.0)) / kRate;
        const auto v = static_cast<float>(0.7 * std::sin(phase) * std::exp(-t * 9.0));
        audio.left[at + i] += v;
        audio.right[at + i] += v;
    }
}

void addSnare(AudioData& audio, size_t at, Noise& noise) {
    for (size_t i = 0; i < 7000 && at + i < audio.frames(); ++i) {
        const double t = static_cast<double>(i) / kRate;
        const double body = 0.25 * std::sin(2.0 * kPi * 190.0 * t) * std::exp(-t * 25.0);
        const float hiss = noise.next() * static_cast<float>(0.3 * std::exp(-t * 18.0));
        audio.left[at + i] += static_cast<float>(body) + hiss;
        audio.right[at + i] += static_cast<float>(body) + 0.8f * hiss;
    }
}

void addHat(AudioData& audio, size_t at, Noise& noise, float level) {
    float previous = 0.0f;
    for (size_t i = 0; i < 2500 && at + i < audio.frames(); ++i) {
        const double t = static_cast<double>(i) / kRate;
        const float n = noise.next();
        const float bright = n - previous;  // first difference: a gentle high-pass
        previous = n;
        const float v = bright * level * static_cast<float>(std::exp(-t * 60.0));
        audio.left[at + i] += 0.7f * v;
        audio.right[at + i] += v;
    }
}

}  // namespace

AudioData makeDemoLoop(double seconds, double tempo) {
    AudioData audio;
    audio.sampleRate = kRate;
    const auto frames = static_cast<size_t>(seconds * kRate);
    audio.left.assign(frames, 0.0f);
    audio.right.assign(frames, 0.0f);
    const double sixteenth = 60.0 / tempo / 4.0 * kRate;
    Noise noise;
    // Two bars of sixteenths: kick on 1, 2-and, 3 (and the last sixteenth of bar 2),
    // snare on 2 and 4, hats on every eighth with accents.
    const char* const pattern[2] = {"K.H.S.HKK.H.S.H.", "K.H.S.H.K.HKS.HK"};
    for (size_t index = 0;; ++index) {
        const auto at = static_cast<size_t>(static_cast<double>(index) * sixteenth);
        if (at >= frames) break;
        const char hit = pattern[(index / 16) % 2][index % 16];
        if (hit == 'K') addKick(audio, at);
        if (hit == 'S') addSnare(audio, at, noise);
        if (index % 2 == 0 || hit == 'H') addHat(audio, at, noise, index % 4 == 2 ? 0.35f : 0.2f);
    }
    return audio;
}
