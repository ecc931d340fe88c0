// Texts a host shows: parameter names, labels and displays, program names, vendor and product.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "LoadedPlugin.h"

TEST(Names, ParametersWithDefaults) {
    PluginInstance plugin;
    ASSERT_TRUE(plugin);
    const struct {
        const char* name;
        float value;
        const char* display;
    } kParams[12] = {
        {"attack", 0.0f, "0.000000"},   {"release", 0.2f, "0.200000"},     {"size", 0.25f, "4.000000"},
        {"knak", 0.1f, "0.100000"},     {"dry/wet", 1.0f, "1.000000"},     {"bits", 1.0f, "1.000000"},
        {"repeat", 0.5f, "0.500000"},   {"threshold", 0.15f, "0.150000"},  {"pre-cutoff", 1.0f, "1.000000"},
        {"pre-reso", 0.0f, "0.000000"}, {"post-cutoff", 1.0f, "1.000000"}, {"post-reso", 0.0f, "0.000000"},
    };
    for (int32_t i = 0; i < 12; ++i) {
        EXPECT_EQ(plugin.text(effGetParamName, i), kParams[i].name) << "parameter " << i;
        EXPECT_EQ(plugin.text(effGetParamLabel, i), kParams[i].name) << "parameter " << i;
        EXPECT_EQ(plugin.text(effGetParamDisplay, i), kParams[i].display) << "parameter " << i;
        EXPECT_EQ(plugin.getParameter(i), kParams[i].value) << "parameter " << i;
    }
}

TEST(Names, DisplaysFollowTheStoredValue) {
    PluginInstance plugin;
    ASSERT_TRUE(plugin);
    const struct {
        int32_t index;
        float value;
        const char* display;
    } kCases[] = {
        {0, 0.7f, "0.699999"}, {2, 0.0f, "1.000000"},         {2, 1.0f, "16.00000"},
        {2, 0.5f, "8.000000"}, {7, 0.123456789f, "0.123456"}, {11, 1.0f, "1.000000"},
    };
    for (const auto& c : kCases) {
        plugin.setParameter(c.index, c.value);
        EXPECT_EQ(plugin.getParameter(c.index), c.value) << "parameter " << c.index;
        EXPECT_EQ(plugin.text(effGetParamDisplay, c.index), c.display)
            << "parameter " << c.index << " at " << c.value;
    }
}

TEST(Names, RequestsOutsideTheParametersLeaveTheBufferAlone) {
    PluginInstance plugin;
    ASSERT_TRUE(plugin);
    for (int32_t index : {12, 13, -1, 1000, INT32_MAX, INT32_MIN}) {
        for (int32_t opcode : {effGetParamName, effGetParamLabel, effGetParamDisplay}) {
            char buffer[32] = "keep";
            plugin.dispatch(opcode, index, 0, buffer);
            EXPECT_STREQ(buffer, "keep") << "opcode " << opcode << " index " << index;
        }
        EXPECT_EQ(plugin.getParameter(index), 0.0f) << "index " << index;
    }
}

TEST(Names, ProgramNames) {
    PluginInstance plugin;
    ASSERT_TRUE(plugin);
    for (int32_t p = 0; p < 16; ++p) {
        plugin.setProgram(p);
        EXPECT_EQ(plugin.programName(), "Init " + std::to_string(p + 1));
    }
    plugin.setProgram(4);
    char longName[] = "a name far longer than twenty-three characters";
    plugin.dispatch(effSetProgramName, 0, 0, longName);
    EXPECT_EQ(plugin.programName(), std::string(longName, 23));
    char init[] = "Init";
    plugin.setProgram(9);
    plugin.dispatch(effSetProgramName, 0, 0, init);
    EXPECT_EQ(plugin.programName(), "Init 10");
    plugin.setProgram(4);
    EXPECT_EQ(plugin.programName(), std::string(longName, 23));
}

TEST(Names, VendorAndProduct) {
    PluginInstance plugin;
    ASSERT_TRUE(plugin);
    char text[256] = {};
    EXPECT_EQ(plugin.dispatch(effGetVendorString, 0, 0, text), 1);
    EXPECT_STREQ(text, "Ulvar @ Fennelworks");
    EXPECT_EQ(plugin.dispatch(effGetProductString, 0, 0, text), 1);
    EXPECT_STREQ(text, "brindleLoop1.0");
    // No effect name: the host falls back to the product string.
    char name[256] = "unchanged";
    EXPECT_EQ(plugin.dispatch(effGetEffectName, 0, 0, name), 0);
    EXPECT_STREQ(name, "unchanged");
}
