// The working values that the signal path reads: program slot values and what is
// derived from them, the threshold and inverse switch, the filter types, steps, sequence
// length and mode flags. Written by the host's and the editor's threads, read by the audio
// thread: every field is a relaxed atomic, each change a single store.
#pragma once

#include <atomic>
#include <cstdint>

#include "engine/FreezeProgram.h"
#include "engine/Relaxed.h"

// The cutoff and bandwidth values a filter is designed from (the working values of its cutoff
// and reso parameters, engine/ParameterTable.h), and its type (as stored: a type outside 1..3
// runs no filter).
struct FilterSettings {
    Relaxed<int32_t> type{static_cast<int32_t>(kDefaultFilterType)};
    Relaxed<float> cutoff;     // cutoff parameter squared, 0..1
    Relaxed<float> bandwidth;  // octaves, 0.1..1
};

struct WorkingValues {
    WorkingValues();

    // Stores a program slot's value (0..10) and derives its working value by the parameter's
    // rule (engine/ParameterTable.h): size steps, bits, a filter's cutoff or bandwidth. Derived
    // values stay inside their ranges whatever is stored; a NaN takes the rule's value for NaN.
    // The other slots' values are derived where the signal path reads them (FreezeCore).
    void setProgramValue(int32_t slot, float value);
    // Derives the sequence length (1..16, NaN 16) from a sequence-length value.
    void setSequenceLength(float value);
    // The size parameter's working value: trunc(15 size + 1), kept within 1..16.
    static int32_t sizeStepsOf(float size);

    // Counts the calls of setProgramValue, bumped after its stores (release): a block that
    // sees the count, the time, the step and the modes of the last one has nothing to redo.
    // The program values and what is derived from them change only there.
    std::atomic<uint32_t> programRevision{0};
    Relaxed<float> programValues[kNumProgramValues];
    Relaxed<float> threshold{kDefaultThreshold};
    Relaxed<bool> inverse{false};
    Relaxed<int32_t> sizeSteps;
    Relaxed<float> bitsValue;
    FilterSettings preFilter;
    FilterSettings postFilter;
    Relaxed<float> sequenceLengthValue;
    Relaxed<int32_t> sequenceLength;
    Relaxed<float> stepValues[kNumStepValues];
    Relaxed<bool> midiNoteControl{false};
    Relaxed<bool> noteRecordStart{false};
    Relaxed<bool> repeatTillNoteOff{false};
};
