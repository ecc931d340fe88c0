// The signal path on its own (FreezeCore), driven as the effect drives it: blocks of audio
// with the tempo and sample rate the rig holds (or none), notes with their offsets, and the
// working values set as the effect derives them from parameters and editor operations.
#pragma once

#include <algorithm>
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

    // A parameter by its index: 7 is the threshold, 8..11 are program slots 7..10.
    void setParameter(int32_t index, float value) {
        if (index == kParamThreshold)
            core.values.threshold = value;
        else
            core.values.setProgramValue(index < kParamThreshold ? index : index - 1, value);
    }
    // OFF, LP, HP, BP, OFF, ... as the editor cycles them (which = 1 the pre filter).
    void cycleFilterType(int32_t which) {
        Relaxed<int32_t>& type = which == 1 ? core.values.preFilter.type : core.values.postFilter.type;
        type = (static_cast<int32_t>(filterTypeOf(type)) + 1) % (kMaxFilterType + 1);
    }
    void setStepValue(int32_t step, float value) { core.values.stepValues[step] = value; }
    void setSequenceLength(float value) { core.values.setSequenceLength(std::max(value, 0.07f)); }
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
