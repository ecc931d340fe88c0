// Preset (84-byte) and bank (1476-byte) chunks that hosts keep in their projects.
#include <algorithm>
#include <cstring>

#include "engine/FreezeEffect.h"

namespace {

void putFloat(unsigned char* at, float value) { std::memcpy(at, &value, sizeof value); }

float getFloat(const unsigned char* at) {
    float value;
    std::memcpy(&value, at, sizeof value);
    return value;
}

}  // namespace

void FreezeEffect::writeBank(unsigned char* bank) const {
    std::memset(bank, 0, kBankChunkSize);
    for (int32_t i = 0; i < kNumPrograms; ++i)
        std::memcpy(bank + i * kPresetChunkSize, &programs[i], kBankProgramBytes);
    for (int32_t step = 0; step < kNumStepValues; ++step)
        putFloat(bank + kBankStepsOffset + step * 4, stepValues[step]);
    bank[kBankFlagsOffset + 0] = midiNoteControl ? 1 : 0;
    bank[kBankFlagsOffset + 1] = noteRecordStart ? 1 : 0;
    bank[kBankFlagsOffset + 2] = repeatTillNoteOff ? 1 : 0;
}

void FreezeEffect::readBank(const unsigned char* bank) {
    for (int32_t i = 0; i < kNumPrograms; ++i)
        std::memcpy(&programs[i], bank + i * kPresetChunkSize, kBankProgramBytes);
    for (int32_t step = 0; step < kNumStepValues; ++step)
        stepValues[step] = getFloat(bank + kBankStepsOffset + step * 4);
    midiNoteControl = bank[kBankFlagsOffset + 0] != 0;
    noteRecordStart = bank[kBankFlagsOffset + 1] != 0;
    repeatTillNoteOff = bank[kBankFlagsOffset + 2] != 0;
}

int32_t FreezeEffect::getChunk(void** data, bool isPreset) {
    if (!data) return 0;
    if (isPreset) {
        std::memcpy(chunkBuffer.get(), &programs[currentProgramIndex()], kPresetChunkSize);
        setProgram(currentProgramIndex());
        *data = chunkBuffer.get();
        return kPresetChunkSize;
    }
    writeBank(chunkBuffer.get());
    *data = chunkBuffer.get();
    return kBankChunkSize;
}

// The host's bytes are copied over the current content, so a short chunk changes only what it
// holds and nothing past the host's data is read.
int32_t FreezeEffect::setChunk(void* data, int32_t byteSize, bool isPreset) {
    if (!data || byteSize <= 0) return 0;
    const auto* bytes = static_cast<const unsigned char*>(data);
    if (isPreset) {
        FreezeProgram record = programs[currentProgramIndex()];
        std::memcpy(&record, bytes, std::min(byteSize, kPresetChunkSize));
        // The name is taken up to its terminator or 23 characters.
        record.name[kProgramNameSize - 1] = '\0';
        programs[currentProgramIndex()] = record;
        setProgram(currentProgramIndex());
        return kPresetChunkSize;
    }
    unsigned char* bank = setChunkScratch.get();
    writeBank(bank);
    std::memcpy(bank, bytes, static_cast<size_t>(std::min(byteSize, kBankChunkSize)));
    readBank(bank);
    return kBankChunkSize;
}
