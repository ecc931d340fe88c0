// A fake host for the tests of the effect (parameters, programs, chunks, the host calls and
// their adaptation to the signal path): answers the version request and serves a time record.
#pragma once

#include <memory>
#include <vector>

#include "TestSignals.h"
#include "vst2/FreezeEffect.h"

struct TestHost {
    VstTimeInfo timeInfo{};
    bool serveTime = true;
    std::vector<int32_t> opcodes;  // every request, in order
    std::vector<intptr_t> values;  // their value operands

    TestHost() {
        timeInfo.sampleRate = 44100.0;
        timeInfo.tempo = 120.0;
    }
};

// The host answering for whichever effect the current test created.
TestHost& currentTestHost();
intptr_t VSTCALL testHostCallback(AEffect* effect, int32_t opcode, int32_t index, intptr_t value, void* ptr,
                                  float opt);

// A fresh effect on a fresh host.
std::unique_ptr<FreezeEffect> makeEffect();
