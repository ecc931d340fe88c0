// audio-ports and note-ports: one stereo input and output that may share buffers, and one note
// input taking CLAP notes and MIDI.
#include <cstdio>

#include "clap/Extensions.h"

namespace {

uint32_t CLAP_ABI audioCount(const clap_plugin_t*, bool) { return 1; }

bool CLAP_ABI audioGet(const clap_plugin_t*, uint32_t index, bool isInput, clap_audio_port_info_t* info) {
    if (index != 0 || !info) return false;
    *info = clap_audio_port_info_t{};
    info->id = 0;
    std::snprintf(info->name, sizeof info->name, "%s", isInput ? "Input" : "Output");
    info->flags = CLAP_AUDIO_PORT_IS_MAIN;
    info->channel_count = 2;
    info->port_type = CLAP_PORT_STEREO;
    info->in_place_pair = 0;
    return true;
}

uint32_t CLAP_ABI noteCount(const clap_plugin_t*, bool isInput) { return isInput ? 1 : 0; }

bool CLAP_ABI noteGet(const clap_plugin_t*, uint32_t index, bool isInput, clap_note_port_info_t* info) {
    if (index != 0 || !isInput || !info) return false;
    *info = clap_note_port_info_t{};
    info->id = 0;
    info->supported_dialects = CLAP_NOTE_DIALECT_CLAP | CLAP_NOTE_DIALECT_MIDI;
    info->preferred_dialect = CLAP_NOTE_DIALECT_CLAP;
    std::snprintf(info->name, sizeof info->name, "%s", "Notes");
    return true;
}

}  // namespace

const clap_plugin_audio_ports_t kClapAudioPorts = {audioCount, audioGet};
const clap_plugin_note_ports_t kClapNotePorts = {noteCount, noteGet};
