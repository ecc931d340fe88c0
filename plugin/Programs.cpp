// The sixteen programs: selection, names and the record behind them.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <iterator>

#include "plugin/FreezePlugin.h"

namespace {
constexpr int32_t kMaxNameLength = kProgramNameSize - 1;

FreezeProgram defaultProgram() {
    FreezeProgram program{};
    std::copy(std::begin(kDefaultProgramValues), std::end(kDefaultProgramValues), program.values);
    program.threshold = kDefaultThreshold;
    program.sequenceLengthValue = kDefaultSequenceLengthValue;
    program.preFilterType = static_cast<int32_t>(kDefaultFilterType);
    program.postFilterType = static_cast<int32_t>(kDefaultFilterType);
    std::strcpy(program.name, "Init");
    return program;
}
}  // namespace

void FreezePlugin::resetPrograms() {
    for (int32_t i = 0; i < kNumPrograms; ++i) programs[i] = defaultProgram();
}

int32_t FreezePlugin::currentProgramIndex() const {
    const int32_t index = currentProgram;
    return (index >= 0 && index < kNumPrograms) ? index : 0;
}

int32_t FreezePlugin::getProgram() const { return currentProgram; }

void FreezePlugin::setProgram(int32_t program) {
    if (program < 0 || program >= kNumPrograms) return;
    currentProgram = program;
    const FreezeProgram record = programs[program];
    for (int32_t slot = 0; slot < kNumProgramValues; ++slot) setProgramValue(slot, record.values[slot]);
    WorkingValues& v = signal.values;
    v.threshold = record.threshold;
    v.preFilter.type = record.preFilterType;
    v.postFilter.type = record.postFilterType;
    v.sequenceLengthValue = record.sequenceLengthValue;
    setSequenceLength(record.sequenceLengthValue);
}

void FreezePlugin::setProgramName(const char* text) {
    if (!text) return;
    char* name = programs[currentProgramIndex()].name;
    const size_t length = strnlen(text, kMaxNameLength);
    std::memcpy(name, text, length);
    name[length] = '\0';
}

void FreezePlugin::getProgramName(char* text) const { getProgramNameOf(currentProgramIndex(), text); }

void FreezePlugin::getProgramNameOf(int32_t program, char* text) const {
    if (!text) return;
    if (program < 0 || program >= kNumPrograms) {
        text[0] = '\0';
        return;
    }
    const FreezeProgram& record = programs[program];
    // A name read from a chunk may lack its terminator: never read past the field.
    const size_t length = strnlen(record.name, kMaxNameLength);
    if (length == 4 && std::memcmp(record.name, "Init", 4) == 0) {
        std::snprintf(text, kProgramNameSize, "Init %d", static_cast<int>(program + 1));
        return;
    }
    std::memcpy(text, record.name, length);
    text[length] = '\0';
}

const FreezeProgram& FreezePlugin::getProgramRecord(int32_t program) const {
    if (program < 0 || program >= kNumPrograms) program = 0;
    return programs[program];
}
