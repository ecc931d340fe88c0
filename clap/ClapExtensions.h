// The CLAP extensions this plug-in offers or asks its host for: their ID strings, tables and
// records, declared by us from the published layout, with every size and offset asserted.
#pragma once

#include "clap/ClapCore.h"

extern "C" {

inline constexpr char CLAP_EXT_AUDIO_PORTS[] = "clap.audio-ports";
inline constexpr char CLAP_EXT_NOTE_PORTS[] = "clap.note-ports";
inline constexpr char CLAP_EXT_PARAMS[] = "clap.params";
inline constexpr char CLAP_EXT_STATE[] = "clap.state";
inline constexpr char CLAP_EXT_GUI[] = "clap.gui";
inline constexpr char CLAP_EXT_POSIX_FD_SUPPORT[] = "clap.posix-fd-support";
inline constexpr char CLAP_EXT_TIMER_SUPPORT[] = "clap.timer-support";
inline constexpr char CLAP_EXT_LATENCY[] = "clap.latency";
inline constexpr char CLAP_EXT_TAIL[] = "clap.tail";
inline constexpr char CLAP_EXT_RENDER[] = "clap.render";
inline constexpr char CLAP_EXT_LOG[] = "clap.log";

// --- audio ports ---
constexpr uint32_t CLAP_AUDIO_PORT_IS_MAIN = 1u << 0;
inline constexpr char CLAP_PORT_STEREO[] = "stereo";

struct clap_audio_port_info_t {
    clap_id id;
    char name[CLAP_NAME_SIZE];
    uint32_t flags;
    uint32_t channel_count;
    const char* port_type;
    clap_id in_place_pair;
};

struct clap_plugin_audio_ports_t {
    uint32_t(CLAP_ABI* count)(const clap_plugin_t* plugin, bool is_input);
    bool(CLAP_ABI* get)(const clap_plugin_t* plugin, uint32_t index, bool is_input, clap_audio_port_info_t* info);
};

// --- note ports ---
constexpr uint32_t CLAP_NOTE_DIALECT_CLAP = 1u << 0;
constexpr uint32_t CLAP_NOTE_DIALECT_MIDI = 1u << 1;
constexpr uint32_t CLAP_NOTE_DIALECT_MIDI_MPE = 1u << 2;
constexpr uint32_t CLAP_NOTE_DIALECT_MIDI2 = 1u << 3;

struct clap_note_port_info_t {
    clap_id id;
    uint32_t supported_dialects;
    uint32_t preferred_dialect;
    char name[CLAP_NAME_SIZE];
};

struct clap_plugin_note_ports_t {
    uint32_t(CLAP_ABI* count)(const clap_plugin_t* plugin, bool is_input);
    bool(CLAP_ABI* get)(const clap_plugin_t* plugin, uint32_t index, bool is_input, clap_note_port_info_t* info);
};

// --- params ---
constexpr uint32_t CLAP_PARAM_IS_STEPPED = 1u << 0;
constexpr uint32_t CLAP_PARAM_IS_PERIODIC = 1u << 1;
constexpr uint32_t CLAP_PARAM_IS_HIDDEN = 1u << 2;
constexpr uint32_t CLAP_PARAM_IS_READONLY = 1u << 3;
constexpr uint32_t CLAP_PARAM_IS_BYPASS = 1u << 4;
constexpr uint32_t CLAP_PARAM_IS_AUTOMATABLE = 1u << 5;
constexpr uint32_t CLAP_PARAM_IS_MODULATABLE = 1u << 10;
constexpr uint32_t CLAP_PARAM_REQUIRES_PROCESS = 1u << 15;
constexpr uint32_t CLAP_PARAM_IS_ENUM = 1u << 16;

constexpr uint32_t CLAP_PARAM_RESCAN_VALUES = 1u << 0;
constexpr uint32_t CLAP_PARAM_RESCAN_TEXT = 1u << 1;
constexpr uint32_t CLAP_PARAM_RESCAN_INFO = 1u << 2;
constexpr uint32_t CLAP_PARAM_RESCAN_ALL = 1u << 3;

struct clap_param_info_t {
    clap_id id;
    uint32_t flags;
    void* cookie;
    char name[CLAP_NAME_SIZE];
    char module[CLAP_PATH_SIZE];
    double min_value;
    double max_value;
    double default_value;
};

struct clap_plugin_params_t {
    uint32_t(CLAP_ABI* count)(const clap_plugin_t* plugin);
    bool(CLAP_ABI* get_info)(const clap_plugin_t* plugin, uint32_t param_index, clap_param_info_t* param_info);
    bool(CLAP_ABI* get_value)(const clap_plugin_t* plugin, clap_id param_id, double* out_value);
    bool(CLAP_ABI* value_to_text)(const clap_plugin_t* plugin, clap_id param_id, double value, char* out_buffer,
                                  uint32_t out_buffer_capacity);
    bool(CLAP_ABI* text_to_value)(const clap_plugin_t* plugin, clap_id param_id, const char* param_value_text,
                                  double* out_value);
    void(CLAP_ABI* flush)(const clap_plugin_t* plugin, const clap_input_events_t* in,
                          const clap_output_events_t* out);
};

struct clap_host_params_t {
    void(CLAP_ABI* rescan)(const clap_host_t* host, uint32_t flags);
    void(CLAP_ABI* clear)(const clap_host_t* host, clap_id param_id, uint32_t flags);
    void(CLAP_ABI* request_flush)(const clap_host_t* host);
};

// --- state ---
struct clap_istream_t {
    void* ctx;
    int64_t(CLAP_ABI* read)(const clap_istream_t* stream, void* buffer, uint64_t size);
};

struct clap_ostream_t {
    void* ctx;
    int64_t(CLAP_ABI* write)(const clap_ostream_t* stream, const void* buffer, uint64_t size);
};

struct clap_plugin_state_t {
    bool(CLAP_ABI* save)(const clap_plugin_t* plugin, const clap_ostream_t* stream);
    bool(CLAP_ABI* load)(const clap_plugin_t* plugin, const clap_istream_t* stream);
};

struct clap_host_state_t {
    void(CLAP_ABI* mark_dirty)(const clap_host_t* host);
};

// --- gui ---
inline constexpr char CLAP_WINDOW_API_X11[] = "x11";
inline constexpr char CLAP_WINDOW_API_WIN32[] = "win32";

struct clap_window_t {
    const char* api;
    union {
        unsigned long x11;
        void* win32;
        void* ptr;
    };
};

struct clap_gui_resize_hints_t {
    bool can_resize_horizontally;
    bool can_resize_vertically;
    bool preserve_aspect_ratio;
    uint32_t aspect_ratio_width;
    uint32_t aspect_ratio_height;
};

struct clap_plugin_gui_t {
    bool(CLAP_ABI* is_api_supported)(const clap_plugin_t* plugin, const char* api, bool is_floating);
    bool(CLAP_ABI* get_preferred_api)(const clap_plugin_t* plugin, const char** api, bool* is_floating);
    bool(CLAP_ABI* create)(const clap_plugin_t* plugin, const char* api, bool is_floating);
    void(CLAP_ABI* destroy)(const clap_plugin_t* plugin);
    bool(CLAP_ABI* set_scale)(const clap_plugin_t* plugin, double scale);
    bool(CLAP_ABI* get_size)(const clap_plugin_t* plugin, uint32_t* width, uint32_t* height);
    bool(CLAP_ABI* can_resize)(const clap_plugin_t* plugin);
    bool(CLAP_ABI* get_resize_hints)(const clap_plugin_t* plugin, clap_gui_resize_hints_t* hints);
    bool(CLAP_ABI* adjust_size)(const clap_plugin_t* plugin, uint32_t* width, uint32_t* height);
    bool(CLAP_ABI* set_size)(const clap_plugin_t* plugin, uint32_t width, uint32_t height);
    bool(CLAP_ABI* set_parent)(const clap_plugin_t* plugin, const clap_window_t* window);
    bool(CLAP_ABI* set_transient)(const clap_plugin_t* plugin, const clap_window_t* window);
    void(CLAP_ABI* suggest_title)(const clap_plugin_t* plugin, const char* title);
    bool(CLAP_ABI* show)(const clap_plugin_t* plugin);
    bool(CLAP_ABI* hide)(const clap_plugin_t* plugin);
};

struct clap_host_gui_t {
    void(CLAP_ABI* resize_hints_changed)(const clap_host_t* host);
    bool(CLAP_ABI* request_resize)(const clap_host_t* host, uint32_t width, uint32_t height);
    bool(CLAP_ABI* request_show)(const clap_host_t* host);
    bool(CLAP_ABI* request_hide)(const clap_host_t* host);
    void(CLAP_ABI* closed)(const clap_host_t* host, bool was_destroyed);
};

// --- posix-fd-support and timer-support ---
constexpr uint32_t CLAP_POSIX_FD_READ = 1u << 0;
constexpr uint32_t CLAP_POSIX_FD_WRITE = 1u << 1;
constexpr uint32_t CLAP_POSIX_FD_ERROR = 1u << 2;

struct clap_plugin_posix_fd_support_t {
    void(CLAP_ABI* on_fd)(const clap_plugin_t* plugin, int fd, uint32_t flags);
};

struct clap_host_posix_fd_support_t {
    bool(CLAP_ABI* register_fd)(const clap_host_t* host, int fd, uint32_t flags);
    bool(CLAP_ABI* modify_fd)(const clap_host_t* host, int fd, uint32_t flags);
    bool(CLAP_ABI* unregister_fd)(const clap_host_t* host, int fd);
};

struct clap_plugin_timer_support_t {
    void(CLAP_ABI* on_timer)(const clap_plugin_t* plugin, clap_id timer_id);
};

struct clap_host_timer_support_t {
    bool(CLAP_ABI* register_timer)(const clap_host_t* host, uint32_t period_ms, clap_id* timer_id);
    bool(CLAP_ABI* unregister_timer)(const clap_host_t* host, clap_id timer_id);
};

// --- latency, tail, render ---
struct clap_plugin_latency_t {
    uint32_t(CLAP_ABI* get)(const clap_plugin_t* plugin);
};

struct clap_plugin_tail_t {
    uint32_t(CLAP_ABI* get)(const clap_plugin_t* plugin);
};

constexpr int32_t CLAP_RENDER_REALTIME = 0;
constexpr int32_t CLAP_RENDER_OFFLINE = 1;

struct clap_plugin_render_t {
    bool(CLAP_ABI* has_hard_realtime_requirement)(const clap_plugin_t* plugin);
    bool(CLAP_ABI* set)(const clap_plugin_t* plugin, int32_t mode);
};

// --- log (host side) ---
constexpr int32_t CLAP_LOG_DEBUG = 0;
constexpr int32_t CLAP_LOG_INFO = 1;
constexpr int32_t CLAP_LOG_WARNING = 2;
constexpr int32_t CLAP_LOG_ERROR = 3;
constexpr int32_t CLAP_LOG_HOST_MISBEHAVING = 5;

struct clap_host_log_t {
    void(CLAP_ABI* log)(const clap_host_t* host, int32_t severity, const char* msg);
};

}  // extern "C"

