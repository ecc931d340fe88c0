// The component's state: saved and taken by a fresh instance, refused without harm when it is
// not a whole state, and the VST 2 edition's bank and preset taken as a replacing host passes them.
#include <gtest/gtest.h>

#include <cstring>

#include "Vst3TestHost.h"
#include "plugin/FreezePlugin.h"

using namespace v3;

namespace {

constexpr ParamID kProgramId = kNumControls;

std::string dataFile(const char* name) {
    std::string path = std::string(BRINDLE_RENDER_DATA_DIR) + "/" + name;
#ifdef _WIN32
    path = "Z:" + path;
#endif
    return path;
}

// The bytes behind a 'VstW' header whose size field is `size` and bypass word `bypass`.
std::vector<unsigned char> withHeader(const std::vector<unsigned char>& bytes, uint32_t size, uint32_t bypass) {
    std::vector<unsigned char> wrapped(16 + bytes.size(), 0);
    std::memcpy(wrapped.data(), "VstW", 4);
    for (int i = 0; i < 4; ++i) {
        wrapped[4 + static_cast<size_t>(i)] = static_cast<unsigned char>(size >> (24 - 8 * i));
        wrapped[12 + static_cast<size_t>(i)] = static_cast<unsigned char>(bypass >> (24 - 8 * i));
    }
    wrapped[11] = 1;
    std::memcpy(wrapped.data() + 16, bytes.data(), bytes.size());
    return wrapped;
}

void putBig(std::vector<unsigned char>& bytes, size_t at, uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes[at + static_cast<size_t>(i)] = static_cast<unsigned char>(value >> (24 - 8 * i));
}

// A changed instance: parameters, settings, program, bypass and a program name through a bank.
// As hosts do, each value goes to the processor and to the controller.
void change(Vst3Plugin& plugin) {
    ASSERT_EQ(plugin.setState(fileBytes(BRINDLE_PRESETS_DIR "/midi-hold.fxb")), kResultOk);
    HostChanges changes;
    const std::pair<ParamID, double> values[] = {{2, 0.8}, {7, 0.31}, {12, 1.0}, {14, 6.0 / 15}, {16, 1.0}, {19, 1.0}};
    for (const auto& [id, value] : values) {
        changes.add(id, 0, value);
        plugin.controller->setParamNormalized(id, value);
    }
    std::vector<float> silence(64, 0.0f), out(64);
    plugin.process(silence.data(), silence.data(), out.data(), out.data(), 64, &changes);
}

TEST(Vst3State, RoundTripsIntoAFreshInstance) {
    Vst3Plugin a;
    ASSERT_TRUE(a.ok());
    change(a);
    const std::vector<unsigned char> saved = a.state();
    ASSERT_EQ(saved.size(), static_cast<size_t>(FreezePlugin::kStateSize + 4));
    EXPECT_EQ(std::memcmp(saved.data(), "BRLS", 4), 0);
    // Read in one piece, and in the small pieces some hosts hand over.
    for (int32_t piece : {1 << 30, 1, 7, 100}) {
        Vst3Plugin b;
        ASSERT_EQ(b.setState(saved, piece), kResultOk) << piece;
        EXPECT_EQ(b.state(), saved) << piece;
        // The plug-in keeps values as float.
        for (ParamID id = 0; id <= kProgramId; ++id)
            EXPECT_EQ(static_cast<float>(b.controller->getParamNormalized(id)),
                      static_cast<float>(a.controller->getParamNormalized(id)))
                << id;
        EXPECT_EQ(b.controller->getParamNormalized(19), 1.0);
        EXPECT_EQ(b.paramText(12, b.controller->getParamNormalized(12)), "BP");
    }
    // A state written after a host's own header (Ardour writes at offset 48).
    HostStream stream(std::vector<unsigned char>(48, 0xAB));
    stream.position = 48;
    ASSERT_EQ(a.component->getState(&stream), kResultOk);
    EXPECT_EQ(std::vector<unsigned char>(stream.bytes.begin() + 48, stream.bytes.end()), saved);
    // The controller's own state holds nothing and takes anything.
    HostStream controllerState;
    EXPECT_EQ(a.controller->getState(&controllerState), kResultOk);
    EXPECT_TRUE(controllerState.bytes.empty());
    EXPECT_EQ(a.controller->setState(&controllerState), kResultOk);
    EXPECT_EQ(a.state(), saved);
}

TEST(Vst3State, RefusesWhatIsNotAWholeStateAndKeepsItsOwn) {
    Vst3Plugin source;
    change(source);
    const std::vector<unsigned char> good = source.state();
    const std::vector<unsigned char> bank = fileBytes(dataFile("lmms-default.fxb"));
    const std::vector<unsigned char> preset = fileBytes(dataFile("lmms-default.fxp"));
    struct Case {
        const char* name;
        std::vector<unsigned char> bytes;
    };
    std::vector<Case> cases = {
        {"empty", {}},
        {"tag only", {good.begin(), good.begin() + 4}},
        {"one byte short", {good.begin(), good.end() - 1}},
        {"one byte long", good},
        {"much longer", good},
        {"foreign tag", good},
        {"other layout", good},
        {"bypass word not 0 or 1", good},
        {"VST 2 bank of another plug-in", bank},
        {"VST 2 bank with a wrong size", bank},
        {"VST 2 bank cut short", {bank.begin(), bank.end() - 10}},
        {"VST 2 bank chunk longer than a bank", bank},
        {"VST 2 bank of float programs", bank},
        {"VST 2 preset with a wrong chunk size", preset},
        {"VstW header of another size", bank},
        {"random", std::vector<unsigned char>(1000, 0x5A)},
    };
    cases[3].bytes.push_back(0);
    cases[4].bytes.resize(100000, 0);
    cases[5].bytes[0] = 'X';
    cases[6].bytes[4] = 2;
    cases[7].bytes[cases[7].bytes.size() - 4] = 7;
    putBig(cases[8].bytes, 16, 0x41424344);
    putBig(cases[9].bytes, 4, 1000);
    cases[11].bytes.resize(cases[11].bytes.size() + 4, 0);
    putBig(cases[11].bytes, 4, static_cast<uint32_t>(cases[11].bytes.size() - 8));
    putBig(cases[11].bytes, 156, static_cast<uint32_t>(cases[11].bytes.size() - 160));
    std::memcpy(cases[12].bytes.data() + 8, "FxBk", 4);
    putBig(cases[13].bytes, 56, 85);
    cases[14].bytes = withHeader(bank, 12, 0);
    for (const Case& c : cases) {
        Vst3Plugin plugin;
        change(plugin);
        const std::vector<unsigned char> before = plugin.state();
        HostStream stream(c.bytes);
        EXPECT_NE(plugin.component->setState(&stream), kResultOk) << c.name;
        stream.position = 0;
        EXPECT_NE(plugin.controller->setComponentState(&stream), kResultOk) << c.name;
        EXPECT_EQ(plugin.state(), before) << c.name;
    }
    // No stream at all.
    Vst3Plugin plugin;
    EXPECT_NE(plugin.component->setState(nullptr), kResultOk);
    EXPECT_NE(plugin.component->getState(nullptr), kResultOk);
    EXPECT_NE(plugin.controller->setComponentState(nullptr), kResultOk);
}

// The VST 2 edition's bank and preset, saved by a real VST 2 host, in the forms a host that
// replaces the VST 2 plug-in passes: they play as the VST 2 build plays them.
TEST(Vst3State, TakesTheVst2ChunksAndPlaysAsTheVst2Build) {
    struct Case {
        const char* file;
        bool bank;
        bool wrapped;  // behind the 'VstW' header
    };
    const Case cases[] = {{"lmms-default.fxb", true, false}, {"lmms-stutter.fxb", true, false},
                          {"lmms-stutter.fxb", true, true},  {"lmms-default.fxp", false, false},
                          {"lmms-stutter.fxp", false, false}};
    for (const Case& c : cases) {
        PlaySettings settings;
        (c.bank ? settings.render.bankFile : settings.render.presetFile) = dataFile(c.file);
        settings.render.parameters = {{"size", 0.6f}};
        AudioData vst2, vst3;
        renderVst2(demoInput(), vst2, settings);
        PlaySettings three = settings;
        if (c.wrapped) {
            three.render.bankFile.clear();
            three.initialState = withHeader(fileBytes(dataFile(c.file)), 8, 0);
        }
        renderVst3(demoInput(), vst3, three);
        const size_t differing = differingSamples(vst2, vst3);
        EXPECT_EQ(differing, 0u) << c.file;
        std::printf("  %-22s%-9s %zu samples compared, %zu differ\n", c.file, c.wrapped ? " (VstW)" : "",
                    2 * vst2.frames(), differing);
    }
    // The 'VstW' header's bypass switches the VST 3 edition's bypass on.
    Vst3Plugin plugin;
    ASSERT_EQ(plugin.setState(withHeader(fileBytes(dataFile("lmms-stutter.fxb")), 8, 1)), kResultOk);
    EXPECT_EQ(plugin.controller->getParamNormalized(19), 1.0);
}

}  // namespace
