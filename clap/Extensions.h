// The extension tables the plug-in hands its host, one file per group, all static and alive for
// as long as the library is loaded.
#pragma once

#include "clap/ClapExtensions.h"

extern const clap_plugin_audio_ports_t kClapAudioPorts;
extern const clap_plugin_note_ports_t kClapNotePorts;
extern const clap_plugin_params_t kClapParams;
extern const clap_plugin_state_t kClapState;
extern const clap_plugin_latency_t kClapLatency;
extern const clap_plugin_tail_t kClapTail;
extern const clap_plugin_render_t kClapRender;
extern const clap_plugin_gui_t kClapGui;
extern const clap_plugin_posix_fd_support_t kClapFdSupport;
extern const clap_plugin_timer_support_t kClapTimerSupport;

// The table for an extension id, or null for one the plug-in does not offer.
const void* clapExtension(const char* id);
