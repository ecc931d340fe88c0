// Our own declarations of the published VST 2 plug-in interface: records, opcodes and flags.
#pragma once

#include <cstddef>
#include <cstdint>

#if defined(_WIN32) && !defined(_WIN64)
#define VSTCALL __cdecl
#else
#define VSTCALL
#endif

struct AEffect;

// Host callback: (record, opcode, index, value, ptr, opt) -> answer.
using audioMasterCallback = intptr_t(VSTCALL*)(AEffect* effect, int32_t opcode, int32_t index, intptr_t value,
                                               void* ptr, float opt);
using AEffectDispatcherProc = intptr_t(VSTCALL*)(AEffect* effect, int32_t opcode, int32_t index,
                                                 intptr_t value, void* ptr, float opt);
using AEffectProcessProc = void(VSTCALL*)(AEffect* effect, float** inputs, float** outputs,
                                          int32_t sampleFrames);
using AEffectSetParameterProc = void(VSTCALL*)(AEffect* effect, int32_t index, float value);
using AEffectGetParameterProc = float(VSTCALL*)(AEffect* effect, int32_t index);

// A four-character code: the first character is the most significant byte.
constexpr int32_t fourCharCode(char a, char b, char c, char d) {
    return static_cast<int32_t>((static_cast<uint32_t>(static_cast<unsigned char>(a)) << 24) |
                                (static_cast<uint32_t>(static_cast<unsigned char>(b)) << 16) |
                                (static_cast<uint32_t>(static_cast<unsigned char>(c)) << 8) |
                                static_cast<uint32_t>(static_cast<unsigned char>(d)));
}

constexpr int32_t kEffectMagic = fourCharCode('V', 's', 't', 'P');     // 0x56737450
constexpr int32_t kIdentifyAnswer = fourCharCode('N', 'v', 'E', 'f');  // 0x4E764566
constexpr int32_t kNoEffectId = fourCharCode('N', 'o', 'E', 'f');      // 0x4E6F4566

struct AEffect {
    int32_t magic;
    AEffectDispatcherProc dispatcher;
    AEffectProcessProc process;
    AEffectSetParameterProc setParameter;
    AEffectGetParameterProc getParameter;
    int32_t numPrograms;
    int32_t numParams;
    int32_t numInputs;
    int32_t numOutputs;
    int32_t flags;
    intptr_t resvd1;
    intptr_t resvd2;
    int32_t initialDelay;
    int32_t realQualities;
    int32_t offQualities;
    float ioRatio;
    void* object;
    void* user;
    int32_t uniqueID;
    int32_t version;
    AEffectProcessProc processReplacing;
    char future[60];
};

#if INTPTR_MAX == INT32_MAX
// The 32-bit layout hosts expect, byte for byte.
static_assert(sizeof(AEffect) == 144, "AEffect must be 144 bytes on 32-bit targets");
static_assert(offsetof(AEffect, magic) == 0, "offset");
static_assert(offsetof(AEffect, dispatcher) == 4, "offset");
static_assert(offsetof(AEffect, process) == 8, "offset");
static_assert(offsetof(AEffect, setParameter) == 12, "offset");
static_assert(offsetof(AEffect, getParameter) == 16, "offset");
static_assert(offsetof(AEffect, numPrograms) == 20, "offset");
static_assert(offsetof(AEffect, numParams) == 24, "offset");
static_assert(offsetof(AEffect, numInputs) == 28, "offset");
static_assert(offsetof(AEffect, numOutputs) == 32, "offset");
static_assert(offsetof(AEffect, flags) == 36, "offset");
static_assert(offsetof(AEffect, resvd1) == 40, "offset");
static_assert(offsetof(AEffect, resvd2) == 44, "offset");
static_assert(offsetof(AEffect, initialDelay) == 48, "offset");
static_assert(offsetof(AEffect, realQualities) == 52, "offset");
static_assert(offsetof(AEffect, offQualities) == 56, "offset");
static_assert(offsetof(AEffect, ioRatio) == 60, "offset");
static_assert(offsetof(AEffect, object) == 64, "offset");
static_assert(offsetof(AEffect, user) == 68, "offset");
static_assert(offsetof(AEffect, uniqueID) == 72, "offset");
static_assert(offsetof(AEffect, version) == 76, "offset");
static_assert(offsetof(AEffect, processReplacing) == 80, "offset");
static_assert(offsetof(AEffect, future) == 84, "offset");
#else
// The layout 64-bit hosts expect: natural alignment of the same field order.
static_assert(sizeof(AEffect) == 192, "AEffect must be 192 bytes on 64-bit targets");
static_assert(offsetof(AEffect, dispatcher) == 8, "offset");
static_assert(offsetof(AEffect, numPrograms) == 40, "offset");
static_assert(offsetof(AEffect, flags) == 56, "offset");
static_assert(offsetof(AEffect, resvd1) == 64, "offset");
static_assert(offsetof(AEffect, initialDelay) == 80, "offset");
static_assert(offsetof(AEffect, ioRatio) == 92, "offset");
static_assert(offsetof(AEffect, object) == 96, "offset");
static_assert(offsetof(AEffect, uniqueID) == 112, "offset");
static_assert(offsetof(AEffect, processReplacing) == 120, "offset");
static_assert(offsetof(AEffect, future) == 128, "offset");
#endif

