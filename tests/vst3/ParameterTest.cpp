// The parameters as a host lists and shows them: ids, titles, flags and steps from the
// plug-in's tables, the VST 2 binary's texts for the same values, text to value, plain values,
// and the sixteen programs as a list and a selector.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "Vst3TestHost.h"
#include "engine/ParameterTable.h"
#include "engine/SettingTable.h"
#include "tools/loader/PluginLoader.h"

using namespace v3;

namespace {

constexpr ParamID kProgramId = kNumControls;

std::string text16(const char16_t* text) {
    std::string out;
    for (size_t i = 0; i < 128 && text[i]; ++i) out += static_cast<char>(text[i]);
    return out;
}

std::u16string wide(const std::string& text) { return std::u16string(text.begin(), text.end()); }

// The VST 2 binary of this tree, for its own texts and program names.
struct Vst2Effect {
    Vst2Effect() {
        std::string path = BRINDLE_PLUGIN_FILE;
#ifdef _WIN32
        path = "Z:" + path;
#endif
        static PluginLoader& loader = *new PluginLoader;
        if (!loader.entry()) loader.load(path);
        if (loader.entry())
            effect = loader.entry()([](AEffect*, int32_t opcode, int32_t, intptr_t, void*, float) -> intptr_t {
                return opcode == audioMasterVersion ? 2400 : 0;
            });
    }
    ~Vst2Effect() {
        if (effect) effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f);
    }
    std::string display(int32_t index, float value) {
        effect->setParameter(effect, index, value);
        char text[64] = {};
        effect->dispatcher(effect, effGetParamDisplay, index, 0, text, 0.0f);
        return text;
    }
    std::string programName(int32_t program) {
        char text[64] = {};
        effect->dispatcher(effect, effSetProgram, 0, program, nullptr, 0.0f);
        effect->dispatcher(effect, effGetProgramName, 0, 0, text, 0.0f);
        return text;
    }
    AEffect* effect = nullptr;
};

TEST(Vst3Parameters, ListedFromTheTablesWithTheirFlagsAndSteps) {
    Vst3Plugin plugin;
    ASSERT_TRUE(plugin.ok());
    IEditController* c = plugin.controller;
    ASSERT_EQ(c->getParameterCount(), kNumControls + 1);
    struct Expected {
        int32_t id;
        const char* title;
        int32 steps;
        int32 flags;
        double defaultValue;
    };
    const Expected expected[] = {
        {0, "Attack", 0, kCanAutomate, 0.0},
        {2, "Size", 0, kCanAutomate, 0.25},
        {7, "Threshold", 0, kCanAutomate, static_cast<double>(0.15f)},
        {11, "Post-filter resonance", 0, kCanAutomate, -1.0},
        {12, "Pre filter type", 3, kCanAutomate | kIsList, 0.0},
        {13, "Post filter type", 3, kCanAutomate | kIsList, 0.0},
        {14, "Sequence length", 15, kCanAutomate, 1.0},
        {15, "MIDI note control", 1, kCanAutomate, 0.0},
        {18, "Inverse trigger", 1, kCanAutomate, 0.0},
        {19, "Bypass", 1, kCanAutomate | kIsBypass, 0.0},
        {20, "Program", 15, kIsProgramChange | kIsList, 0.0},
    };
    for (const Expected& e : expected) {
        v3::ParameterInfo info{};
        ASSERT_EQ(c->getParameterInfo(e.id, info), kResultOk) << e.id;
        EXPECT_EQ(info.id, static_cast<ParamID>(e.id));
        if (e.id < kNumParams) {
            EXPECT_EQ(text16(info.title), kParameterTable[static_cast<size_t>(e.id)].lv2Name);
            EXPECT_EQ(text16(info.shortTitle), kParameterTable[static_cast<size_t>(e.id)].vstName);
        } else {
            EXPECT_EQ(text16(info.title), e.title);
        }
        EXPECT_EQ(info.stepCount, e.steps) << e.id;
        EXPECT_EQ(info.flags, e.flags) << e.id;
        EXPECT_EQ(info.unitId, 0);
        if (e.defaultValue >= 0.0) {
            EXPECT_EQ(info.defaultNormalizedValue, e.defaultValue) << e.id;
        }
        // A new instance holds its defaults.
        if (e.id < kNumControls) {
            EXPECT_EQ(c->getParamNormalized(static_cast<ParamID>(e.id)), info.defaultNormalizedValue);
        }
    }
    // Exactly one bypass and one program selector; ids are the indices.
    int bypasses = 0, selectors = 0;
    for (int32 i = 0; i < c->getParameterCount(); ++i) {
        v3::ParameterInfo info{};
        ASSERT_EQ(c->getParameterInfo(i, info), kResultOk);
        EXPECT_EQ(info.id, static_cast<ParamID>(i));
        bypasses += (info.flags & kIsBypass) != 0;
        selectors += (info.flags & kIsProgramChange) != 0;
    }
    EXPECT_EQ(bypasses, 1);
    EXPECT_EQ(selectors, 1);
    v3::ParameterInfo info{};
    for (int32 bad : {-1, kNumControls + 1, 1 << 30}) EXPECT_NE(c->getParameterInfo(bad, info), kResultOk) << bad;
}

