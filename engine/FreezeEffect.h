// The plug-in's effect: identity, parameters, programs and chunks, and the adapter
// from the host's calls (time record, event lists, process entries) to the signal path in
// FreezeCore.
#pragma once

#include <cstdint>
#include <memory>

#include "engine/Filter.h"
#include "engine/FreezeCore.h"
#include "engine/FreezeProgram.h"
#include "host/HostEffectX.h"

class FreezeEffect : public HostEffectX {
public:
    explicit FreezeEffect(audioMasterCallback hostCallback);
    ~FreezeEffect() override;

    // Host-facing operations (any host thread unless marked).
    void setParameter(int32_t index, float value) override;
    float getParameter(int32_t index) override;
    void process(float** inputs, float** outputs, int32_t sampleFrames) override;           // audio
    void processReplacing(float** inputs, float** outputs, int32_t sampleFrames) override;  // audio
    void setProgram(int32_t program) override;
    void setProgramName(char* text) override;
    void getProgramName(char* text) override;
    void getParameterLabel(int32_t index, char* text) override;
    void getParameterDisplay(int32_t index, char* text) override;
    void getParameterName(int32_t index, char* text) override;
    float getVu() override;
    int32_t getChunk(void** data, bool isPreset) override;
    int32_t setChunk(void* data, int32_t byteSize, bool isPreset) override;
    void suspend() override;
    void resume() override;
    int32_t processEvents(VstEvents* events) override;  // audio thread, between blocks
    bool getVendorString(char* text) override;
    bool getProductString(char* text) override;
    int32_t canDo(char* text) override;

    // Editor operations (user-interface thread); none informs the host.
    void setProgramValue(int32_t slot, float value);
    void setThreshold(float value);
    void toggleInverse();
    void setStepValue(int32_t step, float value);
    void setSequenceLength(float value);
    void cycleFilterType(int32_t which);
    void toggleMidiNoteControl();
    void toggleNoteRecordStart();
    void toggleRepeatTillNoteOff();

    // MIDI notes, applied when the event list is handled (audio thread). Only the note
    // number and the offset of a note-on are used; any note-off does the same.
    void noteOn(int32_t note, int32_t velocity, int32_t deltaFrames);
    void noteOff(int32_t note, int32_t deltaFrames);

    // Filter design: which = 1 the pre filter, anything else the post filter (FreezeCore).
    void updateFilter(int32_t which) { core.updateFilter(which); }
    // type 0 low-pass, 1 high-pass, 2 band-pass; frequencies in Hz, bandwidth in octaves.
    static BiquadCoefficients calcBiquad(int32_t type, double frequency, double sampleRate,
                                         double bandwidth) {
        return ::calcBiquad(type, frequency, sampleRate, bandwidth);
    }

    // What the editor and tests read, by value and without locking.
    float getProgramValue(int32_t slot) const;
    float getEnvelope() const { return core.state().envelope; }
    float getThreshold() const { return core.values.threshold; }
    bool isInverse() const { return core.values.inverse; }
    FilterType getPreFilterType() const { return filterTypeOf(core.values.preFilter.type); }
    FilterType getPostFilterType() const { return filterTypeOf(core.values.postFilter.type); }
    int32_t getStepIndex() const { return core.state().stepIndex; }
    float getStepValue(int32_t step) const;
    float getSequenceLengthValue() const { return core.values.sequenceLengthValue; }
    int32_t getSequenceLength() const { return core.values.sequenceLength; }
    bool isMidiNoteControl() const { return core.values.midiNoteControl; }
    bool isNoteRecordStart() const { return core.values.noteRecordStart; }
    bool isRepeatTillNoteOff() const { return core.values.repeatTillNoteOff; }
    bool isRecording() const { return core.state().recording != 0; }
    int32_t getLoopLength() const { return core.state().loopLength; }
    int32_t getSizeSteps() const { return core.values.sizeSteps; }
    float getBitsValue() const { return core.values.bitsValue; }
    const float* getBufferL() const { return core.bufferL(); }
    const float* getBufferR() const { return core.bufferR(); }
    const FreezeProgram& getProgramRecord(int32_t program) const;
    // The signal path behind the effect, for reading only.
    const FreezeCore& signalPath() const { return core; }

protected:
    static FreezeProgram defaultProgram();
    // curProgram, kept inside the program array.
    int32_t currentProgramIndex() const;
    void writeBank(unsigned char* bank) const;
    void readBank(const unsigned char* bank);

    // The signal path, with the working values it reads.
    FreezeCore core;

    // Programs, and the chunk memory handed to the host (valid until the next getChunk).
    std::unique_ptr<FreezeProgram[]> programs;
    std::unique_ptr<unsigned char[]> chunkBuffer;
    std::unique_ptr<unsigned char[]> setChunkScratch;
};
