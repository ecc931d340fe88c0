// Controls as hosts of every format see them: texts both ways, normalised values, defaults,
// and the state that VST 3 and CLAP keep.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

#include "plugin/FreezePlugin.h"
#include "vst2/FreezeEffect.h"

namespace {

using State = std::array<unsigned char, FreezePlugin::kStateSize>;

TEST(Controls, TextsAreTheVst2TextsAndReadBack) {
    FreezeEffect vst2(nullptr);
    for (int32_t index = 0; index < kNumParams; ++index)
        for (const float v : {0.0f, 0.25f, 0.5f, 0.7f, 1.0f}) {
            vst2.setParameter(index, v);
            char expected[64] = {}, text[64] = {};
            vst2.getParameterDisplay(index, expected);
            ASSERT_TRUE(FreezePlugin::controlText(index, v, text, sizeof text));
            EXPECT_STREQ(text, expected) << index;
            float back = -1.0f;
            ASSERT_TRUE(FreezePlugin::controlFromText(index, text, back)) << text;
            // The text shows what the value does: read back it does the same.
            char again[64] = {};
            FreezePlugin::controlText(index, back, again, sizeof again);
            EXPECT_STREQ(again, text) << index << " " << v;
        }
}

TEST(Controls, SettingsAndBypassInTheirOwnWords) {
    struct Case {
        int32_t control;
        float value;
        const char* text;
    };
    const Case cases[] = {
        {controlOfSetting(Setting::preFilterType), 0, "OFF"},  {controlOfSetting(Setting::postFilterType), 3, "BP"},
        {controlOfSetting(Setting::sequenceLength), 7, "7"},   {controlOfSetting(Setting::sequenceLength), 16, "16"},
        {controlOfSetting(Setting::inverse), 1, "on"},         {controlOfSetting(Setting::midiNoteControl), 0, "off"},
        {kBypassControl, 1, "on"},
    };
    for (const Case& c : cases) {
        char text[16];
        ASSERT_TRUE(FreezePlugin::controlText(c.control, c.value, text, sizeof text));
        EXPECT_STREQ(text, c.text);
        float back = -1.0f;
        ASSERT_TRUE(FreezePlugin::controlFromText(c.control, c.text, back));
        EXPECT_EQ(back, c.value);
        const double n = FreezePlugin::normalisedOf(c.control, c.value);
        EXPECT_EQ(FreezePlugin::valueOfNormalised(c.control, n), c.value) << c.text;
    }
    float value = 0.0f;
    for (const char* nonsense : {"", "x", "17", "-1", "LPX", "nan"})
        EXPECT_FALSE(FreezePlugin::controlFromText(controlOfSetting(Setting::sequenceLength), nonsense, value) &&
                     FreezePlugin::controlFromText(controlOfSetting(Setting::preFilterType), nonsense, value))
            << nonsense;
    char tiny[2];
    EXPECT_FALSE(FreezePlugin::controlText(kParamSize, 0.5f, tiny, sizeof tiny));
    EXPECT_FALSE(FreezePlugin::controlText(kNumControls, 0.5f, tiny, sizeof tiny));
}

TEST(Controls, HostileValuesAreKeptWhereStoredAndLimitedWhereDerived) {
    FreezePlugin plugin;
    const float nan = std::numeric_limits<float>::quiet_NaN();
    for (const float v : {nan, -1e30f, 1e30f, -0.0f}) {
        for (int32_t control = 0; control < kNumControls; ++control) plugin.setControl(control, v);
        for (int32_t control = 0; control < kNumParams; ++control)
        {
            const float got = plugin.getParameter(control);
            EXPECT_EQ(std::memcmp(&got, &v, sizeof v), 0) << control;
        }
        for (int32_t s = 0; s < kNumSettings; ++s) {
            const SettingInfo& info = kSettingTable[s];
            const float got = plugin.getControl(controlOfSetting(info.setting));
            EXPECT_GE(got, static_cast<float>(info.minimum));
            EXPECT_LE(got, static_cast<float>(info.maximum));
        }
        const double n = FreezePlugin::normalisedOf(kParamSize, v);
        EXPECT_TRUE(n >= 0.0 && n <= 1.0);
    }
}

TEST(Controls, StateRoundTripsAndRefusesWhatIsNotItsOwn) {
    FreezePlugin saved;
    saved.setProgram(3);
    saved.setControl(kParamSize, 0.8f);
    saved.setStepValue(5, 0.33f);
    saved.setControl(controlOfSetting(Setting::noteRecordStart), 1.0f);
    State state{};
    saved.saveState(state.data());

    FreezePlugin fresh;
    ASSERT_TRUE(fresh.loadState(state.data(), FreezePlugin::kStateSize));
    EXPECT_EQ(fresh.getProgram(), 3);
    EXPECT_EQ(fresh.getParameter(kParamSize), 0.8f);
    EXPECT_EQ(fresh.getStepValue(5), 0.33f);
    EXPECT_TRUE(fresh.isNoteRecordStart());

    State again{};
    fresh.saveState(again.data());
    EXPECT_EQ(again, state);

    FreezePlugin untouched;
    State before{};
    untouched.saveState(before.data());
    State damaged = state;
    damaged[0] ^= 1;
    State otherLayout = state;
    otherLayout[4] = 2;
    for (const auto& [bytes, size] : std::vector<std::pair<const unsigned char*, int32_t>>{
             {nullptr, FreezePlugin::kStateSize}, {state.data(), 0}, {state.data(), FreezePlugin::kStateSize - 1},
             {damaged.data(), FreezePlugin::kStateSize}, {otherLayout.data(), FreezePlugin::kStateSize}})
        EXPECT_FALSE(untouched.loadState(bytes, size));
    State after{};
    untouched.saveState(after.data());
    EXPECT_EQ(after, before);
}

// A program number outside 0..15 selects nothing, but the current program plays as the new bank
// holds it (not as the replaced one did), so what plays is what saves and reopens.
TEST(Controls, AStateWithoutAProgramPlaysTheCurrentOneFromItsBank) {
    FreezePlugin source;
    source.setProgram(2);
    source.setControl(kParamSize, 0.9f);
    source.setSequenceLength(0.5f);
    State state{};
    source.saveState(state.data());
    putChunkInt(state.data() + 8, 99);
    // A sequence length below what an edit stores, as a foreign bank may hold it.
    putChunkFloat(state.data() + 12 + bankProgramOffset(2) + kProgramSequenceLengthOffset, 1e-31f);

    FreezePlugin target;
    target.setProgram(2);
    ASSERT_TRUE(target.loadState(state.data(), FreezePlugin::kStateSize));
    EXPECT_EQ(target.getProgram(), 2);
    EXPECT_EQ(target.getParameter(kParamSize), 0.9f);
    EXPECT_EQ(target.getSequenceLength(), 1);
    State saved{}, again{};
    target.saveState(saved.data());
    FreezePlugin reopened;
    ASSERT_TRUE(reopened.loadState(saved.data(), FreezePlugin::kStateSize));
    reopened.saveState(again.data());
    EXPECT_EQ(again, saved);
}

}  // namespace
