// The component's state as bytes: the plug-in's own state (tag, layout, current program, bank)
// followed by the bypass switch, and, read only, the VST 2 edition's bank or preset in the
// form hosts pass it when they replace the VST 2 plug-in by this one (big-endian 'CcnK'
// records, optionally behind a 'VstW' header that carries the insert's bypass).
#pragma once

#include <cstddef>
#include <cstdint>

#include "plugin/FreezePlugin.h"

namespace v3 {
class IBStream;
}

namespace vst3state {

// The component state this edition writes.
constexpr int32_t kSize = FreezePlugin::kStateSize + 4;
// Nothing longer is read from a host's stream (a VST 2 bank is 1636 bytes, with its header 1652).
constexpr int32_t kLongest = 4096;

enum class Kind { own, vst2Bank, vst2Preset };

// What a state's bytes hold, found without changing anything.
struct Parsed {
    Kind kind = Kind::own;
    const unsigned char* chunk = nullptr;  // own: the plug-in's state; VST 2: the chunk
    int32_t chunkSize = 0;
    int32_t program = -1;  // VST 2 bank of format 2: the program it had selected
    int32_t bypass = -1;   // -1: the state says nothing of bypass
};

// False for anything but a whole state of one of the three kinds: too short, too long, another
// plug-in's, sizes that do not add up.
bool parse(const unsigned char* bytes, int32_t size, Parsed& parsed);
// Parses and applies; false (the plug-in unchanged) when parse refuses.
bool apply(FreezePlugin& plugin, const unsigned char* bytes, int32_t size);
// Writes kSize bytes.
void save(FreezePlugin& plugin, unsigned char* bytes);

// Reads a host's stream to its end into buffer (kLongest + 1 bytes, so that a longer state
// shows as such); answers the bytes read, or -1 when the stream failed.
int32_t readStream(v3::IBStream* stream, unsigned char* buffer);

}  // namespace vst3state