TEST(Vst3Parameters, TextsAreTheVst2TextsAndReadBack) {
    Vst3Plugin plugin;
    Vst2Effect vst2;
    ASSERT_TRUE(plugin.ok());
    ASSERT_NE(vst2.effect, nullptr);
    const float values[] = {0.0f, 0.001f, 0.15f, 0.25f, 0.5f, 0.73f, 0.999f, 1.0f};
    for (int32_t index = 0; index < kNumParams; ++index)
        for (float v : values) {
            const std::string shown = plugin.paramText(static_cast<ParamID>(index), static_cast<double>(v));
            EXPECT_EQ(shown, vst2.display(index, v)) << index << " " << v;
            // The text read back gives a value that shows the same text.
            std::u16string typed = wide(shown);
            ParamValue back = -1.0;
            ASSERT_EQ(plugin.controller->getParamValueByString(static_cast<ParamID>(index), typed.data(), back), kResultOk)
                << index << " '" << shown << "'";
            EXPECT_EQ(plugin.paramText(static_cast<ParamID>(index), back), shown) << index << " " << v;
        }
    struct Case {
        ParamID id;
        double normalised;
        const char* text;
    };
    const Case settings[] = {
        {12, 0.0, "OFF"}, {12, 1.0 / 3, "LP"}, {13, 2.0 / 3, "HP"}, {13, 1.0, "BP"}, {14, 0.0, "1"},
        {14, 1.0, "16"},  {14, 4.0 / 15, "5"}, {15, 0.0, "off"},    {17, 1.0, "on"},  {19, 1.0, "on"},
        {19, 0.2, "off"},
    };
    for (const Case& c : settings) {
        EXPECT_EQ(plugin.paramText(c.id, c.normalised), c.text) << c.id;
        std::u16string typed = wide(c.text);
        ParamValue back = -1.0;
        ASSERT_EQ(plugin.controller->getParamValueByString(c.id, typed.data(), back), kResultOk) << c.text;
        EXPECT_EQ(plugin.paramText(c.id, back), c.text);
    }
    // Texts that mean nothing for the parameter, non-ASCII text, unknown ids.
    const struct {
        ParamID id;
        std::u16string text;
    } refused[] = {{0, u"abc"}, {12, u"XX"}, {14, u"17"}, {14, u"0"}, {15, u"maybe"}, {2, u"0.5\u00e9"},
                   {kProgramId, u"No such program"}, {kProgramId + 1, u"1"}, {0x7FFFFFFF, u"1"}};
    for (const auto& r : refused) {
        std::u16string typed = r.text;
        ParamValue back = -1.0;
        EXPECT_NE(plugin.controller->getParamValueByString(r.id, typed.data(), back), kResultOk) << r.id;
    }
    String128 out{};
    EXPECT_NE(plugin.controller->getParamStringByValue(kProgramId + 1, 0.5, out), kResultOk);
}

