// The cases every format plays beside the VST 2 render: settings, tempo and filters, the MIDI
// modes, fixed and changing block sizes, in place, and the factory presets. Each format's test
// turns them into its own host's settings and adds what only that format has.
#pragma once

#include <cstdint>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "tools/render/RenderSettings.h"

// Notes at irregular positions (inside and at the edge of blocks), held and released.
inline std::vector<MidiNote> notePattern() {
    std::vector<MidiNote> notes;
    const int64_t positions[] = {0, 4410, 11025, 22050, 22051, 40000, 63999, 88200, 100000, 120001};
    uint8_t key = 45;
    for (size_t i = 0; i < std::size(positions); ++i) {
        const bool on = i % 3 != 2;
        notes.push_back(
            {positions[i], static_cast<uint8_t>(on ? 0x90 : 0x80), key, static_cast<uint8_t>(on ? 100 : 0)});
        key = static_cast<uint8_t>(key + 7);
    }
    return notes;
}

inline RenderSettings renderWith(std::vector<std::pair<std::string, float>> parameters, double tempo = 120.0,
                                 int32_t block = 512) {
    RenderSettings render;
    render.parameters = std::move(parameters);
    render.tempo = tempo;
    render.blockSize = block;
    return render;
}

struct RenderCase {
    std::string name;
    RenderSettings render;
    bool inPlace = false;  // the outputs are the input buffers
};

inline std::vector<RenderCase> sharedRenderCases() {
    std::vector<RenderCase> cases;
    cases.push_back({"default", renderWith({})});
    cases.push_back({"tempo 98, size 1, repeat 0.242", renderWith({{"size", 1.0f}, {"repeat", 0.242f}}, 98.0)});
    RenderSettings both = renderWith({{"bits", 0.2f}, {"pre-cutoff", 0.4f}, {"pre-reso", 0.6f}, {"post-cutoff", 0.3f},
                                      {"post-reso", 0.2f}, {"size", 0.5f}, {"threshold", 0.05f}});
    both.editor.preFilter = 1;
    both.editor.postFilter = 3;
    both.editor.sequenceLength = 5;
    cases.push_back({"both filters (LP, BP) with 7 bits, 5-step sequence", both});
    both.editor.preFilter = 2;
    both.editor.postFilter = 2;
    cases.push_back({"both filters HP with 7 bits", both});
    const char* modes[] = {"MIDI note control", "note starts recording", "repeat until note-off", "all three modes"};
    for (int mode = 0; mode < 4; ++mode) {
        RenderSettings midi = renderWith({{"size", 0.4f}, {"knak", 0.05f}});
        midi.notes = notePattern();
        midi.editor.midiNoteControl = mode == 0 || mode == 3;
        midi.editor.noteRecordStart = mode == 1 || mode == 3;
        midi.editor.repeatTillNoteOff = mode == 2 || mode == 3;
        cases.push_back({modes[mode], midi});
    }
    for (int32_t block : {1, 2, 64, 1000, 4096}) {
        RenderSettings sized = renderWith({{"size", 0.7f}, {"bits", 0.5f}}, 133.0, block);
        sized.notes = notePattern();
        sized.editor.midiNoteControl = 1;
        sized.editor.postFilter = 1;
        cases.push_back({"blocks of " + std::to_string(block), sized});
    }
    RenderSettings varying = renderWith({{"size", 0.3f}, {"dry/wet", 0.5f}}, 87.0, 4096);
    varying.varyBlocks = true;
    varying.notes = notePattern();
    varying.editor.midiNoteControl = 1;
    varying.editor.repeatTillNoteOff = 1;
    cases.push_back({"changing block sizes up to 4096", varying});
    cases.push_back({"in place (outputs are the inputs)", renderWith({{"size", 0.9f}}, 140.0, 300), true});
    return cases;
}

// A file of the source tree's presets folder, as this build's programs open it.
inline std::string presetPath(const std::string& file) {
    std::string path = std::string(BRINDLE_PRESETS_DIR) + "/" + file;
#ifdef _WIN32
    path = "Z:" + path;  // a Linux path as Wine's Windows programs open it
#endif
    return path;
}

// The factory presets' files, each with the note pattern.
inline std::vector<RenderCase> factoryPresetCases() {
    const char* stems[] = {"sixteenth-stutter", "grain-buzz", "half-roll",  "lofi-crush",   "dub-shadow",
                           "kick-catcher",      "hat-sizzle", "gated-chop", "radio-repeat", "midi-hold"};
    std::vector<RenderCase> cases;
    for (const char* stem : stems) {
        RenderSettings render = renderWith({});
        const bool bank = std::string(stem) == "midi-hold";
        (bank ? render.bankFile : render.presetFile) = presetPath(std::string(stem) + (bank ? ".fxb" : ".fxp"));
        render.notes = notePattern();
        cases.push_back({stem, render});
    }
    return cases;
}
