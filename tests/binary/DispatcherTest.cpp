// Dispatcher answers as a host sees them through the record.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>

#include "LoadedPlugin.h"

TEST(Dispatcher, FixedAnswers) {
    PluginInstance plugin;
    ASSERT_TRUE(plugin);
    const struct {
        int32_t opcode;
        int32_t index;
        intptr_t answer;
    } kCases[] = {
        {effIdentify, 0, 0x4E764566},
        {effGetVstVersion, 0, 2200},
        {effKeysRequired, 0, 1},
        {effGetPlugCategory, 0, 0},
        {effGetNumProgramCategories, 0, 1},
        {effGetCurrentMidiProgram, 0, -1},
        {effCanBeAutomated, 0, 1},
        {effCanBeAutomated, 11, 1},
        {effCanBeAutomated, 500, 1},
        {effConnectInput, 0, 1},
        {effConnectOutput, 1, 1},
        {effGetVu, 0, 0},
        {effGetTailSize, 0, 0},
        {effGetVendorVersion, 0, 0},
        {effEditDraw, 0, 0},
        {effEditMouse, 0, 0},
        {effEditKey, 0, 0},
        {effEditTop, 0, 0},
        {effEditSleep, 0, 0},
        {effOpen, 0, 0},
        {effGetProgramNameIndexed, 0, 0},
        {effBeginSetProgram, 0, 0},
        {effEndSetProgram, 0, 0},
    };
    for (const auto& c : kCases) {
        char buffer[256] = {};
        EXPECT_EQ(plugin.dispatch(c.opcode, c.index, 0, buffer), c.answer) << "opcode " << c.opcode;
    }
}

TEST(Dispatcher, UnknownOpcodesAnswerZeroAndTouchNothing) {
    PluginInstance plugin;
    ASSERT_TRUE(plugin);
    plugin.setProgram(2);
    plugin.setParameter(4, 0.3f);
    const int32_t kUnknown[] = {69, 70, 71, 99, 128, 1000, 0x10000, INT32_MAX, -1, -2, -24, -1000, INT32_MIN};
    for (int32_t opcode : kUnknown) {
        char buffer[64];
        std::memset(buffer, 'x', sizeof buffer);
        EXPECT_EQ(plugin.dispatch(opcode, 1, 1, buffer, 1.0f), 0) << "opcode " << opcode;
        for (char c : buffer) ASSERT_EQ(c, 'x') << "opcode " << opcode << " wrote into the buffer";
    }
    EXPECT_EQ(plugin.program(), 2);
    EXPECT_EQ(plugin.getParameter(4), 0.3f);
    EXPECT_EQ(RecordingHost::count(audioMasterAutomate), 0);
}

TEST(Dispatcher, ProgramNumbersOutsideTheBankAreIgnored) {
    PluginInstance plugin;
    ASSERT_TRUE(plugin);
    plugin.setProgram(15);
    EXPECT_EQ(plugin.program(), 15);
    plugin.setProgram(3);
    plugin.setParameter(0, 0.4f);
    const intptr_t kOutside[] = {16, 17, -1, 1000, INT32_MAX, INT32_MIN};
    for (intptr_t program : kOutside) {
        EXPECT_EQ(plugin.dispatch(effSetProgram, 0, program), 0);
        EXPECT_EQ(plugin.program(), 3) << "program " << program;
    }
    EXPECT_EQ(plugin.getParameter(0), 0.4f);
    EXPECT_EQ(plugin.programName(), "Init 4");
}

TEST(Dispatcher, CapabilityTextsAreExact) {
    PluginInstance plugin;
    ASSERT_TRUE(plugin);
    const struct {
        const char* text;
        intptr_t answer;
    } kCases[] = {
        {"receiveVstEvents", 1},
        {"receiveVstMidiEvent", 1},
        {"receiveVstTimeInfo", 1},
        {"ReceiveVstEvents", -1},
        {"receivevstevents", -1},
        {"receiveVstEvents ", -1},
        {"receiveVstEvent", -1},
        {"sendVstEvents", -1},
        {"sendVstMidiEvent", -1},
        {"", -1},
        {"bypass", -1},
    };
    for (const auto& c : kCases) {
        char text[64] = {};
        std::strncpy(text, c.text, sizeof text - 1);
        EXPECT_EQ(plugin.dispatch(effCanDo, 0, 0, text), c.answer) << '"' << c.text << '"';
    }
}

TEST(Dispatcher, SwitchingOnAsksForMidiEachTime) {
    PluginInstance plugin;
    ASSERT_TRUE(plugin);
    RecordingHost::requests.clear();
    EXPECT_EQ(plugin.dispatch(effMainsChanged, 0, 0), 0);
    EXPECT_EQ(RecordingHost::count(audioMasterWantMidi), 0);
    for (intptr_t on : {1, 2, -1}) {
        RecordingHost::requests.clear();
        EXPECT_EQ(plugin.dispatch(effMainsChanged, 0, on), 0);
        ASSERT_EQ(RecordingHost::count(audioMasterWantMidi), 1) << "value " << on;
        for (const HostRequest& r : RecordingHost::requests) {
            if (r.opcode == audioMasterWantMidi) {
                EXPECT_EQ(r.value, 1);
                EXPECT_FALSE(r.nullEffect);
            }
        }
    }
}

TEST(Dispatcher, BlockSizeAndSampleRateAnswerOne) {
    PluginInstance plugin;
    ASSERT_TRUE(plugin);
    EXPECT_EQ(plugin.dispatch(effSetSampleRate, 0, 0, nullptr, 48000.0f), 0);
    EXPECT_EQ(plugin.dispatch(effSetBlockSize, 0, 256), 0);
    EXPECT_EQ(plugin.dispatch(effSetBlockSizeAndSampleRate, 0, 512, nullptr, 96000.0f), 1);
    // The error text request reports nothing and leaves the buffer alone.
    char buffer[64] = "untouched";
    EXPECT_EQ(plugin.dispatch(effGetErrorText, 0, 0, buffer), 0);
    EXPECT_STREQ(buffer, "untouched");
}
