// The signal path: the block preparation, then the block's samples in runs between events.
//
// The engine's state changes only at events: a trigger, the end of a recording, the end of
// the hold-off, the pending note coming due, a loop wrap, the fade zone, the end of a gain
// ramp. Between them the work per sample is fixed, and a run of such samples goes through one
// tight loop compiled for exactly what runs (pre filter or not, recording, waiting for a
// trigger or neither, loop playing or stopped, post filter or not): envelope, filters,
// recorder, gain, reducer and mix side by side, both channels in one register, so that the
// envelope's and the filters' recursions (the only chains a sample must wait for) run beside
// each other and everything else fits under their latency. A sample where an event falls goes
// through the steps of Part 2.2 one by one, as named below. Which loop runs is decided once per
// run; the values the editor may change during a block (threshold, inverse, filter types,
// sequence length, mode flags) are read at the start of every run of at most 64 samples.
#include "engine/FreezeCore.h"

#include <algorithm>
#include <cmath>

#include "engine/Ranges.h"
#include "engine/StereoVector.h"

namespace {

constexpr int32_t kDefaultTempo = 120;
// Whole beats per minute and hertz the engine works with; larger answers are taken as these.
constexpr int32_t kMaxTempo = 1000000;
constexpr int32_t kMaxHostSampleRate = 1000000000;
constexpr double kLn001 = -4.60517018598809136804;  // ln(0.01)
constexpr int32_t kHeldRepeatLimit = 9999999;       // a note-on repeats the loop until a note-off
// The longest stretch between two reads of the values the editor may change mid-block.
constexpr int32_t kMaxRun = 64;

// Coefficient that brings the follower to 1 % of a step in the given milliseconds.
float envelopeCoefficient(double milliseconds, int32_t sampleRate) {
    return static_cast<float>(std::exp(kLn001 / (milliseconds * sampleRate * 0.001)));
}

// What a run of plain samples does with its input.
enum class Capture { None, Record, Armed };  // neither, the recorder runs, the trigger may fire
enum class Playback { Stopped, Playing, PlayingFiltered };

}  // namespace

FreezeCore::FreezeCore() : bufL(new float[kBufferLength]()), bufR(new float[kBufferLength]()) {}

void FreezeCore::clearBuffers() {
    std::fill(bufL.get(), bufL.get() + kBufferLength, 0.0f);
    std::fill(bufR.get(), bufR.get() + kBufferLength, 0.0f);
}

void FreezeCore::noteOn(int32_t note, int32_t deltaFrames) {
    // Every semitone changes the length: the exponent is a real division.
    const double frequency = 440.0 * std::pow(2.0, (static_cast<double>(note) - 57.0) / 12.0);
    if (values.repeatTillNoteOff) audio.repeatLimit = kHeldRepeatLimit;
    const int32_t steps = clampTo<int32_t>(values.sizeSteps, 1, kMaxSteps);
    audio.noteLoopLength = truncToInt((1.0 / frequency) * audio.hostSampleRate * steps, 0, kMaxLoopLength);
    audio.notePending = true;
    // An offset before the block cannot be honoured later than its first sample; counting
    // a negative one down would keep the note pending for ever.
    audio.noteDelay = deltaFrames < 0 ? 0 : deltaFrames;
}

void FreezeCore::noteOff() {
    if (values.repeatTillNoteOff) audio.repeatLimit = 1;
}

void FreezeCore::updateFilter(int32_t which) {
    const bool isPre = which == 1;
    const FilterSettings& settings = isPre ? values.preFilter : values.postFilter;
    Filter& filter = isPre ? pre : post;
    const int32_t type = settings.type;
    // OFF (or a stored type outside 0..3) needs no coefficients.
    if (!isRealType(type)) return;
    if (filter.update(type, settings.cutoff, settings.bandwidth, audio.hostSampleRate) == Filter::Change::Restart)
        filter.restart();
}