#ifndef CLAP_LAYOUT_UNCHECKED
CLAP_SIZE(clap_audio_port_info_t, 288, 276);
CLAP_OFFSET(clap_audio_port_info_t, id, 0, 0);
CLAP_OFFSET(clap_audio_port_info_t, name, 4, 4);
CLAP_OFFSET(clap_audio_port_info_t, flags, 260, 260);
CLAP_OFFSET(clap_audio_port_info_t, channel_count, 264, 264);
CLAP_OFFSET(clap_audio_port_info_t, port_type, 272, 268);
CLAP_OFFSET(clap_audio_port_info_t, in_place_pair, 280, 272);
CLAP_SIZE(clap_plugin_audio_ports_t, 16, 8);
CLAP_OFFSET(clap_plugin_audio_ports_t, get, 8, 4);

CLAP_SIZE(clap_note_port_info_t, 268, 268);
CLAP_OFFSET(clap_note_port_info_t, supported_dialects, 4, 4);
CLAP_OFFSET(clap_note_port_info_t, preferred_dialect, 8, 8);
CLAP_OFFSET(clap_note_port_info_t, name, 12, 12);
CLAP_SIZE(clap_plugin_note_ports_t, 16, 8);
CLAP_OFFSET(clap_plugin_note_ports_t, get, 8, 4);

