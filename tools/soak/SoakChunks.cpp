// Chunk makers for the soak run.
#include "SoakChunks.h"

#include <cmath>
#include <cstring>

#include "engine/ParameterTable.h"

namespace {

void putFloat(std::vector<unsigned char>& out, size_t at, float value) {
    putChunkFloat(out.data() + at, value);
}

void putInt(std::vector<unsigned char>& out, size_t at, int32_t value) {
    putChunkInt(out.data() + at, value);
}

float someValue(std::mt19937& random) {
    static const float odd[] = {-1.0f, -0.001f, 1.001f, 2.0f, 1e6f, -1e6f, 3e38f, 0.0f, 1.0f};
    if (random() % 10 != 0) return std::uniform_real_distribution<float>(0.0f, 1.0f)(random);
    return odd[random() % 9];
}

int32_t someFilterType(std::mt19937& random) {
    static const int32_t odd[] = {-1, 4, 7, 1000, -2147483647 - 1};
    if (random() % 8 != 0) return static_cast<int32_t>(random() % kNumFilterTypes);
    return odd[random() % 5];
}

// A program without its name: eleven slots, threshold, sequence length, the two filter types.
void makeProgramBody(std::mt19937& random, std::vector<unsigned char>& out, size_t at) {
    for (int slot = 0; slot < kNumProgramValues; ++slot)
        putFloat(out, at + kProgramValuesOffset + static_cast<size_t>(slot) * 4, someValue(random));
    putFloat(out, at + kProgramThresholdOffset, someValue(random) * 0.4f);
    putFloat(out, at + kProgramSequenceLengthOffset, someValue(random));
    putInt(out, at + kProgramPreFilterOffset, someFilterType(random));
    putInt(out, at + kProgramPostFilterOffset, someFilterType(random));
}

}  // namespace

int modeBitsOf(const std::vector<unsigned char>& bank) {
    if (bank.size() < static_cast<size_t>(kBankChunkSize)) return 0;
    return (bank[kBankMidiNoteControlOffset] ? 1 : 0) | (bank[kBankNoteRecordStartOffset] ? 2 : 0) |
           (bank[kBankRepeatTillNoteOffOffset] ? 4 : 0);
}

void makePreset(std::mt19937& random, std::vector<unsigned char>& out) {
    out.assign(kPresetChunkSize, 0);
    makeProgramBody(random, out, 0);
    for (size_t i = kProgramNameOffset; i < kPresetChunkSize; ++i)
        out[i] = static_cast<unsigned char>('A' + random() % 26);
    if (random() % 2)
        out[kProgramNameOffset + random() % kProgramNameSize] = 0;  // otherwise no terminator at all
}

void makeBank(std::mt19937& random, int modeBits, std::vector<unsigned char>& out) {
    out.assign(kBankChunkSize, 0);
    for (int32_t program = 0; program < kNumPrograms; ++program)
        makeProgramBody(random, out, static_cast<size_t>(bankProgramOffset(program)));
    for (int32_t step = 0; step < kNumStepValues; ++step)
        putFloat(out, static_cast<size_t>(bankStepOffset(step)), someValue(random));
    // Any non-zero byte switches a mode on.
    const unsigned char on = random() % 4 == 0 ? static_cast<unsigned char>(1 + random() % 255) : 1;
    out[kBankMidiNoteControlOffset] = (modeBits & 1) ? on : 0;
    out[kBankNoteRecordStartOffset] = (modeBits & 2) ? on : 0;
    out[kBankRepeatTillNoteOffOffset] = (modeBits & 4) ? on : 0;
}

intptr_t damage(std::mt19937& random, std::vector<unsigned char>& chunk) {
    if (chunk.empty()) return 0;
    const int bytes = 1 + static_cast<int>(random() % 16);
    for (int i = 0; i < bytes; ++i) {
        unsigned char& byte = chunk[random() % chunk.size()];
        switch (random() % 3) {
        case 0: byte ^= static_cast<unsigned char>(1u << (random() % 8)); break;
        case 1: byte = 0; break;
        default: byte = 0xFF; break;  // 0xFF in a float's exponent makes NaN or infinity
        }
    }
    switch (random() % 6) {
    case 0: return static_cast<intptr_t>(random() % chunk.size());  // cut short
    case 1: return 0;
    case 2: return -static_cast<intptr_t>(1 + random() % 100000);
    default: return static_cast<intptr_t>(chunk.size());
    }
}
