// Preset and bank chunks: byte layouts, round trips and damaged chunks from a host.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "TestHost.h"

namespace {

std::vector<unsigned char> saveChunk(FreezeEffect& effect, bool preset) {
    void* data = nullptr;
    int32_t size = effect.getChunk(&data, preset);
    EXPECT_NE(data, nullptr);
    const auto* bytes = static_cast<const unsigned char*>(data);
    return std::vector<unsigned char>(bytes, bytes + size);
}

float floatAt(const std::vector<unsigned char>& bytes, size_t offset) {
    float value;
    std::memcpy(&value, bytes.data() + offset, 4);
    return value;
}

int32_t intAt(const std::vector<unsigned char>& bytes, size_t offset) {
    int32_t value;
    std::memcpy(&value, bytes.data() + offset, 4);
    return value;
}

void putFloat(std::vector<unsigned char>& bytes, size_t offset, float value) {
    std::memcpy(bytes.data() + offset, &value, 4);
}

void putInt(std::vector<unsigned char>& bytes, size_t offset, int32_t value) {
    std::memcpy(bytes.data() + offset, &value, 4);
}

std::string programName(FreezeEffect& effect) {
    char text[64];
    effect.getProgramName(text);
    return text;
}

}  // namespace

TEST(PresetChunk, LayoutByteByByte) {
    auto effect = makeEffect();
    effect->setProgram(3);
    effect->setParameter(kParamRelease, 0.3f);
    effect->setParameter(kParamPostReso, 0.8f);
    effect->setParameter(kParamThreshold, 0.4f);
    effect->plugin().setSequenceLength(0.5f);
    effect->plugin().cycleFilterType(1);
    effect->plugin().cycleFilterType(2);
    effect->plugin().cycleFilterType(2);
    char name[] = "Crunch";
    effect->setProgramName(name);

    std::vector<unsigned char> chunk = saveChunk(*effect, true);
    ASSERT_EQ(chunk.size(), 84u);
    const float slots[11] = {0.0f, 0.3f, 0.25f, 0.1f, 1.0f, 1.0f, 0.5f, 1.0f, 0.0f, 1.0f, 0.8f};
    for (int i = 0; i < 11; ++i) EXPECT_EQ(floatAt(chunk, 4 * i), slots[i]) << "slot " << i;
    EXPECT_EQ(floatAt(chunk, 44), 0.4f);
    EXPECT_EQ(floatAt(chunk, 48), 0.5f);
    EXPECT_EQ(intAt(chunk, 52), 1);
    EXPECT_EQ(intAt(chunk, 56), 2);
    EXPECT_STREQ(reinterpret_cast<const char*>(chunk.data() + 60), "Crunch");
}

TEST(PresetChunk, SavedFromOneProgramLoadsIntoAnotherOnly) {
    auto effect = makeEffect();
    effect->setProgram(3);
    effect->setParameter(kParamSize, 0.8f);
    effect->setParameter(kParamThreshold, 0.6f);
    effect->plugin().cycleFilterType(2);
    char name[] = "Stutter";
    effect->setProgramName(name);
    std::vector<unsigned char> chunk = saveChunk(*effect, true);

    effect->setProgram(5);
    EXPECT_EQ(effect->setChunk(chunk.data(), 84, true), 84);
    EXPECT_EQ(programName(*effect), "Stutter");
    EXPECT_EQ(effect->getParameter(kParamSize), 0.8f);
    EXPECT_EQ(effect->plugin().getSizeSteps(), 13);
    EXPECT_EQ(effect->plugin().getThreshold(), 0.6f);
    EXPECT_EQ(effect->plugin().getPostFilterType(), FilterType::LP);

    for (int32_t i = 0; i < kNumPrograms; ++i) {
        if (i == 3 || i == 5) continue;
        effect->setProgram(i);
        EXPECT_EQ(programName(*effect), "Init " + std::to_string(i + 1)) << i;
        EXPECT_EQ(effect->getParameter(kParamSize), 0.25f) << i;
    }
    effect->setProgram(3);
    EXPECT_EQ(programName(*effect), "Stutter");
}

TEST(BankChunk, LayoutAndRoundTripWithoutNames) {
    auto effect = makeEffect();
    for (int32_t i = 0; i < kNumPrograms; ++i) {
        effect->setProgram(i);
        effect->setParameter(kParamKnak, 0.01f * static_cast<float>(i));
        std::string name = "P" + std::to_string(i);
        effect->setProgramName(name.data());
    }
    effect->setProgram(7);
    effect->plugin().setSequenceLength(0.25f);
    for (int32_t step = 0; step < kNumStepValues; ++step)
        effect->plugin().setStepValue(step, 0.03f * static_cast<float>(step));
    effect->plugin().toggleNoteRecordStart();

    std::vector<unsigned char> bank = saveChunk(*effect, false);
    ASSERT_EQ(bank.size(), 1476u);
    for (int32_t i = 0; i < kNumPrograms; ++i) {
        EXPECT_EQ(floatAt(bank, 84 * i + 12), 0.01f * static_cast<float>(i)) << i;
        for (int b = 60; b < 84; ++b) EXPECT_EQ(bank[84 * i + b], 0) << "name byte of program " << i;
    }
    EXPECT_EQ(floatAt(bank, 84 * 7 + 48), 0.25f);
    for (int32_t step = 0; step < kNumStepValues; ++step)
        EXPECT_EQ(floatAt(bank, 1344 + 4 * step), 0.03f * static_cast<float>(step));
    EXPECT_EQ(bank[1472], 0);
    EXPECT_EQ(bank[1473], 1);
    EXPECT_EQ(bank[1474], 0);
    EXPECT_EQ(bank[1475], 0);

    auto other = makeEffect();
    char keep[] = "Keep me";
    other->setProgramName(keep);
    EXPECT_EQ(other->setChunk(bank.data(), 1476, false), 1476);
    EXPECT_EQ(programName(*other), "Keep me");  // names are not in a bank
    EXPECT_TRUE(other->plugin().isNoteRecordStart());
    EXPECT_FALSE(other->plugin().isMidiNoteControl());
    EXPECT_EQ(other->plugin().getStepValue(31), 0.03f * 31.0f);
    // Working values follow the loaded programs at the next program change.
    EXPECT_EQ(other->getParameter(kParamKnak), 0.1f);
    other->setProgram(9);
    EXPECT_EQ(other->getParameter(kParamKnak), 0.01f * 9.0f);
    other->setProgram(7);
    EXPECT_EQ(other->plugin().getSequenceLength(), 4);
    EXPECT_EQ(saveChunk(*other, false), bank);
}