CLAP_SIZE(clap_param_info_t, 1320, 1320);
CLAP_OFFSET(clap_param_info_t, id, 0, 0);
CLAP_OFFSET(clap_param_info_t, flags, 4, 4);
CLAP_OFFSET(clap_param_info_t, cookie, 8, 8);
CLAP_OFFSET(clap_param_info_t, name, 16, 12);
CLAP_OFFSET(clap_param_info_t, module, 272, 268);
CLAP_OFFSET(clap_param_info_t, min_value, 1296, 1296);
CLAP_OFFSET(clap_param_info_t, max_value, 1304, 1304);
CLAP_OFFSET(clap_param_info_t, default_value, 1312, 1312);
CLAP_SIZE(clap_plugin_params_t, 48, 24);
CLAP_OFFSET(clap_plugin_params_t, get_info, 8, 4);
CLAP_OFFSET(clap_plugin_params_t, get_value, 16, 8);
CLAP_OFFSET(clap_plugin_params_t, value_to_text, 24, 12);
CLAP_OFFSET(clap_plugin_params_t, text_to_value, 32, 16);
CLAP_OFFSET(clap_plugin_params_t, flush, 40, 20);
CLAP_SIZE(clap_host_params_t, 24, 12);
CLAP_OFFSET(clap_host_params_t, clear, 8, 4);
CLAP_OFFSET(clap_host_params_t, request_flush, 16, 8);

