// The signal path's block: its samples in runs between events.
//
// The engine's state changes only at events: a trigger, the end of a recording, the end of
// the hold-off, the pending note coming due, a loop wrap, the fade zone, the end of a gain
// ramp. Between them the work per sample is fixed, and a run of such samples goes through one
// tight loop compiled for exactly what runs (pre filter or not, recording, waiting for a
// trigger above or below the threshold or neither, loop playing or stopped, post filter or
// not). The recursions (envelope follower, filters) step through the samples one by one, side
// by side, both channels of a filter in one register; what is not recursive (input, level,
// recorder, gain ramp, reducer, mix, output) works on several samples per instruction: four
// per channel where no filter runs, two samples' pairs where filters need the pairs. So the
// envelope's chain, which no implementation can shorten, sets the pace and the rest fits
// under its latency. A sample where an event falls goes through the per-sample steps one by
// one, as named below. Which loop runs is decided once per run; the values the editor may
// change during a block (threshold, inverse, filter types, sequence length, mode flags) are
// read at the start of every run of at most 64 samples.
//
// Included by FreezeCore.cpp, which runs it without an observer, and by the render tool's
// observed engine (engine/CoreObserver.h says what an observer is told and where).
#pragma once

#include <algorithm>
#include <cmath>

#include "engine/FreezeCore.h"
#include "engine/Ranges.h"
#include "engine/StereoVector.h"

// One block's samples. The audio state stays in the core (the editor reads some of it): the
// scalars in its CoreState, the filters' memories and two-lane coefficients in its filters and
// vectors, taken into registers for each run and stored back after it; the envelope lives here
// for the block. The observer is a base, so that NoObserver takes no room and its empty hooks
// leave the compiled block as it is without one.
template <class Observer>
class FreezeCore::Block : private Observer {
public:
    // The longest stretch between two reads of the values the editor may change mid-block.
    static constexpr int32_t kMaxRun = 64;
    // What a run of plain samples does with its input.
    // Neither, the recorder runs, or the trigger may fire (above or, inverse, below the threshold).
    enum class Capture { None, Record, Armed, ArmedBelow };
    enum class Playback { Stopped, Playing, PlayingFiltered };

    Block(FreezeCore& owner, const float* const* inputs, float* const* outputs, const Observer& observer)
        : Observer(observer), core(owner), k(owner.vectors), inL(inputs[0]), inR(inputs[1]), outL(outputs[0]),
          outR(outputs[1]), recL(owner.bufL.get()), recR(owner.bufR.get()), audio(owner.audio),
          repeatLimit(owner.audio.repeatLimit), fadeLength(owner.audio.fadeLength),
          noteLoopLength(owner.audio.noteLoopLength), envelope{owner.audio.envelope, 0.0f, 0.0f, 0.0f} {}

    template <bool Accumulate>
    void run(int32_t frames) {
        for (int32_t i = 0; i < frames;) {
            const int32_t runEnd = std::min(frames, i + kMaxRun);
            readEditorValues();
            while (i < runEnd) {
                const int32_t plain = plainSamples(runEnd - i);
                if (plain == 0) {
                    eventSample<Accumulate>(i++);
                    observe().level(i, envelope[0], threshold);
                    continue;
                }
                const int32_t done = plainRun<Accumulate>(i, plain);
                i += done;
                if (done < plain) {  // the trigger fired in sample i
                    finishSample<Accumulate>(i, input(i));
                    ++i;
                }
                observe().level(i, envelope[0], threshold);
            }
        }
    }

    // The envelope back to the core; the rest of the state lives there throughout.
    void save() { audio.envelope = envelope[0]; }

private:
    Observer& observe() { return *this; }

    Stereo4 input(int32_t i) const { return stereoPair(inL[i], inR[i]); }

    template <bool Accumulate>
    void output(int32_t i, Stereo4 y) {
        if constexpr (Accumulate) {
            outL[i] += y[0];
            outR[i] += y[1];
        } else {
            outL[i] = y[0];
            outR[i] = y[1];
        }
    }

    bool playing() const { return audio.repeatCount < repeatLimit; }
    bool noteCounting() const { return audio.notePending && midiNoteControl; }

    // --- once per run: the values the editor may change while a block runs ---

    void readEditorValues() {
        const WorkingValues& v = core.values;
        threshold = v.threshold;
        inverse = v.inverse;
        noteRecordStart = v.noteRecordStart;
        midiNoteControl = v.midiNoteControl;
        sequenceLength = v.sequenceLength;
        preOn = switchFilter(v.preFilter, core.pre, core.vectors.pre, core.vectors.preRevision);
        postOn = switchFilter(v.postFilter, core.post, core.vectors.post, core.vectors.postRevision);
    }

