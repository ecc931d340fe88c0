// A MIDI message as every format reads it, as the VST 2 build always has: a note-on of velocity
// above 0 plays a note, a note-off or a note-on of velocity 0 ends one, anything else is no note.
#pragma once

#include <cstdint>

#include "plugin/PluginEvents.h"

// The note a message of `size` bytes holds (frame 0), or false for none; missing bytes read 0.
inline bool noteOfMidi(const uint8_t* bytes, uint32_t size, TimedEvent& event) {
    if (!bytes || size < 1) return false;
    const int32_t status = bytes[0] & 0xF0;
    const int32_t note = size > 1 ? bytes[1] & 0x7F : 0;
    const int32_t velocity = size > 2 ? bytes[2] & 0x7F : 0;
    if (status == 0x80 || (status == 0x90 && velocity == 0)) {
        event = {0, EventType::noteOff, note, 0.0f};
        return true;
    }
    if (status != 0x90) return false;
    event = {0, EventType::noteOn, note, static_cast<float>(velocity)};
    return true;
}
