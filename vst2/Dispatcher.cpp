// The two-stage opcode dispatcher: HostEffectX handles opcodes 25 to 68 and hands everything
// else to HostEffect, which handles 0 to 24.
#include <cmath>
#include <cstdint>

#include "vst2/EditorBase.h"
#include "vst2/HostEffectX.h"

namespace {

// Pointer-sized host values narrowed without wrapping: a size beyond 32 bits stays huge.
int32_t clampToInt32(intptr_t value) {
    if (value > INT32_MAX) return INT32_MAX;
    if (value < INT32_MIN) return INT32_MIN;
    return static_cast<int32_t>(value);
}

// The low byte of opt truncated toward zero; NaN and infinities give 0.
uint8_t lowByteOfTruncated(float opt) {
    if (!std::isfinite(opt)) return 0;
    double wrapped = std::fmod(std::trunc(static_cast<double>(opt)), 256.0);
    if (wrapped < 0.0) wrapped += 256.0;
    return static_cast<uint8_t>(static_cast<int>(wrapped) & 0xFF);
}

// getVu is answered in units of 1/32767, truncated; out-of-range values saturate.
intptr_t vuToHost(float vu) {
    double scaled = static_cast<double>(vu) * 32767.0;
    if (!(scaled == scaled)) return 0;
    if (scaled >= 2147483647.0) return INT32_MAX;
    if (scaled <= -2147483648.0) return INT32_MIN;
    return static_cast<int32_t>(scaled);
}

VstKeyCode keyFromOperands(int32_t index, intptr_t value, float opt) {
    VstKeyCode key{};
    key.character = index;
    key.virt = static_cast<uint8_t>(static_cast<uintptr_t>(value) & 0xFF);
    key.modifier = lowByteOfTruncated(opt);
    return key;
}

}  // namespace

intptr_t HostEffect::dispatcher(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt) {
    switch (opcode) {
    case effOpen: open(); return 0;
    case effClose: close(); return 0;
    case effSetProgram:
        if (value >= 0 && value < numPrograms) setProgram(static_cast<int32_t>(value));
        return 0;
    case effGetProgram: return getProgram();
    case effSetProgramName:
        if (ptr) setProgramName(static_cast<char*>(ptr));
        return 0;
    case effGetProgramName:
        if (ptr) getProgramName(static_cast<char*>(ptr));
        return 0;
    case effGetParamLabel:
        if (ptr) getParameterLabel(index, static_cast<char*>(ptr));
        return 0;
    case effGetParamDisplay:
        if (ptr) getParameterDisplay(index, static_cast<char*>(ptr));
        return 0;
    case effGetParamName:
        if (ptr) getParameterName(index, static_cast<char*>(ptr));
        return 0;
    case effGetVu: return vuToHost(getVu());
    case effSetSampleRate: setSampleRate(opt); return 0;
    case effSetBlockSize: setBlockSize(clampToInt32(value)); return 0;
    case effMainsChanged:
        if (value == 0)
            suspend();
        else
            resume();
        return 0;
    case effEditGetRect:
        if (!editor || !ptr) return 0;
        return editor->getRect(static_cast<ERect**>(ptr));
    case effEditOpen: return editor ? editor->open(ptr) : 0;
    case effEditClose:
        if (editor) editor->close();
        return 0;
    case effEditIdle:
        if (editor) editor->idle();
        return 0;
    case effIdentify: return kIdentifyAnswer;
    case effGetChunk:
        if (!ptr) return 0;
        return getChunk(static_cast<void**>(ptr), index != 0);
    case effSetChunk: return setChunk(ptr, clampToInt32(value), index != 0);
    default:
        // effEditDraw, effEditMouse, effEditKey, effEditTop, effEditSleep and every
        // opcode outside 0..24 that reaches this stage.
        return 0;
    }
}

