// The soak's host callback and the calls into the loaded record.
#include "SoakHost.h"

#include "tools/loader/PluginLoader.h"

namespace {

VstTimeInfo timeRecord{};

intptr_t VSTCALL soakCallback(AEffect*, int32_t opcode, int32_t, intptr_t, void*, float) {
    switch (opcode) {
    case audioMasterVersion: return 2400;
    case audioMasterWantMidi: return 1;
    case audioMasterGetTime: {
        const SoakTime& time = SoakHost::time();
        if (!time.served) return 0;
        timeRecord.sampleRate = time.sampleRate;
        timeRecord.tempo = time.tempo;
        timeRecord.flags = kVstTempoValid | kVstPpqPosValid;
        return reinterpret_cast<intptr_t>(&timeRecord);
    }
    default: return 0;
    }
}

}  // namespace

SoakTime& SoakHost::time() {
    static SoakTime current;
    return current;
}

bool SoakHost::open(const std::string& path) {
    // Never unloaded: a leak report must still be able to name the plug-in's code.
    static PluginLoader* loader = new PluginLoader;
    if (!loader->load(path)) {
        why = loader->error();
        return false;
    }
    PluginEntryProc entry = loader->entry();
    if (!entry) {
        why = "no entry point in " + path;
        return false;
    }
    effect = entry(soakCallback);
    if (!effect || effect->magic != kEffectMagic) {
        why = "the entry point returned no effect record";
        effect = nullptr;
        return false;
    }
    return true;
}

intptr_t SoakHost::dispatch(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt) {
    return effect->dispatcher(effect, opcode, index, value, ptr, opt);
}

void SoakHost::setParameter(int32_t index, float value) { effect->setParameter(effect, index, value); }

float SoakHost::getParameter(int32_t index) { return effect->getParameter(effect, index); }

void SoakHost::process(float** inputs, float** outputs, int32_t frames, bool accumulate) {
    if (accumulate)
        effect->process(effect, inputs, outputs, frames);
    else
        effect->processReplacing(effect, inputs, outputs, frames);
}

void SoakHost::close() {
    if (effect) dispatch(effClose);
    effect = nullptr;
}
