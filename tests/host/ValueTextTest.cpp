// The value-to-text tools: exact eight-character texts.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>

#include "vst2/HostEffect.h"

namespace {

class TextEffect : public HostEffect {
public:
    TextEffect() : HostEffect(nullptr, 1, 1) {}
    void process(float**, float**, int32_t) override {}
};

std::string floatText(float value) {
    TextEffect effect;
    char text[32];
    std::memset(text, 'x', sizeof text);
    effect.floatToText(value, text);
    EXPECT_EQ(text[8], '\0') << "value " << value;
    return text;
}

}  // namespace

TEST(FloatToText, MatchesTheFormatTable) {
    const struct {
        float value;
        const char* text;
    } rows[] = {
        {0.0f, "0.000000"},     {0.5f, "0.500000"},         {0.7f, "0.699999"},
        {1.0f, "1.000000"},     {0.123456789f, "0.123456"}, {123.456f, "123.4560"},
        {44100.0f, "44100.00"}, {220500.0f, "220500.0"},    {1234567.0f, "1234567."},
        {-0.25f, "-0.25000"},   {-3.0f, "-3.00000"},        {100000000.0f, " Huge!  "},
        {0.15f, "0.150000"},    {16.0f, "16.00000"},        {0.2f, "0.200000"},
    };
    for (const auto& row : rows) EXPECT_EQ(floatText(row.value), row.text) << row.value;
}

TEST(FloatToText, OverflowLimitsAndNonFiniteValues) {
    EXPECT_EQ(floatText(99999999.0f), " Huge!  ");  // stored as 100000000
    EXPECT_EQ(floatText(-10000000.0f), " Huge!  ");
    EXPECT_EQ(floatText(-9999999.0f).size(), 8u);
    EXPECT_EQ(floatText(std::numeric_limits<float>::infinity()), " Huge!  ");
    EXPECT_EQ(floatText(-std::numeric_limits<float>::infinity()), " Huge!  ");
    EXPECT_EQ(floatText(std::nanf("")), " Huge!  ");
    EXPECT_EQ(floatText(1e30f), " Huge!  ");
    // Too many integer digits keep the lowest ones, still eight characters.
    EXPECT_EQ(floatText(12345678.0f), "2345678.");
    EXPECT_EQ(floatText(std::numeric_limits<float>::denorm_min()), "0.000000");
}

TEST(ValueTextTools, DecibelsFrequencyMillisecondsAndIntegers) {
    TextEffect effect;
    char text[16];
    effect.dbToText(1.0f, text);
    EXPECT_STREQ(text, "0.000000");
    effect.dbToText(0.0f, text);
    EXPECT_STREQ(text, "  -oo   ");
    effect.dbToText(-1.0f, text);
    EXPECT_STREQ(text, "  -oo   ");
    effect.dbToText(0.5f, text);
    EXPECT_STREQ(text, "-6.02060");

    effect.hzToText(0.0f, text);
    EXPECT_STREQ(text, "0.000000");
    effect.hzToText(441.0f, text);
    EXPECT_STREQ(text, "100.0000");
    effect.msToText(44100.0f, text);
    EXPECT_STREQ(text, "1000.000");
    effect.setSampleRate(0.0f);
    effect.msToText(1.0f, text);  // division by a zero rate gives the overflow text, not a crash
    EXPECT_STREQ(text, " Huge!  ");

    effect.longToText(42, text);
    EXPECT_STREQ(text, "     42");
    effect.longToText(-5, text);
    EXPECT_STREQ(text, "     -5");
    effect.longToText(100000000, text);
    EXPECT_STREQ(text, " Huge!  ");
    effect.longToText(99999999, text);
    EXPECT_STREQ(text, "99999999");
    effect.longToText(INT32_MIN, text);
    EXPECT_STREQ(text, "-2147483");
}
