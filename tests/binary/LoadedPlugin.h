// The built plug-in binary, reached only through its exported entry point, and a host
// callback that records what the plug-in asks of it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "vst2/VstApi.h"
#include "tools/loader/PluginLoader.h"

// One request the plug-in sent to the host.
struct HostRequest {
    bool nullEffect;
    int32_t opcode;
    int32_t index;
    intptr_t value;
};

// The host side of every test: answers the version and the time, records each request.
// Tests run one at a time, so the state is plain process-wide data.
struct RecordingHost {
    static intptr_t VSTCALL callback(AEffect* effect, int32_t opcode, int32_t index, intptr_t value,
                                     void* ptr, float opt);
    static void reset();
    static int count(int32_t opcode);

    static std::vector<HostRequest> requests;
    static intptr_t versionAnswer;  // 2400 unless a test plays an old host
    static bool answerTime;         // false: audioMasterGetTime answers null
    static VstTimeInfo timeInfo;    // 44.1 kHz, 120 bpm
};

// The plug-in file: BRINDLE_PLUGIN (environment) if set, else the one this tree built.
// Under Wine a Unix path is turned into its Z: drive form.
std::string pluginPath();

// The library, loaded once per test program; fails the calling test when it cannot load.
PluginLoader& pluginLibrary();

// One plug-in instance created through the entry point; closed with effClose when it ends.
class PluginInstance {
public:
    PluginInstance();
    ~PluginInstance();
    PluginInstance(const PluginInstance&) = delete;
    PluginInstance& operator=(const PluginInstance&) = delete;

    AEffect* effect() const { return record; }
    explicit operator bool() const { return record != nullptr; }

    intptr_t dispatch(int32_t opcode, int32_t index = 0, intptr_t value = 0, void* ptr = nullptr,
                      float opt = 0.0f) const;
    // A text request (names, labels, displays, vendor): what the plug-in wrote.
    std::string text(int32_t opcode, int32_t index = 0) const;
    void setParameter(int32_t index, float value) const;
    float getParameter(int32_t index) const;
    void setProgram(int32_t program) const { dispatch(effSetProgram, 0, program); }
    int32_t program() const { return static_cast<int32_t>(dispatch(effGetProgram)); }
    std::string programName() const { return text(effGetProgramName); }
    // Copies the chunk the plug-in hands over (its memory stays the plug-in's).
    std::vector<unsigned char> chunk(bool preset) const;
    intptr_t setChunk(std::vector<unsigned char> bytes, bool preset) const;
    // Ends the instance now; answers what effClose answered.
    intptr_t close();

private:
    AEffect* record = nullptr;
};

// Little-endian fields of a byte image.
int32_t readInt32(const unsigned char* bytes);
float readFloat(const unsigned char* bytes);
void writeFloat(unsigned char* bytes, float value);
