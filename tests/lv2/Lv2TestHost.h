// A small LV2 host for the tests: loads the built bundle alone through lilv, as hosts do, maps
// URIDs, runs an instance in blocks with MIDI notes and time:Position on its event port, and
// renders the same settings through the VST 2 .so with the render tool's core.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include <lilv/lilv.h>
#include <lv2/urid/urid.h>

#include "UridMap.h"
#include "tools/render/AudioData.h"
#include "tools/render/RenderSettings.h"
#include "ReferenceRender.h"

// The bundle in the build tree, loaded into a world of its own.
class Lv2Bundle {
public:
    static Lv2Bundle& shared();
    LilvWorld* world() const { return lilvWorld; }
    const LilvPlugin* plugin() const { return lilvPlugin; }
    LilvNode* uri(const char* text) const;  // owned by the bundle
    // The features a full host gives: URID map and unmap.
    const LV2_Feature* const* features() const { return featureList; }

private:
    Lv2Bundle();
    ~Lv2Bundle();
    LilvWorld* lilvWorld = nullptr;
    const LilvPlugin* lilvPlugin = nullptr;
    mutable std::vector<LilvNode*> nodes;
    LV2_Feature mapFeature{};
    LV2_Feature unmapFeature{};
    const LV2_Feature* featureList[3] = {};
};

// What to play through both formats: the render tool's settings, which the LV2 run turns into
// port values (by the parameter table's names), notes and a time:Position.
struct PlaySettings {
    RenderSettings render;
    double sampleRate = 44100.0;
    bool sendTempo = true;         // a time:Position with render.tempo before the first block
    bool tempoOnTimePort = false;  // on the time-only input, as Ardour sends it on audio tracks
    bool inPlace = false;          // the LV2 outputs are the input buffers
    std::string lv2Preset;         // the LV2 preset applied first (the render side takes the file)
};

// An instance of the bundle's plug-in with buffers of its own.
class Lv2Run {
public:
    explicit Lv2Run(double sampleRate, const LV2_Feature* const* features = nullptr);
    ~Lv2Run();
    bool ok() const { return instance != nullptr; }
    LilvInstance* get() const { return instance; }
    void* handle() const { return lilv_instance_get_handle(instance); }

    // The port with this symbol, or -1.
    int32_t portIndex(const std::string& symbol) const;
    void setControl(uint32_t port, float value) { controls.at(port) = value; }
    float control(uint32_t port) const { return controls.at(port); }
    void setControl(const std::string& symbol, float value);
    // Applies an LV2 preset's port values, as hosts do.
    void applyPreset(const LilvNode* preset);

    // Settings and notes as the render tool takes them; output sized to the input.
    void applySettings(const RenderSettings& settings);
    void play(const AudioData& input, AudioData& output, const PlaySettings& settings);
    // One run of `frames` samples from in/out (no events unless queued).
    void runBlock(const float* inL, const float* inR, float* outL, float* outR, uint32_t frames);
    // Queues a time:Position with this tempo (float) for the next run.
    void queueTempo(float bpm) { pendingTempo.push_back(bpm); }
    void queueMidi(int64_t frame, uint8_t status, uint8_t data1, uint8_t data2);
    void connectEvents(bool connected) { eventsConnected = connected; }
    // time:Position goes to the time-only input instead of the event input.
    void tempoOnTimePort(bool on) { tempoToTimePort = on; }

private:
    void writeEvents();
    LilvInstance* instance = nullptr;
    std::vector<float> controls;
    std::vector<uint64_t> eventBuffer;
    std::vector<uint64_t> timeBuffer;
    bool tempoToTimePort = false;
    struct PendingMidi {
        int64_t frame;
        uint8_t bytes[3];
    };
    std::vector<PendingMidi> pendingMidi;
    std::vector<float> pendingTempo;
    bool eventsConnected = true;
    uint32_t eventPort = 0;
};

