// The render core of the offline host: loads a plug-in through its entry point, serves time
// information, applies settings and chunks, and plays audio through it in blocks with MIDI.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "vst2/VstApi.h"
#include "tools/loader/PluginLoader.h"
#include "tools/render/AudioData.h"
#include "tools/render/PresetFile.h"
#include "tools/render/RenderSettings.h"

// Makes an effect for a host callback, as a plug-in's entry point does.
using EffectFactory = std::function<AEffect*(audioMasterCallback)>;

class RenderSession {
public:
    RenderSession() = default;
    RenderSession(const RenderSession&) = delete;
    RenderSession& operator=(const RenderSession&) = delete;
    ~RenderSession();

    // Loads the binary, creates the effect and switches it on. On failure error says why.
    bool open(const std::string& pluginPath, double sampleRate, int32_t blockSize, std::string& error);
    // The same with an effect made in this process (the plot's observed engine); `name` names
    // it in messages.
    bool open(const EffectFactory& create, const std::string& name, double sampleRate, int32_t blockSize,
              std::string& error);
    // Bank, program, preset, program name, parameters by name and editor-only settings, in
    // that order.
    bool configure(const RenderSettings& settings, std::string& error);
    // What the plug-in holds now as an .fxb (bank) or .fxp (current program) file of its chunk.
    bool saveStateFile(bool bank, std::vector<unsigned char>& bytes, std::string& error);
    // Sizes the output for the input (zero-filled), so that a timed render() need not.
    static void prepareOutput(const AudioData& input, AudioData& output);
    // Plays the input through the effect; progress gets the frames done so far.
    void render(const AudioData& input, AudioData& output, const RenderSettings& settings,
                const std::function<void(size_t)>& progress = nullptr);
    void close();

    // The host side, answered for the effect whose record user field points here.
    intptr_t answer(int32_t opcode, intptr_t value);
    int32_t timeRequests() const { return timeRequestCount; }

private:
    intptr_t dispatch(int32_t opcode, int32_t index = 0, intptr_t value = 0, void* ptr = nullptr,
                      float opt = 0.0f);
    // A preset or bank file of any of the four kinds, or a raw chunk; the bank's current
    // program (or the one selected before) is applied afterwards.
    bool loadStateFile(const std::string& path, bool bank, std::string& error);
    // Gives a program chunk (or, `bank`, a bank chunk, then selects program `current`) to the
    // plug-in, after checking its size.
    bool applyChunk(const std::vector<unsigned char>& chunk, bool bank, int32_t current,
                    const std::string& path, std::string& error);
    void applyProgramParameters(const PresetProgram& program);
    bool setParameterByName(const std::string& name, float value, std::string& error);
    void sendEvents(const std::vector<MidiNote>& notes, size_t first, size_t last, int64_t blockStart);

    AEffect* effect = nullptr;
    VstTimeInfo timeInfo{};
    int32_t maxBlock = 512;
    int32_t timeRequestCount = 0;
    std::vector<VstMidiEvent> midiEvents;
    std::vector<unsigned char> eventList;
};

// Block sizes a host might send: fixed, or changing in a repeatable pattern up to the maximum.
class BlockSchedule {
public:
    BlockSchedule(int32_t maxBlock, bool vary) : largest(maxBlock), varying(vary) {}
    int32_t next();

private:
    int32_t largest;
    bool varying;
    uint32_t state = 12345u;
    int32_t count = 0;
};
