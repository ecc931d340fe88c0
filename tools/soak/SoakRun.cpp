// The soak loop, its checks and its figures.
#include "SoakRun.h"

#ifdef __linux__
#include <unistd.h>
#endif

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <random>
#include <vector>

#include "SoakChunks.h"
#include "SoakHost.h"
#include "engine/FreezeProgram.h"

namespace {

constexpr int32_t kMaxBlock = 4096;

// The largest sum of |impulse response| of any filter design the plug-in can make (low-,
// high- or band-pass, cutoff 50..9050 Hz, 0.1..1 octave, any sample rate): 19.4, found by
// sweeping the designs; rounded up.
constexpr double kFilterGainBound = 20.0;
// Bit reduction rounds down to a step of at most 0.5.
constexpr double kBitStep = 0.5;

// Loop material is pre-filtered input; each pass is scaled by a gain of at most 1, rounded
// down by the bit reducer, post-filtered and mixed with the dry input at gains of at most 1.
// A filter whose memory bursts when its design jumps, or one that blows up, passes it.
double levelBound(double inputPeak) {
    return kFilterGainBound * (kFilterGainBound * inputPeak + kBitStep) + inputPeak;
}

// Resident memory of the process; 0 where it is not measured (off Linux).
long residentBytes() {
#ifdef __linux__
    long pages = 0;
    long resident = 0;
    if (FILE* statm = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2) resident = 0;
        std::fclose(statm);
    }
    return resident * sysconf(_SC_PAGESIZE);
#else
    return 0;
#endif
}

// The input: segments of silence, tones, noise bursts, clicks and quiet noise below the
// default threshold, each a fraction of a second to a few seconds long; peak at most 1.
class InputSignal {
public:
    explicit InputSignal(uint32_t seed) : random(seed) {}

    void fill(float* left, float* right, int32_t frames, double sampleRate) {
        for (int32_t i = 0; i < frames; ++i) {
            if (remaining <= 0) startSegment(sampleRate);
            --remaining;
            float l = 0.0f;
            float r = 0.0f;
            switch (kind) {
            case 0: break;
            case 1:
                phase += increment;
                if (phase > 6.283185307) phase -= 6.283185307;
                l = amplitude * static_cast<float>(std::sin(phase));
                r = amplitude * static_cast<float>(std::sin(phase * 1.5));
                break;
            case 2: {
                const bool on = (position++ % period) < period / 3;
                l = on ? amplitude * noise(random) : 0.0f;
                r = on ? amplitude * noise(random) : 0.0f;
                break;
            }
            case 3: l = r = (position++ % period) == 0 ? amplitude : 0.0f; break;
            default:
                l = 0.02f * noise(random);
                r = 0.02f * noise(random);
                break;
            }
            left[i] = l;
            right[i] = r;
            peak = std::max(peak, static_cast<double>(std::max(std::fabs(l), std::fabs(r))));
        }
    }

    double peak = 0.0;

private:
    void startSegment(double sampleRate) {
        kind = static_cast<int>(random() % 5);
        remaining = static_cast<long>(sampleRate * std::uniform_real_distribution<double>(0.1, 3.0)(random));
        amplitude = std::uniform_real_distribution<float>(0.05f, 1.0f)(random);
        increment = 6.283185307 * std::uniform_real_distribution<double>(30.0, 12000.0)(random) / sampleRate;
        period = 200 + static_cast<long>(random() % 40000);
        position = 0;
    }

    std::mt19937 random;
    std::uniform_real_distribution<float> noise{-1.0f, 1.0f};
    int kind = 0;
    long remaining = 0;
    float amplitude = 0.0f;
    double phase = 0.0;
    double increment = 0.0;
    long period = 1000;
    long position = 0;
};

// A MIDI event list as hosts lay it out, with room for eight events.
struct EventList {
    int32_t numEvents = 0;
    intptr_t reserved = 0;
    VstEvent* events[8] = {};
    VstMidiEvent storage[8] = {};
};

