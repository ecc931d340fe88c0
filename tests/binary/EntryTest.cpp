// The exported entry points: what a host gets from them, and what it must not get.
#include <gtest/gtest.h>

#include "LoadedPlugin.h"

TEST(Entry, MainAndVstPluginMainAreTheSameFunction) {
    PluginLoader& library = pluginLibrary();
    const PluginEntryProc viaMain = library.entry("main");
    const PluginEntryProc viaVstMain = library.entry("VSTPluginMain");
    ASSERT_NE(viaMain, nullptr);
    ASSERT_NE(viaVstMain, nullptr);
    EXPECT_EQ(viaMain, viaVstMain);
}

TEST(Entry, OldHostGetsNoEffect) {
    RecordingHost::reset();
    RecordingHost::versionAnswer = 0;
    PluginEntryProc entry = pluginLibrary().entry();
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry(RecordingHost::callback), nullptr);
    // The version request is the only one, made before any record exists.
    ASSERT_EQ(RecordingHost::requests.size(), 1u);
    EXPECT_EQ(RecordingHost::requests[0].opcode, audioMasterVersion);
    EXPECT_TRUE(RecordingHost::requests[0].nullEffect);
    RecordingHost::reset();
}

TEST(Entry, EveryInstanceIsIndependentAndCloseAnswersOne) {
    PluginInstance first;
    PluginInstance second;
    ASSERT_TRUE(first && second);
    EXPECT_NE(first.effect(), second.effect());
    EXPECT_NE(first.effect()->object, second.effect()->object);

    first.setParameter(0, 0.75f);
    first.setProgram(6);
    char name[] = "only the first";
    first.dispatch(effSetProgramName, 0, 0, name);
    EXPECT_EQ(second.getParameter(0), 0.0f);
    EXPECT_EQ(second.program(), 0);
    second.setProgram(6);
    EXPECT_EQ(second.programName(), "Init 7");
    EXPECT_EQ(first.programName(), "only the first");

    EXPECT_EQ(first.close(), 1);
    // The other instance lives on.
    EXPECT_EQ(second.getParameter(0), 0.0f);
    EXPECT_EQ(second.dispatch(effIdentify), kIdentifyAnswer);
    EXPECT_EQ(second.close(), 1);
}

TEST(Entry, ManyInstancesComeAndGo) {
    // Repeated creation catches state left behind by a closed instance.
    for (int i = 0; i < 8; ++i) {
        PluginInstance plugin;
        ASSERT_TRUE(plugin);
        EXPECT_EQ(plugin.getParameter(7), 0.15f);
        EXPECT_EQ(plugin.programName(), "Init 1");
        plugin.setParameter(7, 0.9f);
    }
}
