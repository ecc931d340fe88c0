// FreezeCore: construction, notes, filter design and the block preparation; the block's
// samples run in FreezeCore::Block (engine/FreezeCoreBlock.h).
#include "engine/FreezeCore.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <new>

#include "engine/CoreObserver.h"
#include "engine/FreezeCoreBlock.h"
#include "engine/Ranges.h"

namespace {

constexpr int32_t kDefaultTempo = 120;
// Whole beats per minute and hertz the engine works with; larger answers are taken as these.
constexpr int32_t kMaxTempo = 1000000;
constexpr int32_t kMaxHostSampleRate = 1000000000;
constexpr double kLn001 = -4.60517018598809136804;  // ln(0.01)
constexpr int32_t kHeldRepeatLimit = 9999999;       // a note-on repeats the loop until a note-off
// The size's working value, grid steps (engine/ParameterTable.h): a core may be given any.
constexpr int32_t kMinSizeSteps = static_cast<int32_t>(workingRuleOf(kParamSize).lo);
constexpr int32_t kMaxSizeSteps = static_cast<int32_t>(workingRuleOf(kParamSize).hi);

// Coefficient that brings the follower to 1 % of a step in the given milliseconds.
float envelopeCoefficient(double milliseconds, int32_t sampleRate) {
    return static_cast<float>(std::exp(kLn001 / (milliseconds * sampleRate * 0.001)));
}

template <class T>
T& placeAligned(unsigned char* storage) {
    const auto address = reinterpret_cast<std::uintptr_t>(storage);
    const std::uintptr_t aligned = (address + alignof(T) - 1) & ~static_cast<std::uintptr_t>(alignof(T) - 1);
    return *new (reinterpret_cast<void*>(aligned)) T();
}

}  // namespace

FreezeCore::FreezeCore()
    : bufL(new float[kBufferLength]()), bufR(new float[kBufferLength]()),
      vectors(placeAligned<RunVectors>(vectorStorage)) {}

void FreezeCore::clearBuffers() {
    std::fill(bufL.get(), bufL.get() + kBufferLength, 0.0f);
    std::fill(bufR.get(), bufR.get() + kBufferLength, 0.0f);
}

void FreezeCore::noteOn(int32_t note, int32_t deltaFrames) {
    // Every semitone changes the length: the exponent is a real division.
    const double frequency = 440.0 * std::pow(2.0, (static_cast<double>(note) - 57.0) / 12.0);
    if (values.repeatTillNoteOff) audio.repeatLimit = kHeldRepeatLimit;
    const int32_t steps = clampTo<int32_t>(values.sizeSteps, kMinSizeSteps, kMaxSizeSteps);
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
    if (which == 1)
        designForBlock(values.preFilter, pre, audio.hostSampleRate);
    else
        designForBlock(values.postFilter, post, audio.hostSampleRate);
}

inline void FreezeCore::takeTime(const HostTime* time) {
    // No information: keep what the last block used (44100 Hz and 120 BPM before any).
    if (!time) return;
    // A rate of 0, a negative one or NaN carries no information either.
    if (time->sampleRate >= 1.0) audio.hostSampleRate = truncToInt(time->sampleRate, 1, kMaxHostSampleRate);
    audio.tempo = time->tempo >= 1.0 ? truncToInt(time->tempo, 1, kMaxTempo) : kDefaultTempo;
}