// Flag bits of AEffect::flags.
enum : int32_t {
    effFlagsHasEditor = 0x001,
    effFlagsHasClip = 0x002,
    effFlagsHasVu = 0x004,
    effFlagsCanMono = 0x008,
    effFlagsCanReplacing = 0x010,
    effFlagsProgramChunks = 0x020,
    effFlagsIsSynth = 0x100,
    effFlagsNoSoundInStop = 0x200,
    effFlagsExtIsAsync = 0x400,
    effFlagsExtHasBuffer = 0x800,
};

// Opcodes the host sends to the plug-in.
enum : int32_t {
    effOpen = 0,
    effClose = 1,
    effSetProgram = 2,
    effGetProgram = 3,
    effSetProgramName = 4,
    effGetProgramName = 5,
    effGetParamLabel = 6,
    effGetParamDisplay = 7,
    effGetParamName = 8,
    effGetVu = 9,
    effSetSampleRate = 10,
    effSetBlockSize = 11,
    effMainsChanged = 12,
    effEditGetRect = 13,
    effEditOpen = 14,
    effEditClose = 15,
    effEditDraw = 16,
    effEditMouse = 17,
    effEditKey = 18,
    effEditIdle = 19,
    effEditTop = 20,
    effEditSleep = 21,
    effIdentify = 22,
    effGetChunk = 23,
    effSetChunk = 24,
    effProcessEvents = 25,
    effCanBeAutomated = 26,
    effString2Parameter = 27,
    effGetNumProgramCategories = 28,
    effGetProgramNameIndexed = 29,
    effCopyProgram = 30,
    effConnectInput = 31,
    effConnectOutput = 32,
    effGetInputProperties = 33,
    effGetOutputProperties = 34,
    effGetPlugCategory = 35,
    effGetCurrentPosition = 36,
    effGetDestinationBuffer = 37,
    effOfflineNotify = 38,
    effOfflinePrepare = 39,
    effOfflineRun = 40,
    effProcessVarIo = 41,
    effSetSpeakerArrangement = 42,
    effSetBlockSizeAndSampleRate = 43,
    effSetBypass = 44,
    effGetEffectName = 45,
    effGetErrorText = 46,
    effGetVendorString = 47,
    effGetProductString = 48,
    effGetVendorVersion = 49,
    effVendorSpecific = 50,
    effCanDo = 51,
    effGetTailSize = 52,
    effIdle = 53,
    effGetIcon = 54,
    effSetViewPosition = 55,
    effGetParameterProperties = 56,
    effKeysRequired = 57,
    effGetVstVersion = 58,
    effEditKeyDown = 59,
    effEditKeyUp = 60,
    effSetEditKnobMode = 61,
    effGetMidiProgramName = 62,
    effGetCurrentMidiProgram = 63,
    effGetMidiProgramCategory = 64,
    effHasMidiProgramsChanged = 65,
    effGetMidiKeyName = 66,
    effBeginSetProgram = 67,
    effEndSetProgram = 68,
};