void FreezeCore::takeTime(const HostTime* time) {
    // No information: keep what the last block used (44100 Hz and 120 BPM before any).
    if (!time) return;
    // A rate of 0, a negative one or NaN carries no information either.
    if (time->sampleRate >= 1.0) audio.hostSampleRate = truncToInt(time->sampleRate, 1, kMaxHostSampleRate);
    audio.tempo = time->tempo >= 1.0 ? truncToInt(time->tempo, 1, kMaxTempo) : kDefaultTempo;
}

FreezeCore::BlockValues FreezeCore::prepareBlock(TimeSource& time) {
    // The coefficients use the sample rate of the previous block.
    updateFilter(1);
    updateFilter(2);
    takeTime(time.blockTime());
    const int32_t rate = audio.hostSampleRate;

    // Samples per grid unit: (240000 / bpm) ms per bar, / 256, at whole kilohertz.
    if (audio.tempo != gridTempo || rate != gridSampleRate) {
        const int32_t kiloHertz = rate / 1000;
        gridUnit = std::trunc(static_cast<double>(240000 / audio.tempo) * kiloHertz * 0.00390625);
        gridTempo = audio.tempo;
        gridSampleRate = rate;
    }

    // Step offset -8..+8 units; a step value from a chunk may be anything, NaN counts as 0.5.
    int32_t step = audio.stepIndex;
    if (step < 0 || step >= kNumStepValues) step = 0;
    const int32_t offset = truncToInt(16.0f * values.stepValues[step].load() - 8.0f, -8, 8, 0);
    int32_t units = clampTo<int32_t>(values.sizeSteps, 1, kMaxSteps) + offset;
    if (units <= 0) units = 1;
    if (!values.midiNoteControl) audio.loopLength = truncToInt(units * gridUnit, 0, kMaxLoopLength);

    // Parameters are stored as the host gave them; outside 0..1 they act as the nearest end.
    const float attack = clampTo(values.programValues[kParamAttack].load(), 0.0f, 1.0f);
    const float release = clampTo(values.programValues[kParamRelease].load(), 0.0f, 1.0f);
    if (attack != envelopeAttack || release != envelopeRelease || rate != envelopeSampleRate) {
        attackCoefficient = envelopeCoefficient(200.0 * static_cast<double>(attack) + 2.0, rate);
        releaseCoefficient = envelopeCoefficient(500.0 * static_cast<double>(release) + 2.0, rate);
        envelopeAttack = attack;
        envelopeRelease = release;
        envelopeSampleRate = rate;
    }

    const float knak = clampTo(values.programValues[kParamKnak].load(), 0.0f, 1.0f);
    audio.fadeLength = fadeLengthFor(knak, audio.loopLength);

    BlockValues block;
    block.attackCoefficient = attackCoefficient;
    block.releaseCoefficient = releaseCoefficient;
    block.wetGain = clampTo(values.programValues[kParamDryWet].load(), 0.0f, 1.0f);
    block.dryGain = 1.0f - block.wetGain;

    const float bits = clampTo(values.bitsValue.load(), 1.0f, 32.0f);
    if (bits != quantisationBits) {
        quantisation = static_cast<float>(std::exp2(static_cast<double>(bits)));
        inverseQuantisation = 1.0f / quantisation;
        quantisationBits = bits;
    }
    block.quantisation = quantisation;
    block.inverseQuantisation = inverseQuantisation;

    if (!values.repeatTillNoteOff) {
        const float repeat = clampTo(values.programValues[kParamRepeat].load(), 0.0f, 1.0f);
        audio.repeatLimit = static_cast<int32_t>(31.0f * repeat + 2.0f);
    }
    return block;
}

// One block's samples. The audio state lives here, in locals the compiler can keep in
// registers, from the first sample to the last, and goes back to the core at the end.
class FreezeCore::Block {
public:
    // Per-block vector values live on the stack only: 32-bit Windows heaps align to 8 bytes,
    // too little for SSE operands, so the core holds none.
    struct Vectors {
        StereoCoefficients pre, post;
        Stereo4 wet, dry, quantisation, inverseQuantisation, attack, release;
    };

