// The ports of the LV2 plug-in: stereo audio, the event input, the twelve parameters in their
// VST 2 order, the settings that only the editor changes in the VST 2 build, then a second
// event input for time:Position alone (Ardour writes the position only to event inputs that
// take no MIDI when the track has no MIDI, as on an audio track), and last the enabled port.
#pragma once

#include <cstdint>

#include "engine/SettingTable.h"

enum : uint32_t {
    kPortInputLeft = 0,
    kPortInputRight = 1,
    kPortOutputLeft = 2,
    kPortOutputRight = 3,
    kPortEvents = 4,  // MIDI notes and time:Position; optional
    kPortFirstParameter = 5,
};

// The editor-only settings (engine/SettingTable.h) follow the parameters, in table order.
constexpr uint32_t kPortFirstExtra = kPortFirstParameter + kNumParams;
constexpr uint32_t kNumControlPorts = kNumParams + kNumSettings;
constexpr uint32_t kPortTime = kPortFirstParameter + kNumControlPorts;  // time:Position; optional
// lv2:enabled: 1 plays, 0 bypasses (the plug-in fades to its input and back).
constexpr uint32_t kPortEnabled = kPortTime + 1;
constexpr uint32_t kNumPorts = kPortEnabled + 1;

constexpr bool isControlPort(uint32_t port) { return port >= kPortFirstParameter && port < kPortTime; }
