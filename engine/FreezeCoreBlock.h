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

#define BRINDLE_RUN_STEP __attribute__((always_inline))

// One block's samples. The audio state stays in the core (the editor reads some of it): the
// scalars (the follower too) in its CoreState, the filters' memories and two-lane coefficients
// in its filters and vectors, taken into registers for each run and stored back after it, so
// the follower's chain goes through memory once per run. The observer is a base, so that
// NoObserver takes no room and its empty hooks leave the compiled block as it is without one.
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
        : Observer(observer), core(owner), inL(inputs[0]), inR(inputs[1]), outL(outputs[0]), outR(outputs[1]),
          audio(owner.audio) {}

    // Inline: a small block is mostly this set-up, which costs less without a call between.
    template <bool Accumulate>
    __attribute__((always_inline)) void run(int32_t frames) {
        for (int32_t i = 0; i < frames;) {
            const int32_t runEnd = std::min(frames, i + kMaxRun);
            readEditorValues();
            while (i < runEnd) {
                const int32_t plain = plainSamples(runEnd - i);
                if (plain == 0) {
                    eventSample<Accumulate>(i++);
                    observe().level(i, audio.follower, threshold);
                    continue;
                }
                const int32_t done = plainRun<Accumulate>(i, plain);
                i += done;
                if (done < plain) {  // the trigger fired in sample i
                    finishSample<Accumulate>(i, input(i));
                    ++i;
                }
                observe().level(i, audio.follower, threshold);
            }
        }
    }

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

    // The follower's value in lane 0, as the recursion takes it.
    Stereo4 envelopeVector() const { return Stereo4{audio.follower, 0.0f, 0.0f, 0.0f}; }

    bool playing() const { return audio.repeatCount < audio.repeatLimit; }
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
    // coefficients at once, never running with coefficients made for another type or for
    // settings older than the block. Inline:
    // every run asks, and the answer is nearly always the last one.
    bool switchFilter(const FilterSettings& settings, Filter& filter, StereoCoefficients& coefficients,
                      uint32_t& coefficientsRevision) {
        const int32_t type = settings.type;
        if (!isRealType(type)) return false;
        if (__builtin_expect(type != filter.design.type || coefficientsRevision != filter.revision || filter.stale,
                             0))
            designFilter(type, settings, filter, coefficients, coefficientsRevision);
        return true;
    }

    // A design for the type (its memory restarted where the design jumped far), and the
    // coefficients in every lane for the two-lane code.
    __attribute__((noinline)) void designFilter(int32_t type, const FilterSettings& settings, Filter& filter,
                                                StereoCoefficients& coefficients,
                                                uint32_t& coefficientsRevision) {
        if (type != filter.design.type || filter.stale) {
            filter.update(type, settings.cutoff, settings.bandwidth, core.audio.hostSampleRate);
            filter.stale = false;
        }
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
    Stereo4 preFilterStep(Stereo4 x) { return preOn ? filterStep(core.vectors.pre, core.pre, x) : x; }

    // One step of a filter whose memory stays in the core.
    static Stereo4 filterStep(const StereoCoefficients& c, Filter& filter, Stereo4 x) {
        StereoState s(filter.memory);
        const Stereo4 y = filterStereo(c, s, x);
        s.store(filter.memory);
        return y;
    }

    // Step 3.
    void followEnvelopeStep(Stereo4 s) {
        audio.setFollower(followEnvelope(envelopeVector(), envelopeLevel(s), core.vectors.envelope)[0]);
    }

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
        core.bufL[audio.writeIndex] = std::isfinite(s[0]) ? s[0] : 0.0f;
        core.bufR[audio.writeIndex] = std::isfinite(s[1]) ? s[1] : 0.0f;
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
        if (!triggerArmed() || !fires(audio.follower)) return;
        audio.recording = 1;
        audio.holdOffCount = 0;
        audio.holdOff = true;
        audio.repeatCount = 0;
        audio.fadeState = FadeState::FadingOut;
        advanceStep();
        observe().trigger(audio.follower, audio);
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
        audio.loopLength = audio.noteLoopLength;
        audio.repeatCount = 0;
        audio.fadeState = FadeState::FadingOut;
        if (noteRecordStart) audio.recording = 1;
        audio.notePending = false;
        observe().noteApplied(audio);
    }

    // Step 8: the dry input while the loop is stopped; otherwise the next loop sample through
    // the gain ramp, the bit reducer and the post filter, mixed with the dry input.
    Stereo4 loopOrDry(Stereo4 x) {
        const RunVectors& k = core.vectors;
        if (!playing()) return x * k.dry;
        advancePlayback();
        advanceGainRamp(audio.loopGain, audio.fadeState, audio.playIndex, audio.fadeLength, audio.loopLength);
        const Stereo4 loop =
            stereoPair(core.bufL[audio.playIndex], core.bufR[audio.playIndex]) * splat(audio.loopGain);
        Stereo4 w = reduceBitsStereo(loop, k.quantisation, k.inverseQuantisation);
        if (postOn) w = filterStep(k.post, core.post, w);
        return w * k.wet + x * k.dry;
    }

    // Step 8a: the next slot, wrapping at the loop length; the wrap fades in and counts a pass.
    void advancePlayback() {
        audio.playPosition += 1.0f;
        audio.playIndex = static_cast<int32_t>(audio.playPosition);
        if (audio.playIndex < audio.loopLength) return;
        observe().wrap(audio, audio.repeatLimit);
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
        // The first sample of the run that lies in the fade zone
        // (next + j + audio.fadeLength > audio.loopLength).
        const int32_t zone = audio.loopLength - audio.fadeLength - next + 1;
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

    // The samples start .. start + n - 1, every per-sample step that they need in one loop
    // (PlainLoop): four samples per step where no filter runs, two samples' pairs where
    // filters need the pairs, and what is left (or all, where the recorder writes a slot the
    // same step reads) one by one.
    template <bool Accumulate, bool Pre, Capture C, Playback P>
    __attribute__((noinline)) int32_t plainLoop(int32_t start, int32_t n) {
        PlainLoop<Accumulate, Pre, C, P> loop(*this, start);
        int32_t j = 0;
        bool triggered = false;
        if (loop.canGroup()) triggered = loop.grouped(j, n);
        if (!triggered) loop.oneByOne(j, n);
        loop.finish(j);
        return j;
    }

    // One plain run in registers: its pointers, the recursions' memories (envelope, filters)
    // and the gain, taken from the core when it starts and given back by finish. Each member
    // function is one named step of the run, always inlined into plainLoop: a step left as a
    // call (g++ -O2 left some) would keep the run's state in memory.
    template <bool Accumulate, bool Pre, Capture C, Playback P>
    class PlainLoop {
    public:
        static constexpr bool kArmed = C == Capture::Armed || C == Capture::ArmedBelow;
        static constexpr bool kRecord = C == Capture::Record;
        static constexpr bool kPlaying = P != Playback::Stopped;
        static constexpr bool kPost = P == Playback::PlayingFiltered;
        static constexpr bool kUnfiltered = !Pre && !kPost;

        BRINDLE_RUN_STEP PlainLoop(Block& block, int32_t start)
            : b(block), kv(block.core.vectors), xL(block.inL + start), xR(block.inR + start),
              yL(block.outL + start), yR(block.outR + start),
              writeL(block.core.bufL.get() + block.audio.writeIndex + 1),
              writeR(block.core.bufR.get() + block.audio.writeIndex + 1),
              first(static_cast<int32_t>(block.audio.playPosition) + 1), readL(block.core.bufL.get() + first),
              readR(block.core.bufR.get() + first), env(block.envelopeVector()), gain(block.audio.loopGain),
              step(kPlaying ? block.gainStep : 0.0f), threshold(block.threshold) {}

        // Whether samples may go through in groups: the recorder's writes of a group come
        // before its reads, which in the order of the samples differs only where a sample reads
        // a slot that a later sample of the group writes.
        BRINDLE_RUN_STEP bool canGroup() const {
            const int32_t ahead = first - (b.audio.writeIndex + 1);
            return !(kRecord && kPlaying && ahead >= 1 && ahead <= (kUnfiltered ? 3 : 1));
        }

        // The samples in groups (byFours where no filter runs, otherwise byTwos), compiled
        // apart for a steady gain, which needs none of the ramp's additions (adding a step of 0
        // changes no gain the ramp can reach: never -0), and a ramp. True when the trigger
        // fired (j is then its sample).
        BRINDLE_RUN_STEP bool grouped(int32_t& j, int32_t n) {
            if (kPlaying && step != 0.0f) return kUnfiltered ? byFours<true>(j, n) : byTwos<true>(j, n);
            return kUnfiltered ? byFours<false>(j, n) : byTwos<false>(j, n);
        }

        // Four samples per step, each channel in its own vector; the envelope steps through
        // them one by one. True when the trigger fired (j is then its sample).
        template <bool Ramp>
        BRINDLE_RUN_STEP bool byFours(int32_t& j, int32_t n) {
            for (; j + 4 <= n; j += 4) {
                const Stereo4 xl = simd::load4(xL + j);
                const Stereo4 xr = simd::load4(xR + j);
                // After the first group, the outputs come before the follower's steps, so that
                // the last group's outputs do not stand between this run's last step and the
                // next run's first: the processor reaches the next block's steps sooner. A
                // trigger rewrites the outputs from its sample on (not where they are added to,
                // nor where the recorder writes what the loop reads).
                const bool outputFirst = !Accumulate && !kRecord && j > 0;
                const float gainBefore = gain;
                if (outputFirst) playAndMixFour<Ramp>(j, xl, xr);
                const int32_t fired = followFour(stereoAbs(xl) * splat(0.5f) + stereoAbs(xr) * splat(0.5f));
                if (kArmed && __builtin_expect(fired >= 0, 0)) {  // the samples before it, one by one
                    if (outputFirst) {
                        gain = gainBefore;
                        restoreInputs(j, xl, xr);
                    }
                    for (int32_t i = 0; i < fired; ++i) finishOne(j + i, loadPair(xL + j + i, xR + j + i));
                    j += fired;
                    return true;
                }
                if constexpr (kRecord) {
                    simd::store4(writeL + j, kept(xl));
                    simd::store4(writeR + j, kept(xr));
                }
                if (!outputFirst) playAndMixFour<Ramp>(j, xl, xr);
            }
            return false;
        }

        // Two samples' pairs per step: the filters and the envelope step through the two
        // samples, the rest works on both at once; the filters' memories as StereoTwoStates
        // meanwhile, taken from the filters and given back. True when the trigger fired (j is
        // then its sample).
        template <bool Ramp>
        BRINDLE_RUN_STEP bool byTwos(int32_t& j, int32_t n) {
            Stereo4 gains = splat(gain);  // the gains of the step's two samples
            BiquadPairState& preMemory = b.core.pre.memory;
            BiquadPairState& postMemory = b.core.post.memory;
            StereoTwoState preTwo{};
            StereoTwoState postTwo{};
            if constexpr (Pre) preTwo = StereoTwoState(preMemory);
            if constexpr (kPost) postTwo = StereoTwoState(postMemory);
            for (; j + 2 <= n; j += 2) {
                const Stereo4 x = loadPairs(xL + j, xR + j);
                Stereo4 s = x;  // what the recorder takes: the pre filter's output
                const StereoTwoState preBefore = preTwo;
                if constexpr (Pre) s = filterStereoTwo(kv.pre, preTwo, x);
                const Stereo4 levels = envelopeLevel(s);  // the second sample's in lane 2
                gain = gains[3];
                if (follow(levels)) {  // in the first sample: the pre filter stepped it alone
                    if constexpr (Pre) StereoTwoState(afterFirstOfTwo(preBefore, x, s)).store(preMemory);
                    if constexpr (kPost) postTwo.store(postMemory);
                    return true;
                }
                if (follow(upperHalf(levels))) {  // in the second sample: the first one alone
                    if constexpr (Pre) preTwo.store(preMemory);
                    if constexpr (kPost) postTwo.store(postMemory);
                    oneStepping([&] { finishOne(j, x); });
                    ++j;
                    return true;
                }
                if constexpr (kRecord) storePairs<false>(kept(s), writeL + j, writeR + j);
                storePairs<Accumulate>(playAndMixTwo<Ramp>(j, x, gains, postTwo), yL + j, yR + j);
            }
            gain = gains[3];
            if constexpr (Pre) preTwo.store(preMemory);
            if constexpr (kPost) postTwo.store(postMemory);
            return false;
        }

        // A trigger in a group whose outputs went first: where the host processes in place (an
        // output channel is an input channel), those outputs overwrote the group's inputs,
        // which the samples from the trigger on read again. They are put back.
        BRINDLE_RUN_STEP void restoreInputs(int32_t j, Stereo4 xl, Stereo4 xr) {
            if (yL == xL) simd::store4(yL + j, xl);
            if (yL == xR) simd::store4(yL + j, xr);
            if (yR == xL) simd::store4(yR + j, xl);
            if (yR == xR) simd::store4(yR + j, xr);
        }

        // One sample per step, to the end of the run or its trigger.
        BRINDLE_RUN_STEP void oneByOne(int32_t& j, int32_t n) {
            if (j >= n) return;
            oneStepping([&] {
                for (; j < n; ++j) {
                    const Stereo4 x = loadPair(xL + j, xR + j);
                    Stereo4 s = x;
                    if constexpr (Pre) s = filterStereo(kv.pre, preS, x);
                    const bool fired = follow(envelopeLevel(s));
                    if constexpr (kRecord) storePair<false>(kept(s), writeL + j, writeR + j);
                    if (fired) break;
                    finishOne(j, x);
                }
            });
        }

        // Steps of one sample, with the filters' memories taken as pairs and given back.
        template <class Steps>
        BRINDLE_RUN_STEP void oneStepping(Steps steps) {
            if constexpr (Pre) preS = StereoState(b.core.pre.memory);
            if constexpr (kPost) postS = StereoState(b.core.post.memory);
            steps();
            if constexpr (Pre) preS.store(b.core.pre.memory);
            if constexpr (kPost) postS.store(b.core.post.memory);
        }

        // The run's j samples done: the registers back to the core and the counters on.
        BRINDLE_RUN_STEP void finish(int32_t j) {
            CoreState& state = b.audio;
            state.setFollower(env[0]);
            if constexpr (kRecord) state.writeIndex += j;
            if (C == Capture::None && state.recording == 0 && state.holdOff) state.holdOffCount += j;
            if (b.noteCounting()) state.noteDelay -= j;
            if (kPlaying && j > 0) {
                state.playPosition += static_cast<float>(j);
                state.playIndex = first + j - 1;
                state.loopGain = gain;
                state.fadeState = b.fadeAfterRun;
            }
        }

    private:
        // Step 3 for one sample (lane 0 of level); whether the trigger fires there.
        BRINDLE_RUN_STEP bool follow(Stereo4 level) {
            env = followEnvelope(env, level, kv.envelope);
            if constexpr (!kArmed) return false;
            const bool firing = C == Capture::ArmedBelow ? env[0] < threshold : env[0] > threshold;
            return __builtin_expect(firing, 0);
        }

        // Step 3 for four samples' levels; the sample where the trigger fired, or -1.
        BRINDLE_RUN_STEP int32_t followFour(Stereo4 levels) {
            if (follow(levels)) return 0;
            if (follow(simd::shuffle<1, 1, 1, 1>(levels))) return 1;
            if (follow(simd::shuffle<2, 2, 2, 2>(levels))) return 2;
            if (follow(simd::shuffle<3, 3, 3, 3>(levels))) return 3;
            return -1;
        }

        // Step 4's value: a NaN or infinity from the host is frozen as silence.
        BRINDLE_RUN_STEP static Stereo4 kept(Stereo4 s) {
            return select(stereoAbs(s) < splat(INFINITY), s, splat(0.0f));
        }

        // Steps 6 to 9 of one sample, without a trigger: the loop's next sample (gain, bits,
        // post filter) mixed with the dry input, or the dry input alone.
        BRINDLE_RUN_STEP void finishOne(int32_t j, Stereo4 x) {
            Stereo4 y;
            if constexpr (kPlaying) {
                gain = gain + step;
                Stereo4 w = reduceBitsStereo(loadPair(readL + j, readR + j) * splat(gain), kv.quantisation,
                                             kv.inverseQuantisation);
                if constexpr (kPost) w = filterStereo(kv.post, postS, w);
                y = w * kv.wet + x * kv.dry;
            } else {
                y = x * kv.dry;
            }
            storePair<Accumulate>(y, yL + j, yR + j);
        }

        // Steps 8 and 9 of four samples, each channel in its own vector.
        template <bool Ramp>
        BRINDLE_RUN_STEP void playAndMixFour(int32_t j, Stereo4 xl, Stereo4 xr) {
            Stereo4 yl = xl * kv.dry;
            Stereo4 yr = xr * kv.dry;
            if constexpr (kPlaying) {
                const Stereo4 g = Ramp ? rampFour() : splat(gain);
                const Stereo4 wl =
                    reduceBitsStereo(simd::load4(readL + j) * g, kv.quantisation, kv.inverseQuantisation);
                const Stereo4 wr =
                    reduceBitsStereo(simd::load4(readR + j) * g, kv.quantisation, kv.inverseQuantisation);
                yl = wl * kv.wet + yl;
                yr = wr * kv.wet + yr;
            }
            // Adding, the right channel is read after the left is stored: a host that mixes both
            // outputs into one buffer gets both added, as one sample at a time does.
            if constexpr (Accumulate) yl = simd::load4(yL + j) + yl;
            simd::store4(yL + j, yl);
            if constexpr (Accumulate) yr = simd::load4(yR + j) + yr;
            simd::store4(yR + j, yr);
        }

        // The gain ramp's next four steps, exactly as one after the other: g + s, + s, + s, + s.
        BRINDLE_RUN_STEP Stereo4 rampFour() {
            Stereo4 g = splat(gain) + splat(step);
            g = g + Stereo4{0.0f, step, step, step};
            g = g + Stereo4{0.0f, 0.0f, step, step};
            g = g + Stereo4{0.0f, 0.0f, 0.0f, step};
            gain = g[3];
            return g;
        }

        // Steps 8 and 9 of two samples' pairs; gains holds the last step's two gains and takes
        // this step's; postTwo is the post filter's memory.
        template <bool Ramp>
        BRINDLE_RUN_STEP Stereo4 playAndMixTwo(int32_t j, Stereo4 x, Stereo4& gains,
                                               StereoTwoState& postTwo) {
            if constexpr (!kPlaying) return x * kv.dry;
            // {g + s, g + s, (g + s) + s, (g + s) + s}: the ramp's two steps, exactly.
            if constexpr (Ramp) gains = (splat(gains[3]) + splat(step)) + Stereo4{0.0f, 0.0f, step, step};
            Stereo4 w = reduceBitsStereo(loadPairs(readL + j, readR + j) * gains, kv.quantisation,
                                         kv.inverseQuantisation);
            if constexpr (kPost) w = filterStereoTwo(kv.post, postTwo, w);
            return w * kv.wet + x * kv.dry;
        }

        Block& b;
        const RunVectors& kv;
        const float* const xL;
        const float* const xR;
        float* const yL;
        float* const yR;
        float* const writeL;
        float* const writeR;
        const int32_t first;  // the slot the run reads first
        const float* const readL;
        const float* const readR;
        Stereo4 env;
        // The filters' memories as pairs while samples go one by one (oneStepping); the groups
        // take them from the filters and give them back there.
        StereoState preS;
        StereoState postS;
        float gain;
        const float step;
        const float threshold;
    };

    FreezeCore& core;
    const float* const inL;
    const float* const inR;
    float* const outL;
    float* const outR;

    // The audio state. Its repeat limit, fade length and note loop length stay for the whole
    // block: only notes between blocks and the block preparation change them.
    CoreState& audio;

    // The editor's values for the current run, read at its start (readEditorValues) before
    // any use: not set here, so that a block does not store them twice.
    float threshold;
    bool inverse;
    bool noteRecordStart;
    bool midiNoteControl;
    int32_t sequenceLength;
    bool preOn;
    bool postOn;

    // The gain over the current plain run, chosen (plainGain) before a run that plays.
    float gainStep;
    FadeState fadeAfterRun;
};

