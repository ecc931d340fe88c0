// The program record, which is also the preset chunk (engine/ChunkLayout.h), and the engine's constants.
#pragma once

#include <cstddef>
#include <cstdint>

#include "engine/ChunkLayout.h"

constexpr int32_t kNumParams = 12;
constexpr int32_t kMaxSteps = 16;          // editable steps
constexpr int32_t kBufferLength = 220500;  // samples per freeze buffer: 5 s at 44.1 kHz
constexpr int32_t kMaxLoopLength = kBufferLength - 1;
constexpr int32_t kHoldOffSamples = 5000;
constexpr int32_t kMinFadeLength = 40;

enum : int32_t {
    kParamAttack = 0,
    kParamRelease = 1,
    kParamSize = 2,
    kParamKnak = 3,
    kParamDryWet = 4,
    kParamBits = 5,
    kParamRepeat = 6,
    kParamThreshold = 7,
    kParamPreCutoff = 8,
    kParamPreReso = 9,
    kParamPostCutoff = 10,
    kParamPostReso = 11,
};

// Program slots: parameters 0..6 keep their index, 8..11 sit one slot lower.
enum : int32_t {
    kSlotSize = 2,
    kSlotBits = 5,
    kSlotPreCutoff = 7,
    kSlotPreReso = 8,
    kSlotPostCutoff = 9,
    kSlotPostReso = 10,
};

enum class FilterType : int32_t { OFF = 0, LP = 1, HP = 2, BP = 3 };
constexpr int32_t kMaxFilterType = 3;

// A stored type that runs a filter: LP, HP or BP. Anything else, OFF included, runs none.
constexpr bool isRealType(int32_t type) { return type >= 1 && type <= kMaxFilterType; }

// A stored type as the editor shows it: outside 0..3 it acts as OFF.
constexpr FilterType filterTypeOf(int32_t stored) {
    return stored >= 0 && stored <= kMaxFilterType ? static_cast<FilterType>(stored) : FilterType::OFF;
}

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

// Defaults of a new program, by slot.
constexpr float kDefaultProgramValues[kNumProgramValues] = {0.0f, 0.2f, 0.25f, 0.1f, 1.0f, 1.0f,
                                                            0.5f, 1.0f, 0.0f,  1.0f, 0.0f};
constexpr float kDefaultThreshold = 0.15f;