    // Whether the filter runs; a type switched on (or changed) during the block gets its
    // coefficients at once, never running with coefficients made for another type. Inline:
    // every run asks, and the answer is nearly always the last one.
    bool switchFilter(const FilterSettings& settings, Filter& filter, StereoCoefficients& coefficients,
                      uint32_t& coefficientsRevision) {
        const int32_t type = settings.type;
        if (!isRealType(type)) return false;
        if (__builtin_expect(type != filter.design.type || coefficientsRevision != filter.revision, 0))
            designFilter(type, settings, filter, coefficients, coefficientsRevision);
        return true;
    }

    // A design for the type (its memory restarted where the design jumped far), and the
    // coefficients in every lane for the two-lane code.
    __attribute__((noinline)) void designFilter(int32_t type, const FilterSettings& settings, Filter& filter,
                                                StereoCoefficients& coefficients,
                                                uint32_t& coefficientsRevision) {
        if (type != filter.design.type)
            filter.update(type, settings.cutoff, settings.bandwidth, core.audio.hostSampleRate);
        if (coefficientsRevision == filter.revision) return;
        coefficients = StereoCoefficients(filter.coefficients);
        coefficientsRevision = filter.revision;
    }

    // --- the steps of one sample, for the samples where an event falls ---

    template <bool Accumulate>
    void eventSample(int32_t i) {
        observe().at(i);
        const Stereo4 x = input(i);
        const Stereo4 s = preFilterStep(x);
        followEnvelopeStep(s);
        recordStep(s);
        countHoldOff();
        finishSample<Accumulate>(i, x);
    }

    // Steps 6 to 9; a plain run that stops at a trigger has done steps 1 to 5 of that sample.
    template <bool Accumulate>
    void finishSample(int32_t i, Stereo4 x) {
        observe().at(i);
        testTrigger();
        applyPendingNote();
        output<Accumulate>(i, loopOrDry(x));
    }

    // Step 2.
    Stereo4 preFilterStep(Stereo4 x) { return preOn ? filterStep(k.pre, core.pre, x) : x; }

    // One step of a filter whose memory stays in the core.
    static Stereo4 filterStep(const StereoCoefficients& c, Filter& filter, Stereo4 x) {
        StereoState s(filter.memory);
        const Stereo4 y = filterStereo(c, s, x);
        s.store(filter.memory);
        return y;
    }

    // Step 3.
    void followEnvelopeStep(Stereo4 s) { envelope = followEnvelope(envelope, envelopeLevel(s), k.envelope); }

    // Step 4: slots 1..loopLength; slot 0 stays silent. A NaN or infinity from the host is
    // frozen as silence: the loop would hand it back on every pass.
    void recordStep(Stereo4 s) {
        if (audio.recording != 1) return;
        ++audio.writeIndex;
        if (audio.writeIndex > audio.loopLength) {
            audio.recording = 0;
            audio.writeIndex = 0;
            observe().recordingEnd();
            return;
        }
        recL[audio.writeIndex] = std::isfinite(s[0]) ? s[0] : 0.0f;
        recR[audio.writeIndex] = std::isfinite(s[1]) ? s[1] : 0.0f;
    }

    // Step 5: the hold-off counts only while the recorder is idle.
    void countHoldOff() {
        if (audio.recording != 0 || !audio.holdOff) return;
        ++audio.holdOffCount;
        if (audio.holdOffCount >= kHoldOffSamples) audio.holdOff = false;
    }

    bool triggerArmed() const { return audio.recording == 0 && !audio.holdOff && !noteRecordStart; }
    bool fires(float level) const { return inverse ? level < threshold : level > threshold; }

    // Step 6.
    void testTrigger() {
        if (!triggerArmed() || !fires(envelope[0])) return;
        audio.recording = 1;
        audio.holdOffCount = 0;
        audio.holdOff = true;
        audio.repeatCount = 0;
        audio.fadeState = FadeState::FadingOut;
        advanceStep();
        observe().trigger(envelope[0], audio);
    }

    // The step sequencer: the next step, or 0 past the sequence length (and never past the
    // stored steps, whatever the sequence length says).
    void advanceStep() {
        audio.stepIndex = audio.stepIndex + 1;
        if (audio.stepIndex > sequenceLength || audio.stepIndex >= kNumStepValues) audio.stepIndex = 0;
    }

