// Factory preset files read into LV2 port values through the product's own rules: the
// parameter table's slots, sequence length and filter types.
#include "lv2/PresetPorts.h"

#include <cctype>

#include "engine/ChunkLayout.h"
#include "engine/ParameterTable.h"
#include "lv2/Lv2Ports.h"
#include "tools/render/FileBytes.h"
#include "tools/render/PresetFile.h"

namespace {

const char* extraSymbol(Setting control) {
    for (const SettingInfo& info : kSettingTable)
        if (info.setting == control) return info.symbol;
    return "";
}

// "midi-hold.fxb" -> "MIDI Hold": the label of a bank, whose chunk keeps no names.
std::string labelOfFile(const std::string& path) {
    std::string stem = path.substr(path.find_last_of('/') + 1);
    stem = stem.substr(0, stem.find('.'));
    std::string label;
    bool wordStart = true;
    for (char c : stem) {
        if (c == '-' || c == '_') {
            label += ' ';
            wordStart = true;
            continue;
        }
        label += wordStart ? static_cast<char>(std::toupper(static_cast<unsigned char>(c))) : c;
        wordStart = false;
    }
    if (label.compare(0, 5, "Midi ") == 0) label.replace(0, 4, "MIDI");
    return label;
}

void addRecord(const unsigned char* record, PresetPorts& preset) {
    for (const ParameterInfo& info : kParameterTable) {
        const int32_t offset =
            info.slot >= 0 ? kProgramValuesOffset + 4 * info.slot : kProgramThresholdOffset;
        preset.values.emplace_back(info.lv2Symbol, getChunkFloat(record + offset));
    }
    preset.values.emplace_back(
        extraSymbol(Setting::preFilterType),
        static_cast<float>(filterTypeOf(getChunkInt(record + kProgramPreFilterOffset))));
    preset.values.emplace_back(
        extraSymbol(Setting::postFilterType),
        static_cast<float>(filterTypeOf(getChunkInt(record + kProgramPostFilterOffset))));
    preset.values.emplace_back(
        extraSymbol(Setting::sequenceLength),
        static_cast<float>(sequenceLengthOf(getChunkFloat(record + kProgramSequenceLengthOffset))));
}

}  // namespace

bool readPresetPorts(const std::string& path, PresetPorts& preset, std::string& error) {
    std::vector<unsigned char> bytes;
    if (!readFileBytes(path, bytes)) {
        error = path + ": cannot be read";
        return false;
    }
    PresetLimits limits;
    limits.pluginId = fourCharCode("BRLP");
    limits.numParams = kNumParams;
    limits.numPrograms = kNumPrograms;
    PresetFile file;
    if (!parsePresetFile(bytes, limits, file, error)) {
        error = path + ": " + error;
        return false;
    }
    preset = PresetPorts{};
    // A preset sets every control the plug-in shows: what a program file does not hold (the
    // MIDI switches, kept in banks only, and the inverse switch, kept nowhere) is off, so that a
    // preset chosen after a MIDI bank does not leave its switches on.
    if (file.kind == PresetKind::programChunk && file.chunk.size() == static_cast<size_t>(kPresetChunkSize)) {
        preset.label = file.program.name.empty() ? labelOfFile(path) : file.program.name;
        addRecord(file.chunk.data(), preset);
        for (Setting off : {Setting::midiNoteControl, Setting::noteRecordStart, Setting::repeatTillNoteOff})
            preset.values.emplace_back(extraSymbol(off), 0.0f);
        preset.values.emplace_back(extraSymbol(Setting::inverse), 0.0f);
        return true;
    }
    if (file.kind == PresetKind::bankChunk && file.chunk.size() == static_cast<size_t>(kBankChunkSize)) {
        const int32_t current =
            file.currentProgram >= 0 && file.currentProgram < kNumPrograms ? file.currentProgram : 0;
        preset.label = labelOfFile(path);
        addRecord(file.chunk.data() + bankProgramOffset(current), preset);
        const unsigned char* bank = file.chunk.data();
        preset.values.emplace_back(extraSymbol(Setting::midiNoteControl),
                                   bank[kBankMidiNoteControlOffset] ? 1.0f : 0.0f);
        preset.values.emplace_back(extraSymbol(Setting::noteRecordStart),
                                   bank[kBankNoteRecordStartOffset] ? 1.0f : 0.0f);
        preset.values.emplace_back(extraSymbol(Setting::repeatTillNoteOff),
                                   bank[kBankRepeatTillNoteOffOffset] ? 1.0f : 0.0f);
        preset.values.emplace_back(extraSymbol(Setting::inverse), 0.0f);
        return true;
    }
    error = path + ": neither a program chunk nor a bank chunk of this plug-in";
    return false;
}
