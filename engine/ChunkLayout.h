// The byte layout of the two chunks hosts keep in their projects: the preset chunk,
// which is one program record, and the bank chunk. Little-endian IEEE-754 floats and 32-bit
// two's-complement integers, no padding. Declared once here for the engine, the render tool
// and the soak; this header needs nothing else from the engine.
#pragma once

#include <cstdint>
#include <cstring>

constexpr int32_t kNumPrograms = 16;
constexpr int32_t kNumProgramValues = 11;  // program slots 0..10
constexpr int32_t kNumStepValues = 32;     // steps stored in a bank
constexpr int32_t kProgramNameSize = 24;   // 23 characters and the terminator

// The program record (the preset chunk).
constexpr int32_t kProgramValuesOffset = 0;  // float[11]: the program slots
constexpr int32_t kProgramThresholdOffset = kProgramValuesOffset + 4 * kNumProgramValues;
constexpr int32_t kProgramSequenceLengthOffset = kProgramThresholdOffset + 4;
constexpr int32_t kProgramPreFilterOffset = kProgramSequenceLengthOffset + 4;  // int32 0..3
constexpr int32_t kProgramPostFilterOffset = kProgramPreFilterOffset + 4;      // int32 0..3
constexpr int32_t kProgramNameOffset = kProgramPostFilterOffset + 4;           // char[24]
constexpr int32_t kPresetChunkSize = kProgramNameOffset + kProgramNameSize;

// The bank chunk: every program record without its name (written as zero, ignored on load),
// the step values, the three mode flags and one zero byte.
constexpr int32_t kBankProgramBytes = kProgramNameOffset;
constexpr int32_t kBankStepsOffset = kNumPrograms * kPresetChunkSize;
constexpr int32_t kBankFlagsOffset = kBankStepsOffset + 4 * kNumStepValues;
constexpr int32_t kBankMidiNoteControlOffset = kBankFlagsOffset;
constexpr int32_t kBankNoteRecordStartOffset = kBankFlagsOffset + 1;
constexpr int32_t kBankRepeatTillNoteOffOffset = kBankFlagsOffset + 2;
constexpr int32_t kBankChunkSize = kBankFlagsOffset + 4;

static_assert(kProgramThresholdOffset == 44 && kProgramSequenceLengthOffset == 48 &&
                  kProgramPreFilterOffset == 52 && kProgramPostFilterOffset == 56 && kProgramNameOffset == 60,
              "the 84-byte program record");
static_assert(kPresetChunkSize == 84 && kBankStepsOffset == 1344 && kBankFlagsOffset == 1472 &&
                  kBankChunkSize == 1476,
              "the chunk sizes hosts store");

// Offset of program `program`'s record inside a bank, and of step `step`.
constexpr int32_t bankProgramOffset(int32_t program) { return program * kPresetChunkSize; }
constexpr int32_t bankStepOffset(int32_t step) { return kBankStepsOffset + 4 * step; }

// Little-endian fields, whatever the byte order of the machine.
inline void putChunkInt(unsigned char* at, int32_t value) {
    const auto bits = static_cast<uint32_t>(value);
    for (int i = 0; i < 4; ++i) at[i] = static_cast<unsigned char>(bits >> (8 * i));
}

inline int32_t getChunkInt(const unsigned char* at) {
    uint32_t bits = 0;
    for (int i = 0; i < 4; ++i) bits |= static_cast<uint32_t>(at[i]) << (8 * i);
    return static_cast<int32_t>(bits);
}

inline void putChunkFloat(unsigned char* at, float value) {
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    putChunkInt(at, static_cast<int32_t>(bits));
}

inline float getChunkFloat(const unsigned char* at) {
    const auto bits = static_cast<uint32_t>(getChunkInt(at));
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}
