// Preset and bank chunks through effGetChunk and effSetChunk, byte by byte and round trips.
#include <gtest/gtest.h>

#include <cstring>
#include <limits>

#include "LoadedPlugin.h"

namespace {

constexpr size_t kPresetSize = 84;
constexpr size_t kBankSize = 1476;

// Defaults of program slots 0..10, then threshold and sequence length.
constexpr float kDefaultSlots[11] = {0.0f, 0.2f, 0.25f, 0.1f, 1.0f, 1.0f, 0.5f, 1.0f, 0.0f, 1.0f, 0.0f};

void expectDefaultProgramBytes(const unsigned char* block, bool withName, int program) {
    for (int slot = 0; slot < 11; ++slot) {
        EXPECT_EQ(readFloat(block + 4 * slot), kDefaultSlots[slot])
            << "program " << program << " slot " << slot;
    }
    EXPECT_EQ(readFloat(block + 44), 0.15f);
    EXPECT_EQ(readFloat(block + 48), 1.0f);
    EXPECT_EQ(readInt32(block + 52), 0);
    EXPECT_EQ(readInt32(block + 56), 0);
    if (withName) {
        EXPECT_EQ(std::memcmp(block + 60, "Init", 5), 0);
    } else {
        for (int i = 60; i < 84; ++i) EXPECT_EQ(block[i], 0) << "program " << program << " name byte " << i;
    }
}

}  // namespace

TEST(Chunk, DefaultPresetAndBankBytes) {
    PluginInstance plugin;
    ASSERT_TRUE(plugin);
    const auto preset = plugin.chunk(true);
    ASSERT_EQ(preset.size(), kPresetSize);
    expectDefaultProgramBytes(preset.data(), true, 0);

    const auto bank = plugin.chunk(false);
    ASSERT_EQ(bank.size(), kBankSize);
    for (int p = 0; p < 16; ++p) expectDefaultProgramBytes(bank.data() + 84 * p, false, p);
    for (int step = 0; step < 32; ++step) EXPECT_EQ(readFloat(bank.data() + 1344 + 4 * step), 0.5f);
    for (size_t i = 1472; i < kBankSize; ++i) EXPECT_EQ(bank[i], 0) << "bank byte " << i;
}

TEST(Chunk, PresetFromOneProgramLoadsIntoAnotherOnly) {
    PluginInstance plugin;
    ASSERT_TRUE(plugin);
    plugin.setProgram(3);
    for (int32_t i = 0; i < 12; ++i) plugin.setParameter(i, 0.05f * static_cast<float>(i + 1));
    char name[] = "three";
    plugin.dispatch(effSetProgramName, 0, 0, name);
    const auto saved = plugin.chunk(true);
    ASSERT_EQ(saved.size(), kPresetSize);
    // Slots 0..6, threshold at 44, slots 7..10: the parameter-to-slot mapping.
    EXPECT_EQ(readFloat(saved.data() + 4 * 7), 0.05f * 9.0f);
    EXPECT_EQ(readFloat(saved.data() + 44), 0.05f * 8.0f);
    EXPECT_EQ(std::memcmp(saved.data() + 60, "three", 6), 0);

    plugin.setProgram(5);
    EXPECT_EQ(plugin.setChunk(saved, true), static_cast<intptr_t>(kPresetSize));
    EXPECT_EQ(plugin.program(), 5);
    EXPECT_EQ(plugin.programName(), "three");
    for (int32_t i = 0; i < 12; ++i) EXPECT_EQ(plugin.getParameter(i), 0.05f * static_cast<float>(i + 1));

    // Neighbours keep their defaults; program 3 keeps its own values.
    for (int32_t p : {4, 6}) {
        plugin.setProgram(p);
        EXPECT_EQ(plugin.programName(), "Init " + std::to_string(p + 1));
        EXPECT_EQ(plugin.getParameter(0), 0.0f);
        EXPECT_EQ(plugin.getParameter(7), 0.15f);
    }
    plugin.setProgram(3);
    EXPECT_EQ(plugin.programName(), "three");
    EXPECT_EQ(plugin.getParameter(11), 0.6f);
}

