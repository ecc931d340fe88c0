// What FreezeCore::processBlock tells an observer, and NoObserver, the one the plug-in uses.
//
// An observer is a small copyable type, copied into each block (a handle to where it keeps
// what it is told). Its hooks are called on the audio thread at the per-sample steps where the
// engine's state changes. They get the state rather than values read from it: the state's
// shared fields are atomics, whose loads would stay in the plug-in's code even where no hook
// uses them.
//   at(sample)                          the sample (offset in the block) the next hooks concern
//   level(sample, envelope, threshold)  the follower's level after the samples before `sample`
//                                       and the threshold (once per run: at most 64 apart)
//   trigger(envelope, state)            the trigger fired: the recorder starts, the sequencer
//                                       moved to state.stepIndex
//   recordingEnd()                      the recorder filled the loop length and stops
//   noteApplied(state)                  a pending MIDI note took effect: state.loopLength is
//                                       its length; state.recording says whether it records
//   wrap(state, repeatLimit)            the playback wraps to the loop's start after playing
//                                       state.loopLength samples; pass state.repeatCount + 1
//                                       is the last where it reaches repeatLimit
// Hooks change nothing in the engine, so the output is the same with any observer.
#pragma once

#include <cstdint>

struct CoreState;

// Empty hooks: a block run with it compiles to the block without any.
struct NoObserver {
    void at(int32_t) {}
    void level(int32_t, float, float) {}
    void trigger(float, const CoreState&) {}
    void recordingEnd() {}
    void noteApplied(const CoreState&) {}
    void wrap(const CoreState&, int32_t) {}
};