TEST(Vst3Parameters, PlainValuesAreExactInversesAndSafeForAnyInput) {
    Vst3Plugin plugin;
    ASSERT_TRUE(plugin.ok());
    IEditController* c = plugin.controller;
    for (ParamID id = 0; id <= kProgramId; ++id) {
        v3::ParameterInfo info{};
        ASSERT_EQ(c->getParameterInfo(static_cast<int32>(id), info), kResultOk);
        const int32 steps = info.stepCount;
        if (steps > 0) {
            for (int32 k = 0; k <= steps; ++k) {
                const double n = static_cast<double>(k) / steps;
                const double plain = c->normalizedParamToPlain(id, n);
                EXPECT_EQ(plain, std::floor(plain)) << id;
                // Hosts that keep plain values as float get the same value back.
                EXPECT_EQ(c->plainParamToNormalized(id, static_cast<double>(static_cast<float>(plain))), n) << id << " " << k;
            }
        } else {
            for (double n : {0.0, 0.1, 0.15000000596046448, 0.5, 0.73, 1.0}) {
                const double plain = static_cast<double>(static_cast<float>(c->normalizedParamToPlain(id, n)));
                EXPECT_EQ(c->normalizedParamToPlain(id, c->plainParamToNormalized(id, plain)), plain) << id;
            }
        }
        const double wilds[] = {-1.0, 2.0, 1e300, -1e300, std::nan(""), HUGE_VAL, -HUGE_VAL};
        for (double wild : wilds) {
            const double n = c->plainParamToNormalized(id, wild);
            EXPECT_TRUE(n >= 0.0 && n <= 1.0) << id << " " << wild;
            const double p = c->normalizedParamToPlain(id, wild);
            EXPECT_TRUE(std::isfinite(p)) << id << " " << wild;
            EXPECT_EQ(c->setParamNormalized(id, wild), kResultOk);
            const double held = c->getParamNormalized(id);
            EXPECT_TRUE(held >= 0.0 && held <= 1.0) << id;
            String128 text{};
            EXPECT_EQ(c->getParamStringByValue(id, wild, text), kResultOk) << id << " " << wild;
        }
    }
}

TEST(Vst3Parameters, ProgramsAreAListAndASelector) {
    Vst3Plugin plugin;
    Vst2Effect vst2;
    ASSERT_TRUE(plugin.ok());
    void* found = nullptr;
    ASSERT_EQ(plugin.controller->queryInterface(kIUnitInfoIid.data(), &found), kResultOk);
    auto* units = static_cast<IUnitInfo*>(found);
    ASSERT_EQ(units->getUnitCount(), 1);
    UnitInfo unit{};
    ASSERT_EQ(units->getUnitInfo(0, unit), kResultOk);
    EXPECT_EQ(unit.id, 0);
    EXPECT_EQ(unit.parentUnitId, -1);
    ASSERT_EQ(units->getProgramListCount(), 1);
    ProgramListInfo list{};
    ASSERT_EQ(units->getProgramListInfo(0, list), kResultOk);
    EXPECT_EQ(list.id, unit.programListId);
    EXPECT_EQ(list.programCount, 16);
    for (int32 p = 0; p < 16; ++p) {
        String128 name{};
        ASSERT_EQ(units->getProgramName(list.id, p, name), kResultOk);
        EXPECT_EQ(text16(name), vst2.programName(p)) << p;
        EXPECT_EQ(plugin.paramText(kProgramId, p / 15.0), text16(name));
    }
    String128 name{};
    EXPECT_NE(units->getProgramName(list.id, 16, name), kResultOk);
    EXPECT_NE(units->getProgramName(list.id, -1, name), kResultOk);
    EXPECT_NE(units->getProgramName(list.id + 1, 0, name), kResultOk);
    units->release();

    // A program chosen by the host: the values it reads next are the program's, and it is told so.
    const std::vector<unsigned char> bank = fileBytes(BRINDLE_PRESETS_DIR "/midi-hold.fxb");
    ASSERT_EQ(plugin.setState(bank), kResultOk);
    plugin.host.restarts.clear();
    std::vector<double> before;
    for (ParamID id = 0; id < kNumParams; ++id) before.push_back(plugin.controller->getParamNormalized(id));
    const int32_t other = (static_cast<int32_t>(plugin.controller->getParamNormalized(kProgramId) * 15 + 0.5) + 1) % 16;
    ASSERT_EQ(plugin.controller->setParamNormalized(kProgramId, other / 15.0), kResultOk);
    EXPECT_EQ(plugin.host.restarts, std::vector<int32_t>{kParamValuesChanged});
    // The state now says the same program.
    Vst3Plugin fresh;
    ASSERT_EQ(fresh.setState(plugin.state()), kResultOk);
    EXPECT_EQ(fresh.controller->getParamNormalized(kProgramId), other / 15.0);
    for (ParamID id = 0; id < kNumParams; ++id)
        EXPECT_EQ(fresh.controller->getParamNormalized(id), plugin.controller->getParamNormalized(id)) << id;
}

}  // namespace
