// The CLAP binary interface, core part: version, entry, factory, descriptor, host, plug-in,
// processing and events. Declared by us from the published layout; every size and offset is
// asserted below for LP64 (Linux x86-64, aarch64, Win64 agree) and for 32-bit Windows.
#pragma once

#include <cstddef>
#include <cstdint>

#if defined(_WIN32)
#define CLAP_ABI __cdecl
#else
#define CLAP_ABI
#endif

extern "C" {

using clap_id = uint32_t;
constexpr clap_id CLAP_INVALID_ID = 0xFFFFFFFFu;
constexpr uint32_t CLAP_NAME_SIZE = 256;
constexpr uint32_t CLAP_PATH_SIZE = 1024;
constexpr double CLAP_BEATTIME_FACTOR = 2147483648.0;
constexpr double CLAP_SECTIME_FACTOR = 2147483648.0;
constexpr uint16_t CLAP_CORE_EVENT_SPACE_ID = 0;
inline constexpr char CLAP_PLUGIN_FACTORY_ID[] = "clap.plugin-factory";

struct clap_version_t {
    uint32_t major;
    uint32_t minor;
    uint32_t revision;
};
constexpr clap_version_t CLAP_VERSION = {1, 2, 10};

struct clap_plugin_entry_t {
    clap_version_t clap_version;
    bool(CLAP_ABI* init)(const char* plugin_path);
    void(CLAP_ABI* deinit)(void);
    const void*(CLAP_ABI* get_factory)(const char* factory_id);
};

struct clap_plugin_descriptor_t {
    clap_version_t clap_version;
    const char* id;
    const char* name;
    const char* vendor;
    const char* url;
    const char* manual_url;
    const char* support_url;
    const char* version;
    const char* description;
    const char* const* features;
};

struct clap_host_t {
    clap_version_t clap_version;
    void* host_data;
    const char* name;
    const char* vendor;
    const char* url;
    const char* version;
    const void*(CLAP_ABI* get_extension)(const clap_host_t* host, const char* extension_id);
    void(CLAP_ABI* request_restart)(const clap_host_t* host);
    void(CLAP_ABI* request_process)(const clap_host_t* host);
    void(CLAP_ABI* request_callback)(const clap_host_t* host);
};

struct clap_process_t;

struct clap_plugin_t {
    const clap_plugin_descriptor_t* desc;
    void* plugin_data;
    bool(CLAP_ABI* init)(const clap_plugin_t* plugin);
    void(CLAP_ABI* destroy)(const clap_plugin_t* plugin);
    bool(CLAP_ABI* activate)(const clap_plugin_t* plugin, double sample_rate, uint32_t min_frames_count,
                             uint32_t max_frames_count);
    void(CLAP_ABI* deactivate)(const clap_plugin_t* plugin);
    bool(CLAP_ABI* start_processing)(const clap_plugin_t* plugin);
    void(CLAP_ABI* stop_processing)(const clap_plugin_t* plugin);
    void(CLAP_ABI* reset)(const clap_plugin_t* plugin);
    int32_t(CLAP_ABI* process)(const clap_plugin_t* plugin, const clap_process_t* process);
    const void*(CLAP_ABI* get_extension)(const clap_plugin_t* plugin, const char* id);
    void(CLAP_ABI* on_main_thread)(const clap_plugin_t* plugin);
};

struct clap_plugin_factory_t {
    uint32_t(CLAP_ABI* get_plugin_count)(const clap_plugin_factory_t* factory);
    const clap_plugin_descriptor_t*(CLAP_ABI* get_plugin_descriptor)(const clap_plugin_factory_t* factory,
                                                                      uint32_t index);
    const clap_plugin_t*(CLAP_ABI* create_plugin)(const clap_plugin_factory_t* factory, const clap_host_t* host,
                                                   const char* plugin_id);
};

// --- events ---

struct clap_event_header_t {
    uint32_t size;
    uint32_t time;
    uint16_t space_id;
    uint16_t type;
    uint32_t flags;
};

constexpr uint32_t CLAP_EVENT_IS_LIVE = 1u << 0;
constexpr uint32_t CLAP_EVENT_DONT_RECORD = 1u << 1;

constexpr uint16_t CLAP_EVENT_NOTE_ON = 0;
constexpr uint16_t CLAP_EVENT_NOTE_OFF = 1;
constexpr uint16_t CLAP_EVENT_NOTE_CHOKE = 2;
constexpr uint16_t CLAP_EVENT_NOTE_END = 3;
constexpr uint16_t CLAP_EVENT_NOTE_EXPRESSION = 4;
constexpr uint16_t CLAP_EVENT_PARAM_VALUE = 5;
constexpr uint16_t CLAP_EVENT_PARAM_MOD = 6;
constexpr uint16_t CLAP_EVENT_PARAM_GESTURE_BEGIN = 7;
constexpr uint16_t CLAP_EVENT_PARAM_GESTURE_END = 8;
constexpr uint16_t CLAP_EVENT_TRANSPORT = 9;
constexpr uint16_t CLAP_EVENT_MIDI = 10;
constexpr uint16_t CLAP_EVENT_MIDI_SYSEX = 11;
constexpr uint16_t CLAP_EVENT_MIDI2 = 12;

struct clap_event_note_t {
    clap_event_header_t header;
    int32_t note_id;
    int16_t port_index;
    int16_t channel;
    int16_t key;
    double velocity;
};

struct clap_event_midi_t {
    clap_event_header_t header;
    uint16_t port_index;
    uint8_t data[3];
};

struct clap_event_param_value_t {
    clap_event_header_t header;
    clap_id param_id;
    void* cookie;
    int32_t note_id;
    int16_t port_index;
    int16_t channel;
    int16_t key;
    double value;
};

struct clap_event_param_gesture_t {
    clap_event_header_t header;
    clap_id param_id;
};

constexpr uint32_t CLAP_TRANSPORT_HAS_TEMPO = 1u << 0;
constexpr uint32_t CLAP_TRANSPORT_HAS_BEATS_TIMELINE = 1u << 1;
constexpr uint32_t CLAP_TRANSPORT_HAS_SECONDS_TIMELINE = 1u << 2;
constexpr uint32_t CLAP_TRANSPORT_HAS_TIME_SIGNATURE = 1u << 3;
constexpr uint32_t CLAP_TRANSPORT_IS_PLAYING = 1u << 4;
constexpr uint32_t CLAP_TRANSPORT_IS_RECORDING = 1u << 5;
constexpr uint32_t CLAP_TRANSPORT_IS_LOOP_ACTIVE = 1u << 6;
constexpr uint32_t CLAP_TRANSPORT_IS_WITHIN_PRE_ROLL = 1u << 7;

struct clap_event_transport_t {
    clap_event_header_t header;
    uint32_t flags;
    int64_t song_pos_beats;
    int64_t song_pos_seconds;
    double tempo;
    double tempo_inc;
    int64_t loop_start_beats;
    int64_t loop_end_beats;
    int64_t loop_start_seconds;
    int64_t loop_end_seconds;
    int64_t bar_start;
    int32_t bar_number;
    uint16_t tsig_num;
    uint16_t tsig_denom;
};

struct clap_input_events_t {
    void* ctx;
    uint32_t(CLAP_ABI* size)(const clap_input_events_t* list);
    const clap_event_header_t*(CLAP_ABI* get)(const clap_input_events_t* list, uint32_t index);
};

struct clap_output_events_t {
    void* ctx;
    bool(CLAP_ABI* try_push)(const clap_output_events_t* list, const clap_event_header_t* event);
};

// --- processing ---

struct clap_audio_buffer_t {
    float** data32;
    double** data64;
    uint32_t channel_count;
    uint32_t latency;
    uint64_t constant_mask;
};

struct clap_process_t {
    int64_t steady_time;
    uint32_t frames_count;
    const clap_event_transport_t* transport;
    const clap_audio_buffer_t* audio_inputs;
    clap_audio_buffer_t* audio_outputs;
    uint32_t audio_inputs_count;
    uint32_t audio_outputs_count;
    const clap_input_events_t* in_events;
    const clap_output_events_t* out_events;
};

constexpr int32_t CLAP_PROCESS_ERROR = 0;
constexpr int32_t CLAP_PROCESS_CONTINUE = 1;
constexpr int32_t CLAP_PROCESS_CONTINUE_IF_NOT_QUIET = 2;
constexpr int32_t CLAP_PROCESS_TAIL = 3;
constexpr int32_t CLAP_PROCESS_SLEEP = 4;

}  // extern "C"