// Opcodes the plug-in sends to the host.
enum : int32_t {
    audioMasterAutomate = 0,
    audioMasterVersion = 1,
    audioMasterCurrentId = 2,
    audioMasterIdle = 3,
    audioMasterPinConnected = 4,
    audioMasterWantMidi = 6,
    audioMasterGetTime = 7,
    audioMasterProcessEvents = 8,
    audioMasterSetTime = 9,
    audioMasterTempoAt = 10,
    audioMasterGetNumAutomatableParameters = 11,
    audioMasterGetParameterQuantization = 12,
    audioMasterIOChanged = 13,
    audioMasterNeedIdle = 14,
    audioMasterSizeWindow = 15,
    audioMasterGetSampleRate = 16,
    audioMasterGetBlockSize = 17,
    audioMasterGetInputLatency = 18,
    audioMasterGetOutputLatency = 19,
    audioMasterGetPreviousPlug = 20,
    audioMasterGetNextPlug = 21,
    audioMasterWillReplaceOrAccumulate = 22,
    audioMasterGetCurrentProcessLevel = 23,
    audioMasterGetAutomationState = 24,
    audioMasterOfflineStart = 25,
    audioMasterOfflineRead = 26,
    audioMasterOfflineWrite = 27,
    audioMasterOfflineGetCurrentPass = 28,
    audioMasterOfflineGetCurrentMetaPass = 29,
    audioMasterSetOutputSampleRate = 30,
    audioMasterGetSpeakerArrangement = 31,
    audioMasterGetVendorString = 32,
    audioMasterGetProductString = 33,
    audioMasterGetVendorVersion = 34,
    audioMasterVendorSpecific = 35,
    audioMasterSetIcon = 36,
    audioMasterCanDo = 37,
    audioMasterGetLanguage = 38,
    audioMasterOpenWindow = 39,
    audioMasterCloseWindow = 40,
    audioMasterGetDirectory = 41,
    audioMasterUpdateDisplay = 42,
    audioMasterBeginEdit = 43,
    audioMasterEndEdit = 44,
    audioMasterOpenFileSelector = 45,
};

enum : int32_t { kPlugCategUnknown = 0, kPlugCategSynth = 2 };

// Time information; the plug-in reads only sampleRate (byte 8) and tempo (byte 32).
struct VstTimeInfo {
    double samplePos;
    double sampleRate;
    double nanoSeconds;
    double ppqPos;
    double tempo;
    double barStartPos;
    double cycleStartPos;
    double cycleEndPos;
    int32_t timeSigNumerator;
    int32_t timeSigDenominator;
    int32_t smpteOffset;
    int32_t smpteFrameRate;
    int32_t samplesToNextClock;
    int32_t flags;
};
static_assert(offsetof(VstTimeInfo, sampleRate) == 8, "offset");
static_assert(offsetof(VstTimeInfo, tempo) == 32, "offset");
static_assert(sizeof(VstTimeInfo) == 88, "size");

enum : int32_t { kVstPpqPosValid = 0x200, kVstTempoValid = 0x400 };

enum : int32_t { kVstMidiType = 1 };

struct VstEvent {
    int32_t type;
    int32_t byteSize;
    int32_t deltaFrames;
    int32_t flags;
    char data[16];
};

struct VstMidiEvent {
    int32_t type;
    int32_t byteSize;
    int32_t deltaFrames;
    int32_t flags;
    int32_t noteLength;
    int32_t noteOffset;
    char midiData[4];
    char detune;
    char noteOffVelocity;
    char reserved1;
    char reserved2;
};
static_assert(sizeof(VstMidiEvent) == 32, "size");
static_assert(offsetof(VstMidiEvent, midiData) == 24, "offset");

// A list of events; hosts allocate it with as many pointers as numEvents says.
struct VstEvents {
    int32_t numEvents;
    intptr_t reserved;
    VstEvent* events[2];
};

struct ERect {
    int16_t top;
    int16_t left;
    int16_t bottom;
    int16_t right;
};
static_assert(sizeof(ERect) == 8, "size");

struct VstKeyCode {
    int32_t character;
    uint8_t virt;
    uint8_t modifier;
};

// Host texts are at most this long including the terminator.
constexpr int kVstMaxProgNameLen = 24;
constexpr int kVstMaxParamStrLen = 8;
constexpr int kVstMaxVendorStrLen = 64;
constexpr int kVstMaxProductStrLen = 64;
