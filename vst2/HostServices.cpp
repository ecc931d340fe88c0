// Wrappers of the host callback. Each answers a fixed value when there is no host.
#include "vst2/HostEffectX.h"

intptr_t HostEffect::callHost(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt) {
    if (!hostCallback) return 0;
    return hostCallback(&effectRecord, opcode, index, value, ptr, opt);
}

int32_t HostEffect::hostVersion() {
    if (!hostCallback) return 1;
    intptr_t answer = callHost(audioMasterVersion);
    return answer == 0 ? 1 : static_cast<int32_t>(answer);
}

int32_t HostEffect::hostCurrentId() { return static_cast<int32_t>(callHost(audioMasterCurrentId)); }

void HostEffect::hostIdle() { callHost(audioMasterIdle); }

bool HostEffect::hostInputConnected(int32_t input) {
    if (!hostCallback) return true;
    return callHost(audioMasterPinConnected, input, 0) == 0;
}

bool HostEffect::hostOutputConnected(int32_t output) {
    if (!hostCallback) return true;
    return callHost(audioMasterPinConnected, output, 1) == 0;
}

void HostEffectX::hostWantMidi(int32_t filter) { callHost(audioMasterWantMidi, 0, filter); }

VstTimeInfo* HostEffectX::hostGetTime(int32_t filter) {
    return reinterpret_cast<VstTimeInfo*>(callHost(audioMasterGetTime, 0, filter));
}

intptr_t HostEffectX::hostTempoAt(int32_t pos) { return callHost(audioMasterTempoAt, 0, pos); }

intptr_t HostEffectX::hostGetNumAutomatableParameters() {
    return callHost(audioMasterGetNumAutomatableParameters);
}

intptr_t HostEffectX::hostGetParameterQuantization() { return callHost(audioMasterGetParameterQuantization); }

bool HostEffectX::hostIOChanged() { return callHost(audioMasterIOChanged) != 0; }

bool HostEffectX::hostNeedIdle() { return callHost(audioMasterNeedIdle) != 0; }

bool HostEffectX::hostSizeWindow(int32_t width, int32_t height) {
    return callHost(audioMasterSizeWindow, width, height) != 0;
}

// The host is told, but the effect keeps its own values.
float HostEffectX::hostGetSampleRate() {
    callHost(audioMasterGetSampleRate);
    return sampleRate;
}

int32_t HostEffectX::hostGetBlockSize() {
    callHost(audioMasterGetBlockSize);
    return blockSize;
}

intptr_t HostEffectX::hostGetInputLatency() { return callHost(audioMasterGetInputLatency); }

intptr_t HostEffectX::hostGetOutputLatency() { return callHost(audioMasterGetOutputLatency); }

AEffect* HostEffectX::hostGetPreviousPlug(int32_t) {
    return reinterpret_cast<AEffect*>(callHost(audioMasterGetPreviousPlug));
}

AEffect* HostEffectX::hostGetNextPlug(int32_t) {
    return reinterpret_cast<AEffect*>(callHost(audioMasterGetNextPlug));
}

intptr_t HostEffectX::hostWillReplaceOrAccumulate() { return callHost(audioMasterWillReplaceOrAccumulate); }

intptr_t HostEffectX::hostGetCurrentProcessLevel() { return callHost(audioMasterGetCurrentProcessLevel); }

intptr_t HostEffectX::hostGetAutomationState() { return callHost(audioMasterGetAutomationState); }

bool HostEffectX::hostOfflineRead(void* task, int32_t option, bool readSource) {
    return callHost(audioMasterOfflineRead, readSource ? 1 : 0, option, task) != 0;
}

bool HostEffectX::hostOfflineWrite(void* task, int32_t option) {
    return callHost(audioMasterOfflineWrite, 0, option, task) != 0;
}

bool HostEffectX::hostOfflineStart(void* files, int32_t count, int32_t newCount) {
    return callHost(audioMasterOfflineStart, newCount, count, files) != 0;
}

bool HostEffectX::hostOfflineGetCurrentPass() { return callHost(audioMasterOfflineGetCurrentPass) != 0; }

bool HostEffectX::hostOfflineGetCurrentMetaPass() {
    return callHost(audioMasterOfflineGetCurrentMetaPass) != 0;
}

intptr_t HostEffectX::hostSetOutputSampleRate(float rate) {
    return callHost(audioMasterSetOutputSampleRate, 0, 0, nullptr, rate);
}

bool HostEffectX::hostGetSpeakerArrangement(void* input, void* output) {
    return callHost(audioMasterGetSpeakerArrangement, 0, reinterpret_cast<intptr_t>(input), output) != 0;
}

bool HostEffectX::hostGetVendorString(char* text) {
    return callHost(audioMasterGetVendorString, 0, 0, text) != 0;
}

bool HostEffectX::hostGetProductString(char* text) {
    return callHost(audioMasterGetProductString, 0, 0, text) != 0;
}

intptr_t HostEffectX::hostGetVendorVersion() { return callHost(audioMasterGetVendorVersion); }

intptr_t HostEffectX::hostVendorSpecific(int32_t a, intptr_t b, void* p, float f) {
    return callHost(audioMasterVendorSpecific, a, b, p, f);
}

bool HostEffectX::hostCanDo(char* text) { return callHost(audioMasterCanDo, 0, 0, text) != 0; }

intptr_t HostEffectX::hostGetLanguage() { return callHost(audioMasterGetLanguage); }

intptr_t HostEffectX::hostOpenWindow(void* window) { return callHost(audioMasterOpenWindow, 0, 0, window); }

bool HostEffectX::hostCloseWindow(void* window) {
    return callHost(audioMasterCloseWindow, 0, 0, window) != 0;
}

void* HostEffectX::hostGetDirectory() { return reinterpret_cast<void*>(callHost(audioMasterGetDirectory)); }

bool HostEffectX::hostUpdateDisplay() { return callHost(audioMasterUpdateDisplay) != 0; }

bool HostEffectX::hostBeginEdit(int32_t index) { return callHost(audioMasterBeginEdit, index) != 0; }

bool HostEffectX::hostEndEdit(int32_t index) { return callHost(audioMasterEndEdit, index) != 0; }

bool HostEffectX::hostOpenFileSelector(void* select) {
    if (!select) return false;
    return callHost(audioMasterOpenFileSelector, 0, 0, select) != 0;
}
