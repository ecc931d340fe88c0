// HostEffectX: base behaviour of the 2.x plug-in operations.
#include "vst2/HostEffectX.h"

HostEffectX::HostEffectX(audioMasterCallback callback, int32_t programs, int32_t params)
    : HostEffect(callback, programs, params) {}

HostEffectX::~HostEffectX() = default;

EditorBase* HostEffectX::getEditor() { return editor; }
int32_t HostEffectX::processEvents(VstEvents*) { return 0; }
bool HostEffectX::canBeAutomated(int32_t) { return true; }
bool HostEffectX::string2Parameter(int32_t, char*) { return false; }
float HostEffectX::getParameterOnChannel(int32_t, int32_t) { return 0.0f; }
int32_t HostEffectX::getNumProgramCategories() { return 1; }
bool HostEffectX::getProgramNameIndexed(int32_t, int32_t, char*) { return false; }
bool HostEffectX::copyProgram(int32_t) { return false; }
void HostEffectX::connectInput(int32_t, bool) {}
void HostEffectX::connectOutput(int32_t, bool) {}
bool HostEffectX::getInputProperties(int32_t, void*) { return false; }
bool HostEffectX::getOutputProperties(int32_t, void*) { return false; }

int32_t HostEffectX::getPlugCategory() {
    return (effectRecord.flags & effFlagsIsSynth) ? kPlugCategSynth : kPlugCategUnknown;
}

void HostEffectX::setFlagExtIsAsync(bool on) { setFlag(effFlagsExtIsAsync, on); }
void HostEffectX::setFlagExtHasBuffer(bool on) { setFlag(effFlagsExtHasBuffer, on); }
intptr_t HostEffectX::getCurrentPosition() { return 0; }
float* HostEffectX::getDestinationBuffer() { return nullptr; }
bool HostEffectX::offlineNotify(void*, int32_t, bool) { return false; }
bool HostEffectX::offlinePrepare(void*, int32_t) { return false; }
bool HostEffectX::offlineRun(void*, int32_t) { return false; }
int32_t HostEffectX::offlineGetNumPasses() { return 0; }
int32_t HostEffectX::offlineGetNumMetaPasses() { return 0; }
void HostEffectX::setFlagIsSynth(bool on) { setFlag(effFlagsIsSynth, on); }
void HostEffectX::setFlagNoSoundInStop(bool on) { setFlag(effFlagsNoSoundInStop, on); }
bool HostEffectX::processVarIo(void*) { return false; }
bool HostEffectX::setSpeakerArrangement(void*, void*) { return false; }

void HostEffectX::setBlockSizeAndSampleRate(int32_t size, float rate) {
    blockSize = size;
    sampleRate = rate;
}

bool HostEffectX::setBypass(bool) { return false; }
bool HostEffectX::getEffectName(char*) { return false; }
bool HostEffectX::getErrorText(char*) { return false; }
bool HostEffectX::getVendorString(char*) { return false; }
bool HostEffectX::getProductString(char*) { return false; }
int32_t HostEffectX::getVendorVersion() { return 0; }
intptr_t HostEffectX::vendorSpecific(int32_t, intptr_t, void*, float) { return 0; }
int32_t HostEffectX::canDo(char*) { return 0; }
void* HostEffectX::getIcon() { return nullptr; }
bool HostEffectX::setViewPosition(int32_t, int32_t) { return false; }
int32_t HostEffectX::getTailSize() { return 0; }
int32_t HostEffectX::effectIdle() { return 0; }
bool HostEffectX::getParameterProperties(int32_t, void*) { return false; }
bool HostEffectX::keysRequired() { return false; }
int32_t HostEffectX::getVstVersion() { return 2200; }
int32_t HostEffectX::getMidiProgramName(int32_t, void*) { return 0; }
int32_t HostEffectX::getCurrentMidiProgram(int32_t, void*) { return -1; }
int32_t HostEffectX::getMidiProgramCategory(int32_t, void*) { return 0; }
bool HostEffectX::hasMidiProgramsChanged(int32_t) { return false; }
bool HostEffectX::getMidiKeyName(int32_t, void*) { return false; }
bool HostEffectX::beginSetProgram() { return false; }
bool HostEffectX::endSetProgram() { return false; }