struct Figures {
    long blocks = 0;
    long samples = 0;
    long parameterChanges = 0;
    long outOfRangeValues = 0;
    long programChanges = 0;
    long presetLoads = 0;
    long bankLoads = 0;
    long damagedLoads = 0;
    long chunkSaves = 0;
    long tempoChanges = 0;
    long rateChanges = 0;
    long timeMissing = 0;
    long midiEvents = 0;
    long suspends = 0;
    double secondsPerMode[8] = {};
    double outputPeak = 0.0;
    long nonFinite = 0;
    long overBound = 0;
    double worstRatio = 0.0;  // output peak / bound, over all blocks
};

class SoakRun {
public:
    SoakRun(const SoakSettings& s) : settings(s), random(s.seed), input(s.seed + 1) {
        for (auto& channel : in) channel.assign(kMaxBlock, 0.0f);
        for (auto& channel : out) channel.assign(kMaxBlock, 0.0f);
        saved.reserve(kBankChunkSize);
        scratch.reserve(kBankChunkSize);
        for (int i = 0; i < 8; ++i) events.events[i] = reinterpret_cast<VstEvent*>(&events.storage[i]);
    }

    int run() {
        SoakHost::time() = SoakTime();
        if (!host.open(settings.plugin)) {
            std::fprintf(stderr, "soak: %s\n", host.error().c_str());
            return 1;
        }
        std::printf("soak: %s, %.1f minutes of audio, seed %u\n", settings.plugin.c_str(), settings.minutes,
                    settings.seed);
        host.dispatch(effOpen);
        host.dispatch(effSetSampleRate, 0, 0, nullptr, 44100.0f);
        host.dispatch(effSetBlockSize, 0, kMaxBlock);
        host.dispatch(effMainsChanged, 0, 1);

        const auto start = std::chrono::steady_clock::now();
        const double total = settings.minutes * 60.0;
        modeInterval = std::min(20.0, total / 12.0);
        rssByMinute.reserve(static_cast<size_t>(settings.minutes) + 2);
        int minute = 0;
        rssByMinute.push_back(residentBytes());
        while (seconds < total) {
            hostActions(seconds);
            renderBlock(pickBlockSize(), true);
            if (static_cast<int>(seconds / 60.0) > minute) {
                minute = static_cast<int>(seconds / 60.0);
                rssByMinute.push_back(residentBytes());
            }
        }
        const double mainWall =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        const bool nanChecks = separateNanChecks();
        host.close();
        return report(mainWall, nanChecks);
    }

private:
    // Each kind of host action comes at its own average interval of audio time.
    void hostActions(double now) {
        if (due(nextParameter, now, 0.05)) automate();
        if (due(nextProgram, now, 8.0)) {
            host.dispatch(effSetProgram, 0, static_cast<intptr_t>(random() % 18) - 1);
            ++figures.programChanges;
        }
        if (due(nextChunk, now, 4.0)) loadChunk();
        if (due(nextMode, now, modeInterval)) {
            // Every mode combination in turn, so that each gets its share of the run.
            makeBank(random, modeCycle++ % 8, scratch);
            host.dispatch(effSetChunk, 0, static_cast<intptr_t>(scratch.size()), scratch.data());
            ++figures.bankLoads;
            readModes();
        }
        if (due(nextTempo, now, 3.0)) changeTempo();
        if (due(nextRate, now, 30.0)) changeRate();
        if (due(nextSuspend, now, 45.0)) {
            host.dispatch(effMainsChanged, 0, 0);
            host.dispatch(effMainsChanged, 0, 1);
            ++figures.suspends;
        }
        if (due(nextMidi, now, 0.25)) sendMidi();
    }

    bool due(double& next, double now, double interval) {
        if (now < next) return false;
        next = now + std::uniform_real_distribution<double>(0.2, 1.8)(random) * interval;
        return true;
    }

    void automate() {
        const int count = 1 + static_cast<int>(random() % 3);
        for (int i = 0; i < count; ++i) {
            const auto index = static_cast<int32_t>(random() % kNumParams);
            float value = std::uniform_real_distribution<float>(0.0f, 1.0f)(random);
            if (random() % 10 == 0) {
                static const float odd[] = {-1.0f,
                                            -0.01f,
                                            1.01f,
                                            2.0f,
                                            10.0f,
                                            -1e6f,
                                            1e6f,
                                            3e38f,
                                            std::numeric_limits<float>::infinity(),
                                            -std::numeric_limits<float>::infinity()};
                value = odd[random() % 10];
                ++figures.outOfRangeValues;
            }
            host.setParameter(index, value);
            ++figures.parameterChanges;
        }
    }