CLAP_SIZE(clap_istream_t, 16, 8);
CLAP_OFFSET(clap_istream_t, read, 8, 4);
CLAP_SIZE(clap_ostream_t, 16, 8);
CLAP_OFFSET(clap_ostream_t, write, 8, 4);
CLAP_SIZE(clap_plugin_state_t, 16, 8);
CLAP_OFFSET(clap_plugin_state_t, load, 8, 4);
CLAP_SIZE(clap_host_state_t, 8, 4);

CLAP_SIZE(clap_window_t, 16, 8);
CLAP_OFFSET(clap_window_t, x11, 8, 4);
CLAP_OFFSET(clap_window_t, win32, 8, 4);
CLAP_SIZE(clap_gui_resize_hints_t, 12, 12);
CLAP_OFFSET(clap_gui_resize_hints_t, can_resize_vertically, 1, 1);
CLAP_OFFSET(clap_gui_resize_hints_t, preserve_aspect_ratio, 2, 2);
CLAP_OFFSET(clap_gui_resize_hints_t, aspect_ratio_width, 4, 4);
CLAP_OFFSET(clap_gui_resize_hints_t, aspect_ratio_height, 8, 8);
CLAP_SIZE(clap_plugin_gui_t, 120, 60);
CLAP_OFFSET(clap_plugin_gui_t, get_preferred_api, 8, 4);
CLAP_OFFSET(clap_plugin_gui_t, create, 16, 8);
CLAP_OFFSET(clap_plugin_gui_t, destroy, 24, 12);
CLAP_OFFSET(clap_plugin_gui_t, set_scale, 32, 16);
CLAP_OFFSET(clap_plugin_gui_t, get_size, 40, 20);
CLAP_OFFSET(clap_plugin_gui_t, can_resize, 48, 24);
CLAP_OFFSET(clap_plugin_gui_t, get_resize_hints, 56, 28);
CLAP_OFFSET(clap_plugin_gui_t, adjust_size, 64, 32);
CLAP_OFFSET(clap_plugin_gui_t, set_size, 72, 36);
CLAP_OFFSET(clap_plugin_gui_t, set_parent, 80, 40);
CLAP_OFFSET(clap_plugin_gui_t, set_transient, 88, 44);
CLAP_OFFSET(clap_plugin_gui_t, suggest_title, 96, 48);
CLAP_OFFSET(clap_plugin_gui_t, show, 104, 52);
CLAP_OFFSET(clap_plugin_gui_t, hide, 112, 56);
CLAP_SIZE(clap_host_gui_t, 40, 20);
CLAP_OFFSET(clap_host_gui_t, request_resize, 8, 4);
CLAP_OFFSET(clap_host_gui_t, request_show, 16, 8);
CLAP_OFFSET(clap_host_gui_t, request_hide, 24, 12);
CLAP_OFFSET(clap_host_gui_t, closed, 32, 16);

CLAP_SIZE(clap_plugin_posix_fd_support_t, 8, 4);
CLAP_SIZE(clap_host_posix_fd_support_t, 24, 12);
CLAP_OFFSET(clap_host_posix_fd_support_t, modify_fd, 8, 4);
CLAP_OFFSET(clap_host_posix_fd_support_t, unregister_fd, 16, 8);
CLAP_SIZE(clap_plugin_timer_support_t, 8, 4);
CLAP_SIZE(clap_host_timer_support_t, 16, 8);
CLAP_OFFSET(clap_host_timer_support_t, unregister_timer, 8, 4);
CLAP_SIZE(clap_plugin_latency_t, 8, 4);
CLAP_SIZE(clap_plugin_tail_t, 8, 4);
CLAP_SIZE(clap_plugin_render_t, 16, 8);
CLAP_OFFSET(clap_plugin_render_t, set, 8, 4);
CLAP_SIZE(clap_host_log_t, 8, 4);
#endif