    Block(FreezeCore& owner, Vectors& vectors, const float* const* inputs, float* const* outputs)
        : core(owner), k(vectors), inL(inputs[0]), inR(inputs[1]), outL(outputs[0]), outR(outputs[1]),
          recL(owner.bufL.get()), recR(owner.bufR.get()) {
        const CoreState& a = core.audio;
        envelope = Stereo4{a.envelope, 0.0f, 0.0f, 0.0f};
        recording = a.recording;
        writeIndex = a.writeIndex;
        holdOff = a.holdOff;
        holdOffCount = a.holdOffCount;
        playPosition = a.playPosition;
        playIndex = a.playIndex;
        loopLength = a.loopLength;
        repeatCount = a.repeatCount;
        repeatLimit = a.repeatLimit;
        stepIndex = a.stepIndex;
        loopGain = a.loopGain;
        fadeState = a.fadeState;
        fadeLength = a.fadeLength;
        notePending = a.notePending;
        noteDelay = a.noteDelay;
        noteLoopLength = a.noteLoopLength;
        preDesigned = core.pre.design.type;
        postDesigned = core.post.design.type;
        preState = StereoState(core.pre.left, core.pre.right);
        postState = StereoState(core.post.left, core.post.right);
    }

    template <bool Accumulate>
    void run(int32_t frames) {
        for (int32_t i = 0; i < frames;) {
            const int32_t runEnd = std::min(frames, i + kMaxRun);
            readEditorValues();
            while (i < runEnd) {
                const int32_t plain = plainSamples(runEnd - i);
                if (plain == 0) {
                    eventSample<Accumulate>(i++);
                    continue;
                }
                const int32_t done = plainRun<Accumulate>(i, plain);
                i += done;
                if (done < plain) {  // the trigger fired in sample i
                    finishSample<Accumulate>(i, input(i));
                    ++i;
                }
            }
        }
    }

    void save() {
        CoreState& a = core.audio;
        a.envelope = envelope[0];
        a.recording = recording;
        a.writeIndex = writeIndex;
        a.holdOff = holdOff;
        a.holdOffCount = holdOffCount;
        a.playPosition = playPosition;
        a.playIndex = playIndex;
        a.loopLength = loopLength;
        a.repeatCount = repeatCount;
        a.stepIndex = stepIndex;
        a.loopGain = loopGain;
        a.fadeState = fadeState;
        a.notePending = notePending;
        a.noteDelay = noteDelay;
        preState.store(core.pre.left, core.pre.right);
        postState.store(core.post.left, core.post.right);
    }

private:
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

    bool playing() const { return repeatCount < repeatLimit; }
    bool noteCounting() const { return notePending && midiNoteControl; }

    // --- once per run: the values the editor may change while a block runs ---

    void readEditorValues() {
        const WorkingValues& v = core.values;
        threshold = v.threshold;
        inverse = v.inverse;
        noteRecordStart = v.noteRecordStart;
        midiNoteControl = v.midiNoteControl;
        sequenceLength = v.sequenceLength;
        preOn = switchFilter(v.preFilter, core.pre, preDesigned, k.pre, preState);
        postOn = switchFilter(v.postFilter, core.post, postDesigned, k.post, postState);
    }

    // Whether the filter runs; a type switched on (or changed) during the block gets its
    // coefficients at once, never running with coefficients made for another type.
    bool switchFilter(const FilterSettings& settings, Filter& filter, int32_t& designed, StereoCoefficients& c,
                      StereoState& state) {
        const int32_t type = settings.type;
        if (!isRealType(type)) return false;
        if (type != designed) {
            const Filter::Change change =
                filter.update(type, settings.cutoff, settings.bandwidth, core.audio.hostSampleRate);
            if (change == Filter::Change::Restart) restartStereo(filter.coefficients, state);
            c = StereoCoefficients(filter.coefficients);
            designed = type;
        }
        return true;
    }

    // --- the steps of one sample (Part 2.2), for the samples where an event falls ---