    // Step 7: a pending MIDI note.
    void applyPendingNote() {
        if (!noteCounting()) return;
        if (audio.noteDelay != 0) {
            --audio.noteDelay;
            return;
        }
        audio.loopLength = noteLoopLength;
        audio.repeatCount = 0;
        audio.fadeState = FadeState::FadingOut;
        if (noteRecordStart) audio.recording = 1;
        audio.notePending = false;
        observe().noteApplied(audio);
    }

    // Step 8: the dry input while the loop is stopped; otherwise the next loop sample through
    // the gain ramp, the bit reducer and the post filter, mixed with the dry input.
    Stereo4 loopOrDry(Stereo4 x) {
        if (!playing()) return x * k.dry;
        advancePlayback();
        advanceGainRamp(audio.loopGain, audio.fadeState, audio.playIndex, fadeLength, audio.loopLength);
        const Stereo4 loop = stereoPair(recL[audio.playIndex], recR[audio.playIndex]) * splat(audio.loopGain);
        Stereo4 w = reduceBitsStereo(loop, k.quantisation, k.inverseQuantisation);
        if (postOn) w = filterStep(k.post, core.post, w);
        return w * k.wet + x * k.dry;
    }

    // Step 8a: the next slot, wrapping at the loop length; the wrap fades in and counts a pass.
    void advancePlayback() {
        audio.playPosition += 1.0f;
        audio.playIndex = static_cast<int32_t>(audio.playPosition);
        if (audio.playIndex < audio.loopLength) return;
        observe().wrap(audio, repeatLimit);
        audio.playIndex = 0;
        audio.playPosition = 0.0f;
        audio.fadeState = FadeState::FadingIn;
        ++audio.repeatCount;
    }

    // --- runs of plain samples ---

    // How many samples from here on change nothing but counters (at most `limit`): no
    // audio.recording ends, no hold-off runs out, no note comes due, no wrap, no change of the gain
    // ramp. Also chooses the gain step of the run and the ramp's state after it.
    int32_t plainSamples(int32_t limit) {
        int32_t n = limit;
        if (audio.recording == 1)
            n = std::min(n, std::max(0, audio.loopLength - audio.writeIndex));
        else if (audio.holdOff)
            n = std::min(n, std::max(0, kHoldOffSamples - 1 - audio.holdOffCount));
        if (noteCounting()) n = std::min(n, audio.noteDelay);
        if (n > 0 && playing()) {
            const int32_t next = static_cast<int32_t>(audio.playPosition) + 1;  // the slot read first
            n = std::min(n, std::max(0, audio.loopLength - next));
            if (n > 0) n = plainGain(next, n);
        }
        return n;
    }

    // The gain over a run whose first slot is `next`: constant, or a ramp of 0.022 per sample
    // that stops short of its end (0 or 1, where the ramp settles) and of the fade zone.
    int32_t plainGain(int32_t next, int32_t n) {
        // The first sample of the run that lies in the fade zone (next + j + fadeLength > audio.loopLength).
        const int32_t zone = audio.loopLength - fadeLength - next + 1;
        if (zone <= 0) {  // in the zone: fading out, or silent once faded
            fadeAfterRun = audio.loopGain > 0.0f ? FadeState::FadingOut : FadeState::Steady;
            if (audio.loopGain > 0.0f) return rampDown(n);
            gainStep = 0.0f;
            return n;
        }
        n = std::min(n, zone);
        fadeAfterRun = audio.fadeState;
        switch (audio.fadeState) {
        case FadeState::FadingOut: return rampDown(n);
        case FadeState::FadingIn: return rampUp(n);
        default: gainStep = 0.0f; return n;
        }
    }

    int32_t rampDown(int32_t n) {
        gainStep = -kFadeStep;  // the same rounding as subtracting the step
        float gain = audio.loopGain;
        for (int32_t j = 0; j < n; ++j) {
            gain = gain - kFadeStep;
            if (gain <= 0.0f) return j;
        }
        return n;
    }

    int32_t rampUp(int32_t n) {
        gainStep = kFadeStep;
        float gain = audio.loopGain;
        for (int32_t j = 0; j < n; ++j) {
            gain = gain + kFadeStep;
            if (!(gain < 1.0f)) return j;
        }
        return n;
    }

