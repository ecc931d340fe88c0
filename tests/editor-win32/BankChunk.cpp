// Reading and writing bank chunk fields in place.
#include "BankChunk.h"

#include <cstddef>
#include <cstring>

#include "engine/FreezeProgram.h"

namespace {

template <typename T>
T readAt(const std::vector<unsigned char>& bytes, size_t offset) {
    T value{};
    if (offset + sizeof value <= bytes.size()) std::memcpy(&value, bytes.data() + offset, sizeof value);
    return value;
}

size_t programAt(int32_t program) { return static_cast<size_t>(program) * kPresetChunkSize; }

}  // namespace

float Bank::step(int32_t i) const {
    return readAt<float>(bytes, kBankStepsOffset + 4 * static_cast<size_t>(i));
}

float Bank::sequenceLength(int32_t program) const {
    return readAt<float>(bytes, programAt(program) + offsetof(FreezeProgram, sequenceLengthValue));
}

int32_t Bank::preFilterType(int32_t program) const {
    return readAt<int32_t>(bytes, programAt(program) + offsetof(FreezeProgram, preFilterType));
}

int32_t Bank::postFilterType(int32_t program) const {
    return readAt<int32_t>(bytes, programAt(program) + offsetof(FreezeProgram, postFilterType));
}

bool Bank::midiFlag(int32_t i) const {
    return readAt<unsigned char>(bytes, kBankFlagsOffset + static_cast<size_t>(i)) != 0;
}

void Bank::setStep(int32_t i, float value) {
    std::memcpy(bytes.data() + kBankStepsOffset + 4 * i, &value, sizeof value);
}

void Bank::setMidiFlag(int32_t i, bool on) { bytes[static_cast<size_t>(kBankFlagsOffset + i)] = on ? 1 : 0; }