    void loadChunk() {
        const bool preset = random() % 2 == 0;
        switch (random() % 4) {
        case 0: {  // the plug-in's own, saved earlier
            void* data = nullptr;
            const intptr_t size = host.dispatch(effGetChunk, preset ? 1 : 0, 0, &data);
            if (size > 0 && data) {
                saved.assign(static_cast<unsigned char*>(data), static_cast<unsigned char*>(data) + size);
                savedIsPreset = preset;
            }
            ++figures.chunkSaves;
            return;
        }
        case 1:  // a saved one loaded back
            if (saved.empty()) return;
            scratch = saved;
            host.dispatch(effSetChunk, savedIsPreset ? 1 : 0, static_cast<intptr_t>(scratch.size()),
                          scratch.data());
            (savedIsPreset ? figures.presetLoads : figures.bankLoads)++;
            if (!savedIsPreset) readModes();
            return;
        case 2:  // made up
            if (preset)
                makePreset(random, scratch);
            else
                makeBank(random, static_cast<int>(random() % 8), scratch);
            host.dispatch(effSetChunk, preset ? 1 : 0, static_cast<intptr_t>(scratch.size()), scratch.data());
            (preset ? figures.presetLoads : figures.bankLoads)++;
            if (!preset) readModes();
            return;
        default: {  // damaged
            if (preset)
                makePreset(random, scratch);
            else
                makeBank(random, static_cast<int>(random() % 8), scratch);
            const intptr_t size = damage(random, scratch);
            host.dispatch(effSetChunk, preset ? 1 : 0, size, size > 0 ? scratch.data() : nullptr);
            ++figures.damagedLoads;
            if (!preset) readModes();
            return;
        }
        }
    }

    // The mode flags as the plug-in holds them now.
    void readModes() {
        void* data = nullptr;
        const intptr_t size = host.dispatch(effGetChunk, 0, 0, &data);
        if (size != kBankChunkSize || !data) return;
        const auto* bytes = static_cast<const unsigned char*>(data);
        modes = (bytes[kBankMidiNoteControlOffset] ? 1 : 0) | (bytes[kBankNoteRecordStartOffset] ? 2 : 0) |
                (bytes[kBankRepeatTillNoteOffOffset] ? 4 : 0);
    }

    void changeTempo() {
        SoakTime& time = SoakHost::time();
        static const double odd[] = {
            0.0, -120.0, 1e9, 0.5, 1.0, 100000.0, std::numeric_limits<double>::quiet_NaN()};
        time.tempo = random() % 5 == 0 ? odd[random() % 7]
                                       : std::uniform_real_distribution<double>(40.0, 250.0)(random);
        // Now and then a host without time information for a while.
        time.served = random() % 12 != 0;
        if (!time.served) ++figures.timeMissing;
        ++figures.tempoChanges;
    }

    void changeRate() {
        static const double rates[] = {22050.0, 32000.0, 44100.0, 48000.0, 88200.0, 96000.0, 192000.0};
        static const double odd[] = {0.0, -44100.0, std::numeric_limits<double>::quiet_NaN(), 1e12};
        SoakTime& time = SoakHost::time();
        time.sampleRate = random() % 6 == 0 ? odd[random() % 4] : rates[random() % 7];
        host.dispatch(effSetSampleRate, 0, 0, nullptr, static_cast<float>(time.sampleRate));
        ++figures.rateChanges;
    }

