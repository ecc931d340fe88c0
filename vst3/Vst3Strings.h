// Copies between the plug-in's ASCII texts and a VST 3 host's fixed fields: 8-bit fields and
// UTF-16 ones, truncated and always terminated.
#pragma once

#include <cstddef>
#include <cstdint>

namespace vst3text {

template <size_t N>
void copy(char (&field)[N], const char* text) {
    size_t i = 0;
    for (; text && text[i] && i + 1 < N; ++i) field[i] = text[i];
    field[i] = '\0';
}

inline void toUtf16(char16_t* field, size_t size, const char* text) {
    if (!field || size == 0) return;
    size_t i = 0;
    for (; text && text[i] && i + 1 < size; ++i) field[i] = static_cast<char16_t>(static_cast<unsigned char>(text[i]));
    field[i] = u'\0';
}

// The host's UTF-16 text as ASCII; false for text beyond ASCII or longer than size - 1.
inline bool fromUtf16(const char16_t* text, char* out, size_t size, size_t longest = 128) {
    if (!text || !out || size == 0) return false;
    size_t i = 0;
    for (; i < longest && text[i]; ++i) {
        if (text[i] > 0x7E || i + 1 >= size) return false;
        out[i] = static_cast<char>(text[i]);
    }
    out[i] = '\0';
    return true;
}

}  // namespace vst3text