// Sizes and offsets: the first number on LP64 targets, the second on 32-bit Windows.
#if UINTPTR_MAX > 0xFFFFFFFFu
#define CLAP_LAYOUT(lp64, w32) (lp64)
#elif defined(_WIN32)
#define CLAP_LAYOUT(lp64, w32) (w32)
#else
#define CLAP_LAYOUT_UNCHECKED
#endif

#ifndef CLAP_LAYOUT_UNCHECKED
#define CLAP_SIZE(type, lp64, w32) static_assert(sizeof(type) == CLAP_LAYOUT(lp64, w32), #type " size")
#define CLAP_OFFSET(type, field, lp64, w32) \
    static_assert(offsetof(type, field) == CLAP_LAYOUT(lp64, w32), #type "." #field " offset")

CLAP_SIZE(clap_version_t, 12, 12);
CLAP_OFFSET(clap_version_t, major, 0, 0);
CLAP_OFFSET(clap_version_t, minor, 4, 4);
CLAP_OFFSET(clap_version_t, revision, 8, 8);

CLAP_SIZE(clap_plugin_entry_t, 40, 24);
CLAP_OFFSET(clap_plugin_entry_t, clap_version, 0, 0);
CLAP_OFFSET(clap_plugin_entry_t, init, 16, 12);
CLAP_OFFSET(clap_plugin_entry_t, deinit, 24, 16);
CLAP_OFFSET(clap_plugin_entry_t, get_factory, 32, 20);

CLAP_SIZE(clap_plugin_factory_t, 24, 12);
CLAP_OFFSET(clap_plugin_factory_t, get_plugin_count, 0, 0);
CLAP_OFFSET(clap_plugin_factory_t, get_plugin_descriptor, 8, 4);
CLAP_OFFSET(clap_plugin_factory_t, create_plugin, 16, 8);

CLAP_SIZE(clap_plugin_descriptor_t, 88, 48);
CLAP_OFFSET(clap_plugin_descriptor_t, clap_version, 0, 0);
CLAP_OFFSET(clap_plugin_descriptor_t, id, 16, 12);
CLAP_OFFSET(clap_plugin_descriptor_t, name, 24, 16);
CLAP_OFFSET(clap_plugin_descriptor_t, vendor, 32, 20);
CLAP_OFFSET(clap_plugin_descriptor_t, url, 40, 24);
CLAP_OFFSET(clap_plugin_descriptor_t, manual_url, 48, 28);
CLAP_OFFSET(clap_plugin_descriptor_t, support_url, 56, 32);
CLAP_OFFSET(clap_plugin_descriptor_t, version, 64, 36);
CLAP_OFFSET(clap_plugin_descriptor_t, description, 72, 40);
CLAP_OFFSET(clap_plugin_descriptor_t, features, 80, 44);

CLAP_SIZE(clap_host_t, 88, 48);
CLAP_OFFSET(clap_host_t, clap_version, 0, 0);
CLAP_OFFSET(clap_host_t, host_data, 16, 12);
CLAP_OFFSET(clap_host_t, name, 24, 16);
CLAP_OFFSET(clap_host_t, vendor, 32, 20);
CLAP_OFFSET(clap_host_t, url, 40, 24);
CLAP_OFFSET(clap_host_t, version, 48, 28);
CLAP_OFFSET(clap_host_t, get_extension, 56, 32);
CLAP_OFFSET(clap_host_t, request_restart, 64, 36);
CLAP_OFFSET(clap_host_t, request_process, 72, 40);
CLAP_OFFSET(clap_host_t, request_callback, 80, 44);

CLAP_SIZE(clap_plugin_t, 96, 48);
CLAP_OFFSET(clap_plugin_t, desc, 0, 0);
CLAP_OFFSET(clap_plugin_t, plugin_data, 8, 4);
CLAP_OFFSET(clap_plugin_t, init, 16, 8);
CLAP_OFFSET(clap_plugin_t, destroy, 24, 12);
CLAP_OFFSET(clap_plugin_t, activate, 32, 16);
CLAP_OFFSET(clap_plugin_t, deactivate, 40, 20);
CLAP_OFFSET(clap_plugin_t, start_processing, 48, 24);
CLAP_OFFSET(clap_plugin_t, stop_processing, 56, 28);
CLAP_OFFSET(clap_plugin_t, reset, 64, 32);
CLAP_OFFSET(clap_plugin_t, process, 72, 36);
CLAP_OFFSET(clap_plugin_t, get_extension, 80, 40);
CLAP_OFFSET(clap_plugin_t, on_main_thread, 88, 44);

CLAP_SIZE(clap_process_t, 64, 40);
CLAP_OFFSET(clap_process_t, steady_time, 0, 0);
CLAP_OFFSET(clap_process_t, frames_count, 8, 8);
CLAP_OFFSET(clap_process_t, transport, 16, 12);
CLAP_OFFSET(clap_process_t, audio_inputs, 24, 16);
CLAP_OFFSET(clap_process_t, audio_outputs, 32, 20);
CLAP_OFFSET(clap_process_t, audio_inputs_count, 40, 24);
CLAP_OFFSET(clap_process_t, audio_outputs_count, 44, 28);
CLAP_OFFSET(clap_process_t, in_events, 48, 32);
CLAP_OFFSET(clap_process_t, out_events, 56, 36);

CLAP_SIZE(clap_audio_buffer_t, 32, 24);
CLAP_OFFSET(clap_audio_buffer_t, data32, 0, 0);
CLAP_OFFSET(clap_audio_buffer_t, data64, 8, 4);
CLAP_OFFSET(clap_audio_buffer_t, channel_count, 16, 8);
CLAP_OFFSET(clap_audio_buffer_t, latency, 20, 12);
CLAP_OFFSET(clap_audio_buffer_t, constant_mask, 24, 16);

CLAP_SIZE(clap_event_header_t, 16, 16);
CLAP_OFFSET(clap_event_header_t, size, 0, 0);
CLAP_OFFSET(clap_event_header_t, time, 4, 4);
CLAP_OFFSET(clap_event_header_t, space_id, 8, 8);
CLAP_OFFSET(clap_event_header_t, type, 10, 10);
CLAP_OFFSET(clap_event_header_t, flags, 12, 12);

CLAP_SIZE(clap_event_note_t, 40, 40);
CLAP_OFFSET(clap_event_note_t, note_id, 16, 16);
CLAP_OFFSET(clap_event_note_t, port_index, 20, 20);
CLAP_OFFSET(clap_event_note_t, channel, 22, 22);
CLAP_OFFSET(clap_event_note_t, key, 24, 24);
CLAP_OFFSET(clap_event_note_t, velocity, 32, 32);

CLAP_SIZE(clap_event_midi_t, 24, 24);
CLAP_OFFSET(clap_event_midi_t, port_index, 16, 16);
CLAP_OFFSET(clap_event_midi_t, data, 18, 18);

CLAP_SIZE(clap_event_param_value_t, 56, 48);
CLAP_OFFSET(clap_event_param_value_t, param_id, 16, 16);
CLAP_OFFSET(clap_event_param_value_t, cookie, 24, 20);
CLAP_OFFSET(clap_event_param_value_t, note_id, 32, 24);
CLAP_OFFSET(clap_event_param_value_t, port_index, 36, 28);
CLAP_OFFSET(clap_event_param_value_t, channel, 38, 30);
CLAP_OFFSET(clap_event_param_value_t, key, 40, 32);
CLAP_OFFSET(clap_event_param_value_t, value, 48, 40);

CLAP_SIZE(clap_event_param_gesture_t, 20, 20);
CLAP_OFFSET(clap_event_param_gesture_t, param_id, 16, 16);

CLAP_SIZE(clap_event_transport_t, 104, 104);
CLAP_OFFSET(clap_event_transport_t, flags, 16, 16);
CLAP_OFFSET(clap_event_transport_t, song_pos_beats, 24, 24);
CLAP_OFFSET(clap_event_transport_t, song_pos_seconds, 32, 32);
CLAP_OFFSET(clap_event_transport_t, tempo, 40, 40);
CLAP_OFFSET(clap_event_transport_t, tempo_inc, 48, 48);
CLAP_OFFSET(clap_event_transport_t, loop_start_beats, 56, 56);
CLAP_OFFSET(clap_event_transport_t, loop_end_beats, 64, 64);
CLAP_OFFSET(clap_event_transport_t, loop_start_seconds, 72, 72);
CLAP_OFFSET(clap_event_transport_t, loop_end_seconds, 80, 80);
CLAP_OFFSET(clap_event_transport_t, bar_start, 88, 88);
CLAP_OFFSET(clap_event_transport_t, bar_number, 96, 96);
CLAP_OFFSET(clap_event_transport_t, tsig_num, 100, 100);
CLAP_OFFSET(clap_event_transport_t, tsig_denom, 102, 102);

CLAP_SIZE(clap_input_events_t, 24, 12);
CLAP_OFFSET(clap_input_events_t, size, 8, 4);
CLAP_OFFSET(clap_input_events_t, get, 16, 8);
CLAP_SIZE(clap_output_events_t, 16, 8);
CLAP_OFFSET(clap_output_events_t, try_push, 8, 4);
#endif
