// The program record, which is also the preset chunk (engine/ChunkLayout.h), and the engine's
// constants; what a parameter is comes from engine/ParameterTable.h.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "engine/ChunkLayout.h"
#include "engine/ParameterTable.h"

constexpr int32_t kMaxSteps = kMaxSequenceLength;  // editable steps, the longest sequence
constexpr int32_t kBufferLength = 220500;          // samples per freeze buffer: 5 s at 44.1 kHz
constexpr int32_t kMaxLoopLength = kBufferLength - 1;
constexpr int32_t kHoldOffSamples = 5000;
constexpr int32_t kMinFadeLength = 40;

// Program slots of the parameters, as the signal path reads them (the threshold has none).
enum : int32_t {
    kSlotAttack = slotOfParameter(kParamAttack),
    kSlotRelease = slotOfParameter(kParamRelease),
    kSlotKnak = slotOfParameter(kParamKnak),
    kSlotDryWet = slotOfParameter(kParamDryWet),
    kSlotRepeat = slotOfParameter(kParamRepeat),
    kSlotSize = slotOfParameter(kParamSize),
    kSlotBits = slotOfParameter(kParamBits),
    kSlotPreCutoff = slotOfParameter(kParamPreCutoff),
    kSlotPreReso = slotOfParameter(kParamPreReso),
    kSlotPostCutoff = slotOfParameter(kParamPostCutoff),
    kSlotPostReso = slotOfParameter(kParamPostReso),
};

// Little-endian IEEE floats and 32-bit integers without padding, as stored by hosts
// (engine/ChunkLayout.h).
struct FreezeProgram {
    float values[kNumProgramValues];
    float threshold;
    float sequenceLengthValue;
    int32_t preFilterType;
    int32_t postFilterType;
    char name[kProgramNameSize];
};
static_assert(sizeof(FreezeProgram) == kPresetChunkSize, "the preset chunk is one program record");
static_assert(offsetof(FreezeProgram, values) == kProgramValuesOffset &&
                  offsetof(FreezeProgram, threshold) == kProgramThresholdOffset &&
                  offsetof(FreezeProgram, sequenceLengthValue) == kProgramSequenceLengthOffset &&
                  offsetof(FreezeProgram, preFilterType) == kProgramPreFilterOffset &&
                  offsetof(FreezeProgram, postFilterType) == kProgramPostFilterOffset &&
                  offsetof(FreezeProgram, name) == kProgramNameOffset,
              "the record is laid out as the chunk");

// Defaults of a new program, by slot, and the threshold's (the table's defaults).
inline constexpr std::array<float, kNumProgramValues> kDefaultProgramValues = defaultProgramValues();
constexpr float kDefaultThreshold = kParameterTable[kParamThreshold].defaultValue;
