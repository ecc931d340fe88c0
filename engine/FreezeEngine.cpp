// The audio path: block preparation and the per-sample order of follower, recorder, trigger,
// step sequencer, loop, output stage and mix.
#include <cmath>

#include "engine/FreezeEffect.h"
#include "engine/Ranges.h"
#include "engine/StereoVector.h"

namespace {

constexpr int32_t kDefaultTempo = 120;
// Whole beats per minute and hertz the engine works with; larger answers are taken as these.
constexpr int32_t kMaxTempo = 1000000;
constexpr int32_t kMaxHostSampleRate = 1000000000;
constexpr float kEnvelopeFlushLevel = 1e-10f;
constexpr double kLn001 = -4.60517018598809136804;  // ln(0.01)

bool isRealType(int32_t type) { return static_cast<uint32_t>(type) - 1u < static_cast<uint32_t>(kMaxFilterType); }

// restartFromInput for both channels of a filter's running state (a type switched mid-block).
void restartStereo(const BiquadCoefficients& c, StereoState& state) {
    BiquadState left;
    BiquadState right;
    state.store(left, right);
    restartFromInput(c, left);
    restartFromInput(c, right);
    state = StereoState(left, right);
}

int32_t clampedSizeSteps(int32_t steps) { return steps < 1 ? 1 : (steps > kMaxSteps ? kMaxSteps : steps); }

// Coefficient that brings the follower to 1 % of a step in the given milliseconds.
float envelopeCoefficient(double milliseconds, int32_t sampleRate) {
    return static_cast<float>(std::exp(kLn001 / (milliseconds * sampleRate * 0.001)));
}

}  // namespace

void FreezeEffect::takeTimeInfo() {
    const VstTimeInfo* info = hostGetTime(kVstPpqPosValid | kVstTempoValid);
    // No record: keep what the last block used (44100 Hz and 120 BPM before any).
    if (!info) return;
    const double rate = info->sampleRate;
    // A rate of 0, a negative one or NaN carries no information either.
    if (rate >= 1.0) hostSampleRate = truncToInt(rate, 1, kMaxHostSampleRate);
    const double bpm = info->tempo;
    tempo = bpm >= 1.0 ? truncToInt(bpm, 1, kMaxTempo) : kDefaultTempo;
}

FreezeEffect::BlockValues FreezeEffect::prepareBlock() {
    // The coefficients use the sample rate of the previous block.
    updateFilter(1);
    updateFilter(2);
    takeTimeInfo();

    // Samples per grid unit: (240000 / bpm) ms per bar, / 256, at whole kilohertz.
    if (tempo != gridTempo || hostSampleRate != gridSampleRate) {
        const int32_t kiloHertz = hostSampleRate / 1000;
        gridUnit = std::trunc(static_cast<double>(240000 / tempo) * kiloHertz * 0.00390625);
        gridTempo = tempo;
        gridSampleRate = hostSampleRate;
    }

    // Step offset -8..+8 units; a step value from a chunk may be anything, NaN counts as 0.5.
    int32_t step = stepIndex;
    if (step < 0 || step >= kNumStepValues) step = 0;
    const float stepValue = stepValues[step];
    const int32_t offset =
        std::isnan(stepValue) ? 0 : truncToInt(16.0f * stepValue - 8.0f, -8, 8);
    int32_t units = clampedSizeSteps(sizeSteps) + offset;
    if (units <= 0) units = 1;
    if (!midiNoteControl) loopLength = truncToInt(units * gridUnit, 0, kMaxLoopLength);

    // Parameters are stored as the host gave them; outside 0..1 they act as the nearest end.
    const float attack = clampOrLow(programValues[kParamAttack].load(), 0.0f, 1.0f);
    const float release = clampOrLow(programValues[kParamRelease].load(), 0.0f, 1.0f);
    if (attack != envelopeAttack || release != envelopeRelease ||
        hostSampleRate != envelopeSampleRate) {
        attackCoefficient = envelopeCoefficient(200.0 * static_cast<double>(attack) + 2.0, hostSampleRate);
        releaseCoefficient = envelopeCoefficient(500.0 * static_cast<double>(release) + 2.0, hostSampleRate);
        envelopeAttack = attack;
        envelopeRelease = release;
        envelopeSampleRate = hostSampleRate;
    }

    const float knak = clampOrLow(programValues[kParamKnak].load(), 0.0f, 1.0f);
    fadeLength = fadeLengthFor(knak, loopLength);

    BlockValues values;
    values.attackCoefficient = attackCoefficient;
    values.releaseCoefficient = releaseCoefficient;
    values.wetGain = clampOrLow(programValues[kParamDryWet].load(), 0.0f, 1.0f);
    values.dryGain = 1.0f - values.wetGain;

    const float bits = clampOrLow(bitsValue.load(), 1.0f, 32.0f);
    if (bits != quantisationBits) {
        quantisation = static_cast<float>(std::exp2(static_cast<double>(bits)));
        inverseQuantisation = 1.0f / quantisation;
        quantisationBits = bits;
    }
    values.quantisation = quantisation;
    values.inverseQuantisation = inverseQuantisation;

    if (!repeatTillNoteOff) {
        const float repeat = clampOrLow(programValues[kParamRepeat].load(), 0.0f, 1.0f);
        repeatLimit = static_cast<int32_t>(31.0f * repeat + 2.0f);
    }
    return values;
}

