// The plug-in beneath every format: the signal path, the sixteen programs and the current one,
// the twelve parameters, the editor-only settings and steps, the bank and preset chunks, MIDI
// notes, tempo and transport, and bypass. It speaks the project's own types only; each format
// (vst2/, lv2/, vst3/, clap/) is a thin adapter that converts its host's calls into these.
//
// Threads: process, noteOn and noteOff on the audio thread; controls and editor operations on
// any thread (each a single relaxed store, engine/WorkingValues.h); programs, chunks, the
// sample rate and clearBuffers on the host's main thread while audio does not run (a host that
// changes programs or chunks while it processes gets the last store of each field).
#pragma once

#include <cstdint>
#include <memory>

#include "engine/FreezeCore.h"
#include "engine/FreezeProgram.h"
#include "engine/ParameterTable.h"
#include "engine/SettingTable.h"
#include "plugin/EditSink.h"
#include "plugin/PluginEvents.h"

class FreezePlugin {
public:
    // Allocates the freeze buffers, programs and chunk memory; throws std::bad_alloc when it
    // cannot. Every program is the init program, program 0 is current, the rate 44100 Hz.
    FreezePlugin();
    ~FreezePlugin();
    FreezePlugin(const FreezePlugin&) = delete;
    FreezePlugin& operator=(const FreezePlugin&) = delete;

    // --- set-up (main thread, audio stopped) ---

    // The rate the neutral process path tells the signal path (the VST 2 path passes the host's
    // time record instead). Not a positive finite number: ignored.
    void setSampleRate(double rate);
    double getSampleRate() const { return sampleRate; }
    // Empties the freeze buffers, as switching the plug-in on or off does.
    void clearBuffers();

    // --- audio thread ---

    // One block: the control events at frame 0, then every note of the block (held with its
    // offset, as a VST 2 host's event list is), then the audio in runs split at the frames of
    // later control events, each applied before its frame. Inputs and outputs may be the same
    // buffers. While bypassed (and during the fade in and out of it) the output is the input.
    void process(const float* const* inputs, float* const* outputs, int32_t frames, const EventList& events,
                 const Transport& transport) {
        // Nearly every block: nothing to apply and no bypass, so the signal path alone plays it.
        if (events.count <= 0 && bypassGain == 1.0f && !bypassed.load())
            playBlock(inputs, outputs, frames, transport);
        else
            processEvents(inputs, outputs, frames, events, transport);
    }
    // The signal path alone with a time source asked once per block (FreezeCore::processBlock):
    // the VST 2 adapter's entries, which ask the host for its time only when a block needs it.
    // Defined in plugin/ProcessWithTime.h, which brings the run loop in.
    template <bool Accumulate, class Time>
    void processWithTime(const float* const* inputs, float* const* outputs, int32_t frames, Time& time);
    // MIDI notes for the next block (offset: its sample offset in that block); only the note
    // number and a note-on's offset matter, any note-off ends a held loop at once.
    void noteOn(int32_t note, int32_t offset) { signal.noteOn(note, offset); }
    void noteOff() { signal.noteOff(); }

    // --- controls: parameters, settings and bypass (engine/SettingTable.h) ---

    // A parameter's value is stored as given (hosts read it back); a setting's is rounded to
    // the nearest whole value within its range (NaN: its minimum); bypass is on above 0.5.
    void setControl(int32_t control, float value);
    float getControl(int32_t control) const;
    void setParameter(int32_t index, float value);
    float getParameter(int32_t index) const;
    // What a host shows for a control's value: a parameter as VST 2 hosts show it (eight
    // characters), a filter type by name, steps as a number, a switch off or on. False for a
    // control that is none or a text that does not fit `size` (at least 9 bytes always do).
    static bool controlText(int32_t control, float value, char* text, int32_t size);
    // The value a host's text stands for: the reverse of controlText (a parameter's number is
    // what its text shows: a working value is turned back into a stored one). False when the
    // text means nothing for the control.
    static bool controlFromText(int32_t control, const char* text, float& value);
    // A control's value as 0..1 and back, for formats whose hosts see only normalised values.
    static double normalisedOf(int32_t control, float value);
    static float valueOfNormalised(int32_t control, double normalised);
    // The value a control holds in a new instance.
    static float defaultOf(int32_t control);

    void setBypass(bool on);
    bool isBypassed() const { return bypassed.load(); }

    // --- programs (main thread) ---

    int32_t getProgram() const;
    // Outside 0..15: ignored.
    void setProgram(int32_t program);
    // The current program's name: at most 23 characters and the terminator (24 bytes).
    void setProgramName(const char* text);
    void getProgramName(char* text) const;
    // Any program's name as getProgramName shows it ("Init 5" for the fifth init program).
    void getProgramNameOf(int32_t program, char* text) const;
    const FreezeProgram& getProgramRecord(int32_t program) const;

    // --- state: the preset chunk (the current program) or the bank chunk (everything) ---

    // Points `data` at chunk memory the plug-in keeps until the next call; answers its size.
    int32_t getChunk(const void** data, bool isPreset);
    // Copies the host's bytes over the current content (a short chunk changes only what it
    // holds); answers the chunk's full size, or 0 when nothing was given.
    int32_t setChunk(const void* data, int32_t byteSize, bool isPreset);

