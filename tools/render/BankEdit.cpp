// Editor-only settings written into the bank chunk: a program's sequence length and filter
// types, the step values and the mode flags (engine/ChunkLayout.h).
#include "tools/render/BankEdit.h"

#include "engine/ParameterTable.h"

bool applyEditorSettings(std::vector<unsigned char>& bank, int32_t program, const EditorSettings& settings) {
    if (bank.size() != static_cast<size_t>(kBankChunkSize) || program < 0 || program >= kNumPrograms)
        return false;
    unsigned char* const record = bank.data() + bankProgramOffset(program);
    for (const auto& [step, value] : settings.steps)
        if (step >= 0 && step < kNumStepValues) putChunkFloat(bank.data() + bankStepOffset(step), value);
    // The editor stores the length as a fraction of 16 steps.
    if (settings.sequenceLength >= 1)
        putChunkFloat(record + kProgramSequenceLengthOffset, sequenceLengthValueFor(settings.sequenceLength));
    if (settings.preFilter >= 0) putChunkInt(record + kProgramPreFilterOffset, settings.preFilter);
    if (settings.postFilter >= 0) putChunkInt(record + kProgramPostFilterOffset, settings.postFilter);
    if (settings.midiNoteControl >= 0) bank[kBankMidiNoteControlOffset] = settings.midiNoteControl ? 1 : 0;
    if (settings.noteRecordStart >= 0) bank[kBankNoteRecordStartOffset] = settings.noteRecordStart ? 1 : 0;
    if (settings.repeatTillNoteOff >= 0)
        bank[kBankRepeatTillNoteOffOffset] = settings.repeatTillNoteOff ? 1 : 0;
    return true;
}
