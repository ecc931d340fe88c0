// What the in-process engine did during a render, at sample positions of the render: the
// follower's level, triggers, recordings, notes taking effect and loop wraps.
#pragma once

#include <cstdint>
#include <vector>

#include "engine/FreezeCore.h"

struct LevelPoint {
    int64_t position;  // the level after the samples before this one
    float envelope;
    float threshold;
};

enum class EventKind {
    Trigger,       // value: the step index the sequencer moved to
    RecordingEnd,  // value: 0
    NoteApplied,   // value: the note's loop length in samples
    LoopStart,     // value: the length of the pass that ended here
    LoopEnd,       // the same, where the pass reached the repeat limit and playback stops
};

struct EngineEvent {
    EventKind kind;
    int64_t position;
    int32_t value;
    float level = 0.0f;            // Trigger: the follower's level that fired it
    bool startsRecording = false;  // NoteApplied: the note starts the recorder
};

struct EngineEvents {
    std::vector<LevelPoint> levels;
    std::vector<EngineEvent> events;

    std::vector<EngineEvent> only(EventKind kind) const;
};

// The observer FreezeCore::processBlock is run with (engine/CoreObserver.h): a handle that
// writes to an EngineEvents, copied into each block with the block's start. Its members'
// names stay clear of the block's, which derives from it.
class EventRecorder {
public:
    EventRecorder(EngineEvents& into, int64_t blockStart) : recordTo(&into), recordStart(blockStart) {}

    void at(int32_t offset) { recordSample = offset; }
    void level(int32_t offset, float envelope, float threshold) {
        recordTo->levels.push_back({recordStart + offset, envelope, threshold});
    }
    void trigger(float envelope, const CoreState& state) {
        add(EventKind::Trigger, state.stepIndex, envelope);
    }
    void recordingEnd() { add(EventKind::RecordingEnd, 0); }
    void noteApplied(const CoreState& state) {
        add(EventKind::NoteApplied, state.loopLength);
        recordTo->events.back().startsRecording = state.recording == 1;
    }
    void wrap(const CoreState& state, int32_t repeatLimit) {
        add(state.repeatCount + 1 < repeatLimit ? EventKind::LoopStart : EventKind::LoopEnd,
            state.loopLength);
    }

private:
    void add(EventKind kind, int32_t value, float envelope = 0.0f) {
        recordTo->events.push_back({kind, recordStart + recordSample, value, envelope});
    }

    EngineEvents* recordTo;
    int64_t recordStart;
    int32_t recordSample = 0;
};