    // Chooses the loop compiled for what the run does and returns how many samples it
    // finished: all of them, or those before a trigger.
    template <bool Accumulate>
    int32_t plainRun(int32_t start, int32_t n) {
        const Capture capture =
            audio.recording == 1
                ? Capture::Record
                : (triggerArmed() ? (inverse ? Capture::ArmedBelow : Capture::Armed) : Capture::None);
        const Playback playback =
            !playing() ? Playback::Stopped : (postOn ? Playback::PlayingFiltered : Playback::Playing);
        return preOn ? plainRun<Accumulate, true>(capture, playback, start, n)
                     : plainRun<Accumulate, false>(capture, playback, start, n);
    }

    template <bool Accumulate, bool Pre>
    int32_t plainRun(Capture capture, Playback playback, int32_t start, int32_t n) {
        switch (capture) {
        case Capture::Record: return plainRun<Accumulate, Pre, Capture::Record>(playback, start, n);
        case Capture::Armed: return plainRun<Accumulate, Pre, Capture::Armed>(playback, start, n);
        case Capture::ArmedBelow: return plainRun<Accumulate, Pre, Capture::ArmedBelow>(playback, start, n);
        default: return plainRun<Accumulate, Pre, Capture::None>(playback, start, n);
        }
    }

    template <bool Accumulate, bool Pre, Capture C>
    int32_t plainRun(Playback playback, int32_t start, int32_t n) {
        switch (playback) {
        case Playback::Playing: return plainLoop<Accumulate, Pre, C, Playback::Playing>(start, n);
        case Playback::PlayingFiltered:
            return plainLoop<Accumulate, Pre, C, Playback::PlayingFiltered>(start, n);
        default: return plainLoop<Accumulate, Pre, C, Playback::Stopped>(start, n);
        }
    }

