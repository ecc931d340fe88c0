// brindleLoop.clap plays exactly what the VST 2 binary plays through the render tool: every
// factory preset, the MIDI modes in both note dialects, blocks of 1 to 4096, in place.
#include <gtest/gtest.h>

#include <cstdio>

#include "ClapRun.h"

namespace {

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

ClapPlay with(std::vector<std::pair<std::string, float>> parameters, double tempo = 120.0, int32_t block = 512) {
    ClapPlay play;
    play.render.parameters = std::move(parameters);
    play.render.tempo = tempo;
    play.render.blockSize = block;
    return play;
}

void expectIdentical(const char* name, const ClapPlay& play) {
    AudioData vst, clap;
    renderVst(demoInput(), vst, play.render);
    ClapInstance instance(builtLibrary());
    ASSERT_TRUE(instance.ok()) << builtLibrary().error();
    playClap(instance, demoInput(), clap, play);
    const size_t differing = differingSamples(vst, clap);
    EXPECT_EQ(differing, 0u) << name;
    std::printf("  %-50s %zu samples compared, %zu differ\n", name, 2 * vst.frames(), differing);
}

TEST(ClapBitIdentity, EveryFactoryPresetEqualsTheVst2Render) {
    const char* files[] = {"sixteenth-stutter.fxp", "grain-buzz.fxp", "half-roll.fxp",    "lofi-crush.fxp",
                           "dub-shadow.fxp",        "kick-catcher.fxp", "hat-sizzle.fxp", "gated-chop.fxp",
                           "radio-repeat.fxp",      "midi-hold.fxb"};
    for (const char* file : files) {
        ClapPlay play = with({});
        const std::string path = std::string(BRINDLE_PRESETS_DIR) + "/" + file;
        (std::string(file).find(".fxb") != std::string::npos ? play.render.bankFile : play.render.presetFile) = path;
        play.render.notes = notePattern();
        expectIdentical(file, play);
    }
}

TEST(ClapBitIdentity, ModesDialectsAndBlocksEqualTheVst2Render) {
    struct Case {
        const char* name;
        ClapPlay play;
    };
    std::vector<Case> cases;
    cases.push_back({"default", with({})});
    cases.push_back({"tempo 98, size 1, repeat 0.242", with({{"size", 1.0f}, {"repeat", 0.242f}}, 98.0)});
    {
        ClapPlay both = with({{"bits", 0.2f}, {"pre-cutoff", 0.4f}, {"pre-reso", 0.6f}, {"post-cutoff", 0.3f},
                              {"post-reso", 0.2f}, {"size", 0.5f}, {"threshold", 0.05f}});
        both.render.editor.preFilter = 1;
        both.render.editor.postFilter = 3;
        both.render.editor.sequenceLength = 5;
        cases.push_back({"both filters (LP, BP), 7 bits, 5 steps", both});
    }
    const char* modes[] = {"MIDI note control", "note starts recording", "repeat until note-off", "all three modes"};
    for (int dialect = 0; dialect < 2; ++dialect)
        for (int mode = 0; mode < 4; ++mode) {
            ClapPlay midi = with({{"size", 0.4f}, {"knak", 0.05f}});
            midi.render.notes = notePattern();
            midi.render.editor.midiNoteControl = mode == 0 || mode == 3;
            midi.render.editor.noteRecordStart = mode == 1 || mode == 3;
            midi.render.editor.repeatTillNoteOff = mode == 2 || mode == 3;
            midi.midiDialect = dialect == 1;
            static std::string names[8];
            names[dialect * 4 + mode] = std::string(modes[mode]) + (dialect ? ", MIDI events" : ", CLAP notes");
            cases.push_back({names[dialect * 4 + mode].c_str(), midi});
        }
    for (int32_t block : {1, 64, 1000, 4096}) {
        ClapPlay sized = with({{"size", 0.7f}, {"bits", 0.5f}}, 133.0, block);
        sized.render.notes = notePattern();
        sized.render.editor.midiNoteControl = 1;
        sized.render.editor.postFilter = 1;
        cases.push_back({block == 1      ? "blocks of 1"
                         : block == 64   ? "blocks of 64"
                         : block == 1000 ? "blocks of 1000"
                                         : "blocks of 4096",
                         sized});
    }
    ClapPlay varying = with({{"size", 0.3f}, {"dry/wet", 0.5f}}, 87.0, 4096);
    varying.render.varyBlocks = true;
    varying.render.notes = notePattern();
    varying.render.editor.midiNoteControl = 1;
    varying.render.editor.repeatTillNoteOff = 1;
    cases.push_back({"changing block sizes up to 4096", varying});
    ClapPlay inPlace = with({{"size", 0.9f}}, 140.0, 300);
    inPlace.inPlace = true;
    cases.push_back({"in place (outputs are the inputs)", inPlace});
    for (const Case& c : cases) expectIdentical(c.name, c.play);
}

}  // namespace
