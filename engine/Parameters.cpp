// The twelve automatable parameters (what each is: engine/ParameterTable.h), their working
// values and the editor's settings.
#include <cstring>

#include "engine/FreezeEffect.h"

void FreezeEffect::setParameter(int32_t index, float value) {
    if (isParameter(index)) {
        const int32_t slot = slotOfParameter(index);
        if (slot == kThresholdSlot)
            setThreshold(value);
        else
            setProgramValue(slot, value);
    }
    requestEditorRefresh();
}

float FreezeEffect::getParameter(int32_t index) {
    if (!isParameter(index)) return 0.0f;
    const int32_t slot = slotOfParameter(index);
    return slot == kThresholdSlot ? core.values.threshold.load() : core.values.programValues[slot].load();
}

void FreezeEffect::getParameterName(int32_t index, char* text) {
    if (text && isParameter(index)) std::strcpy(text, parameterInfo(index).vstName);
}

void FreezeEffect::getParameterLabel(int32_t index, char* text) {
    if (text && isParameter(index)) std::strcpy(text, parameterInfo(index).vstLabel);
}

void FreezeEffect::getParameterDisplay(int32_t index, char* text) {
    if (!text || !isParameter(index)) return;
    floatToText(hostTextValue(parameterInfo(index), getParameter(index)), text);
}

void FreezeEffect::setProgramValue(int32_t slot, float value) {
    if (slot < 0 || slot >= kNumProgramValues) return;
    programs[currentProgramIndex()].values[slot] = value;
    core.values.setProgramValue(slot, value);
}

float FreezeEffect::getProgramValue(int32_t slot) const {
    if (slot < 0 || slot >= kNumProgramValues) return 0.0f;
    return core.values.programValues[slot];
}

void FreezeEffect::setThreshold(float value) {
    programs[currentProgramIndex()].threshold = value;
    core.values.threshold = value;
}

void FreezeEffect::toggleInverse() { core.values.inverse = !core.values.inverse; }

void FreezeEffect::setStepValue(int32_t step, float value) {
    if (step < 0 || step >= kNumStepValues) return;
    core.values.stepValues[step] = value;
}

float FreezeEffect::getStepValue(int32_t step) const {
    if (step < 0 || step >= kNumStepValues) return 0.0f;
    return core.values.stepValues[step];
}

void FreezeEffect::setSequenceLength(float value) {
    value = editedSequenceLengthValue(value);
    programs[currentProgramIndex()].sequenceLengthValue = value;
    core.values.setSequenceLength(value);
}

void FreezeEffect::cycleFilterType(int32_t which) {
    Relaxed<int32_t>& type = which == 1 ? core.values.preFilter.type : core.values.postFilter.type;
    const int32_t next = nextFilterType(type);
    type = next;
    FreezeProgram& program = programs[currentProgramIndex()];
    (which == 1 ? program.preFilterType : program.postFilterType) = next;
}

void FreezeEffect::toggleMidiNoteControl() { core.values.midiNoteControl = !core.values.midiNoteControl; }

void FreezeEffect::toggleNoteRecordStart() { core.values.noteRecordStart = !core.values.noteRecordStart; }

void FreezeEffect::toggleRepeatTillNoteOff() {
    core.values.repeatTillNoteOff = !core.values.repeatTillNoteOff;
}
