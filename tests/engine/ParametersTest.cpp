// Parameters, their program slots and derived working values, and the editor's settings.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstring>
#include <limits>
#include <string>

#include "TestHost.h"

namespace {

std::string display(FreezeEffect& effect, int32_t index) {
    char text[64] = "untouched";
    effect.getParameterDisplay(index, text);
    return text;
}

std::string programName(FreezeEffect& effect) {
    char text[64];
    effect.getProgramName(text);
    return text;
}

}  // namespace

TEST(Parameters, DefaultsOfANewEffect) {
    auto effect = makeEffect();
    for (const ParameterInfo& info : kParameterTable)
        EXPECT_EQ(effect->getParameter(info.index), info.defaultValue) << info.vstName;
    EXPECT_EQ(effect->plugin().getSizeSteps(), 4);
    EXPECT_EQ(effect->plugin().getBitsValue(), 32.0f);
    EXPECT_EQ(effect->plugin().getSequenceLength(), 16);
    EXPECT_EQ(effect->plugin().getSequenceLengthValue(), 1.0f);
    EXPECT_EQ(effect->plugin().getPreFilterType(), FilterType::OFF);
    EXPECT_EQ(effect->plugin().getPostFilterType(), FilterType::OFF);
    for (int32_t step = 0; step < kNumStepValues; ++step) EXPECT_EQ(effect->plugin().getStepValue(step), 0.5f);
    EXPECT_FALSE(effect->plugin().isInverse());
    EXPECT_FALSE(effect->plugin().isMidiNoteControl() || effect->plugin().isNoteRecordStart() || effect->plugin().isRepeatTillNoteOff());
    EXPECT_EQ(programName(*effect), "Init 1");
    EXPECT_EQ(effect->getProgram(), 0);
}

TEST(Parameters, IndicesSevenToElevenMapAroundTheThreshold) {
    auto effect = makeEffect();
    effect->setParameter(kParamPreCutoff, 0.5f);
    EXPECT_EQ(effect->plugin().getProgramValue(7), 0.5f);
    EXPECT_EQ(effect->plugin().getProgramValue(8), 0.0f);  // pre-reso untouched
    EXPECT_EQ(effect->getParameter(kParamPreCutoff), 0.5f);
    EXPECT_EQ(effect->plugin().getProgramRecord(0).values[7], 0.5f);

    effect->setParameter(kParamThreshold, 0.33f);
    EXPECT_EQ(effect->plugin().getThreshold(), 0.33f);
    EXPECT_EQ(effect->plugin().getProgramRecord(0).threshold, 0.33f);
    for (int32_t slot = 0; slot < kNumProgramValues; ++slot)
        EXPECT_NE(effect->plugin().getProgramValue(slot), 0.33f) << slot;

    for (int32_t index = 0; index < kNumParams; ++index) {
        float value = 0.01f * static_cast<float>(index + 1);
        effect->setParameter(index, value);
        EXPECT_EQ(effect->getParameter(index), value) << index;
    }
    EXPECT_EQ(effect->plugin().getProgramValue(10), 0.12f);  // post-reso, index 11
}

TEST(Parameters, SizeAndBitsDeriveTheirWorkingValues) {
    auto effect = makeEffect();
    effect->setParameter(kParamSize, 0.0f);
    EXPECT_EQ(effect->plugin().getSizeSteps(), 1);
    EXPECT_EQ(display(*effect, kParamSize), "1.000000");
    effect->setParameter(kParamSize, 1.0f);
    EXPECT_EQ(effect->plugin().getSizeSteps(), 16);
    EXPECT_EQ(display(*effect, kParamSize), "16.00000");
    EXPECT_EQ(effect->getParameter(kParamSize), 1.0f);
    effect->setParameter(kParamBits, 0.0f);
    EXPECT_EQ(effect->plugin().getBitsValue(), 1.0f);
    effect->setParameter(kParamBits, 0.5f);
    EXPECT_EQ(effect->plugin().getBitsValue(), 16.5f);
    EXPECT_EQ(display(*effect, kParamRelease), "0.200000");
    effect->setParameter(kParamKnak, 0.7f);
    EXPECT_EQ(display(*effect, kParamKnak), "0.699999");
}

TEST(Parameters, HostileParameterInputIsStoredButKeptOutOfTheWorkingValues) {
    auto effect = makeEffect();
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    for (float value : {nan, inf, -inf, 1e30f, -1e30f}) {
        for (int32_t index = 0; index < kNumParams; ++index) {
            effect->setParameter(index, value);
            float stored = effect->getParameter(index);
            if (std::isnan(value))
                EXPECT_TRUE(std::isnan(stored)) << index;
            else
                EXPECT_EQ(stored, value) << index;  // the host reads back what it set
        }
        EXPECT_GE(effect->plugin().getSizeSteps(), 1);
        EXPECT_LE(effect->plugin().getSizeSteps(), 16);
        EXPECT_GE(effect->plugin().getBitsValue(), 1.0f);
        EXPECT_LE(effect->plugin().getBitsValue(), 32.0f);
        EXPECT_EQ(display(*effect, kParamSize).size(), 8u);
        EXPECT_EQ(display(*effect, kParamAttack).size(), 8u);
    }
    effect->setParameter(kParamSize, 0.25f);
    for (int32_t index : {-1, 12, INT_MAX, INT_MIN}) {
        effect->setParameter(index, 0.9f);
        EXPECT_EQ(effect->getParameter(index), 0.0f);
        EXPECT_EQ(display(*effect, index), "untouched");
        char text[16] = "untouched";
        effect->getParameterName(index, text);
        EXPECT_STREQ(text, "untouched");
    }
    EXPECT_EQ(effect->getParameter(kParamSize), 0.25f);
}

