// The fake host shared by the engine tests.
#include "TestHost.h"

TestHost& currentTestHost() {
    static TestHost host;
    return host;
}

intptr_t VSTCALL testHostCallback(AEffect*, int32_t opcode, int32_t, intptr_t value, void*, float) {
    TestHost& host = currentTestHost();
    host.opcodes.push_back(opcode);
    host.values.push_back(value);
    switch (opcode) {
    case audioMasterVersion: return 2400;
    case audioMasterGetTime: return host.serveTime ? reinterpret_cast<intptr_t>(&host.timeInfo) : 0;
    default: return 0;
    }
}

std::unique_ptr<FreezeEffect> makeEffect() {
    currentTestHost() = TestHost();
    return std::make_unique<FreezeEffect>(testHostCallback);
}
