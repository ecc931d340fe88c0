// The LV2 plug-in plays exactly what the VST 2 .so plays through the render tool: the same
// input, control values, notes at the same sample positions and tempo give the same samples.
#include <gtest/gtest.h>

#include "Lv2TestHost.h"

namespace {

struct Case {
    const char* name;
    PlaySettings settings;
};

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

PlaySettings with(std::vector<std::pair<std::string, float>> parameters, double tempo = 120.0,
                  int32_t block = 512) {
    PlaySettings settings;
    settings.render.parameters = std::move(parameters);
    settings.render.tempo = tempo;
    settings.render.blockSize = block;
    return settings;
}

std::vector<Case> cases() {
    std::vector<Case> list;
    list.push_back({"default", with({})});
    list.push_back({"default, no time:Position (120 BPM)", with({})});
    list.back().settings.sendTempo = false;
    list.push_back({"tempo 98, size 1, repeat 0.242", with({{"size", 1.0f}, {"repeat", 0.242f}}, 98.0)});
    list.push_back({"tempo 98 on the time-only input", with({{"size", 1.0f}, {"repeat", 0.242f}}, 98.0)});
    list.back().settings.tempoOnTimePort = true;
    {
        PlaySettings both = with({{"bits", 0.2f},
                                  {"pre-cutoff", 0.4f},
                                  {"pre-reso", 0.6f},
                                  {"post-cutoff", 0.3f},
                                  {"post-reso", 0.2f},
                                  {"size", 0.5f},
                                  {"threshold", 0.05f}});
        both.render.editor.preFilter = 1;
        both.render.editor.postFilter = 3;
        both.render.editor.sequenceLength = 5;
        list.push_back({"both filters (LP, BP) with 7 bits, 5-step sequence", both});
        both.render.editor.preFilter = 2;
        both.render.editor.postFilter = 2;
        list.push_back({"both filters HP with 7 bits", both});
    }
    const char* modes[] = {"MIDI note control", "note starts recording", "repeat until note-off",
                           "all three modes"};
    for (int mode = 0; mode < 4; ++mode) {
        PlaySettings midi = with({{"size", 0.4f}, {"knak", 0.05f}});
        midi.render.notes = notePattern();
        midi.render.editor.midiNoteControl = mode == 0 || mode == 3;
        midi.render.editor.noteRecordStart = mode == 1 || mode == 3;
        midi.render.editor.repeatTillNoteOff = mode == 2 || mode == 3;
        list.push_back({modes[mode], midi});
    }
    for (int32_t block : {1, 64, 1000, 4096}) {
        PlaySettings sized = with({{"size", 0.7f}, {"bits", 0.5f}}, 133.0, block);
        sized.render.notes = notePattern();
        sized.render.editor.midiNoteControl = 1;
        sized.render.editor.postFilter = 1;
        list.push_back({block == 1      ? "blocks of 1"
                        : block == 64   ? "blocks of 64"
                        : block == 1000 ? "blocks of 1000"
                                        : "blocks of 4096",
                        sized});
    }
    PlaySettings varying = with({{"size", 0.3f}, {"dry/wet", 0.5f}}, 87.0, 4096);
    varying.render.varyBlocks = true;
    varying.render.notes = notePattern();
    varying.render.editor.midiNoteControl = 1;
    varying.render.editor.repeatTillNoteOff = 1;
    list.push_back({"changing block sizes up to 4096", varying});
    PlaySettings inPlace = with({{"size", 0.9f}}, 140.0, 300);
    inPlace.inPlace = true;
    list.push_back({"in place (outputs are the inputs)", inPlace});
    return list;
}

TEST(Lv2BitIdentity, EqualsTheVst2RenderSampleForSample) {
    for (const Case& c : cases()) {
        AudioData vst, lv2;
        renderVst(demoInput(), vst, c.settings);
        Lv2Run run(demoInput().sampleRate);
        ASSERT_TRUE(run.ok());
        run.play(demoInput(), lv2, c.settings);
        const size_t differing = differingSamples(vst, lv2);
        EXPECT_EQ(differing, 0u) << c.name;
        std::printf("  %-52s %zu samples compared, %zu differ\n", c.name, 2 * vst.frames(), differing);
    }
}

TEST(Lv2BitIdentity, EveryFactoryPresetEqualsItsFile) {
    const std::string dir = BRINDLE_PRESETS_DIR;
    const char* stems[] = {"sixteenth-stutter", "grain-buzz", "half-roll",  "lofi-crush",   "dub-shadow",
                           "kick-catcher",      "hat-sizzle", "gated-chop", "radio-repeat", "midi-hold"};
    for (const char* stem : stems) {
        PlaySettings settings = with({}, 120.0, 512);
        const bool bank = std::string(stem) == "midi-hold";
        (bank ? settings.render.bankFile : settings.render.presetFile) =
            dir + "/" + stem + (bank ? ".fxb" : ".fxp");
        settings.lv2Preset = std::string("urn:fennelworks:brindleloop:preset:") + stem;
        settings.render.notes = notePattern();
        AudioData vst, lv2;
        renderVst(demoInput(), vst, settings);
        Lv2Run run(demoInput().sampleRate);
        ASSERT_TRUE(run.ok());
        run.play(demoInput(), lv2, settings);
        const size_t differing = differingSamples(vst, lv2);
        EXPECT_EQ(differing, 0u) << stem;
        std::printf("  preset %-45s %zu samples compared, %zu differ\n", stem, 2 * vst.frames(), differing);
    }
}

}  // namespace
