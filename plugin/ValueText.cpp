// The parameter text every format shows: the one VST 2 hosts have shown for years.
#include "plugin/ValueText.h"

#include <cmath>
#include <cstring>

namespace {

void copyText(char* text, const char* source) { std::memcpy(text, source, kValueTextSize); }

// A digit from a non-negative double below 10 (kept there by the caller's fmod).
char digitOf(double value) {
    int digit = static_cast<int>(value);
    if (digit < 0) digit = 0;
    if (digit > 9) digit = 9;
    return static_cast<char>('0' + digit);
}

}  // namespace

// Digits are produced by repeated fmod and multiplication by 0.1 without rounding, on the
// value widened to 64 bits: a stored 0.7 shows as 0.699999. Hosts have shown these exact
// texts for years, so the arithmetic stays as it is.
void floatToText(float value, char* text) {
    double v = static_cast<double>(value);
    if (std::isnan(v)) {
        copyText(text, kOverflowText);
        return;
    }
    int count = 0;
    bool negative = false;
    if (v < 0.0) {
        negative = true;
        v = -v;
        count = 1;
        if (v > 9999999.0) {
            copyText(text, kOverflowText);
            return;
        }
    } else if (v > 99999999.0) {
        copyText(text, kOverflowText);
        return;
    }

    // Integer digits, right to left, in front of the point.
    char integerDigits[kValueTextWidth];
    int integerCount = 0;
    double n = std::floor(v);
    integerDigits[integerCount++] = digitOf(std::fmod(n, 10.0));
    n *= 0.1;
    count += 2;
    while (n >= 1.0 && count < kValueTextWidth) {
        integerDigits[integerCount++] = digitOf(std::fmod(n, 10.0));
        n *= 0.1;
        count += 1;
    }

    int pos = 0;
    if (negative) text[pos++] = '-';
    while (integerCount > 0) text[pos++] = integerDigits[--integerCount];
    text[pos++] = '.';

    // Fraction digits, right to left after the point.
    int fractionCount = kValueTextWidth - count;
    double m = std::fmod(v, 1.0) * std::pow(10.0, fractionCount);
    for (int i = fractionCount - 1; i >= 0; --i) {
        if (m <= 0.0) {
            text[pos + i] = '0';
        } else {
            text[pos + i] = digitOf(std::fmod(m, 10.0));
            m *= 0.1;
        }
    }
    text[pos + fractionCount] = '\0';
}
