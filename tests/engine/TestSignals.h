// Test signals and helpers that run audio through the signal path (CoreRig) or the whole
// effect (FreezeEffect): anything with processReplacing and process.
#pragma once

#include <cmath>
#include <cstdint>
#include <vector>

#include "vst2/VstApi.h"

struct Stereo {
    std::vector<float> left;
    std::vector<float> right;
    explicit Stereo(size_t frames = 0, float value = 0.0f) : left(frames, value), right(frames, value) {}
    size_t size() const { return left.size(); }
};

// Runs the input through processReplacing (or process, adding to `out`) in blocks of the
// given sizes, repeated cyclically.
template <typename Engine>
void render(Engine& effect, const Stereo& in, Stereo& out, const std::vector<int32_t>& blockSizes,
            bool accumulate = false) {
    if (out.size() != in.size()) out = Stereo(in.size());
    size_t at = 0;
    size_t next = 0;
    while (at < in.size()) {
        int32_t block = blockSizes[next++ % blockSizes.size()];
        if (static_cast<size_t>(block) > in.size() - at) block = static_cast<int32_t>(in.size() - at);
        float* inputs[2] = {const_cast<float*>(in.left.data() + at),
                            const_cast<float*>(in.right.data() + at)};
        float* outputs[2] = {out.left.data() + at, out.right.data() + at};
        if (accumulate)
            effect.process(inputs, outputs, block);
        else
            effect.processReplacing(inputs, outputs, block);
        at += static_cast<size_t>(block);
    }
}

template <typename Engine>
Stereo render(Engine& effect, const Stereo& in, int32_t blockSize = 512) {
    Stereo out(in.size());
    render(effect, in, out, {blockSize});
    return out;
}

// One sample through processReplacing; returns the left output.
template <typename Engine>
float step(Engine& effect, float left, float right) {
    float inL = left;
    float inR = right;
    float outL = 0.0f;
    float outR = 0.0f;
    float* inputs[2] = {&inL, &inR};
    float* outputs[2] = {&outL, &outR};
    effect.processReplacing(inputs, outputs, 1);
    return outL;
}

template <typename Engine>
float step(Engine& effect, float value) {
    return step(effect, value, value);
}

// A VstEvents list of MIDI messages, laid out as hosts do (numEvents pointers).
struct MidiList {
    std::vector<VstMidiEvent> events;
    std::vector<unsigned char> storage;

    void add(int32_t deltaFrames, int status, int data1, int data2) {
        VstMidiEvent event{};
        event.type = kVstMidiType;
        event.byteSize = sizeof(VstMidiEvent);
        event.deltaFrames = deltaFrames;
        event.midiData[0] = static_cast<char>(status);
        event.midiData[1] = static_cast<char>(data1);
        event.midiData[2] = static_cast<char>(data2);
        events.push_back(event);
    }

    VstEvents* list() {
        const size_t bytes = sizeof(VstEvents) + events.size() * sizeof(VstEvent*);
        storage.assign(bytes, 0);
        auto* list = reinterpret_cast<VstEvents*>(storage.data());
        list->numEvents = static_cast<int32_t>(events.size());
        VstEvent** pointers = list->events;
        for (size_t i = 0; i < events.size(); ++i) pointers[i] = reinterpret_cast<VstEvent*>(&events[i]);
        return list;
    }
};

inline bool allFinite(const Stereo& s) {
    for (size_t i = 0; i < s.size(); ++i)
        if (!std::isfinite(s.left[i]) || !std::isfinite(s.right[i])) return false;
    return true;
}