    void sendMidi() {
        events.numEvents = 1 + static_cast<int32_t>(random() % 4);
        for (int32_t i = 0; i < events.numEvents; ++i) {
            VstMidiEvent& e = events.storage[i];
            e = VstMidiEvent{};
            e.type = kVstMidiType;
            e.byteSize = sizeof e;
            e.deltaFrames = random() % 10 == 0 ? static_cast<int32_t>(random() % 100000) - 50000
                                               : static_cast<int32_t>(random() % 1024);
            static const unsigned char statuses[] = {0x90, 0x90, 0x90, 0x80, 0x80, 0x9F, 0xB0, 0xE0};
            e.midiData[0] = static_cast<char>(statuses[random() % 8] | (random() % 16));
            e.midiData[1] = static_cast<char>(random() % 128);
            e.midiData[2] = static_cast<char>(random() % 4 == 0 ? 0 : random() % 128);
        }
        host.dispatch(effProcessEvents, 0, 0, reinterpret_cast<VstEvents*>(&events));
        figures.midiEvents += events.numEvents;
    }

    int32_t pickBlockSize() {
        static const int32_t usual[] = {32, 64, 128, 256, 441, 512, 1024, 2048, 4096};
        switch (random() % 4) {
        case 0: return 1 + static_cast<int32_t>(random() % kMaxBlock);
        case 1: return random() % 50 == 0 ? 0 : 1 + static_cast<int32_t>(random() % 16);
        default: return usual[random() % 9];
        }
    }

    // The sample rate audio time is counted in: the plug-in takes the rate from the time
    // information when it is there and at least 1 Hz, otherwise keeps the last one. Absurd
    // rates (the plug-in caps them) are counted as 192 kHz, so that an hour stays an hour.
    double engineRate() {
        const SoakTime& time = SoakHost::time();
        if (time.served && time.sampleRate >= 1.0) lastRate = std::min(std::trunc(time.sampleRate), 192000.0);
        return lastRate;
    }

    void renderBlock(int32_t frames, bool count) {
        const double rate = engineRate();
        input.fill(in[0].data(), in[1].data(), frames, rate);
        const bool accumulate = random() % 4 == 0;
        if (accumulate) {
            std::fill(out[0].begin(), out[0].begin() + frames, 0.0f);
            std::fill(out[1].begin(), out[1].begin() + frames, 0.0f);
        }
        float* inputs[2] = {in[0].data(), in[1].data()};
        float* outputs[2] = {out[0].data(), out[1].data()};
        host.process(inputs, outputs, frames, accumulate);
        if (settings.observer) settings.observer(out[0].data(), out[1].data(), frames);
        check(frames);
        if (!count) return;
        ++figures.blocks;
        figures.samples += frames;
        const double blockSeconds = frames / rate;
        seconds += blockSeconds;
        figures.secondsPerMode[modes] += blockSeconds;
    }

    void check(int32_t frames) {
        const double bound = levelBound(input.peak);
        double blockPeak = 0.0;
        for (int c = 0; c < 2; ++c)
            for (int32_t i = 0; i < frames; ++i) {
                const float y = out[c][static_cast<size_t>(i)];
                if (!std::isfinite(y)) {
                    if (figures.nonFinite++ == 0)
                        std::printf("FAIL: non-finite output at %.3f s of audio\n", seconds);
                    continue;
                }
                blockPeak = std::max(blockPeak, static_cast<double>(std::fabs(y)));
            }
        if (blockPeak > bound && figures.overBound++ == 0)
            std::printf("FAIL: output peak %.3g above the bound %.3g at %.3f s of audio\n", blockPeak, bound,
                        seconds);
        figures.outputPeak = std::max(figures.outputPeak, blockPeak);
        if (bound > 0.0) figures.worstRatio = std::max(figures.worstRatio, blockPeak / bound);
    }

    void renderSeconds(double length, const char* what) {
        const long before = figures.nonFinite + figures.overBound;
        double done = 0.0;
        while (done < length) {
            const int32_t frames = 512;
            renderBlock(frames, false);
            done += frames / engineRate();
        }
        if (figures.nonFinite + figures.overBound != before) std::printf("FAIL: %s\n", what);
    }