TEST(DamagedChunks, NullEmptyShortAndLongChunksAreSafe) {
    auto effect = makeEffect();
    effect->setProgram(2);
    effect->setParameter(kParamSize, 0.6f);
    std::vector<unsigned char> before = saveChunk(*effect, false);
    std::vector<unsigned char> beforePreset = saveChunk(*effect, true);

    EXPECT_EQ(effect->setChunk(nullptr, 84, true), 0);
    EXPECT_EQ(effect->setChunk(nullptr, 1476, false), 0);
    unsigned char one = 0;
    EXPECT_EQ(effect->setChunk(&one, 0, true), 0);
    EXPECT_EQ(effect->setChunk(&one, -5, false), 0);
    EXPECT_EQ(saveChunk(*effect, false), before);
    EXPECT_EQ(saveChunk(*effect, true), beforePreset);
    EXPECT_EQ(effect->getChunk(nullptr, true), 0);

    // A short preset only replaces what it holds: here the first two slots.
    std::vector<unsigned char> shortPreset(8, 0);
    putFloat(shortPreset, 0, 0.9f);
    putFloat(shortPreset, 4, 0.8f);
    EXPECT_EQ(effect->setChunk(shortPreset.data(), 8, true), 84);
    EXPECT_EQ(effect->getParameter(kParamAttack), 0.9f);
    EXPECT_EQ(effect->getParameter(kParamRelease), 0.8f);
    EXPECT_EQ(effect->getParameter(kParamSize), 0.6f);
    EXPECT_EQ(programName(*effect), "Init 3");

    // A long one is read up to its record size only.
    std::vector<unsigned char> longBank(5000, 0xFF);
    std::memcpy(longBank.data(), before.data(), before.size());
    EXPECT_EQ(effect->setChunk(longBank.data(), 5000, false), 1476);
    std::vector<unsigned char> shortBank(before.begin(), before.begin() + 100);
    EXPECT_EQ(effect->setChunk(shortBank.data(), 100, false), 1476);
    effect->setProgram(2);
    EXPECT_EQ(effect->getParameter(kParamSize), 0.6f);
}

TEST(DamagedChunks, HostileValuesKeepTheWorkingValuesInTheirTables) {
    auto effect = makeEffect();
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    std::vector<unsigned char> preset = saveChunk(*effect, true);
    const float hostile[] = {nan, inf, -inf, 1e30f, -1e30f, -0.5f};
    for (float value : hostile) {
        for (int i = 0; i < 13; ++i) putFloat(preset, 4 * i, value);  // slots, threshold, sequence
        putInt(preset, 52, 7);
        putInt(preset, 56, -3);
        std::memset(preset.data() + 60, 'x', 24);  // a name without terminator
        ASSERT_EQ(effect->setChunk(preset.data(), 84, true), 84);
        EXPECT_GE(effect->plugin().getSizeSteps(), 1);
        EXPECT_LE(effect->plugin().getSizeSteps(), 16);
        EXPECT_GE(effect->plugin().getBitsValue(), 1.0f);
        EXPECT_LE(effect->plugin().getBitsValue(), 32.0f);
        EXPECT_GE(effect->plugin().getSequenceLength(), 1);
        EXPECT_LE(effect->plugin().getSequenceLength(), 16);
        EXPECT_EQ(effect->plugin().getPreFilterType(), FilterType::OFF);
        EXPECT_EQ(effect->plugin().getPostFilterType(), FilterType::OFF);
        EXPECT_EQ(programName(*effect), std::string(23, 'x'));
        if (!std::isnan(value)) {
            EXPECT_EQ(effect->getParameter(kParamRepeat), value);
        }
    }
    // A filter type stored out of range cycles on from OFF.
    effect->plugin().cycleFilterType(1);
    EXPECT_EQ(effect->plugin().getPreFilterType(), FilterType::LP);

    std::vector<unsigned char> bank = saveChunk(*effect, false);
    for (int32_t step = 0; step < kNumStepValues; ++step) putFloat(bank, 1344 + 4 * step, nan);
    putFloat(bank, 84 * 4 + 48, 0.01f);  // sequence length below its floor
    putFloat(bank, 84 * 6 + 48, 1e9f);
    bank[1472] = 0x7F;
    ASSERT_EQ(effect->setChunk(bank.data(), 1476, false), 1476);
    EXPECT_TRUE(std::isnan(effect->plugin().getStepValue(0)));  // stored as given
    EXPECT_TRUE(effect->plugin().isMidiNoteControl());
    effect->setProgram(4);
    EXPECT_EQ(effect->plugin().getSequenceLength(), 1);
    EXPECT_EQ(effect->plugin().getSequenceLengthValue(), 0.07f);
    effect->setProgram(6);
    EXPECT_EQ(effect->plugin().getSequenceLength(), 16);
}