    // The samples start .. start + n - 1, every per-sample step that they need in one loop.
    // Two samples at a time: the recursions (filters, envelope) step through them one after
    // the other, everything else works on both samples' pairs in one register.
    template <bool Accumulate, bool Pre, Capture C, Playback P>
    __attribute__((noinline)) int32_t plainLoop(int32_t start, int32_t n) {
        const float* const xL = inL + start;
        const float* const xR = inR + start;
        float* const yL = outL + start;
        float* const yR = outR + start;
        float* const writeL = recL + audio.writeIndex + 1;
        float* const writeR = recR + audio.writeIndex + 1;
        const int32_t first = static_cast<int32_t>(audio.playPosition) + 1;
        const float* const readL = recL + first;
        const float* const readR = recR + first;
        // Read through a pointer the compiler cannot follow, the per-block vectors stay memory
        // operands and leave the registers to the recursions (envelope, filters, gain), which
        // would otherwise be spilled and lengthened by a store and a load every sample.
        const RunVectors* kp = &k;
        asm("" : "+r"(kp));
        const RunVectors& kv = *kp;
        Stereo4 env = envelope;
        StereoState preS;
        if constexpr (Pre) preS = StereoState(core.pre.memory);
        StereoState postS;
        if constexpr (P == Playback::PlayingFiltered) postS = StereoState(core.post.memory);
        float gain = audio.loopGain;
        const float step = gainStep;
        constexpr bool Armed = C == Capture::Armed || C == Capture::ArmedBelow;
        const float level = threshold;
        auto fires = [&](Stereo4 e) { return C == Capture::ArmedBelow ? e[0] < level : e[0] > level; };
        // A NaN or infinity from the host is frozen as silence.
        auto kept = [](Stereo4 s) { return select(stereoAbs(s) < splat(INFINITY), s, splat(0.0f)); };

        // Steps 6 to 9 of one sample, without a trigger.
        auto finishOne = [&](int32_t j, Stereo4 x) {
            Stereo4 y;
            if constexpr (P == Playback::Stopped) {
                y = x * kv.dry;
            } else {
                gain = gain + step;
                Stereo4 w = reduceBitsStereo(loadPair(readL + j, readR + j) * splat(gain), kv.quantisation,
                                             kv.inverseQuantisation);
                if constexpr (P == Playback::PlayingFiltered) w = filterStereo(kv.post, postS, w);
                y = w * kv.wet + x * kv.dry;
            }
            storePair<Accumulate>(y, yL + j, yR + j);
        };

        Stereo4 gains = splat(gain);
        const Stereo4 steps = splat(step);
        const Stereo4 laterSteps{0.0f, 0.0f, step, step};
        int32_t j = 0;
        bool triggered = false;
        // Without filters: four samples at a time, each channel in its own register, where
        // nothing is recursive; the envelope steps through them one by one.
        constexpr bool Unfiltered = !Pre && P != Playback::PlayingFiltered;
        // The recorder's writes of a group come before its reads; in the order of the samples
        // that differs only where a sample reads a slot a later sample of the group writes.
        const int32_t ahead = first - (audio.writeIndex + 1);
        const bool grouped =
            !(C == Capture::Record && P != Playback::Stopped && ahead >= 1 && ahead <= (Unfiltered ? 3 : 1));
        if (Unfiltered && grouped) {
            const Stereo4 half = splat(0.5f);
            const Stereo4 quarterSteps1{0.0f, step, step, step};
            const Stereo4 quarterSteps2{0.0f, 0.0f, step, step};
            const Stereo4 quarterSteps3{0.0f, 0.0f, 0.0f, step};
            for (; j + 4 <= n; j += 4) {
                const Stereo4 xl = Stereo4(_mm_loadu_ps(xL + j));
                const Stereo4 xr = Stereo4(_mm_loadu_ps(xR + j));
                const Stereo4 levels = stereoAbs(xl) * half + stereoAbs(xr) * half;
                int32_t fired = -1;
                env = followEnvelope(env, levels, kv.envelope);
                if (Armed && __builtin_expect(fires(env), 0)) fired = 0;
                if (fired < 0) {
                    env =
                        followEnvelope(env, __builtin_shufflevector(levels, levels, 1, 1, 1, 1), kv.envelope);
                    if (Armed && __builtin_expect(fires(env), 0)) fired = 1;
                }
                if (fired < 0) {
                    env =
                        followEnvelope(env, __builtin_shufflevector(levels, levels, 2, 2, 2, 2), kv.envelope);
                    if (Armed && __builtin_expect(fires(env), 0)) fired = 2;
                }
                if (fired < 0) {
                    env =
                        followEnvelope(env, __builtin_shufflevector(levels, levels, 3, 3, 3, 3), kv.envelope);
                    if (Armed && __builtin_expect(fires(env), 0)) fired = 3;
                }
                if (Armed && __builtin_expect(fired >= 0, 0)) {  // the samples before it, one by one
                    for (int32_t i = 0; i < fired; ++i) finishOne(j + i, loadPair(xL + j + i, xR + j + i));
                    j += fired;
                    triggered = true;
                    break;
                }
                if constexpr (C == Capture::Record) {
                    _mm_storeu_ps(writeL + j, __m128(kept(xl)));
                    _mm_storeu_ps(writeR + j, __m128(kept(xr)));
                }
                Stereo4 yl = xl * kv.dry;
                Stereo4 yr = xr * kv.dry;
                if constexpr (P != Playback::Stopped) {
                    // The ramp's four steps, exactly: g + s, then + s, + s, + s.
                    Stereo4 g = splat(gain) + steps;
                    g = g + quarterSteps1;
                    g = g + quarterSteps2;
                    g = g + quarterSteps3;
                    gain = g[3];
                    const Stereo4 wl = reduceBitsStereo(Stereo4(_mm_loadu_ps(readL + j)) * g, kv.quantisation,
                                                        kv.inverseQuantisation);
                    const Stereo4 wr = reduceBitsStereo(Stereo4(_mm_loadu_ps(readR + j)) * g, kv.quantisation,
                                                        kv.inverseQuantisation);
                    yl = wl * kv.wet + yl;
                    yr = wr * kv.wet + yr;
                }
                if constexpr (Accumulate) {
                    yl = Stereo4(_mm_loadu_ps(yL + j)) + yl;
                    yr = Stereo4(_mm_loadu_ps(yR + j)) + yr;
                }
                _mm_storeu_ps(yL + j, __m128(yl));
                _mm_storeu_ps(yR + j, __m128(yr));
            }
            gains = splat(gain);
        } else if (grouped) {
            for (; j + 2 <= n; j += 2) {
                const Stereo4 x = loadPairs(xL + j, xR + j);
                Stereo4 s0 = x;
                Stereo4 s1 = upperHalf(x);
                Stereo4 level1;
                if constexpr (Pre) {
                    s0 = filterStereo(kv.pre, preS, firstPair(x));
                    env = followEnvelope(env, envelopeLevel(s0), kv.envelope);
                    if constexpr (Armed)
                        if (__builtin_expect(fires(env), 0)) {
                            triggered = true;
                            break;
                        }
                    s1 = filterStereo(kv.pre, preS, secondPair(x));
                    level1 = envelopeLevel(s1);
                } else {
                    const Stereo4 levels = envelopeLevel(x);
                    env = followEnvelope(env, levels, kv.envelope);
                    if constexpr (Armed)
                        if (__builtin_expect(fires(env), 0)) {
                            triggered = true;
                            break;
                        }
                    level1 = upperHalf(levels);
                }
                env = followEnvelope(env, level1, kv.envelope);
                if constexpr (Armed) {
                    if (__builtin_expect(fires(env), 0)) {  // in the second sample
                        gain = gains[3];
                        finishOne(j, x);
                        gains = splat(gain);
                        ++j;
                        triggered = true;
                        break;
                    }
                }
                if constexpr (C == Capture::Record)
                    storePairs<false>(kept(lowerHalves(s0, s1)), writeL + j, writeR + j);
                Stereo4 y;
                if constexpr (P == Playback::Stopped) {
                    y = x * kv.dry;
                } else {
                    // {g + s, g + s, (g + s) + s, (g + s) + s}: the ramp's two steps, exactly.
                    gains = (splat(gains[3]) + steps) + laterSteps;
                    Stereo4 w = reduceBitsStereo(loadPairs(readL + j, readR + j) * gains, kv.quantisation,
                                                 kv.inverseQuantisation);
                    if constexpr (P == Playback::PlayingFiltered) {
                        const Stereo4 w0 = filterStereo(kv.post, postS, firstPair(w));
                        const Stereo4 w1 = filterStereo(kv.post, postS, secondPair(w));
                        w = lowerHalves(w0, w1);
                    }
                    y = w * kv.wet + x * kv.dry;
                }
                storePairs<Accumulate>(y, yL + j, yR + j);
            }
        }
        gain = gains[3];
        if (!triggered) {  // the last samples (or all of them) one by one
            for (; j < n; ++j) {
                const Stereo4 x = loadPair(xL + j, xR + j);
                Stereo4 s = x;
                if constexpr (Pre) s = filterStereo(kv.pre, preS, x);
                env = followEnvelope(env, envelopeLevel(s), kv.envelope);
                if constexpr (C == Capture::Record) storePair<false>(kept(s), writeL + j, writeR + j);
                if constexpr (Armed)
                    if (__builtin_expect(fires(env), 0)) break;
                finishOne(j, x);
            }
        }

        envelope = env;
        if constexpr (Pre) preS.store(core.pre.memory);
        if constexpr (P == Playback::PlayingFiltered) postS.store(core.post.memory);
        if constexpr (C == Capture::Record) audio.writeIndex += j;
        if (C == Capture::None && audio.recording == 0 && audio.holdOff) audio.holdOffCount += j;
        if (noteCounting()) audio.noteDelay -= j;
        if (P != Playback::Stopped && j > 0) {
            audio.playPosition += static_cast<float>(j);
            audio.playIndex = first + j - 1;
            audio.loopGain = gain;
            audio.fadeState = fadeAfterRun;
        }
        return j;
    }

