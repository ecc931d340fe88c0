// The 84-byte program record, which is also the preset chunk, and the engine's constants.
#pragma once

#include <cstdint>

constexpr int32_t kNumPrograms = 16;
constexpr int32_t kNumParams = 12;
constexpr int32_t kNumProgramValues = 11;
constexpr int32_t kMaxSteps = 16;          // editable steps
constexpr int32_t kNumStepValues = 32;     // steps stored in a bank
constexpr int32_t kBufferLength = 220500;  // samples per freeze buffer: 5 s at 44.1 kHz
constexpr int32_t kMaxLoopLength = kBufferLength - 1;
constexpr int32_t kHoldOffSamples = 5000;
constexpr int32_t kMinFadeLength = 40;
constexpr int32_t kProgramNameSize = 24;   // 23 characters and the terminator

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

// Little-endian IEEE floats and 32-bit integers without padding, as stored by hosts.
struct FreezeProgram {
    float values[kNumProgramValues];
    float threshold;
    float sequenceLengthValue;
    int32_t preFilterType;
    int32_t postFilterType;
    char name[kProgramNameSize];
};
static_assert(sizeof(FreezeProgram) == 84, "the preset chunk is 84 bytes");

constexpr int32_t kPresetChunkSize = 84;
constexpr int32_t kBankProgramBytes = 60;  // a program without its name
constexpr int32_t kBankStepsOffset = kNumPrograms * kPresetChunkSize;  // 1344
constexpr int32_t kBankFlagsOffset = kBankStepsOffset + kNumStepValues * 4;  // 1472
constexpr int32_t kBankChunkSize = kBankFlagsOffset + 4;  // 1476
static_assert(kBankChunkSize == 1476, "the bank chunk is 1476 bytes");

// Defaults of a new program, by slot.
constexpr float kDefaultProgramValues[kNumProgramValues] = {0.0f, 0.2f, 0.25f, 0.1f, 1.0f, 1.0f,
                                                            0.5f, 1.0f, 0.0f, 1.0f, 0.0f};
constexpr float kDefaultThreshold = 0.15f;