    // A known state: the default program everywhere, no modes, 44.1 kHz at 120 BPM, the
    // loop heard alone and repeated, buffers cleared.
    void cleanState() {
        SoakTime& time = SoakHost::time();
        time = SoakTime();
        lastRate = 44100.0;
        scratch.assign(kBankChunkSize, 0);
        for (int32_t program = 0; program < kNumPrograms; ++program) {
            unsigned char* const record = scratch.data() + bankProgramOffset(program);
            for (int32_t slot = 0; slot < kNumProgramValues; ++slot)
                putChunkFloat(record + kProgramValuesOffset + 4 * slot, kDefaultProgramValues[slot]);
            putChunkFloat(record + kProgramThresholdOffset, kDefaultThreshold);
            putChunkFloat(record + kProgramSequenceLengthOffset, 1.0f);
        }
        for (int32_t step = 0; step < kNumStepValues; ++step)
            putChunkFloat(scratch.data() + bankStepOffset(step), 0.5f);
        host.dispatch(effSetChunk, 0, kBankChunkSize, scratch.data());
        host.dispatch(effSetProgram, 0, 0);
        host.setParameter(kParamRepeat, 1.0f);  // 32 passes
        host.dispatch(effMainsChanged, 0, 0);
        host.dispatch(effMainsChanged, 0, 1);
        modes = 0;
    }

    // NaN as a parameter value, each parameter in turn, must leave the output finite; NaN
    // and infinities in the input must not keep the plug-in from freezing afterwards.
    bool separateNanChecks() {
        const long failuresBefore = figures.nonFinite + figures.overBound;
        const float nan = std::numeric_limits<float>::quiet_NaN();
        for (int32_t index = 0; index < kNumParams; ++index) {
            cleanState();
            host.setParameter(index, nan);
            char what[64];
            std::snprintf(what, sizeof what, "parameter %d set to NaN", static_cast<int>(index));
            renderSeconds(1.0, what);
            const float back = host.getParameter(index);
            if (!std::isnan(back)) {
                std::printf("FAIL: parameter %d does not read back NaN\n", static_cast<int>(index));
                ++figures.overBound;
            }
        }
        const bool parametersOk = figures.nonFinite + figures.overBound == failuresBefore;

        // Non-finite input for one block, then silence, then a burst that must freeze.
        cleanState();
        const float bad[] = {nan, std::numeric_limits<float>::infinity(),
                             -std::numeric_limits<float>::infinity()};
        for (int i = 0; i < 512; ++i)
            in[0][static_cast<size_t>(i)] = in[1][static_cast<size_t>(i)] = bad[i % 3];
        float* inputs[2] = {in[0].data(), in[1].data()};
        float* outputs[2] = {out[0].data(), out[1].data()};
        host.process(inputs, outputs, 512, false);  // non-finite out of non-finite in is fine
        if (settings.observer) settings.observer(out[0].data(), out[1].data(), 512);
        std::fill(in[0].begin(), in[0].end(), 0.0f);
        std::fill(in[1].begin(), in[1].end(), 0.0f);
        long nonFiniteAfter = 0;
        auto renderFixed = [&](int32_t blocks, float level, double& peak) {
            std::mt19937 noise(5);
            for (int32_t b = 0; b < blocks; ++b) {
                for (int32_t i = 0; i < 512; ++i) {
                    in[0][static_cast<size_t>(i)] =
                        level * std::uniform_real_distribution<float>(-1.0f, 1.0f)(noise);
                    in[1][static_cast<size_t>(i)] = in[0][static_cast<size_t>(i)];
                }
                host.process(inputs, outputs, 512, false);
                if (settings.observer) settings.observer(out[0].data(), out[1].data(), 512);
                for (int32_t i = 0; i < 512; ++i) {
                    const float y = out[0][static_cast<size_t>(i)];
                    if (!std::isfinite(y))
                        ++nonFiniteAfter;
                    else
                        peak = std::max(peak, static_cast<double>(std::fabs(y)));
                }
            }
        };
        double quietPeak = 0.0;
        double burstPeak = 0.0;
        double loopPeak = 0.0;
        renderFixed(172, 0.0f, quietPeak);  // 2 s of silence
        renderFixed(26, 0.8f, burstPeak);   // 0.3 s of loud noise: a freeze
        renderFixed(172, 0.0f, loopPeak);   // the loop, heard in silence
        const bool recovers = nonFiniteAfter == 0 && loopPeak > 0.05;
        std::printf(
            "non-finite input: %ld non-finite output samples afterwards; loop peak in the "
            "silence after a burst %.3f (%s)\n",
            nonFiniteAfter, loopPeak, recovers ? "freezes again" : "FAIL: no freeze any more");
        return parametersOk && recovers;
    }