    template <bool Accumulate>
    void eventSample(int32_t i) {
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
        testTrigger();
        applyPendingNote();
        output<Accumulate>(i, loopOrDry(x));
    }

    // Step 2.
    Stereo4 preFilterStep(Stereo4 x) { return preOn ? filterStereo(k.pre, preState, x) : x; }

    // Step 3.
    void followEnvelopeStep(Stereo4 s) { envelope = followEnvelope(envelope, envelopeLevel(s), k.attack, k.release); }

    // Step 4: slots 1..loopLength; slot 0 stays silent. A NaN or infinity from the host is
    // frozen as silence: the loop would hand it back on every pass.
    void recordStep(Stereo4 s) {
        if (recording != 1) return;
        ++writeIndex;
        if (writeIndex > loopLength) {
            recording = 0;
            writeIndex = 0;
            return;
        }
        recL[writeIndex] = std::isfinite(s[0]) ? s[0] : 0.0f;
        recR[writeIndex] = std::isfinite(s[1]) ? s[1] : 0.0f;
    }

    // Step 5: the hold-off counts only while the recorder is idle.
    void countHoldOff() {
        if (recording != 0 || !holdOff) return;
        ++holdOffCount;
        if (holdOffCount >= kHoldOffSamples) holdOff = false;
    }

    bool triggerArmed() const { return recording == 0 && !holdOff && !noteRecordStart; }
    bool fires(float level) const { return inverse ? level < threshold : level > threshold; }

    // Step 6.
    void testTrigger() {
        if (!triggerArmed() || !fires(envelope[0])) return;
        recording = 1;
        holdOffCount = 0;
        holdOff = true;
        repeatCount = 0;
        fadeState = FadeState::FadingOut;
        advanceStep();
    }

    // The step sequencer: the next step, or 0 past the sequence length (and never past the
    // stored steps, whatever the sequence length says).
    void advanceStep() {
        ++stepIndex;
        if (stepIndex > sequenceLength || stepIndex >= kNumStepValues) stepIndex = 0;
    }

    // Step 7 (Part 2.5).
    void applyPendingNote() {
        if (!noteCounting()) return;
        if (noteDelay != 0) {
            --noteDelay;
            return;
        }
        loopLength = noteLoopLength;
        repeatCount = 0;
        fadeState = FadeState::FadingOut;
        if (noteRecordStart) recording = 1;
        notePending = false;
    }

    // Step 8: the dry input while the loop is stopped; otherwise the next loop sample through
    // the gain ramp, the bit reducer and the post filter, mixed with the dry input (Part 2.4).
    Stereo4 loopOrDry(Stereo4 x) {
        if (!playing()) return x * k.dry;
        advancePlayback();
        advanceGainRamp(loopGain, fadeState, playIndex, fadeLength, loopLength);
        const Stereo4 loop = stereoPair(recL[playIndex], recR[playIndex]) * splat(loopGain);
        Stereo4 w = reduceBitsStereo(loop, k.quantisation, k.inverseQuantisation);
        if (postOn) w = filterStereo(k.post, postState, w);
        return w * k.wet + x * k.dry;
    }

    // Step 8a: the next slot, wrapping at the loop length; the wrap fades in and counts a pass.
    void advancePlayback() {
        playPosition += 1.0f;
        playIndex = static_cast<int32_t>(playPosition);
        if (playIndex < loopLength) return;
        playIndex = 0;
        playPosition = 0.0f;
        fadeState = FadeState::FadingIn;
        ++repeatCount;
    }

    // --- runs of plain samples ---

    // How many samples from here on change nothing but counters (at most `limit`): no
    // recording ends, no hold-off runs out, no note comes due, no wrap, no change of the gain
    // ramp. Also chooses the gain step of the run and the ramp's state after it.
    int32_t plainSamples(int32_t limit) {
        int32_t n = limit;
        if (recording == 1)
            n = std::min(n, std::max(0, loopLength - writeIndex));
        else if (holdOff)
            n = std::min(n, std::max(0, kHoldOffSamples - 1 - holdOffCount));
        if (noteCounting()) n = std::min(n, noteDelay);
        if (n > 0 && playing()) {
            const int32_t next = static_cast<int32_t>(playPosition) + 1;  // the slot read first
            n = std::min(n, std::max(0, loopLength - next));
            if (n > 0) n = plainGain(next, n);
        }
        return n;
    }

