// What one render asks of the plug-in: host timing, blocks, program, parameters, chunks,
// editor-only settings and MIDI notes.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

// One MIDI message at an absolute sample position of the render.
struct MidiNote {
    int64_t position = 0;
    uint8_t status = 0x90;
    uint8_t data1 = 0;
    uint8_t data2 = 0;
};

// Settings that only the editor changes; a host reaches them through a bank chunk.
// -1 (or an empty list) leaves a setting as the plug-in has it.
struct EditorSettings {
    std::vector<std::pair<int32_t, float>> steps;  // step index 0..15, value 0..1
    int32_t sequenceLength = -1;                   // 1..16
    int32_t preFilter = -1;                        // 0 OFF, 1 LP, 2 HP, 3 BP
    int32_t postFilter = -1;
    int32_t midiNoteControl = -1;  // 0 or 1
    int32_t noteRecordStart = -1;
    int32_t repeatTillNoteOff = -1;

    bool any() const {
        return !steps.empty() || sequenceLength >= 0 || preFilter >= 0 || postFilter >= 0 ||
               midiNoteControl >= 0 || noteRecordStart >= 0 || repeatTillNoteOff >= 0;
    }
};

struct RenderSettings {
    double tempo = 120.0;     // beats per minute, served through audioMasterGetTime
    int32_t blockSize = 512;  // the largest block
    bool varyBlocks = false;  // blocks of changing size, as some hosts send
    int32_t program = -1;     // 0..15, or -1 for the plug-in's current program
    std::string bankFile;     // applied first
    std::string presetFile;   // applied to the selected program
    std::string programName;  // given to the selected program after the preset
    std::vector<std::pair<std::string, float>> parameters;  // by name, in order
    EditorSettings editor;
    std::vector<MidiNote> notes;  // sorted by position
};
