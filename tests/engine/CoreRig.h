// The signal path on its own (FreezeCore), driven as the effect drives it: blocks of audio
// with the tempo and sample rate the rig holds (or none), notes with their offsets, and the
// working values set as the effect derives them from parameters and editor operations.
#pragma once

#include <memory>

#include "TestSignals.h"
#include "engine/FreezeCore.h"

class CoreRig : public TimeSource {
public:
    FreezeCore core;
    HostTime time{44100.0, 120.0};
    bool timeKnown = true;  // false: the host gives no time information

    virtual ~CoreRig() = default;
    const HostTime* blockTime() override { return timeKnown ? &time : nullptr; }

    // A parameter by its index, stored where the parameter table says (the threshold, or its
    // program slot).
    void setParameter(int32_t index, float value) {
        if (!isParameter(index)) return;
        const int32_t slot = slotOfParameter(index);
        if (slot == kThresholdSlot)
            core.values.threshold = value;
        else
            core.values.setProgramValue(slot, value);
    }
    // The next type in the editor's cycle (which = 1 the pre filter).
    void cycleFilterType(int32_t which) {
        Relaxed<int32_t>& type = which == 1 ? core.values.preFilter.type : core.values.postFilter.type;
        type = nextFilterType(type);
    }
    void setStepValue(int32_t step, float value) { core.values.stepValues[step] = value; }
    void setSequenceLength(float value) { core.values.setSequenceLength(editedSequenceLengthValue(value)); }
    void toggleInverse() { core.values.inverse = !core.values.inverse; }
    void toggleMidiNoteControl() { core.values.midiNoteControl = !core.values.midiNoteControl; }
    void toggleNoteRecordStart() { core.values.noteRecordStart = !core.values.noteRecordStart; }
    void toggleRepeatTillNoteOff() { core.values.repeatTillNoteOff = !core.values.repeatTillNoteOff; }

    void processReplacing(float** inputs, float** outputs, int32_t frames) {
        core.process(inputs, outputs, frames, *this);
    }
    void process(float** inputs, float** outputs, int32_t frames) {
        core.processAdding(inputs, outputs, frames, *this);
    }
    // The rig stands in for the plug-in in helpers written for both.
    CoreRig& plugin() { return *this; }
    // Only the block preparation.
    void prepare() { processReplacing(nullptr, nullptr, 0); }

    const CoreState& state() const { return core.state(); }
    float getEnvelope() const { return state().envelope; }
    bool isRecording() const { return state().recording != 0; }
    int32_t getLoopLength() const { return state().loopLength; }
    int32_t getStepIndex() const { return state().stepIndex; }
    const float* getBufferL() const { return core.bufferL(); }
    const float* getBufferR() const { return core.bufferR(); }
};

inline std::unique_ptr<CoreRig> makeRig() { return std::make_unique<CoreRig>(); }