TEST(Chunk, BankRoundTripRestoresValuesButNoNames) {
    PluginInstance plugin;
    ASSERT_TRUE(plugin);
    for (int32_t p = 0; p < 16; ++p) {
        plugin.setProgram(p);
        plugin.setParameter(p % 12, 0.01f * static_cast<float>(p + 1));
    }
    plugin.setProgram(8);
    char name[] = "kept name";
    plugin.dispatch(effSetProgramName, 0, 0, name);
    const auto saved = plugin.chunk(false);
    ASSERT_EQ(saved.size(), kBankSize);
    for (int i = 60; i < 84; ++i) EXPECT_EQ(saved[84 * 8 + i], 0) << "name byte " << i;

    // Change everything, then load the saved bank over it.
    for (int32_t p = 0; p < 16; ++p) {
        plugin.setProgram(p);
        for (int32_t i = 0; i < 12; ++i) plugin.setParameter(i, 0.9f);
    }
    EXPECT_EQ(plugin.setChunk(saved, false), static_cast<intptr_t>(kBankSize));
    for (int32_t p = 0; p < 16; ++p) {
        plugin.setProgram(p);
        EXPECT_EQ(plugin.getParameter(p % 12), 0.01f * static_cast<float>(p + 1)) << "program " << p;
    }
    plugin.setProgram(8);
    EXPECT_EQ(plugin.programName(), "kept name");
    EXPECT_EQ(plugin.chunk(false), saved);
}

TEST(Chunk, BadChunksFromTheHostChangeNothingTheyDoNotCarry) {
    PluginInstance plugin;
    ASSERT_TRUE(plugin);
    plugin.setProgram(2);
    plugin.setParameter(1, 0.3f);
    const auto before = plugin.chunk(true);
    ASSERT_EQ(before.size(), kPresetSize);

    // No data at all.
    plugin.dispatch(effSetChunk, 1, 84, nullptr);
    plugin.dispatch(effSetChunk, 0, 1476, nullptr);
    unsigned char one = 0x55;
    plugin.dispatch(effSetChunk, 1, 0, &one);
    plugin.dispatch(effSetChunk, 1, -5, &one);
    EXPECT_EQ(plugin.chunk(true), before);
    EXPECT_EQ(plugin.program(), 2);

    // Only the first eight bytes: attack and release change, the rest stays.
    unsigned char head[8];
    writeFloat(head, 0.5f);
    writeFloat(head + 4, 0.6f);
    plugin.dispatch(effSetChunk, 1, sizeof head, head);
    EXPECT_EQ(plugin.getParameter(0), 0.5f);
    EXPECT_EQ(plugin.getParameter(1), 0.6f);
    EXPECT_EQ(plugin.getParameter(2), 0.25f);
    EXPECT_EQ(plugin.programName(), "Init 3");

    // Numbers no engine table holds, and a name without a terminator: stored as given,
    // the plug-in keeps working.
    std::vector<unsigned char> wild(before);
    writeFloat(wild.data(), std::numeric_limits<float>::quiet_NaN());
    writeFloat(wild.data() + 8, std::numeric_limits<float>::infinity());
    writeFloat(wild.data() + 20, -1e30f);
    writeFloat(wild.data() + 48, 1e30f);
    wild[52] = 0x7F;
    wild[56] = 0xFF;
    wild[57] = 0xFF;
    wild[58] = 0xFF;
    wild[59] = 0xFF;
    std::memset(wild.data() + 60, 'N', 24);
    wild.resize(200, 'Z');  // longer than the record
    plugin.dispatch(effSetChunk, 1, static_cast<intptr_t>(wild.size()), wild.data());
    EXPECT_EQ(plugin.getParameter(5), -1e30f);
    EXPECT_EQ(plugin.programName(), std::string(23, 'N'));
    char display[256] = {};
    for (int32_t i = 0; i < 12; ++i) plugin.dispatch(effGetParamDisplay, i, 0, display);

    float left[64], right[64], outLeft[64], outRight[64];
    for (int i = 0; i < 64; ++i) left[i] = right[i] = 0.5f * static_cast<float>(i % 2);
    float* in[2] = {left, right};
    float* out[2] = {outLeft, outRight};
    plugin.effect()->processReplacing(plugin.effect(), in, out, 64);
}
