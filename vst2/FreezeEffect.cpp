// FreezeEffect: identity, the switching on and off of the plug-in, parameters, programs and
// chunks forwarded to the plug-in, and the process entries with the host's time information.
#include "vst2/FreezeEffect.h"

#include <cstring>

#include "plugin/PluginInfo.h"
#include "plugin/ProcessWithTime.h"
#include "vst2/HostTimeRequest.h"

namespace {
const char kProductString[] = "brindleLoop1.0";
const char* const kCanDoTexts[] = {"receiveVstEvents", "receiveVstMidiEvent", "receiveVstTimeInfo"};
}  // namespace

FreezeEffect::FreezeEffect(audioMasterCallback callback) : HostEffectX(callback, kNumPrograms, kNumParams) {
    setFlagProgramChunks(true);
    setNumInputs(2);
    setNumOutputs(2);
    setFlagHasVu(true);
    setFlagCanReplacing(true);
    setUniqueId(kVst2UniqueId);
}

FreezeEffect::~FreezeEffect() = default;

void FreezeEffect::suspend() { neutral.clearBuffers(); }

void FreezeEffect::resume() { hostWantMidi(1); }

// The host's time is asked for only when a block needs it (HostTimeRequest).
void FreezeEffect::processReplacing(float** inputs, float** outputs, int32_t sampleFrames) {
    HostTimeRequest time(*this);
    neutral.processWithTime<false>(inputs, outputs, sampleFrames, time);
}

void FreezeEffect::process(float** inputs, float** outputs, int32_t sampleFrames) {
    HostTimeRequest time(*this);
    neutral.processWithTime<true>(inputs, outputs, sampleFrames, time);
}

void FreezeEffect::setParameter(int32_t index, float value) {
    neutral.setParameter(index, value);
    requestEditorRefresh();
}

float FreezeEffect::getParameter(int32_t index) { return neutral.getParameter(index); }

void FreezeEffect::getParameterName(int32_t index, char* text) {
    if (text && isParameter(index)) std::strcpy(text, parameterInfo(index).vstName);
}

void FreezeEffect::getParameterLabel(int32_t index, char* text) {
    if (text && isParameter(index)) std::strcpy(text, parameterInfo(index).vstLabel);
}

void FreezeEffect::getParameterDisplay(int32_t index, char* text) {
    if (!text || !isParameter(index)) return;
    floatToText(hostTextValue(parameterInfo(index), neutral.getParameter(index)), text);
}

int32_t FreezeEffect::getProgram() { return neutral.getProgram(); }

void FreezeEffect::setProgram(int32_t program) { neutral.setProgram(program); }

void FreezeEffect::setProgramName(char* text) { neutral.setProgramName(text); }

void FreezeEffect::getProgramName(char* text) { neutral.getProgramName(text); }

int32_t FreezeEffect::getChunk(void** data, bool isPreset) {
    if (!data) return 0;
    const void* chunk = nullptr;
    const int32_t size = neutral.getChunk(&chunk, isPreset);
    *data = const_cast<void*>(chunk);
    return size;
}

int32_t FreezeEffect::setChunk(void* data, int32_t byteSize, bool isPreset) {
    return neutral.setChunk(data, byteSize, isPreset);
}

float FreezeEffect::getVu() { return 0.0f; }

bool FreezeEffect::getVendorString(char* text) {
    if (!text) return false;
    std::strcpy(text, kVendorName);
    return true;
}

bool FreezeEffect::getProductString(char* text) {
    if (!text) return false;
    std::strcpy(text, kProductString);
    return true;
}

int32_t FreezeEffect::canDo(char* text) {
    if (!text) return -1;
    for (const char* supported : kCanDoTexts)
        if (std::strcmp(text, supported) == 0) return 1;
    return -1;
}
