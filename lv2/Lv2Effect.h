// The effect as an LV2 instance: the host's control ports, its event input and its run calls
// become the calls a VST 2 host makes (setParameter, note events, processReplacing with time
// information), so that the same engine plays the same samples.
#pragma once

#include <cstdint>

#include <lv2/atom/atom.h>
#include <lv2/urid/urid.h>

#include "engine/FreezeEffect.h"
#include "lv2/Lv2Ports.h"

// The URIDs the instance reads and writes; all 0 (no URID) without the host's map.
struct Lv2Urids {
    explicit Lv2Urids(const LV2_URID_Map* map);
    bool mapped() const { return midiEvent != 0; }
    LV2_URID atomBlank, atomObject, atomFloat, atomDouble, atomInt, atomLong, midiEvent, timePosition,
        timeBeatsPerMinute, stateBank, stateBankType, stateProgram;
};

class Lv2Effect : public FreezeEffect {
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

    // The value a control port stands for, read from the engine (any thread).
    float controlValue(uint32_t port);
    // Applies a control port's value as a VST 2 host's setParameter or the editor's operation
    // would (audio thread, or instantiation thread before run).
    void applyControl(uint32_t port, float value);

    // The time information of the block being run: the instance's rate and the host's tempo.
    VstTimeInfo* hostGetTime(int32_t filter) override;

    double currentTempo() const { return timeInfo.tempo; }

private:
    void applyControlPorts();
    void readEvents(const LV2_Atom_Sequence* sequence);
    void takeTempo(const LV2_Atom_Object& position);
    void sendMidi(const uint8_t* bytes, uint32_t size, int64_t frame);

    Lv2Urids uris;
    float* audio[4] = {};
    // The host's control ports; an unconnected one reads its own last value, so never changes.
    const float* controls[kNumControlPorts] = {};
    // What each control port held at the last run, bit for bit (a change is a change of bits,
    // so a NaN held by the host is applied once).
    float lastControls[kNumControlPorts] = {};
    const LV2_Atom_Sequence* events = nullptr;
    const LV2_Atom_Sequence* timeEvents = nullptr;
    VstTimeInfo timeInfo{};
};
