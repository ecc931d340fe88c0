// The twelve automatable parameters, their working values and the editor's settings.
#include <cmath>
#include <cstring>

#include "engine/FreezeEffect.h"

namespace {

const char* const kParameterNames[kNumParams] = {
    "attack", "release", "size", "knak", "dry/wet", "bits",
    "repeat", "threshold", "pre-cutoff", "pre-reso", "post-cutoff", "post-reso"};

// Derived working values stay inside their tables whatever the host stored; NaN takes the
// given fallback.
float clampOr(float value, float low, float high, float fallback) {
    if (std::isnan(value)) return fallback;
    return value < low ? low : (value > high ? high : value);
}

// Program slot of a parameter index, or -1 for the threshold and out-of-range indices.
int32_t slotOfParameter(int32_t index) {
    if (index >= kParamAttack && index <= kParamRepeat) return index;
    if (index >= kParamPreCutoff && index <= kParamPostReso) return index - 1;
    return -1;
}

bool isParameter(int32_t index) { return index >= 0 && index < kNumParams; }

}  // namespace

int32_t FreezeEffect::sizeStepsOf(float size) {
    float steps = clampOr(size * 15.0f + 1.0f, 1.0f, 16.0f, 1.0f);
    return static_cast<int32_t>(steps);
}

void FreezeEffect::setParameter(int32_t index, float value) {
    if (index == kParamThreshold) {
        setThreshold(value);
    } else {
        int32_t slot = slotOfParameter(index);
        if (slot >= 0) setProgramValue(slot, value);
    }
    requestEditorRefresh();
}

float FreezeEffect::getParameter(int32_t index) {
    if (index == kParamThreshold) return threshold;
    int32_t slot = slotOfParameter(index);
    return slot >= 0 ? programValues[slot].load() : 0.0f;
}

void FreezeEffect::getParameterName(int32_t index, char* text) {
    if (text && isParameter(index)) std::strcpy(text, kParameterNames[index]);
}

void FreezeEffect::getParameterLabel(int32_t index, char* text) {
    if (text && isParameter(index)) std::strcpy(text, kParameterNames[index]);
}

void FreezeEffect::getParameterDisplay(int32_t index, char* text) {
    if (!text || !isParameter(index)) return;
    if (index == kParamSize)
        floatToText(static_cast<float>(sizeSteps.load()), text);
    else
        floatToText(getParameter(index), text);
}

void FreezeEffect::setProgramValue(int32_t slot, float value) {
    if (slot < 0 || slot >= kNumProgramValues) return;
    programs[currentProgramIndex()].values[slot] = value;
    programValues[slot] = value;
    switch (slot) {
    case kSlotSize:
        sizeSteps = sizeStepsOf(value);
        break;
    case kSlotBits:
        bitsValue = clampOr(value * 31.0f + 1.0f, 1.0f, 32.0f, 32.0f);
        break;
    case kSlotPreCutoff:
        preCutoff = clampOr(value * value, 0.0f, 1.0f, 1.0f);
        break;
    case kSlotPreReso:
        preBandwidth = clampOr(1.0f - 0.9f * value, 0.1f, 1.0f, 1.0f);
        break;
    case kSlotPostCutoff:
        postCutoff = clampOr(value * value, 0.0f, 1.0f, 1.0f);
        break;
    case kSlotPostReso:
        postBandwidth = clampOr(1.0f - 0.9f * value, 0.1f, 1.0f, 1.0f);
        break;
    default:
        break;
    }
}

float FreezeEffect::getProgramValue(int32_t slot) const {
    if (slot < 0 || slot >= kNumProgramValues) return 0.0f;
    return programValues[slot];
}

void FreezeEffect::setThreshold(float value) {
    programs[currentProgramIndex()].threshold = value;
    threshold = value;
}

void FreezeEffect::toggleInverse() { inverse = !inverse; }

void FreezeEffect::setStepValue(int32_t step, float value) {
    if (step < 0 || step >= kNumStepValues) return;
    stepValues[step] = value;
}

float FreezeEffect::getStepValue(int32_t step) const {
    if (step < 0 || step >= kNumStepValues) return 0.0f;
    return stepValues[step];
}

void FreezeEffect::setSequenceLength(float value) {
    if (value < 0.07f) value = 0.07f;
    programs[currentProgramIndex()].sequenceLengthValue = value;
    sequenceLengthValue = value;
    // At most 16 whatever was stored, so the step index never leaves the step table.
    sequenceLength = static_cast<int32_t>(clampOr(16.0f * value, 1.0f, 16.0f, 16.0f));
}

FilterType FreezeEffect::filterTypeOf(int32_t stored) {
    if (stored < 0 || stored > kMaxFilterType) return FilterType::OFF;
    return static_cast<FilterType>(stored);
}

void FreezeEffect::cycleFilterType(int32_t which) {
    Relaxed<int32_t>& type = which == 1 ? preFilterType : postFilterType;
    int32_t next = static_cast<int32_t>(filterTypeOf(type)) + 1;
    if (next > kMaxFilterType) next = 0;
    type = next;
    FreezeProgram& program = programs[currentProgramIndex()];
    (which == 1 ? program.preFilterType : program.postFilterType) = next;
}

void FreezeEffect::toggleMidiNoteControl() { midiNoteControl = !midiNoteControl; }

void FreezeEffect::toggleNoteRecordStart() { noteRecordStart = !noteRecordStart; }

void FreezeEffect::toggleRepeatTillNoteOff() { repeatTillNoteOff = !repeatTillNoteOff; }
