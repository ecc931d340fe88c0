// A host callback that records every request and answers from a table the test sets.
#pragma once

#include <map>
#include <vector>

#include "vst2/VstApi.h"

struct HostRequest {
    AEffect* effect;
    int32_t opcode;
    int32_t index;
    intptr_t value;
    void* ptr;
    float opt;
};

struct RecordingHost {
    std::vector<HostRequest> requests;
    std::map<int32_t, intptr_t> answers;  // opcode -> answer; unlisted opcodes answer 0

    static RecordingHost& instance();
    static intptr_t VSTCALL callback(AEffect* effect, int32_t opcode, int32_t index, intptr_t value,
                                     void* ptr, float opt);
    // Starts a test with no requests and the given version answer.
    static RecordingHost& reset(intptr_t versionAnswer = 2400);
    int countOf(int32_t opcode) const;
};
