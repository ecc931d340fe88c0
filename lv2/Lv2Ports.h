// The ports of the LV2 plug-in: stereo audio, the event input, the twelve parameters in their
// VST 2 order, the settings that only the editor changes in the VST 2 build, then a second
// event input for time:Position alone (Ardour writes the position only to event inputs that
// take no MIDI when the track has no MIDI, as on an audio track).
#pragma once

#include <cstdint>

#include "engine/FreezeProgram.h"

enum : uint32_t {
    kPortInputLeft = 0,
    kPortInputRight = 1,
    kPortOutputLeft = 2,
    kPortOutputRight = 3,
    kPortEvents = 4,  // MIDI notes and time:Position; optional
    kPortFirstParameter = 5,
};

// The editor-only settings, in port order after the parameters.
enum class ExtraControl : int32_t {
    preFilterType,
    postFilterType,
    sequenceLength,
    midiNoteControl,
    noteRecordStart,
    repeatTillNoteOff,
    inverse,
};
constexpr int32_t kNumExtraControls = 7;

enum class ControlKind { filterType, steps, toggle };

struct ExtraControlInfo {
    ExtraControl control;
    const char* symbol;
    const char* name;
    ControlKind kind;
    int32_t minimum;
    int32_t maximum;
    int32_t defaultValue;  // as a new instance holds it
};

inline constexpr ExtraControlInfo kExtraControls[kNumExtraControls] = {
    {ExtraControl::preFilterType, "pre_filter_type", "Pre filter type", ControlKind::filterType, 0,
     kMaxFilterType, 0},
    {ExtraControl::postFilterType, "post_filter_type", "Post filter type", ControlKind::filterType, 0,
     kMaxFilterType, 0},
    {ExtraControl::sequenceLength, "sequence_length", "Sequence length", ControlKind::steps, 1,
     kMaxSequenceLength, kMaxSequenceLength},
    {ExtraControl::midiNoteControl, "midi_note_control", "MIDI note control", ControlKind::toggle, 0, 1, 0},
    {ExtraControl::noteRecordStart, "note_record_start", "Note starts recording", ControlKind::toggle, 0, 1,
     0},
    {ExtraControl::repeatTillNoteOff, "repeat_till_note_off", "Repeat until note-off", ControlKind::toggle, 0,
     1, 0},
    {ExtraControl::inverse, "inverse", "Inverse trigger", ControlKind::toggle, 0, 1, 0},
};


constexpr uint32_t kPortFirstExtra = kPortFirstParameter + kNumParams;
constexpr uint32_t kNumControlPorts = kNumParams + kNumExtraControls;
constexpr uint32_t kPortTime = kPortFirstParameter + kNumControlPorts;  // time:Position; optional
constexpr uint32_t kNumPorts = kPortTime + 1;

constexpr bool isControlPort(uint32_t port) { return port >= kPortFirstParameter && port < kPortTime; }
