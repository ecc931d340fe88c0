// What each editor-only setting is, in one table beside the parameter table: the filter
// types, the sequence length, the three MIDI modes and the inverse switch. Every format that
// shows them to its host (LV2 ports, VST 3 and CLAP parameters) lists them from here, in this
// order, after the twelve parameters. A setting's value is plain: a filter type 0..3, a number
// of steps 1..16, a switch 0 or 1.
//
// Portable C++17, constexpr throughout, no OS headers.
#pragma once

#include <cstdint>

#include "engine/ParameterTable.h"

enum class Setting : int32_t {
    preFilterType,
    postFilterType,
    sequenceLength,
    midiNoteControl,
    noteRecordStart,
    repeatTillNoteOff,
    inverse,
};
constexpr int32_t kNumSettings = 7;

enum class SettingKind : int32_t { filterType, steps, toggle };

struct SettingInfo {
    Setting setting;
    const char* symbol;  // LV2 symbol; also the VST 3 and CLAP module path's last part
    const char* name;
    const char* comment;  // one sentence for a host's tooltip or documentation
    SettingKind kind;
    int32_t minimum;
    int32_t maximum;
    int32_t defaultValue;  // as a new instance holds it
};

inline constexpr SettingInfo kSettingTable[kNumSettings] = {
    {Setting::preFilterType, "pre_filter_type", "Pre filter type",
     "Type of the filter before the freeze buffer: off, low-pass, high-pass or band-pass",
     SettingKind::filterType, 0, kMaxFilterType, 0},
    {Setting::postFilterType, "post_filter_type", "Post filter type",
     "Type of the filter on the loop's output: off, low-pass, high-pass or band-pass", SettingKind::filterType,
     0, kMaxFilterType, 0},
    {Setting::sequenceLength, "sequence_length", "Sequence length",
     "How many of the sixteen steps the sequencer plays before it starts again", SettingKind::steps, 1,
     kMaxSequenceLength, kMaxSequenceLength},
    {Setting::midiNoteControl, "midi_note_control", "MIDI note control",
     "A MIDI note sets the loop length from its pitch and starts the loop", SettingKind::toggle, 0, 1, 0},
    {Setting::noteRecordStart, "note_record_start", "Note starts recording",
     "A MIDI note starts a recording instead of the envelope", SettingKind::toggle, 0, 1, 0},
    {Setting::repeatTillNoteOff, "repeat_till_note_off", "Repeat until note-off",
     "The loop repeats while the note is held, whatever the repeat limit", SettingKind::toggle, 0, 1, 0},
    {Setting::inverse, "inverse", "Inverse trigger",
     "The envelope falling below the threshold triggers the freeze instead of rising above it",
     SettingKind::toggle, 0, 1, 0},
};

constexpr const SettingInfo& settingInfo(Setting setting) {
    return kSettingTable[static_cast<int32_t>(setting)];
}

// Texts of a toggle's two values.
inline constexpr const char* kToggleTexts[2] = {"off", "on"};

// --- controls: the parameters, then the settings, then bypass ---
//
// One number for everything a host may see, used by the edit sink and as VST 3 and CLAP
// parameter ids: 0..11 the parameters (their VST 2 indices), 12..18 the settings in table
// order, 19 bypass.

constexpr int32_t kFirstSettingControl = kNumParams;
constexpr int32_t kBypassControl = kFirstSettingControl + kNumSettings;
constexpr int32_t kNumControls = kBypassControl + 1;

constexpr bool isSettingControl(int32_t control) {
    return control >= kFirstSettingControl && control < kBypassControl;
}
constexpr int32_t controlOfSetting(Setting setting) {
    return kFirstSettingControl + static_cast<int32_t>(setting);
}
constexpr Setting settingOfControl(int32_t control) { return static_cast<Setting>(control - kFirstSettingControl); }

namespace settingTableDetail {
constexpr bool tableIsConsistent() {
    for (int32_t i = 0; i < kNumSettings; ++i) {
        const SettingInfo& info = kSettingTable[i];
        if (static_cast<int32_t>(info.setting) != i) return false;
        if (!(info.minimum < info.maximum) || info.defaultValue < info.minimum || info.defaultValue > info.maximum)
            return false;
        for (int32_t j = 0; j < kNumParams; ++j)
            if (parameterTableDetail::sameText(kParameterTable[j].lv2Symbol, info.symbol)) return false;
        for (int32_t j = 0; j < i; ++j)
            if (parameterTableDetail::sameText(kSettingTable[j].symbol, info.symbol)) return false;
    }
    return true;
}
}  // namespace settingTableDetail
static_assert(settingTableDetail::tableIsConsistent(), "one row per setting in order, symbols unique");
