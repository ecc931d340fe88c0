// The parameter table's look-ups and filter-type cycle, and the effect's stored values, working
// values and host texts agreeing with the table for every parameter and any value.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "TestHost.h"

namespace {

std::string display(FreezeEffect& effect, int32_t index) {
    char text[64] = "untouched";
    effect.getParameterDisplay(index, text);
    return text;
}

bool sameBits(float a, float b) { return std::memcmp(&a, &b, sizeof a) == 0; }

std::string floatText(FreezeEffect& effect, float value) {
    char text[64];
    effect.floatToText(value, text);
    return text;
}

// Values a host may store: the ends, values between, and what no host should send.
std::vector<float> someValues() {
    std::vector<float> values = {0.0f,
                                 -0.0f,
                                 1.0f,
                                 0.5f,
                                 0.25f,
                                 0.999f,
                                 1e-7f,
                                 0.0666667f,
                                 -0.005f,
                                 -1.0f,
                                 2.0f,
                                 1e30f,
                                 -1e30f,
                                 std::numeric_limits<float>::infinity(),
                                 -std::numeric_limits<float>::infinity(),
                                 std::numeric_limits<float>::quiet_NaN()};
    std::mt19937 random(16);
    for (int i = 0; i < 200; ++i) values.push_back(std::uniform_real_distribution<float>(0.0f, 1.0f)(random));
    return values;
}

}  // namespace

TEST(ParameterTable, LookUps) {
    for (const ParameterInfo& info : kParameterTable) {
        EXPECT_EQ(slotOfParameter(info.index), info.slot) << info.vstName;
        if (info.slot != kThresholdSlot) {
            EXPECT_EQ(parameterOfSlot(info.slot), info.index) << info.vstName;
        }
        EXPECT_EQ(parameterBySymbol(info.lv2Symbol), &info) << info.lv2Symbol;
        EXPECT_EQ(parameterByVstName(info.vstName), &info) << info.vstName;
        EXPECT_EQ(&parameterInfo(info.index), &info);
    }
    EXPECT_EQ(thresholdParameter(), kParamThreshold);
    for (int32_t index : {-1, kNumParams, 1000}) EXPECT_EQ(slotOfParameter(index), kThresholdSlot) << index;
    for (int32_t slot : {-1, kNumProgramValues, 1000}) EXPECT_EQ(parameterOfSlot(slot), -1) << slot;
    EXPECT_EQ(parameterBySymbol("dry/wet"), nullptr);  // a VST 2 name, no LV2 symbol
    EXPECT_EQ(parameterBySymbol(""), nullptr);
    EXPECT_EQ(parameterBySymbol(nullptr), nullptr);
    EXPECT_EQ(parameterByVstName("dry_wet"), nullptr);
    for (int32_t slot = 0; slot < kNumProgramValues; ++slot)
        EXPECT_EQ(kDefaultProgramValues[static_cast<size_t>(slot)],
                  parameterInfo(parameterOfSlot(slot)).defaultValue);
    EXPECT_EQ(kDefaultThreshold, parameterInfo(kParamThreshold).defaultValue);
}

TEST(ParameterTable, FilterTypeCycle) {
    int32_t type = static_cast<int32_t>(kDefaultFilterType);
    const int32_t expected[] = {1, 2, 3, 0, 1};
    for (int32_t next : expected) {
        type = nextFilterType(type);
        EXPECT_EQ(type, next);
    }
    for (int32_t stored : {-1, 4, 1000}) EXPECT_EQ(nextFilterType(stored), 1) << stored;  // acts as OFF
    auto effect = makeEffect();
    for (int32_t n = 1; n <= 9; ++n) {
        effect->plugin().cycleFilterType(1);
        EXPECT_EQ(static_cast<int32_t>(effect->plugin().getPreFilterType()), n % kNumFilterTypes);
    }
}

// What the effect derives and shows equals what the table's rules give, for every parameter
// and every kind of value.
TEST(ParameterTable, TheEffectFollowsTheRules) {
    auto effect = makeEffect();
    for (float v : someValues()) {
        for (const ParameterInfo& info : kParameterTable) {
            SCOPED_TRACE(std::string(info.vstName) + " = " + std::to_string(v));
            effect->setParameter(info.index, v);
            const float stored = effect->getParameter(info.index);
            EXPECT_TRUE(sameBits(stored, v));
            EXPECT_EQ(display(*effect, info.index), floatText(*effect, hostTextValue(info, v)));
            if (info.editor.control == EditorControl::Slider)
                EXPECT_TRUE(sameBits(effect->plugin().getProgramValue(info.slot), v));
            else
                EXPECT_TRUE(sameBits(effect->plugin().getThreshold(), v));
        }
        EXPECT_EQ(effect->plugin().getSizeSteps(), wholeWorkingValue(workingRuleOf(kParamSize), v));
        EXPECT_TRUE(sameBits(effect->plugin().getBitsValue(), deriveSingle(workingRuleOf(kParamBits), v)));
        const FilterSettings& pre = effect->plugin().core().values.preFilter;
        const FilterSettings& post = effect->plugin().core().values.postFilter;
        EXPECT_TRUE(sameBits(pre.cutoff, deriveSingle(workingRuleOf(kParamPreCutoff), v)));
        EXPECT_TRUE(sameBits(pre.bandwidth, deriveSingle(workingRuleOf(kParamPreReso), v)));
        EXPECT_TRUE(sameBits(post.cutoff, deriveSingle(workingRuleOf(kParamPostCutoff), v)));
        EXPECT_TRUE(sameBits(post.bandwidth, deriveSingle(workingRuleOf(kParamPostReso), v)));
    }
}

// Each rule's result stays in its range for anything stored, and is finite.
TEST(ParameterTable, WorkingValuesStayInTheirRanges) {
    for (float v : someValues()) {
        for (const ParameterInfo& info : kParameterTable) {
            const WorkingRule& rule = info.working;
            if (rule.derivation == Derivation::Direct) continue;
            const double w = workingValueOf(info, v);
            SCOPED_TRACE(std::string(info.vstName) + " = " + std::to_string(v));
            ASSERT_TRUE(std::isfinite(w));
            if (rule.derivation == Derivation::UnitThenAffine) {
                EXPECT_GE(w, std::min(rule.offset, rule.scale + rule.offset) - 1e-6);
                EXPECT_LE(w, std::max(rule.offset, rule.scale + rule.offset) + 1e-6);
            } else {
                EXPECT_GE(w, rule.lo);
                EXPECT_LE(w, rule.hi);
            }
        }
    }
}
