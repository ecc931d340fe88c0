// The component state: the plug-in's own bytes and the VST 2 forms a replacing host passes.
#include "vst3/Vst3State.h"

#include <cstring>

#include "engine/ChunkLayout.h"
#include "plugin/PluginInfo.h"
#include "vst3/Vst3Processing.h"

namespace vst3state {

namespace {

int32_t bigEndian(const unsigned char* at) {
    return static_cast<int32_t>(static_cast<uint32_t>(at[0]) << 24 | static_cast<uint32_t>(at[1]) << 16 |
                                static_cast<uint32_t>(at[2]) << 8 | static_cast<uint32_t>(at[3]));
}

bool isTag(const unsigned char* at, const char (&tag)[5]) { return std::memcmp(at, tag, 4) == 0; }

// The VST 2 fxb/fxp record at bytes (no header before it).
bool parseVst2(const unsigned char* bytes, int32_t size, Parsed& parsed) {
    constexpr int32_t kBankHeader = 160;    // up to and with the chunk's size
    constexpr int32_t kPresetHeader = 60;
    if (size < 28 || !isTag(bytes, "CcnK")) return false;
    const int32_t byteSize = bigEndian(bytes + 4);
    if (byteSize != size - 8 || bigEndian(bytes + 16) != kVst2UniqueId) return false;
    const int32_t version = bigEndian(bytes + 12);
    if (isTag(bytes + 8, "FBCh")) {
        if (size < kBankHeader) return false;
        const int32_t chunkSize = bigEndian(bytes + 156);
        if (chunkSize <= 0 || chunkSize > kBankChunkSize || chunkSize != size - kBankHeader) return false;
        const int32_t current = bigEndian(bytes + 28);
        parsed.kind = Kind::vst2Bank;
        parsed.chunk = bytes + kBankHeader;
        parsed.chunkSize = chunkSize;
        parsed.program = version >= 2 && current >= 0 && current < kNumPrograms ? current : -1;
        return true;
    }
    if (isTag(bytes + 8, "FPCh")) {
        if (size < kPresetHeader) return false;
        const int32_t chunkSize = bigEndian(bytes + 56);
        if (chunkSize <= 0 || chunkSize > kPresetChunkSize || chunkSize != size - kPresetHeader) return false;
        parsed.kind = Kind::vst2Preset;
        parsed.chunk = bytes + kPresetHeader;
        parsed.chunkSize = chunkSize;
        return true;
    }
    return false;
}

}  // namespace

bool parse(const unsigned char* bytes, int32_t size, Parsed& parsed) {
    parsed = Parsed{};
    if (!bytes || size < 4 || size > kLongest) return false;
    if (std::memcmp(bytes, "BRLS", 4) == 0) {
        // The layout FreezePlugin::saveState writes (loadState takes no other).
        constexpr int32_t kOwnLayout = 1;
        if (size != kSize || getChunkInt(bytes + 4) != kOwnLayout) return false;
        const int32_t bypass = getChunkInt(bytes + FreezePlugin::kStateSize);
        if (bypass != 0 && bypass != 1) return false;
        parsed.kind = Kind::own;
        parsed.chunk = bytes;
        parsed.chunkSize = FreezePlugin::kStateSize;
        parsed.bypass = bypass;
        return true;
    }
    if (isTag(bytes, "VstW")) {
        // 'VstW', the size of what follows it in the header (8: version and bypass).
        if (size < 16 || bigEndian(bytes + 4) != 8) return false;
        if (!parseVst2(bytes + 16, size - 16, parsed)) return false;
        parsed.bypass = bigEndian(bytes + 12) != 0 ? 1 : 0;
        return true;
    }
    return parseVst2(bytes, size, parsed);
}

bool apply(FreezePlugin& plugin, const unsigned char* bytes, int32_t size) {
    Parsed parsed;
    if (!parse(bytes, size, parsed)) return false;
    switch (parsed.kind) {
    case Kind::own:
        if (!plugin.loadState(parsed.chunk, parsed.chunkSize)) return false;
        break;
    case Kind::vst2Bank:
        // As a VST 2 host restores a bank: the chunk, then the program it had selected (or the
        // one selected now), which brings that program's values into play.
        plugin.setChunk(parsed.chunk, parsed.chunkSize, false);
        plugin.setProgram(parsed.program >= 0 ? parsed.program : plugin.getProgram());
        break;
    case Kind::vst2Preset: plugin.setChunk(parsed.chunk, parsed.chunkSize, true); break;
    }
    if (parsed.bypass >= 0) plugin.setBypass(parsed.bypass != 0);
    return true;
}

void save(FreezePlugin& plugin, unsigned char* bytes) {
    plugin.saveState(bytes);
    putChunkInt(bytes + FreezePlugin::kStateSize, plugin.isBypassed() ? 1 : 0);
}

int32_t readStream(v3::IBStream* stream, unsigned char* buffer) {
    if (!stream) return -1;
    int32_t total = 0;
    while (total <= kLongest) {
        int32_t got = 0;
        const int32_t wanted = kLongest + 1 - total;
        if (stream->read(buffer + total, wanted, &got) != v3::kResultOk) return total > 0 ? total : -1;
        if (got <= 0 || got > wanted) break;
        total += got;
    }
    return total;
}

}  // namespace vst3state
