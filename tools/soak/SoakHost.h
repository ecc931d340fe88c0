// The soak's host: loads the plug-in binary, answers its requests (time information with
// the tempo and rate the run chooses, or none) and calls the record's entries.
#pragma once

#include <string>

#include "vst2/VstApi.h"

struct SoakTime {
    double sampleRate = 44100.0;
    double tempo = 120.0;
    bool served = true;  // false: the host answers the time request with nothing
};

class SoakHost {
public:
    // Loads the binary and creates one instance through its entry point; false with a reason
    // in error() when that fails.
    bool open(const std::string& path);
    const std::string& error() const { return why; }

    intptr_t dispatch(int32_t opcode, int32_t index = 0, intptr_t value = 0, void* ptr = nullptr,
                      float opt = 0.0f);
    void setParameter(int32_t index, float value);
    float getParameter(int32_t index);
    void process(float** inputs, float** outputs, int32_t frames, bool accumulate);
    // effClose; the library stays mapped so that leak reports can name its code.
    void close();

    AEffect* record() const { return effect; }
    static SoakTime& time();

private:
    AEffect* effect = nullptr;
    std::string why;
};
