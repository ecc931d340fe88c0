// What a format hands the plug-in with each block: the events inside it at their frame offsets
// and the host's transport. The project's own types; each format converts its host's into them.
#pragma once

#include <cstdint>

enum class EventType : int32_t {
    noteOn,   // `number` the note (0..127), `value` the velocity (1..127)
    noteOff,  // `number` the note
    control,  // `number` a control (engine/SettingTable.h), `value` the plug-in's own value
};

struct TimedEvent {
    int32_t frame;  // offset in the block; outside 0..frames-1 it is taken at the nearest end
    EventType type;
    int32_t number;
    float value;
};

// The events of a block, in the order the host gave them (formats give them sorted by frame;
// an event before an earlier one's frame acts at that earlier frame).
struct EventList {
    const TimedEvent* events = nullptr;
    int32_t count = 0;
};

// The host's musical time at the block's first frame.
struct Transport {
    bool hasTempo = false;  // false: the plug-in plays at 120 BPM, as a VST 2 host without time
    double tempo = 120.0;   // beats per minute
    bool hasPosition = false;
    double beatPosition = 0.0;  // quarter notes from the song's start
    bool playing = false;
};