    int report(double wall, bool nanChecks) {
        const Figures& f = figures;
        const double audioMinutes = seconds / 60.0;
        std::printf("audio: %.1f minutes (%ld samples, %ld blocks) in %.1f s of wall time, %.0fx real time\n",
                    audioMinutes, f.samples, f.blocks, wall, seconds / std::max(wall, 1e-9));
        std::printf(
            "host actions: %ld parameter changes (%ld outside 0..1), %ld program changes, "
            "%ld preset and %ld bank loads, %ld damaged loads, %ld chunk saves, %ld tempo "
            "changes (%ld without time information), %ld sample-rate changes, %ld suspends, "
            "%ld MIDI events\n",
            f.parameterChanges, f.outOfRangeValues, f.programChanges, f.presetLoads, f.bankLoads,
            f.damagedLoads, f.chunkSaves, f.tempoChanges, f.timeMissing, f.rateChanges, f.suspends,
            f.midiEvents);
        std::printf("audio seconds per mode (MidiNote-Control, Note->RecordStart, Repeat till NoteOff):");
        bool allModes = true;
        for (int m = 0; m < 8; ++m) {
            std::printf(" %d%d%d:%.0f", m & 1, (m >> 1) & 1, (m >> 2) & 1, f.secondsPerMode[m]);
            if (f.secondsPerMode[m] <= 0.0) allModes = false;
        }
        std::printf("\n");
        std::printf(
            "level: input peak %.3f, output peak %.3f, bound %.1f (worst block at %.4f of its bound)\n",
            input.peak, f.outputPeak, levelBound(input.peak), f.worstRatio);
        std::printf("non-finite output samples: %ld; blocks over the bound: %ld\n", f.nonFinite, f.overBound);

        // Memory: the end of the first minute against the end of the last one.
        const long first = rssByMinute.size() > 1 ? rssByMinute[1] : rssByMinute.front();
        const long last = rssByMinute.back();
        const long peak = *std::max_element(rssByMinute.begin(), rssByMinute.end());
        const long growth = last - first;
        const bool memoryFlat = growth <= 2L * 1024 * 1024;
        std::printf(
            "memory (resident): start %.1f MB, after the first minute %.1f MB, at the end %.1f MB, "
            "peak %.1f MB, growth %+.1f KB over %zu minutes (%s)\n",
            rssByMinute.front() / 1048576.0, first / 1048576.0, last / 1048576.0, peak / 1048576.0,
            growth / 1024.0, rssByMinute.size() - 1, memoryFlat ? "flat" : "FAIL: grows");

        const bool ok = f.nonFinite == 0 && f.overBound == 0 && memoryFlat && nanChecks &&
                        (allModes || settings.minutes < 3.0);
        if (!allModes && settings.minutes >= 3.0) std::printf("FAIL: a mode combination got no audio\n");
        std::printf("soak %s\n", ok ? "passed" : "FAILED");
        return ok ? 0 : 1;
    }

    SoakSettings settings;
    std::mt19937 random;
    InputSignal input;
    SoakHost host;
    Figures figures;
    std::vector<float> in[2];
    std::vector<float> out[2];
    std::vector<unsigned char> saved;
    std::vector<unsigned char> scratch;
    bool savedIsPreset = false;
    EventList events;
    std::vector<long> rssByMinute;
    double seconds = 0.0;
    double lastRate = 44100.0;
    int modes = 0;
    int modeCycle = 0;
    double modeInterval = 20.0;
    double nextParameter = 0.0, nextProgram = 0.0, nextChunk = 0.0, nextMode = 0.0, nextTempo = 0.0,
           nextRate = 0.0, nextSuspend = 0.0, nextMidi = 0.0;
};

}  // namespace

int runSoak(const SoakSettings& settings) {
    SoakRun run(settings);
    return run.run();
}
