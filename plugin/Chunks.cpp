// Preset and bank chunks (engine/ChunkLayout.h) that hosts keep in their projects.
#include <algorithm>
#include <cstring>

#include "plugin/FreezePlugin.h"

void FreezePlugin::writeBank(unsigned char* bank) const {
    const WorkingValues& v = signal.values;
    std::memset(bank, 0, kBankChunkSize);
    for (int32_t i = 0; i < kNumPrograms; ++i)
        std::memcpy(bank + bankProgramOffset(i), &programs[i], kBankProgramBytes);
    for (int32_t step = 0; step < kNumStepValues; ++step)
        putChunkFloat(bank + bankStepOffset(step), v.stepValues[step]);
    bank[kBankMidiNoteControlOffset] = v.midiNoteControl ? 1 : 0;
    bank[kBankNoteRecordStartOffset] = v.noteRecordStart ? 1 : 0;
    bank[kBankRepeatTillNoteOffOffset] = v.repeatTillNoteOff ? 1 : 0;
}

void FreezePlugin::readBank(const unsigned char* bank) {
    WorkingValues& v = signal.values;
    for (int32_t i = 0; i < kNumPrograms; ++i)
        std::memcpy(&programs[i], bank + bankProgramOffset(i), kBankProgramBytes);
    for (int32_t step = 0; step < kNumStepValues; ++step)
        v.stepValues[step] = getChunkFloat(bank + bankStepOffset(step));
    v.midiNoteControl = bank[kBankMidiNoteControlOffset] != 0;
    v.noteRecordStart = bank[kBankNoteRecordStartOffset] != 0;
    v.repeatTillNoteOff = bank[kBankRepeatTillNoteOffOffset] != 0;
}

int32_t FreezePlugin::getChunk(const void** data, bool isPreset) {
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
int32_t FreezePlugin::setChunk(const void* data, int32_t byteSize, bool isPreset) {
    if (!data || byteSize <= 0) return 0;
    const auto* bytes = static_cast<const unsigned char*>(data);
    if (isPreset) {
        FreezeProgram record = programs[currentProgramIndex()];
        std::memcpy(&record, bytes, static_cast<size_t>(std::min(byteSize, kPresetChunkSize)));
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

namespace {
constexpr unsigned char kStateTag[4] = {'B', 'R', 'L', 'S'};
constexpr int32_t kStateLayout = 1;
}  // namespace

void FreezePlugin::saveState(unsigned char* state) {
    std::memcpy(state, kStateTag, 4);
    putChunkInt(state + 4, kStateLayout);
    putChunkInt(state + 8, getProgram());
    writeBank(state + 12);
}

bool FreezePlugin::loadState(const unsigned char* state, int32_t size) {
    if (!state || size != kStateSize || std::memcmp(state, kStateTag, 4) != 0 ||
        getChunkInt(state + 4) != kStateLayout)
        return false;
    setChunk(state + 12, kBankChunkSize, false);
    // A program outside 0..15 selects nothing, but the current one is played as the new bank
    // holds it: what plays is then what saves.
    const int32_t program = getChunkInt(state + 8);
    setProgram(program >= 0 && program < kNumPrograms ? program : currentProgramIndex());
    return true;
}
