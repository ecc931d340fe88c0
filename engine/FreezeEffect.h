// The plug-in's effect: parameters, programs and chunks, and the freeze engine's audio path.
#pragma once

#include <cstdint>
#include <memory>

#include "engine/Biquad.h"
#include "engine/BiquadFilter.h"
#include "engine/FreezeProgram.h"
#include "engine/OutputStage.h"
#include "engine/Relaxed.h"
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

    // MIDI notes, applied when the event list is handled (audio thread).
    void noteOn(int32_t note, int32_t velocity, int32_t deltaFrames);
    void noteOff(int32_t note, int32_t deltaFrames);

    // Filter design: which = 1 the pre filter, anything else the post filter.
    void updateFilter(int32_t which);
    // type 0 low-pass, 1 high-pass, 2 band-pass; frequencies in Hz, bandwidth in octaves.
    static BiquadCoefficients calcBiquad(int32_t type, double frequency, double sampleRate,
                                         double bandwidth);

    // What the editor and tests read, by value and without locking.
    float getProgramValue(int32_t slot) const;
    float getEnvelope() const { return envelope; }
    float getThreshold() const { return threshold; }
    bool isInverse() const { return inverse; }
    FilterType getPreFilterType() const { return filterTypeOf(preFilterType); }
    FilterType getPostFilterType() const { return filterTypeOf(postFilterType); }
    int32_t getStepIndex() const { return stepIndex; }
    float getStepValue(int32_t step) const;
    float getSequenceLengthValue() const { return sequenceLengthValue; }
    int32_t getSequenceLength() const { return sequenceLength; }
    bool isMidiNoteControl() const { return midiNoteControl; }
    bool isNoteRecordStart() const { return noteRecordStart; }
    bool isRepeatTillNoteOff() const { return repeatTillNoteOff; }
    bool isRecording() const { return recording != 0; }
    int32_t getLoopLength() const { return loopLength; }
    int32_t getSizeSteps() const { return sizeSteps; }
    float getBitsValue() const { return bitsValue; }
    const float* getBufferL() const { return bufL.get(); }
    const float* getBufferR() const { return bufR.get(); }
    const FreezeProgram& getProgramRecord(int32_t program) const;

protected:
    // A stored type outside 0..3 acts as OFF.
    static FilterType filterTypeOf(int32_t stored);
    // trunc(15 size + 1), kept within 1..16.
    static int32_t sizeStepsOf(float size);
    static FreezeProgram defaultProgram();
    // curProgram, kept inside the program array.
    int32_t currentProgramIndex() const;
    void writeBank(unsigned char* bank) const;
    void readBank(const unsigned char* bank);

    // Programs, and the chunk memory handed to the host (valid until the next getChunk).
    std::unique_ptr<FreezeProgram[]> programs;
    std::unique_ptr<unsigned char[]> chunkBuffer;
    std::unique_ptr<unsigned char[]> setChunkScratch;

    // Working values, written by host and editor threads and read by the audio thread.
    Relaxed<float> programValues[kNumProgramValues];
    Relaxed<float> threshold{kDefaultThreshold};
    Relaxed<bool> inverse{false};
    Relaxed<int32_t> sizeSteps{4};
    Relaxed<float> bitsValue{32.0f};
    Relaxed<float> preCutoff{1.0f};      // pre-cutoff parameter squared
    Relaxed<float> preBandwidth{1.0f};   // octaves
    Relaxed<float> postCutoff{1.0f};
    Relaxed<float> postBandwidth{1.0f};
    Relaxed<int32_t> preFilterType{0};   // as stored; read through filterTypeOf
    Relaxed<int32_t> postFilterType{0};
    Relaxed<float> sequenceLengthValue{1.0f};
    Relaxed<int32_t> sequenceLength{16};
    Relaxed<float> stepValues[kNumStepValues];
    Relaxed<bool> midiNoteControl{false};
    Relaxed<bool> noteRecordStart{false};
    Relaxed<bool> repeatTillNoteOff{false};

    // Freeze buffers, kBufferLength samples each.
    std::unique_ptr<float[]> bufL;
    std::unique_ptr<float[]> bufR;

    // Audio-thread state; the editor reads some of it for display.
    Relaxed<float> envelope{0.0f};
    Relaxed<int32_t> recording{0};
    int32_t writeIndex = 0;
    bool holdOff = false;
    int32_t holdOffCount = 0;
    float playPosition = 0.0f;
    int32_t playIndex = 0;
    Relaxed<int32_t> loopLength{0};
    int32_t repeatCount = 0;
    Relaxed<int32_t> repeatLimit{0};
    Relaxed<int32_t> stepIndex{0};
    int32_t hostSampleRate = 44100;
    int32_t tempo = 120;

    // Values taken once per block (audio thread).
    struct BlockValues {
        float attackCoefficient;
        float releaseCoefficient;
        float wetGain;
        float dryGain;
        float quantisation;         // 2 ^ bitsValue
        float inverseQuantisation;
    };
    // Block preparation: filters, time information, loop length, envelope, output stage.
    BlockValues prepareBlock();
    // Reads the host's time record; keeps the previous values when it is missing or invalid.
    void takeTimeInfo();
    template <bool Accumulate>
    void processBlock(float** inputs, float** outputs, int32_t sampleFrames);

    // Envelope coefficients and what they were computed from (recomputed only on change).
    float attackCoefficient = 0.0f;
    float releaseCoefficient = 0.0f;
    float envelopeAttack = 0.0f;
    float envelopeRelease = 0.0f;
    int32_t envelopeSampleRate = 0;
    // Samples per grid unit and the tempo and sample rate it was computed from.
    double gridUnit = 0.0;
    int32_t gridTempo = 0;
    int32_t gridSampleRate = 0;

    // Output stage.
    float loopGain = 1.0f;
    FadeState fadeState = FadeState::Steady;
    int32_t fadeLength = kMinFadeLength;
    // 2 ^ bitsValue and what it was computed from.
    float quantisation = 4294967296.0f;
    float inverseQuantisation = 1.0f / 4294967296.0f;
    float quantisationBits = 32.0f;

    // MIDI note control.
    bool notePending = false;
    int32_t noteDelay = 0;
    int32_t noteLoopLength = 0;

    // Filters.
    BiquadCoefficients preCoefficients;
    BiquadCoefficients postCoefficients;
    BiquadState preStateL, preStateR, postStateL, postStateR;
    // What the current coefficients were computed from; recomputed only when that changes.
    FilterDesign preDesign;
    FilterDesign postDesign;
    // Computes one filter's coefficients for a real type (1..3) unless they already are;
    // true when the new design is far from the last one and the filter's memory must
    // restart (restartFromInput).
    bool designFilter(bool pre, int32_t type);
};
