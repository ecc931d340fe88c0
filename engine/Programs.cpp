// The sixteen programs: selection, names and the record behind them.
#include <cstdio>
#include <cstring>

#include "engine/FreezeEffect.h"

namespace {
constexpr int32_t kMaxNameLength = kProgramNameSize - 1;
}

int32_t FreezeEffect::currentProgramIndex() const {
    int32_t index = curProgram;
    return (index >= 0 && index < kNumPrograms) ? index : 0;
}

void FreezeEffect::setProgram(int32_t program) {
    if (program < 0 || program >= kNumPrograms) return;
    curProgram = program;
    const FreezeProgram record = programs[program];
    for (int32_t slot = 0; slot < kNumProgramValues; ++slot) setProgramValue(slot, record.values[slot]);
    WorkingValues& v = core.values;
    v.threshold = record.threshold;
    v.preFilter.type = record.preFilterType;
    v.postFilter.type = record.postFilterType;
    v.sequenceLengthValue = record.sequenceLengthValue;
    setSequenceLength(record.sequenceLengthValue);
}

void FreezeEffect::setProgramName(char* text) {
    if (!text) return;
    char* name = programs[currentProgramIndex()].name;
    size_t length = strnlen(text, kMaxNameLength);
    std::memcpy(name, text, length);
    name[length] = '\0';
}

void FreezeEffect::getProgramName(char* text) {
    if (!text) return;
    const FreezeProgram& program = programs[currentProgramIndex()];
    // A name read from a chunk may lack its terminator: never read past the field.
    size_t length = strnlen(program.name, kMaxNameLength);
    if (length == 4 && std::memcmp(program.name, "Init", 4) == 0) {
        std::snprintf(text, kProgramNameSize, "Init %d", static_cast<int>(currentProgramIndex() + 1));
        return;
    }
    std::memcpy(text, program.name, length);
    text[length] = '\0';
}

const FreezeProgram& FreezeEffect::getProgramRecord(int32_t program) const {
    if (program < 0 || program >= kNumPrograms) program = 0;
    return programs[program];
}
