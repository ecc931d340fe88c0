// The five value-to-text tools: fixed eight-character texts for a host's parameter view.
#include <cmath>
#include <cstdio>
#include <cstring>

#include "plugin/ValueText.h"
#include "vst2/HostEffect.h"

namespace {

const char kMinusInfinityText[] = "  -oo   ";

void copyText(char* text, const char* source) { std::memcpy(text, source, kValueTextSize); }

}  // namespace

void HostEffect::floatToText(float value, char* text) { ::floatToText(value, text); }

void HostEffect::dbToText(float value, char* text) {
    if (value > 0.0f)
        floatToText(20.0f * std::log10(value), text);
    else
        copyText(text, kMinusInfinityText);
}

void HostEffect::hzToText(float samples, char* text) {
    if (samples == 0.0f)
        floatToText(0.0f, text);
    else
        floatToText(getSampleRate() / samples, text);
}

void HostEffect::msToText(float samples, char* text) {
    floatToText(samples * 1000.0f / getSampleRate(), text);
}

void HostEffect::longToText(int32_t value, char* text) {
    if (value >= 100000000) {
        copyText(text, kOverflowText);
        return;
    }
    // Values below -9999999 do not fit and are cut to their first eight characters.
    char formatted[16];
    std::snprintf(formatted, sizeof formatted, "%7d", static_cast<int>(value));
    std::memcpy(text, formatted, kValueTextWidth);
    text[kValueTextWidth] = '\0';
}