    // The whole state as formats without chunks of their own keep it (VST 3, CLAP): a tag,
    // a layout number, the current program and the bank chunk, little-endian.
    static constexpr int32_t kStateSize = 12 + kBankChunkSize;
    // Writes kStateSize bytes.
    void saveState(unsigned char* state);
    // Refuses, changing nothing, anything but kStateSize bytes with the tag and layout number;
    // a program outside 0..15 selects nothing (the bank is still taken, the current program
    // played as it holds it).
    bool loadState(const unsigned char* state, int32_t size);

    // --- the editor (user-interface thread) ---

    // Where edits go beyond the plug-in (null: nowhere). Set by the format that opens an editor.
    void setEditSink(EditSink* sink) { editSink = sink; }
    EditSink* getEditSink() const { return editSink; }
    // One edit of a host-visible control: begin, any number of values, end. Each value is
    // applied here (unless the host applies settings itself) and told to the sink.
    void beginEdit(int32_t control);
    void edit(int32_t control, float value);
    // Tells the sink the value the control holds now, after the editor changed it itself
    // (the sequence length, which the editor sets finer than a host's whole steps).
    void reportEdit(int32_t control);
    void endEdit(int32_t control);
    // begin, one value, end: a click.
    void editOnce(int32_t control, float value);

    // The editor's operations on what no host sees: the steps. The rest go through edit().
    void setStepValue(int32_t step, float value);
    // What the editor reads, by value and without locking.
    float getProgramValue(int32_t slot) const;
    float getStepValue(int32_t step) const;
    float getEnvelope() const { return signal.state().envelope; }
    float getThreshold() const { return signal.values.threshold; }
    bool isInverse() const { return signal.values.inverse; }
    FilterType getPreFilterType() const { return filterTypeOf(signal.values.preFilter.type); }
    FilterType getPostFilterType() const { return filterTypeOf(signal.values.postFilter.type); }
    int32_t getStepIndex() const { return signal.state().stepIndex; }
    float getSequenceLengthValue() const { return signal.values.sequenceLengthValue; }
    int32_t getSequenceLength() const { return signal.values.sequenceLength; }
    bool isMidiNoteControl() const { return signal.values.midiNoteControl; }
    bool isNoteRecordStart() const { return signal.values.noteRecordStart; }
    bool isRepeatTillNoteOff() const { return signal.values.repeatTillNoteOff; }
    bool isRecording() const { return signal.state().recording != 0; }
    int32_t getLoopLength() const { return signal.state().loopLength; }
    int32_t getSizeSteps() const { return signal.values.sizeSteps; }
    float getBitsValue() const { return signal.values.bitsValue; }
    const float* getBufferL() const { return signal.bufferL(); }
    const float* getBufferR() const { return signal.bufferR(); }

    // The signal path, for the VST 2 adapter's time and for reading.
    FreezeCore& core() { return signal; }
    const FreezeCore& core() const { return signal; }

    // The editor operations as they were (kept for the engine's own tests and tools): each
    // applies at once and tells no host.
    void setProgramValue(int32_t slot, float value);
    void setThreshold(float value);
    void setSequenceLength(float value);
    void setFilterType(int32_t which, int32_t type);  // which 1: pre, else post
    void cycleFilterType(int32_t which);
    void setMidiNoteControl(bool on) { signal.values.midiNoteControl = on; }
    void setNoteRecordStart(bool on) { signal.values.noteRecordStart = on; }
    void setRepeatTillNoteOff(bool on) { signal.values.repeatTillNoteOff = on; }
    void setInverse(bool on) { signal.values.inverse = on; }
    void toggleInverse() { setInverse(!isInverse()); }
    void toggleMidiNoteControl() { setMidiNoteControl(!isMidiNoteControl()); }
    void toggleNoteRecordStart() { setNoteRecordStart(!isNoteRecordStart()); }
    void toggleRepeatTillNoteOff() { setRepeatTillNoteOff(!isRepeatTillNoteOff()); }

private:
    int32_t currentProgramIndex() const;
    void writeBank(unsigned char* bank) const;
    void readBank(const unsigned char* bank);
    void resetPrograms();
    void applySetting(Setting setting, int32_t value);
    void takeTransport(const Transport& transport);
    void playBlock(const float* const* inputs, float* const* outputs, int32_t frames, const Transport& transport);
    void processEvents(const float* const* inputs, float* const* outputs, int32_t frames, const EventList& events,
                       const Transport& transport);
    // Frames start .. start + frames of the block, through the bypass fade when it is in use.
    void runSignal(const float* const* inputs, float* const* outputs, int32_t start, int32_t frames);
    void runBypassed(const float* const* inputs, float* const* outputs, int32_t frames);

    FreezeCore signal;
    std::unique_ptr<FreezeProgram[]> programs;
    std::unique_ptr<unsigned char[]> chunkBuffer;
    std::unique_ptr<unsigned char[]> setChunkScratch;
    Relaxed<int32_t> currentProgram{0};
    double sampleRate = 44100.0;
    HostTime blockTime{44100.0, 120.0};
    EditSink* editSink = nullptr;

    // Bypass: the wanted state, and the audio thread's fade between the effect and the input
    // (gain of the effect 1 .. 0, moved by fadeStep per sample).
    Relaxed<bool> bypassed{false};
    float bypassGain = 1.0f;
    // The input of a bypass fade's block, kept because outputs may be the inputs.
    std::unique_ptr<float[]> fadeInput;
};
