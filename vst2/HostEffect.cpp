// HostEffect: the record, its five entries and the base behaviour of every operation.
#include "vst2/HostEffect.h"

#include <cstring>

#include "vst2/EditorBase.h"

namespace {

// The record entries. Each finds the effect behind the record and calls one operation; a
// record without an object is answered with 0, and no exception reaches the host.

intptr_t VSTCALL dispatcherEntry(AEffect* record, int32_t opcode, int32_t index, intptr_t value, void* ptr,
                                 float opt) {
    HostEffect* effect = HostEffect::fromRecord(record);
    if (!effect) return 0;
    try {
        if (opcode == effClose) {
            effect->dispatcher(opcode, index, value, ptr, opt);
            delete effect;
            return 1;
        }
        return effect->dispatcher(opcode, index, value, ptr, opt);
    } catch (...) {
        return 0;
    }
}

void VSTCALL processEntry(AEffect* record, float** inputs, float** outputs, int32_t sampleFrames) {
    HostEffect* effect = HostEffect::fromRecord(record);
    if (!effect) return;
    try {
        effect->process(inputs, outputs, sampleFrames);
    } catch (...) {
    }
}

void VSTCALL processReplacingEntry(AEffect* record, float** inputs, float** outputs, int32_t sampleFrames) {
    HostEffect* effect = HostEffect::fromRecord(record);
    if (!effect) return;
    try {
        effect->processReplacing(inputs, outputs, sampleFrames);
    } catch (...) {
    }
}

void VSTCALL setParameterEntry(AEffect* record, int32_t index, float value) {
    HostEffect* effect = HostEffect::fromRecord(record);
    if (!effect) return;
    try {
        effect->setParameter(index, value);
    } catch (...) {
    }
}

float VSTCALL getParameterEntry(AEffect* record, int32_t index) {
    HostEffect* effect = HostEffect::fromRecord(record);
    if (!effect) return 0.0f;
    try {
        return effect->getParameter(index);
    } catch (...) {
        return 0.0f;
    }
}

}  // namespace

HostEffect::HostEffect(audioMasterCallback callback, int32_t programs, int32_t params)
    : sampleRate(44100.0f), editor(nullptr), hostCallback(callback), numPrograms(programs), numParams(params),
      curProgram(0), blockSize(1024) {
    std::memset(&effectRecord, 0, sizeof(effectRecord));
    effectRecord.magic = kEffectMagic;
    effectRecord.dispatcher = dispatcherEntry;
    effectRecord.process = processEntry;
    effectRecord.setParameter = setParameterEntry;
    effectRecord.getParameter = getParameterEntry;
    effectRecord.numPrograms = programs;
    effectRecord.numParams = params;
    effectRecord.numInputs = 1;
    effectRecord.numOutputs = 2;
    effectRecord.ioRatio = 1.0f;
    effectRecord.object = this;
    effectRecord.uniqueID = kNoEffectId;
    effectRecord.version = 1;
    effectRecord.processReplacing = processReplacingEntry;
}

HostEffect::~HostEffect() { delete editor; }

HostEffect* HostEffect::fromRecord(AEffect* record) {
    if (!record || record->magic != kEffectMagic) return nullptr;
    return static_cast<HostEffect*>(record->object);
}

void HostEffect::setEditor(EditorBase* newEditor) {
    // The effect owns its editor: one that is replaced goes now rather than leak.
    if (editor != newEditor) delete editor;
    editor = newEditor;
    setFlag(effFlagsHasEditor, true);
}

void HostEffect::requestEditorRefresh() {
    if (editor) editor->requestRefresh();
}

void HostEffect::setFlag(int32_t bit, bool on) {
    if (on)
        effectRecord.flags |= bit;
    else
        effectRecord.flags &= ~bit;
}

void HostEffect::setParameter(int32_t, float) {}

float HostEffect::getParameter(int32_t) { return 0.0f; }

void HostEffect::automateParameter(int32_t index, float value) {
    setParameter(index, value);
    callHost(audioMasterAutomate, index, 0, nullptr, value);
}

void HostEffect::processReplacing(float**, float**, int32_t) {}

void HostEffect::open() {}

void HostEffect::close() {}

int32_t HostEffect::getProgram() { return curProgram; }

void HostEffect::setProgram(int32_t program) { curProgram = program; }

void HostEffect::setProgramName(char* text) {
    if (text) text[0] = '\0';
}

void HostEffect::getProgramName(char* text) {
    if (text) text[0] = '\0';
}

void HostEffect::getParameterLabel(int32_t, char* text) {
    if (text) text[0] = '\0';
}

void HostEffect::getParameterDisplay(int32_t, char* text) {
    if (text) text[0] = '\0';
}

void HostEffect::getParameterName(int32_t, char* text) {
    if (text) text[0] = '\0';
}

float HostEffect::getVu() { return 0.0f; }

int32_t HostEffect::getChunk(void**, bool) { return 0; }

int32_t HostEffect::setChunk(void*, int32_t, bool) { return 0; }

void HostEffect::setSampleRate(float rate) { sampleRate = rate; }

void HostEffect::setBlockSize(int32_t size) { blockSize = size; }

void HostEffect::suspend() {}

void HostEffect::resume() {}

void HostEffect::setUniqueId(int32_t id) { effectRecord.uniqueID = id; }

void HostEffect::setNumInputs(int32_t n) { effectRecord.numInputs = n; }

void HostEffect::setNumOutputs(int32_t n) { effectRecord.numOutputs = n; }

void HostEffect::setFlagHasVu(bool on) { setFlag(effFlagsHasVu, on); }

void HostEffect::setFlagHasClip(bool on) { setFlag(effFlagsHasClip, on); }

void HostEffect::setFlagCanMono(bool on) { setFlag(effFlagsCanMono, on); }

void HostEffect::setFlagCanReplacing(bool on) { setFlag(effFlagsCanReplacing, on); }

void HostEffect::setFlagProgramChunks(bool on) { setFlag(effFlagsProgramChunks, on); }

void HostEffect::setRealQualities(int32_t n) { effectRecord.realQualities = n; }

void HostEffect::setOffQualities(int32_t n) { effectRecord.offQualities = n; }

void HostEffect::setInitialDelay(int32_t n) { effectRecord.initialDelay = n; }

float HostEffect::getSampleRate() { return sampleRate; }

int32_t HostEffect::getBlockSize() { return blockSize; }
