// The plug-in as an LV2 instance: the host's control ports, its event inputs and its run calls
// become the format-neutral plug-in's controls, notes, transport and blocks.
#pragma once

#include <cstdint>

#include <lv2/atom/atom.h>
#include <lv2/urid/urid.h>

#include "lv2/Lv2Ports.h"
#include "plugin/FreezePlugin.h"

// The URIDs the instance reads and writes; all 0 (no URID) without the host's map.
struct Lv2Urids {
    explicit Lv2Urids(const LV2_URID_Map* map);
    bool mapped() const { return midiEvent != 0; }
    LV2_URID atomBlank, atomObject, atomFloat, atomDouble, atomInt, atomLong, midiEvent, timePosition,
        timeBeatsPerMinute, timeSpeed, timeBeat, stateBank, stateBankType, stateProgram;
};

class Lv2Effect {
public:
    // Throws std::bad_alloc when the engine's buffers cannot be had. Without a URID map (hosts
    // such as lv2apply give none) the instance plays audio and controls only: events are not
    // read and state is refused.
    Lv2Effect(double rate, const LV2_URID_Map* map);

    // Instantiation thread.
    void connectPort(uint32_t port, void* data);
    void activate();
    const Lv2Urids& urids() const { return uris; }

    // Audio thread: control changes, then notes and tempo, then the audio of any length.
    void run(uint32_t frames);

    // The value a control port stands for, read from the plug-in (any thread).
    float controlValue(uint32_t port) const;
    // Applies a control port's value (audio thread, or instantiation thread before run).
    void applyControl(uint32_t port, float value);

    double currentTempo() const { return transport.tempo; }
    FreezePlugin& plugin() { return neutral; }
    const FreezePlugin& plugin() const { return neutral; }

    // What the UI checks before it uses an instance reached through instance access: that it
    // is this build's (a UI of another build would misread every field). Reads only the tag,
    // the instance's first bytes.
    static bool isThisBuild(const void* instance);

private:
    void applyControlPorts();
    void readEvents(const LV2_Atom_Sequence* sequence);
    void takePosition(const LV2_Atom_Object& position);
    void takeMidi(const uint8_t* bytes, uint32_t size, int64_t frame);

    // First: the version and the instance's layout, as text.
    char buildTag[48];
    FreezePlugin neutral;
    Lv2Urids uris;
    float* audio[4] = {};
    // The host's control ports; an unconnected one reads its own last value, so never changes.
    const float* controls[kNumControlPorts] = {};
    // What each control port held at the last run, bit for bit (a change is a change of bits,
    // so a NaN held by the host is applied once).
    float lastControls[kNumControlPorts] = {};
    const float* enabled = nullptr;
    const LV2_Atom_Sequence* events = nullptr;
    const LV2_Atom_Sequence* timeEvents = nullptr;
    Transport transport;
};
