// Bank chunk layout: 16 programs of 84 bytes (sequence length at 48, filter types at 52 and
// 56), 32 step values at 1344, three mode flags at 1472; little-endian, as hosts store it.
#include "tools/render/BankEdit.h"

#include <cstring>

namespace {

constexpr int32_t kProgramBytes = 84;
constexpr int32_t kSequenceLengthOffset = 48;
constexpr int32_t kPreFilterOffset = 52;
constexpr int32_t kPostFilterOffset = 56;
constexpr int32_t kStepsOffset = 1344;
constexpr int32_t kFlagsOffset = 1472;

void putFloat(unsigned char* at, float value) {
    uint32_t bits;
    std::memcpy(&bits, &value, 4);
    for (int i = 0; i < 4; ++i) at[i] = static_cast<unsigned char>(bits >> (8 * i));
}

void putInt(unsigned char* at, int32_t value) {
    const auto bits = static_cast<uint32_t>(value);
    for (int i = 0; i < 4; ++i) at[i] = static_cast<unsigned char>(bits >> (8 * i));
}

}  // namespace

bool applyEditorSettings(std::vector<unsigned char>& bank, int32_t program,
                         const EditorSettings& settings) {
    if (bank.size() != static_cast<size_t>(kRenderBankSize) || program < 0 || program > 15)
        return false;
    unsigned char* const record = bank.data() + program * kProgramBytes;
    for (const auto& [step, value] : settings.steps)
        if (step >= 0 && step < 32) putFloat(bank.data() + kStepsOffset + step * 4, value);
    // The editor stores the length as a fraction of 16 steps.
    if (settings.sequenceLength >= 1)
        putFloat(record + kSequenceLengthOffset, static_cast<float>(settings.sequenceLength) / 16.0f);
    if (settings.preFilter >= 0) putInt(record + kPreFilterOffset, settings.preFilter);
    if (settings.postFilter >= 0) putInt(record + kPostFilterOffset, settings.postFilter);
    if (settings.midiNoteControl >= 0) bank[kFlagsOffset + 0] = settings.midiNoteControl ? 1 : 0;
    if (settings.noteRecordStart >= 0) bank[kFlagsOffset + 1] = settings.noteRecordStart ? 1 : 0;
    if (settings.repeatTillNoteOff >= 0) bank[kFlagsOffset + 2] = settings.repeatTillNoteOff ? 1 : 0;
    return true;
}