TEST(EditorSettings, SequenceLengthFilterTypesStepsAndModes) {
    auto effect = makeEffect();
    effect->plugin().setSequenceLength(0.0f);
    EXPECT_EQ(effect->plugin().getSequenceLengthValue(), 0.07f);
    EXPECT_EQ(effect->plugin().getSequenceLength(), 1);
    EXPECT_EQ(effect->plugin().getProgramRecord(0).sequenceLengthValue, 0.07f);
    effect->plugin().setSequenceLength(1.0f);
    EXPECT_EQ(effect->plugin().getSequenceLength(), 16);
    effect->plugin().setSequenceLength(50.0f);
    EXPECT_EQ(effect->plugin().getSequenceLength(), 16);
    effect->plugin().setSequenceLength(std::numeric_limits<float>::quiet_NaN());
    EXPECT_GE(effect->plugin().getSequenceLength(), 1);
    EXPECT_LE(effect->plugin().getSequenceLength(), 16);

    const FilterType cycle[] = {FilterType::LP, FilterType::HP, FilterType::BP, FilterType::OFF};
    for (FilterType expected : cycle) {
        effect->plugin().cycleFilterType(1);
        EXPECT_EQ(effect->plugin().getPreFilterType(), expected);
        EXPECT_EQ(effect->plugin().getProgramRecord(0).preFilterType, static_cast<int32_t>(expected));
    }
    EXPECT_EQ(effect->plugin().getPostFilterType(), FilterType::OFF);
    effect->plugin().cycleFilterType(2);
    effect->plugin().cycleFilterType(0);  // any value other than 1 selects the post filter
    EXPECT_EQ(effect->plugin().getPostFilterType(), FilterType::HP);

    effect->plugin().setStepValue(3, 0.9f);
    effect->plugin().setStepValue(-1, 0.9f);
    effect->plugin().setStepValue(32, 0.9f);
    effect->plugin().setStepValue(INT_MAX, 0.9f);
    EXPECT_EQ(effect->plugin().getStepValue(3), 0.9f);
    EXPECT_EQ(effect->plugin().getStepValue(2), 0.5f);

    effect->plugin().toggleInverse();
    effect->plugin().toggleMidiNoteControl();
    effect->plugin().toggleNoteRecordStart();
    effect->plugin().toggleRepeatTillNoteOff();
    EXPECT_TRUE(effect->plugin().isInverse() && effect->plugin().isMidiNoteControl() && effect->plugin().isNoteRecordStart() &&
                effect->plugin().isRepeatTillNoteOff());
    effect->plugin().toggleInverse();
    EXPECT_FALSE(effect->plugin().isInverse());
}

TEST(Programs, SelectionNamesAndApplication) {
    auto effect = makeEffect();
    for (int32_t i = 0; i < kNumPrograms; ++i) {
        effect->setProgram(i);
        EXPECT_EQ(programName(*effect), "Init " + std::to_string(i + 1));
    }
    effect->setProgram(2);
    effect->setParameter(kParamSize, 1.0f);
    effect->plugin().cycleFilterType(1);
    effect->setProgram(3);
    EXPECT_EQ(effect->getParameter(kParamSize), 0.25f);
    EXPECT_EQ(effect->plugin().getSizeSteps(), 4);
    EXPECT_EQ(effect->plugin().getPreFilterType(), FilterType::OFF);
    effect->setProgram(2);
    EXPECT_EQ(effect->plugin().getSizeSteps(), 16);
    EXPECT_EQ(effect->plugin().getPreFilterType(), FilterType::LP);
    effect->setProgram(16);
    effect->setProgram(-1);
    EXPECT_EQ(effect->getProgram(), 2);

    char name[64] = "A name longer than twenty-three characters";
    effect->setProgramName(name);
    EXPECT_EQ(programName(*effect), "A name longer than twen");
    std::strcpy(name, "Init");
    effect->setProgramName(name);
    EXPECT_EQ(programName(*effect), "Init 3");
    std::strcpy(name, "Init 2");
    effect->setProgramName(name);
    EXPECT_EQ(programName(*effect), "Init 2");
    std::strcpy(name, "");
    effect->setProgramName(name);
    EXPECT_EQ(programName(*effect), "");
}

TEST(Lifecycle, SuspendClearsTheBuffersAndResumeAsksForMidi) {
    auto effect = makeEffect();
    const float* left = effect->plugin().getBufferL();
    ASSERT_NE(left, nullptr);
    for (int32_t i = 0; i < kBufferLength; i += 997) ASSERT_EQ(left[i], 0.0f);
    currentTestHost().opcodes.clear();
    effect->resume();
    effect->resume();
    int wantMidi = 0;
    for (size_t i = 0; i < currentTestHost().opcodes.size(); ++i)
        if (currentTestHost().opcodes[i] == audioMasterWantMidi) {
            ++wantMidi;
            EXPECT_EQ(currentTestHost().values[i], 1);
        }
    EXPECT_EQ(wantMidi, 2);
    EXPECT_EQ(effect->getVu(), 0.0f);
}
