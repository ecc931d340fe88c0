// Who the plug-in is to a VST 3 host: its class ID, built from the VST 2 edition's unique ID
// and name so that hosts which replace a VST 2 plug-in by its VST 3 edition find this one:
// 'V','S','T', the unique ID, then the first nine bytes of the name in lower case (zeros after
// its end), read as four words.
#pragma once

#include <cstdint>

#include "plugin/PluginInfo.h"
#include "vst3/Vst3Base.h"

namespace vst3ids {

constexpr unsigned char lower(char c) {
    return static_cast<unsigned char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
}

// The sixteen bytes in the order of the ID's words (the canonical, Linux order).
struct WordBytes {
    unsigned char b[16];
};
constexpr WordBytes vst2CompatibleBytes(uint32_t uniqueId, const char* name) {
    WordBytes out{};
    out.b[0] = 'V';
    out.b[1] = 'S';
    out.b[2] = 'T';
    for (int i = 0; i < 4; ++i) out.b[3 + i] = static_cast<unsigned char>(uniqueId >> (24 - 8 * i));
    bool ended = false;
    for (int i = 0; i < 9; ++i) {
        if (!ended && name[i] == '\0') ended = true;
        out.b[7 + i] = ended ? 0 : lower(name[i]);
    }
    return out;
}
constexpr uint32_t word(const WordBytes& bytes, int n) {
    return static_cast<uint32_t>(bytes.b[4 * n]) << 24 | static_cast<uint32_t>(bytes.b[4 * n + 1]) << 16 |
           static_cast<uint32_t>(bytes.b[4 * n + 2]) << 8 | static_cast<uint32_t>(bytes.b[4 * n + 3]);
}

inline constexpr WordBytes kProcessorWords = vst2CompatibleBytes(static_cast<uint32_t>(kVst2UniqueId), kPluginName);
inline constexpr uint32_t kProcessorL1 = word(kProcessorWords, 0);
inline constexpr uint32_t kProcessorL2 = word(kProcessorWords, 1);
inline constexpr uint32_t kProcessorL3 = word(kProcessorWords, 2);
inline constexpr uint32_t kProcessorL4 = word(kProcessorWords, 3);
// Released IDs never change: these are the words of "brindleLoop" and 'BRLP'.
static_assert(kProcessorL1 == 0x56535442 && kProcessorL2 == 0x524C5062 && kProcessorL3 == 0x72696E64 &&
              kProcessorL4 == 0x6C656C6F);

}  // namespace vst3ids

inline constexpr v3::Uid kProcessorUid{vst3ids::kProcessorL1, vst3ids::kProcessorL2, vst3ids::kProcessorL3,
                                       vst3ids::kProcessorL4};
// The canonical string of the ID (moduleinfo.json, host caches and sessions).
inline constexpr char kProcessorUidString[] = "56535442524C506272696E646C656C6F";

namespace vst3ids {
constexpr bool stringIsWords(const char* text, const WordBytes& bytes) {
    const char* digits = "0123456789ABCDEF";
    for (int i = 0; i < 16; ++i)
        if (text[2 * i] != digits[bytes.b[i] >> 4] || text[2 * i + 1] != digits[bytes.b[i] & 15]) return false;
    return text[32] == '\0';
}
static_assert(stringIsWords(kProcessorUidString, kProcessorWords));
}  // namespace vst3ids
