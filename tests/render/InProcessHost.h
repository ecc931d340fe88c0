// The host of the engine run in the test's own process, beside the tool: it answers the
// version, the time (tempo and rate as the test sets them) and the sample rate, as the tool does.
#pragma once

#include <cstdint>

#include "vst2/VstApi.h"

inline VstTimeInfo& inProcessTime() {
    static VstTimeInfo time{};
    return time;
}

inline intptr_t VSTCALL inProcessHost(AEffect*, int32_t opcode, int32_t, intptr_t, void*, float) {
    if (opcode == audioMasterVersion) return 2400;
    if (opcode == audioMasterGetTime) return reinterpret_cast<intptr_t>(&inProcessTime());
    if (opcode == audioMasterGetSampleRate) return static_cast<intptr_t>(inProcessTime().sampleRate);
    return 0;
}