    // The gain over a run whose first slot is `next`: constant, or a ramp of 0.022 per sample
    // that stops short of its end (0 or 1, where the ramp settles) and of the fade zone.
    int32_t plainGain(int32_t next, int32_t n) {
        // The first sample of the run that lies in the fade zone (next + j + fadeLength > loopLength).
        const int32_t zone = loopLength - fadeLength - next + 1;
        if (zone <= 0) {  // in the zone: fading out, or silent once faded
            fadeAfterRun = loopGain > 0.0f ? FadeState::FadingOut : FadeState::Steady;
            if (loopGain > 0.0f) return rampDown(n);
            gainStep = 0.0f;
            return n;
        }
        n = std::min(n, zone);
        fadeAfterRun = fadeState;
        switch (fadeState) {
        case FadeState::FadingOut: return rampDown(n);
        case FadeState::FadingIn: return rampUp(n);
        default: gainStep = 0.0f; return n;
        }
    }

    int32_t rampDown(int32_t n) {
        gainStep = -kFadeStep;  // the same rounding as subtracting the step
        float gain = loopGain;
        for (int32_t j = 0; j < n; ++j) {
            gain = gain - kFadeStep;
            if (gain <= 0.0f) return j;
        }
        return n;
    }

    int32_t rampUp(int32_t n) {
        gainStep = kFadeStep;
        float gain = loopGain;
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
        const Capture capture = recording == 1 ? Capture::Record : (triggerArmed() ? Capture::Armed : Capture::None);
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
        default: return plainRun<Accumulate, Pre, Capture::None>(playback, start, n);
        }
    }

    template <bool Accumulate, bool Pre, Capture C>
    int32_t plainRun(Playback playback, int32_t start, int32_t n) {
        switch (playback) {
        case Playback::Playing: return plainLoop<Accumulate, Pre, C, Playback::Playing>(start, n);
        case Playback::PlayingFiltered: return plainLoop<Accumulate, Pre, C, Playback::PlayingFiltered>(start, n);
        default: return plainLoop<Accumulate, Pre, C, Playback::Stopped>(start, n);
        }
    }

    // The samples start .. start + n - 1, every step of Part 2.2 that they need in one loop.
    template <bool Accumulate, bool Pre, Capture C, Playback P>
    __attribute__((noinline)) int32_t plainLoop(int32_t start, int32_t n) {
        const float* const xL = inL + start;
        const float* const xR = inR + start;
        float* const yL = outL + start;
        float* const yR = outR + start;
        float* const writeL = recL + writeIndex + 1;
        float* const writeR = recR + writeIndex + 1;
        const int32_t first = static_cast<int32_t>(playPosition) + 1;
        const float* const readL = recL + first;
        const float* const readR = recR + first;
        // Read through a pointer the compiler cannot follow, the per-block vectors stay memory
        // operands and leave the registers to the recursions (envelope, filters, gain), which
        // would otherwise be spilled and lengthened by a store and a load every sample.
        Vectors* kp = &k;
        asm("" : "+r"(kp));
        const Vectors& kv = *kp;
        Stereo4 env = envelope;
        StereoState preS = preState;
        StereoState postS = postState;
        float gain = loopGain;
        const float step = gainStep;
        const float level = threshold;
        const bool below = inverse;

        int32_t j = 0;
        for (; j < n; ++j) {
            const Stereo4 x = stereoPair(xL[j], xR[j]);
            Stereo4 s = x;
            if constexpr (Pre) s = filterStereo(kv.pre, preS, x);
            env = followEnvelope(env, envelopeLevel(s), kv.attack, kv.release);
            if constexpr (C == Capture::Record) {
                const Stereo4 kept = select(stereoAbs(s) < splat(INFINITY), s, splat(0.0f));
                writeL[j] = kept[0];
                writeR[j] = kept[1];
            }
            if constexpr (C == Capture::Armed) {
                if (__builtin_expect(below ? env[0] < level : env[0] > level, 0)) break;
            }
            Stereo4 y;
            if constexpr (P == Playback::Stopped) {
                y = x * kv.dry;
            } else {
                gain = gain + step;
                Stereo4 w = reduceBitsStereo(stereoPair(readL[j], readR[j]) * splat(gain), kv.quantisation,
                                             kv.inverseQuantisation);
                if constexpr (P == Playback::PlayingFiltered) w = filterStereo(kv.post, postS, w);
                y = w * kv.wet + x * kv.dry;
            }
            if constexpr (Accumulate) {
                yL[j] += y[0];
                yR[j] += y[1];
            } else {
                yL[j] = y[0];
                yR[j] = y[1];
            }
        }

        envelope = env;
        if constexpr (Pre) preState = preS;
        if constexpr (P == Playback::PlayingFiltered) postState = postS;
        if constexpr (C == Capture::Record) writeIndex += j;
        if (C == Capture::None && recording == 0 && holdOff) holdOffCount += j;
        if (noteCounting()) noteDelay -= j;
        if (P != Playback::Stopped && j > 0) {
            playPosition += static_cast<float>(j);
            playIndex = first + j - 1;
            loopGain = gain;
            fadeState = fadeAfterRun;
        }
        return j;
    }

    FreezeCore& core;
    Vectors& k;
    const float* const inL;
    const float* const inR;
    float* const outL;
    float* const outR;
    float* const recL;
    float* const recR;

    // The audio state (CoreState) while the block runs.
    Stereo4 envelope;
    int32_t recording;
    int32_t writeIndex;
    bool holdOff;
    int32_t holdOffCount;
    float playPosition;
    int32_t playIndex;
    int32_t loopLength;
    int32_t repeatCount;
    int32_t repeatLimit;
    int32_t stepIndex;
    float loopGain;
    FadeState fadeState;
    int32_t fadeLength;
    bool notePending;
    int32_t noteDelay;
    int32_t noteLoopLength;
    StereoState preState{BiquadState{}, BiquadState{}};
    StereoState postState{BiquadState{}, BiquadState{}};
    int32_t preDesigned;   // the type the running coefficients were made for (0: none)
    int32_t postDesigned;

    // The editor's values for the current run.
    float threshold = 0.0f;
    bool inverse = false;
    bool noteRecordStart = false;
    bool midiNoteControl = false;
    int32_t sequenceLength = kMaxSteps;
    bool preOn = false;
    bool postOn = false;

    // The gain over the current plain run.
    float gainStep = 0.0f;
    FadeState fadeAfterRun = FadeState::Steady;
};

template <bool Accumulate>
void FreezeCore::processBlock(const float* const* inputs, float* const* outputs, int32_t frames,
                              TimeSource& time) {
    const BlockValues block = prepareBlock(time);
    if (frames <= 0 || !inputs || !outputs) return;
    if (!inputs[0] || !inputs[1] || !outputs[0] || !outputs[1] || !bufL || !bufR) return;
    Block::Vectors vectors{StereoCoefficients(pre.coefficients),
                           StereoCoefficients(post.coefficients),
                           splat(block.wetGain),
                           splat(block.dryGain),
                           splat(block.quantisation),
                           splat(block.inverseQuantisation),
                           splat(block.attackCoefficient),
                           splat(block.releaseCoefficient)};
    Block run(*this, vectors, inputs, outputs);
    run.run<Accumulate>(frames);
    run.save();
}

void FreezeCore::process(const float* const* inputs, float* const* outputs, int32_t frames, TimeSource& time) {
    processBlock<false>(inputs, outputs, frames, time);
}

void FreezeCore::processAdding(const float* const* inputs, float* const* outputs, int32_t frames,
                               TimeSource& time) {
    processBlock<true>(inputs, outputs, frames, time);
}