void FreezeCore::prepareBlock(const HostTime* time) {
    // Called when preparationHolds said no (or to redo it all).
    const uint32_t revision = values.programRevision.load(std::memory_order_acquire);
    const int32_t step = preparedStep();
    const float stepValue = values.stepValues[step];
    const bool noteControl = values.midiNoteControl;
    const bool held = values.repeatTillNoteOff;

    // Most hosts answer the same for block after block; comparing bits is cheaper than the
    // checked conversions. The rate and tempo are read before takeTime stores them (only when
    // the answer changed): read after its stores in every block, the two fields were loaded
    // together, and such a load waits for both stores to land.
    int32_t rate = audio.hostSampleRate;
    int32_t tempo = audio.tempo;
    if (time && !(timeTaken && sameBits(*time, takenTime))) {
        takeTime(time);
        rate = audio.hostSampleRate;
        tempo = audio.tempo;
        takenTime = *time;
        timeTaken = true;
    }

    // Samples per grid unit: (240000 / bpm) ms per bar, / 256, at whole kilohertz.
    if (tempo != gridTempo || rate != gridSampleRate) {
        const int32_t kiloHertz = rate / 1000;
        gridUnit = std::trunc(static_cast<double>(240000 / tempo) * kiloHertz * 0.00390625);
        gridTempo = tempo;
        gridSampleRate = rate;
    }

    // Loop length from the grid, size and step (unless notes set it), and the fade zone from
    // the loop length and knak: a chain of conversions each block would wait for, so each is
    // redone only when what it comes from changed.
    const int32_t sizeSteps = values.sizeSteps;
    int32_t loopLength;
    if (!noteControl) {
        if (!sameBits(stepValue, lengths.stepValue) || sizeSteps != lengths.sizeSteps ||
            gridUnit != lengths.gridUnit) {
            // Step offset -8..+8 units; a step value from a chunk may be anything, NaN counts as 0.5.
            const int32_t offset = truncToInt(static_cast<double>(16.0f * stepValue - 8.0f), -8, 8, 0);
            int32_t units = clampTo<int32_t>(sizeSteps, kMinSizeSteps, kMaxSizeSteps) + offset;
            if (units <= 0) units = 1;
            lengths.gridLength = truncToInt(units * gridUnit, 0, kMaxLoopLength);
            lengths.stepValue = stepValue;
            lengths.sizeSteps = sizeSteps;
            lengths.gridUnit = gridUnit;
        }
        loopLength = lengths.gridLength;
        audio.loopLength = loopLength;
    } else {
        loopLength = audio.loopLength;
    }

    // Parameters are stored as the host gave them; their rules (engine/ParameterTable.h) keep
    // what is derived inside its range. What is derived is redone only when their bits changed.
    // The envelope's attack and release times in milliseconds.
    const float attackValue = values.programValues[kSlotAttack];
    const float releaseValue = values.programValues[kSlotRelease];
    if (!sameBits(attackValue, envelopeAttack) || !sameBits(releaseValue, envelopeRelease) ||
        rate != envelopeSampleRate) {
        vectors.envelope = EnvelopeCoefficients(
            envelopeCoefficient(deriveDouble(workingRuleOf(kParamAttack), attackValue), rate),
            envelopeCoefficient(deriveDouble(workingRuleOf(kParamRelease), releaseValue), rate));
        envelopeAttack = attackValue;
        envelopeRelease = releaseValue;
        envelopeSampleRate = rate;
    }

    const float knakValue = values.programValues[kSlotKnak];
    if (!sameBits(knakValue, lengths.knak) || loopLength != lengths.fadeLoopLength) {
        lengths.fadeLength = fadeLengthFor(knakValue, loopLength);
        lengths.knak = knakValue;
        lengths.fadeLoopLength = loopLength;
    }
    audio.fadeLength = lengths.fadeLength;

    const float dryWetValue = values.programValues[kSlotDryWet];
    if (!sameBits(dryWetValue, mixValue)) {
        const float wet = deriveSingle(workingRuleOf(kParamDryWet), dryWetValue);
        vectors.wet = splat(wet);
        vectors.dry = splat(1.0f - wet);
        mixValue = dryWetValue;
    }

    const float bitsValue = values.bitsValue;
    if (!sameBits(bitsValue, quantisationBits)) {
        // The working value again within the rule's range: a core may be given any.
        const WorkingRule& bits = workingRuleOf(kParamBits);
        const float quantisation = static_cast<float>(std::exp2(static_cast<double>(
            clampTo(bitsValue, static_cast<float>(bits.lo), static_cast<float>(bits.hi)))));
        vectors.quantisation = splat(quantisation);
        vectors.inverseQuantisation = splat(1.0f / quantisation);
        quantisationBits = bitsValue;
    }

    if (!held) {
        const float repeatValue = values.programValues[kSlotRepeat];
        if (!sameBits(repeatValue, repeat.value)) {
            repeat.limit = wholeWorkingValue(workingRuleOf(kParamRepeat), repeatValue);
            repeat.value = repeatValue;
        }
        audio.repeatLimit = repeat.limit;
    }
    prepared = Prepared{true, revision, step, stepValue, noteControl, held};
}

void FreezeCore::process(const float* const* inputs, float* const* outputs, int32_t frames,
                         TimeSource& time) {
    processBlock<false>(inputs, outputs, frames, time, NoObserver{});
}

void FreezeCore::processAdding(const float* const* inputs, float* const* outputs, int32_t frames,
                               TimeSource& time) {
    processBlock<true>(inputs, outputs, frames, time, NoObserver{});
}