    FreezeCore& core;
    const RunVectors& k;
    const float* const inL;
    const float* const inR;
    float* const outL;
    float* const outR;
    float* const recL;
    float* const recR;

    // The audio state, and values that stay for the whole block.
    CoreState& audio;
    const int32_t repeatLimit;
    const int32_t fadeLength;
    const int32_t noteLoopLength;
    Stereo4 envelope;

    // The editor's values for the current run.
    float threshold = 0.0f;
    bool inverse = false;
    bool noteRecordStart = false;
    bool midiNoteControl = false;
    int32_t sequenceLength = kMaxSequenceLength;
    bool preOn = false;
    bool postOn = false;

    // The gain over the current plain run.
    float gainStep = 0.0f;
    FadeState fadeAfterRun = FadeState::Steady;
};

template <bool Accumulate, class Observer, class Time>
void FreezeCore::processBlock(const float* const* inputs, float* const* outputs, int32_t frames, Time& time,
                              Observer observer) {
    // The coefficients use the sample rate of the previous block; the time is asked after them.
    designForBlock(values.preFilter, pre, audio.hostSampleRate);
    designForBlock(values.postFilter, post, audio.hostSampleRate);
    prepareBlock(time.blockTime());
    if (frames <= 0 || !inputs || !outputs) return;
    if (!inputs[0] || !inputs[1] || !outputs[0] || !outputs[1] || !bufL || !bufR) return;
    Block<Observer> run(*this, inputs, outputs, observer);
    run.template run<Accumulate>(frames);
    run.save();
}