inline bool FreezeCore::preparationHolds(const HostTime* time) const {
    // Nearly every block: nothing changed since the last one, checked in one pass whose
    // branches the processor predicts. The loop length and repeat limit are also compared:
    // notes may have set them (in a mode switched on and off again since), and the
    // preparation puts them back.
    const int32_t step = preparedStep();
    return prepared.valid && values.programRevision.load(std::memory_order_acquire) == prepared.revision &&
           step == prepared.step && sameBits(values.stepValues[step], prepared.stepValue) &&
           values.midiNoteControl == prepared.noteControl && values.repeatTillNoteOff == prepared.held &&
           (!time || (timeTaken && sameBits(*time, takenTime))) &&
           audio.loopLength == lengths.fadeLoopLength && (prepared.held || audio.repeatLimit == repeat.limit);
}

template <bool Accumulate, class Observer, class Time>
void FreezeCore::processBlock(const float* const* inputs, float* const* outputs, int32_t frames, Time& time,
                              Observer observer) {
    // The coefficients use the sample rate of the previous block; the time is asked after them.
    designForBlock(values.preFilter, pre, audio.hostSampleRate);
    designForBlock(values.postFilter, post, audio.hostSampleRate);
    const HostTime* blockTime = time.blockTime();
    if (!preparationHolds(blockTime)) prepareBlock(blockTime);
    if (frames <= 0 || !inputs || !outputs) return;
    if (!inputs[0] || !inputs[1] || !outputs[0] || !outputs[1]) return;
    Block<Observer> run(*this, inputs, outputs, observer);
    run.template run<Accumulate>(frames);
}

#undef BRINDLE_RUN_STEP
