// The freeze engine's signal path without host types: envelope follower,
// recorder, trigger and hold-off, step sequencer, pending note, playback and its gain ramp,
// bit reducer, both filters and the mix. It is told the tempo and the sample rate of each
// block, note events with their sample offsets, and the working values; FreezeEffect adapts
// the host's calls to it.
//
// Threads: process, noteOn and noteOff run on the audio thread. The working values are
// written by other threads at any time (relaxed atomics); a block takes most of them once, and
// the threshold, the inverse flag, the filter types, the sequence length and the mode flags
// once per run of at most 64 samples. The editor reads the envelope, the recording flag, the
// loop length, the step index and the freeze buffers while audio runs.
#pragma once

#include <cstdint>
#include <cstring>
#include <memory>

#include "engine/Filter.h"
#include "engine/FreezeProgram.h"
#include "engine/OutputStage.h"
#include "engine/Relaxed.h"
#include "engine/StereoVector.h"
#include "engine/WorkingValues.h"

// What the host said about time in this block.
struct HostTime {
    double sampleRate;
    double tempo;  // beats per minute
};

// Where a block's time information comes from: asked once per block, after the filters'
// coefficients are computed (block preparation, step 2). Null: the host gave none.
class TimeSource {
public:
    virtual const HostTime* blockTime() = 0;

protected:
    ~TimeSource() = default;
};

// The audio-thread state (follower, recorder, trigger, playback, output stage, notes),
// readable whole (tests) and in part by the editor (the relaxed fields).
struct CoreState {
    // The follower's value, published for the editor after each run and event sample; the
    // recursion itself goes on from `follower`, a plain float, which passes from run to run
    // without the detour through an integer register that an atomic float takes.
    Relaxed<float> envelope{0.0f};
    float follower = 0.0f;
    void setFollower(float value) {
        follower = value;
        envelope = value;
    }
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
    // Output stage.
    float loopGain = 1.0f;
    FadeState fadeState = FadeState::Steady;
    int32_t fadeLength = kMinFadeLength;
    // MIDI note control.
    bool notePending = false;
    int32_t noteDelay = 0;
    int32_t noteLoopLength = 0;
};

class FreezeCore {
public:
    // Allocates the freeze buffers (zeroed); throws std::bad_alloc when it cannot.
    FreezeCore();
    FreezeCore(const FreezeCore&) = delete;
    FreezeCore& operator=(const FreezeCore&) = delete;

    WorkingValues values;

    // One block: the block preparation (filters, time, loop length, envelope, output stage,
    // repeat limit), then every sample. Null channel pointers, or frames of 0 or less, run
    // the block preparation only.
    void process(const float* const* inputs, float* const* outputs, int32_t frames, TimeSource& time);
    // The same, adding to what the outputs hold.
    void processAdding(const float* const* inputs, float* const* outputs, int32_t frames, TimeSource& time);

    // process (Accumulate false) or processAdding (true), telling `observer` where the
    // block's events fall (engine/CoreObserver.h); defined in engine/FreezeCoreBlock.h. The
    // plug-in runs it with NoObserver only.
    // Time is a TimeSource, or any class with its blockTime (HostTimeRequest). Inlined into
    // each caller, so that a block costs no call more than the signal path's own.
    template <bool Accumulate, class Observer, class Time>
    __attribute__((always_inline)) inline void processBlock(const float* const* inputs, float* const* outputs,
                                                            int32_t frames, Time& time, Observer observer);

    // MIDI notes, applied when the host hands over the events of the next block;
    // deltaFrames is the note's sample offset in that block.
    void noteOn(int32_t note, int32_t deltaFrames);
    void noteOff();

    // Clears both freeze buffers (suspend); nothing else.
    void clearBuffers();

    // Computes one filter's coefficients for the current settings and the sample rate of the
    // last block (which = 1 the pre filter, anything else the post filter); restarts its
    // memory when the design jumped far (engine/Filter.h). Done for both at every block start.
    void updateFilter(int32_t which);

