// The VST 3 edition plays exactly what the VST 2 binary plays through the render tool: the same
// input, parameters, programs, notes at the same sample positions, tempo and block sizes, and
// parameter changes at the same samples, give the same samples.
#include <gtest/gtest.h>

#include <cstdio>

#include "Vst3TestHost.h"

namespace {

std::string presetFile(const std::string& name) {
    std::string path = std::string(BRINDLE_PRESETS_DIR) + "/" + name;
#ifdef _WIN32
    path = "Z:" + path;
#endif
    return path;
}

std::vector<MidiNote> notePattern() {
    // Notes at irregular positions (inside and at the edge of blocks), held and released.
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

PlaySettings with(std::vector<std::pair<std::string, float>> parameters, double tempo = 120.0, int32_t block = 512) {
    PlaySettings settings;
    settings.render.parameters = std::move(parameters);
    settings.render.tempo = tempo;
    settings.render.blockSize = block;
    return settings;
}

void expectSame(const char* name, const PlaySettings& settings) {
    AudioData vst2, vst3;
    renderVst2(demoInput(), vst2, settings);
    renderVst3(demoInput(), vst3, settings);
    const size_t differing = differingSamples(vst2, vst3);
    EXPECT_EQ(differing, 0u) << name;
    // Both played something: not silence, not the input unchanged.
    EXPECT_NE(differingSamples(vst3, AudioData{vst3.sampleRate, std::vector<float>(vst3.frames()),
                                               std::vector<float>(vst3.frames())}),
              0u)
        << name;
    EXPECT_NE(differingSamples(vst3, demoInput()), 0u) << name;
    std::printf("  %-52s %zu samples compared, %zu differ\n", name, 2 * vst2.frames(), differing);
}

TEST(Vst3BitIdentity, SettingsTempoAndFilters) {
    expectSame("default", with({}));
    expectSame("tempo 98, size 1, repeat 0.242", with({{"size", 1.0f}, {"repeat", 0.242f}}, 98.0));
    PlaySettings both = with({{"bits", 0.2f}, {"pre-cutoff", 0.4f}, {"pre-reso", 0.6f}, {"post-cutoff", 0.3f},
                              {"post-reso", 0.2f}, {"size", 0.5f}, {"threshold", 0.05f}});
    both.render.editor.preFilter = 1;
    both.render.editor.postFilter = 3;
    both.render.editor.sequenceLength = 5;
    expectSame("both filters (LP, BP) with 7 bits, 5-step sequence", both);
    both.render.editor.preFilter = 2;
    both.render.editor.postFilter = 2;
    expectSame("both filters HP", both);
    PlaySettings program = with({{"size", 0.3f}});
    program.render.bankFile = presetFile("midi-hold.fxb");
    program.render.program = 3;
    expectSame("bank, program 3 chosen by the host", program);
    PlaySettings inPlace = with({{"size", 0.9f}}, 140.0, 300);
    inPlace.inPlace = true;
    expectSame("in place (outputs are the inputs)", inPlace);
}

TEST(Vst3BitIdentity, EveryFactoryPreset) {
    const char* files[] = {"sixteenth-stutter.fxp", "grain-buzz.fxp", "half-roll.fxp",    "lofi-crush.fxp",
                           "dub-shadow.fxp",        "kick-catcher.fxp", "hat-sizzle.fxp", "gated-chop.fxp",
                           "radio-repeat.fxp",      "midi-hold.fxb"};
    for (const char* file : files) {
        PlaySettings settings = with({});
        const bool bank = std::string(file).find(".fxb") != std::string::npos;
        (bank ? settings.render.bankFile : settings.render.presetFile) = presetFile(file);
        settings.render.notes = notePattern();
        expectSame(file, settings);
    }
}

TEST(Vst3BitIdentity, MidiModes) {
    const char* modes[] = {"MIDI note control", "note starts recording", "repeat until note-off", "all three modes"};
    for (int mode = 0; mode < 4; ++mode) {
        PlaySettings midi = with({{"size", 0.4f}, {"knak", 0.05f}});
        midi.render.notes = notePattern();
        midi.render.editor.midiNoteControl = mode == 0 || mode == 3;
        midi.render.editor.noteRecordStart = mode == 1 || mode == 3;
        midi.render.editor.repeatTillNoteOff = mode == 2 || mode == 3;
        expectSame(modes[mode], midi);
    }
}

TEST(Vst3BitIdentity, BlocksOfOneTo4096) {
    for (int32_t block : {1, 2, 64, 1000, 4096}) {
        PlaySettings sized = with({{"size", 0.7f}, {"bits", 0.5f}}, 133.0, block);
        sized.render.notes = notePattern();
        sized.render.editor.midiNoteControl = 1;
        sized.render.editor.postFilter = 1;
        const std::string name = "blocks of " + std::to_string(block);
        expectSame(name.c_str(), sized);
    }
    PlaySettings varying = with({{"size", 0.3f}, {"dry/wet", 0.5f}}, 87.0, 4096);
    varying.render.varyBlocks = true;
    varying.render.notes = notePattern();
    varying.render.editor.midiNoteControl = 1;
    varying.render.editor.repeatTillNoteOff = 1;
    expectSame("changing block sizes up to 4096", varying);
}

// Points inside blocks, at a block's first sample, several in one block and on one sample;
// the VST 2 render sets the same values between blocks split at those samples.
TEST(Vst3BitIdentity, ParameterChangesAtTheirSampleOffsets) {
    PlaySettings automated = with({{"size", 0.5f}, {"threshold", 0.1f}}, 120.0, 512);
    automated.render.notes = notePattern();
    automated.automation = {
        {700, 2, 0.9},     {1024, 6, 0.1},    {5000, 4, 0.3},    {5001, 4, 0.7},   {5001, 2, 0.2},
        {9999, 7, 0.02},   {20480, 5, 0.4},   {33333, 10, 0.2},  {33334, 11, 0.9}, {50000, 3, 0.6},
        {70000, 2, 1.0},   {70100, 0, 0.5},   {70200, 1, 0.9},   {90001, 9, 0.3},  {100000, 8, 0.5},
        {110000, 4, 1.0},  {120000, 7, 0.3},
    };
    expectSame("17 changes of 11 parameters at sample offsets", automated);
    automated.render.blockSize = 4096;
    expectSame("the same in blocks of 4096", automated);
    automated.render.blockSize = 1;
    expectSame("the same in blocks of 1", automated);
}

}  // namespace