intptr_t HostEffectX::dispatcher(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt) {
    switch (opcode) {
    case effProcessEvents: return processEvents(static_cast<VstEvents*>(ptr));
    case effCanBeAutomated: return canBeAutomated(index) ? 1 : 0;
    case effString2Parameter: return string2Parameter(index, static_cast<char*>(ptr)) ? 1 : 0;
    case effGetNumProgramCategories: return getNumProgramCategories();
    case effGetProgramNameIndexed:
        return getProgramNameIndexed(clampToInt32(value), index, static_cast<char*>(ptr)) ? 1 : 0;
    case effCopyProgram: return copyProgram(index) ? 1 : 0;
    case effConnectInput: connectInput(index, value != 0); return 1;
    case effConnectOutput: connectOutput(index, value != 0); return 1;
    case effGetInputProperties: return getInputProperties(index, ptr) ? 1 : 0;
    case effGetOutputProperties: return getOutputProperties(index, ptr) ? 1 : 0;
    case effGetPlugCategory: return getPlugCategory();
    case effGetCurrentPosition: return getCurrentPosition();
    case effGetDestinationBuffer: return reinterpret_cast<intptr_t>(getDestinationBuffer());
    case effOfflineNotify: return offlineNotify(ptr, clampToInt32(value), index != 0) ? 1 : 0;
    case effOfflinePrepare: return offlinePrepare(ptr, clampToInt32(value)) ? 1 : 0;
    case effOfflineRun: return offlineRun(ptr, clampToInt32(value)) ? 1 : 0;
    case effProcessVarIo: return processVarIo(ptr) ? 1 : 0;
    case effSetSpeakerArrangement: return setSpeakerArrangement(reinterpret_cast<void*>(value), ptr) ? 1 : 0;
    case effSetBlockSizeAndSampleRate: setBlockSizeAndSampleRate(clampToInt32(value), opt); return 1;
    case effSetBypass: return setBypass(value != 0) ? 1 : 0;
    case effGetEffectName: return getEffectName(static_cast<char*>(ptr)) ? 1 : 0;
    case effGetErrorText: return getErrorText(static_cast<char*>(ptr)) ? 1 : 0;
    case effGetVendorString: return getVendorString(static_cast<char*>(ptr)) ? 1 : 0;
    case effGetProductString: return getProductString(static_cast<char*>(ptr)) ? 1 : 0;
    case effGetVendorVersion: return getVendorVersion();
    case effVendorSpecific: return vendorSpecific(index, value, ptr, opt);
    case effCanDo: return canDo(static_cast<char*>(ptr));
    case effGetTailSize: return getTailSize();
    case effIdle: return effectIdle();
    case effGetIcon: return reinterpret_cast<intptr_t>(getIcon());
    case effSetViewPosition: return setViewPosition(index, clampToInt32(value)) ? 1 : 0;
    case effGetParameterProperties: return getParameterProperties(index, ptr) ? 1 : 0;
    case effKeysRequired: return keysRequired() ? 0 : 1;
    case effGetVstVersion: return getVstVersion();
    case effEditKeyDown: {
        if (!editor) return 0;
        VstKeyCode key = keyFromOperands(index, value, opt);
        return editor->keyDown(key);
    }
    case effEditKeyUp: {
        if (!editor) return 0;
        VstKeyCode key = keyFromOperands(index, value, opt);
        return editor->keyUp(key);
    }
    case effSetEditKnobMode: return editor ? editor->setKnobMode(clampToInt32(value)) : 0;
    case effGetMidiProgramName: return getMidiProgramName(index, ptr);
    case effGetCurrentMidiProgram: return getCurrentMidiProgram(index, ptr);
    case effGetMidiProgramCategory: return getMidiProgramCategory(index, ptr);
    case effHasMidiProgramsChanged: return hasMidiProgramsChanged(index) ? 1 : 0;
    case effGetMidiKeyName: return getMidiKeyName(index, ptr) ? 1 : 0;
    case effBeginSetProgram: return beginSetProgram() ? 1 : 0;
    case effEndSetProgram: return endSetProgram() ? 1 : 0;
    default: return HostEffect::dispatcher(opcode, index, value, ptr, opt);
    }
}