template <bool Accumulate>
void FreezeEffect::processBlock(float** inputs, float** outputs, int32_t sampleFrames) {
    const BlockValues block = prepareBlock();
    if (sampleFrames <= 0 || !inputs || !outputs) return;
    const float* const inL = inputs[0];
    const float* const inR = inputs[1];
    float* const outL = outputs[0];
    float* const outR = outputs[1];
    float* const recL = bufL.get();
    float* const recR = bufR.get();
    if (!inL || !inR || !outL || !outR || !recL || !recR) return;

    // Audio state lives in locals for the block and is written back at its end.
    Stereo4 envelopeLane = splat(envelope);
    int32_t rec = recording;
    int32_t write = writeIndex;
    bool hold = holdOff;
    int32_t holdCount = holdOffCount;
    float position = playPosition;
    int32_t index = playIndex;
    int32_t length = loopLength;
    int32_t repeats = repeatCount;
    const int32_t limit = repeatLimit;
    int32_t step = stepIndex;
    float gain = loopGain;
    FadeState fade = fadeState;
    const int32_t fadeLen = fadeLength;
    bool pending = notePending;
    int32_t delay = noteDelay;
    const int32_t noteLength = noteLoopLength;

    // Per-block vector values live on the stack only: 32-bit Windows heaps align to 8 bytes,
    // too little for SSE operands, so the effect object holds none.
    struct BlockVectors {
        StereoCoefficients pre;
        StereoCoefficients post;
        Stereo4 wet, dry, quantisation, inverseQuantisation, attack, release;
    } vectors{StereoCoefficients(preCoefficients), StereoCoefficients(postCoefficients),
              splat(block.wetGain), splat(block.dryGain), splat(block.quantisation),
              splat(block.inverseQuantisation), splat(block.attackCoefficient),
              splat(block.releaseCoefficient)};
    // Read through a pointer the compiler cannot follow, they stay memory operands and leave
    // the registers to the filter memories and the envelope, whose recursions would otherwise
    // be spilled to the stack and lengthened by a store and a load every sample.
    BlockVectors* kp = &vectors;
    asm("" : "+r"(kp));
    BlockVectors& k = *kp;
    int32_t preCType = preDesign.type;
    int32_t postCType = postDesign.type;
    StereoState pre(preStateL, preStateR);
    StereoState post(postStateL, postStateR);

    for (int32_t i = 0; i < sampleFrames; ++i) {
        const Stereo4 x{inL[i], inR[i], 0.0f, 0.0f};

        // Pre filter. A type switched on during the block gets its coefficients at once.
        Stereo4 s = x;
        const int32_t preType = preFilterType;
        if (isRealType(preType)) {
            if (preType != preCType) {
                if (designFilter(true, preType)) restartStereo(preCoefficients, pre);
                k.pre = StereoCoefficients(preCoefficients);
                preCType = preType;
            }
            s = filterStereo(k.pre, pre, x);
        }
        const float sL = s[0];
        const float sR = s[1];

        // Envelope follower in lane 0, without branches: whether the level rises above the
        // envelope is as unpredictable as the signal. Halves first so that no finite input
        // overflows; the envelope never goes negative, so the flush needs no absolute value,
        // and it also catches NaN (from a NaN or infinite input), which would otherwise stay
        // in the follower for good and stop every later trigger.
        const Stereo4 halves = stereoAbs(s) * splat(0.5f);
        const Stereo4 level = halves + lane1(halves);
        const Stereo4 c = select(level > envelopeLane, k.attack, k.release);
        envelopeLane = level + (envelopeLane - level) * c;
        envelopeLane = select(envelopeLane >= splat(kEnvelopeFlushLevel), envelopeLane, splat(0.0f));
        const float env = envelopeLane[0];

        // Recorder: slots 1..length; slot 0 stays silent.
        if (rec == 1) {
            ++write;
            if (write > length) {
                rec = 0;
                write = 0;
            } else {
                // A NaN or infinity from the host is frozen as silence: the loop would hand
                // it back on every pass.
                recL[write] = std::isfinite(sL) ? sL : 0.0f;
                recR[write] = std::isfinite(sR) ? sR : 0.0f;
            }
        }

        // Hold-off counts only while the recorder is idle.
        if (rec == 0 && hold) {
            ++holdCount;
            if (holdCount >= kHoldOffSamples) hold = false;
        }

        // Envelope trigger.
        if (rec == 0 && !hold && !noteRecordStart) {
            const float thr = threshold;
            const bool fire = inverse ? env < thr : env > thr;
            if (fire) {
                rec = 1;
                holdCount = 0;
                hold = true;
                repeats = 0;
                fade = FadeState::FadingOut;
                const int32_t last = sequenceLength;
                ++step;
                // Never past the stored steps, whatever the sequence length says.
                if (step > last || step >= kNumStepValues) step = 0;
            }
        }

        // Pending MIDI note.
        if (pending && midiNoteControl) {
            if (delay != 0) {
                --delay;
            } else {
                length = noteLength;
                repeats = 0;
                fade = FadeState::FadingOut;
                if (noteRecordStart) rec = 1;
                pending = false;
            }
        }

        Stereo4 y;
        if (repeats >= limit) {
            y = x * k.dry;
        } else {
            position += 1.0f;
            index = static_cast<int32_t>(position);
            if (index >= length) {
                index = 0;
                position = 0.0f;
                fade = FadeState::FadingIn;
                ++repeats;
            }
            advanceGainRamp(gain, fade, index, fadeLen, length);
            const Stereo4 loop{recL[index], recR[index], 0.0f, 0.0f};
            Stereo4 w = reduceBitsStereo(loop * splat(gain), k.quantisation, k.inverseQuantisation);

            const int32_t postType = postFilterType;
            if (isRealType(postType)) {
                if (postType != postCType) {
                    if (designFilter(false, postType)) restartStereo(postCoefficients, post);
                    k.post = StereoCoefficients(postCoefficients);
                    postCType = postType;
                }
                w = filterStereo(k.post, post, w);
            }
            y = w * k.wet + x * k.dry;
        }

        if constexpr (Accumulate) {
            outL[i] += y[0];
            outR[i] += y[1];
        } else {
            outL[i] = y[0];
            outR[i] = y[1];
        }
    }

    envelope = envelopeLane[0];
    recording = rec;
    writeIndex = write;
    holdOff = hold;
    holdOffCount = holdCount;
    playPosition = position;
    playIndex = index;
    loopLength = length;
    repeatCount = repeats;
    stepIndex = step;
    loopGain = gain;
    fadeState = fade;
    notePending = pending;
    noteDelay = delay;
    pre.store(preStateL, preStateR);
    post.store(postStateL, postStateR);
}

void FreezeEffect::processReplacing(float** inputs, float** outputs, int32_t sampleFrames) {
    processBlock<false>(inputs, outputs, sampleFrames);
}

void FreezeEffect::process(float** inputs, float** outputs, int32_t sampleFrames) {
    processBlock<true>(inputs, outputs, sampleFrames);
}