    const CoreState& state() const { return audio; }
    const Filter& preFilter() const { return pre; }
    const Filter& postFilter() const { return post; }
    const float* bufferL() const { return bufL.get(); }
    const float* bufferR() const { return bufR.get(); }

private:
    template <class Observer>
    class Block;
    // The block's values as the runs use them, each in every lane, kept from block to block
    // and redone where what they come from changed; the gains and the quantisation start as a
    // dry/wet of 0 and 32 bits give them.
    struct RunVectors {
        Stereo4 wet{0.0f, 0.0f, 0.0f, 0.0f};
        Stereo4 dry{1.0f, 1.0f, 1.0f, 1.0f};
        Stereo4 quantisation{4294967296.0f, 4294967296.0f, 4294967296.0f, 4294967296.0f};  // 2 ^ bits
        Stereo4 inverseQuantisation{1.0f / 4294967296.0f, 1.0f / 4294967296.0f, 1.0f / 4294967296.0f,
                                    1.0f / 4294967296.0f};
        EnvelopeCoefficients envelope;
        StereoCoefficients pre, post;
        // The filter revisions pre and post were made from.
        uint32_t preRevision = ~0u;
        uint32_t postRevision = ~0u;
    };
    // A filter's coefficients for the settings of the block's start (OFF, or a stored type
    // outside 0..3, needs none). Inline: the common answer is "unchanged".
    __attribute__((always_inline)) static void designForBlock(const FilterSettings& settings, Filter& filter,
                                                              int32_t sampleRate) {
        const int32_t type = settings.type;
        if (isRealType(type)) {
            filter.update(type, settings.cutoff, settings.bandwidth, sampleRate);
            if (__builtin_expect(filter.stale, 0)) filter.stale = false;
        } else if (!filter.stale) {
            filter.stale = true;
        }
    }
    // The block preparation after the filters' design: time (null: the host gave none), loop
    // length, envelope, output stage, repeat limit.
    void prepareBlock(const HostTime* time);
    void takeTime(const HostTime* time);

    // Made by the constructor (which throws when it cannot) and never replaced: never null.
    const std::unique_ptr<float[]> bufL;
    const std::unique_ptr<float[]> bufR;
    CoreState audio;
    Filter pre;
    Filter post;
    // SSE memory operands need the run vectors 16-byte aligned, more than a 32-bit Windows
    // heap gives the core; they are placed at the first such address of this storage.
    unsigned char vectorStorage[sizeof(RunVectors) + alignof(RunVectors)];
    RunVectors& vectors;

    // The host's last time information, bit for bit: the same answer again changes nothing.
    HostTime takenTime{};
    bool timeTaken = false;
    // Each value derived from a stored one is kept with the stored value as it was (and the
    // first block's answer to every stored value agrees with the initial pair), so that it is
    // redone only on change.
    // The attack, release and sample rate of the envelope coefficients in the run vectors.
    float envelopeAttack = 0.0f;
    float envelopeRelease = 0.0f;
    int32_t envelopeSampleRate = 0;  // none yet
    // The dry/wet value of the gains in the run vectors.
    float mixValue = 0.0f;
    // The repeat limit of a repeat value.
    struct Repeat {
        float value = 0.0f;
        int32_t limit = wholeWorkingValue(workingRuleOf(kParamRepeat), 0.0f);
    } repeat;
    // Samples per grid unit and the tempo and sample rate it was computed from.
    double gridUnit = 0.0;
    int32_t gridTempo = 0;
    int32_t gridSampleRate = 0;
    // The loop length from the grid and the fade length, and what they were computed from.
    struct Lengths {
        float stepValue = 0.5f;
        int32_t sizeSteps = 0;  // none yet
        double gridUnit = 0.0;
        int32_t gridLength = 0;
        float knak = 0.0f;  // with a loop of 0 samples every knak gives the shortest fade
        int32_t fadeLoopLength = 0;
        int32_t fadeLength = kMinFadeLength;
    } lengths;
    // The bits value (kept within 1..32) of the quantisation in the run vectors.
    float quantisationBits = 32.0f;
    // What the last block preparation was made from, beyond the values kept above.
    struct Prepared {
        bool valid = false;
        uint32_t revision = 0;
        int32_t step = 0;
        float stepValue = 0.0f;
        bool noteControl = false;
        bool held = false;
    } prepared;
    // Whether the last preparation still holds for this block (null time: the host gave none).
    // Inline, before the call of prepareBlock: nearly every block asks only this.
    __attribute__((always_inline)) bool preparationHolds(const HostTime* time) const;
    static bool sameBits(float a, float b) { return std::memcmp(&a, &b, sizeof a) == 0; }
    // Two words each, compared without a call of memcmp.
    static bool sameBits(const HostTime& a, const HostTime& b) {
        static_assert(sizeof(HostTime) == 2 * sizeof(uint64_t), "two doubles");
        uint64_t x[2], y[2];
        std::memcpy(x, &a, sizeof x);
        std::memcpy(y, &b, sizeof y);
        return ((x[0] ^ y[0]) | (x[1] ^ y[1])) == 0;
    }
    // The step whose value sets the loop length (a step index outside the table reads step 0).
    int32_t preparedStep() const {
        const int32_t step = audio.stepIndex;
        return step < 0 || step >= kNumStepValues ? 0 : step;
    }
};
