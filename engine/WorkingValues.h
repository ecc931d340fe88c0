// The working values that the signal path reads: program slot values and what is
// derived from them, the threshold and inverse switch, the filter types, steps, sequence
// length and mode flags. Written by the host's and the editor's threads, read by the audio
// thread: every field is a relaxed atomic, each change a single store.
#pragma once

#include <cstdint>

#include "engine/FreezeProgram.h"
#include "engine/Relaxed.h"

// The cutoff and bandwidth values a filter is designed from, and its type (as stored: a type
// outside 1..3 runs no filter).
struct FilterSettings {
    Relaxed<int32_t> type{0};
    Relaxed<float> cutoff{1.0f};     // cutoff parameter squared, 0..1
    Relaxed<float> bandwidth{1.0f};  // octaves, 0.1..1
};

struct WorkingValues {
    WorkingValues();

    // Stores a program slot's value (0..10) and derives its working value: size steps, bits,
    // a filter's cutoff or bandwidth. Derived values stay inside their tables whatever is
    // stored; a NaN takes the setting's default (1 step excepted: NaN size gives 1).
    void setProgramValue(int32_t slot, float value);
    // Derives the sequence length (1..16, NaN 16) from a sequence-length value.
    void setSequenceLength(float value);
    // trunc(15 size + 1), kept within 1..16.
    static int32_t sizeStepsOf(float size);

    Relaxed<float> programValues[kNumProgramValues];
    Relaxed<float> threshold{kDefaultThreshold};
    Relaxed<bool> inverse{false};
    Relaxed<int32_t> sizeSteps{4};
    Relaxed<float> bitsValue{32.0f};
    FilterSettings preFilter;
    FilterSettings postFilter;
    Relaxed<float> sequenceLengthValue{1.0f};
    Relaxed<int32_t> sequenceLength{16};
    Relaxed<float> stepValues[kNumStepValues];
    Relaxed<bool> midiNoteControl{false};
    Relaxed<bool> noteRecordStart{false};
    Relaxed<bool> repeatTillNoteOff{false};
};
