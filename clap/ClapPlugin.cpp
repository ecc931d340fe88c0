// ClapPlugin: life cycle, the block with its events, and the editor's edits for the host.
#include "clap/ClapPlugin.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "clap/ClapDescriptor.h"
#include "clap/ClapGui.h"
#include "clap/Extensions.h"
#include "plugin/MidiNote.h"

namespace {

// The host's transport record as the neutral plug-in takes it: each field only when the host
// says it holds one (no tempo: the plug-in plays at 120 BPM, as without a record at all).
Transport transportOf(const clap_event_transport_t* record) {
    Transport transport;
    if (!record) return transport;
    if ((record->flags & CLAP_TRANSPORT_HAS_TEMPO) != 0 && std::isfinite(record->tempo) && record->tempo > 0.0) {
        transport.hasTempo = true;
        transport.tempo = record->tempo;
    }
    if ((record->flags & CLAP_TRANSPORT_HAS_BEATS_TIMELINE) != 0) {
        transport.hasPosition = true;
        transport.beatPosition = static_cast<double>(record->song_pos_beats) / CLAP_BEATTIME_FACTOR;
    }
    transport.playing = (record->flags & CLAP_TRANSPORT_IS_PLAYING) != 0;
    return transport;
}

bool usable(const clap_audio_buffer_t* buffers, uint32_t count) {
    return buffers && count >= 1 && buffers[0].data32 && buffers[0].channel_count >= 2 && buffers[0].data32[0] &&
           buffers[0].data32[1];
}

// The events the neutral plug-in acts on at once, outside a block.
void applyNow(FreezePlugin& plugin, const TimedEvent& event) {
    if (event.type == EventType::control)
        plugin.setControl(event.number, event.value);
    else if (event.type == EventType::noteOn)
        plugin.noteOn(event.number, 0);
    else
        plugin.noteOff();
}

// A host event in the neutral plug-in's terms; false for one it does not act on.
bool timedEventOf(const clap_event_header_t& header, TimedEvent& event) {
    switch (header.type) {
    case CLAP_EVENT_PARAM_VALUE: {
        if (header.size < sizeof(clap_event_param_value_t)) return false;
        const auto& value = reinterpret_cast<const clap_event_param_value_t&>(header);
        if (value.param_id >= static_cast<clap_id>(kNumControls)) return false;
        event = {0, EventType::control, static_cast<int32_t>(value.param_id), static_cast<float>(value.value)};
        return true;
    }
    case CLAP_EVENT_NOTE_ON:
    case CLAP_EVENT_NOTE_OFF:
    case CLAP_EVENT_NOTE_CHOKE: {
        if (header.size < sizeof(clap_event_note_t)) return false;
        const auto& note = reinterpret_cast<const clap_event_note_t&>(header);
        if (header.type != CLAP_EVENT_NOTE_ON) {
            event = {0, EventType::noteOff, note.key, 0.0f};
            return true;
        }
        if (note.key < 0 || note.key > 127) return false;
        const double velocity = std::isfinite(note.velocity) ? std::clamp(note.velocity, 0.0, 1.0) : 0.0;
        event = {0, EventType::noteOn, note.key, static_cast<float>(std::max(1.0, std::round(velocity * 127.0)))};
        return true;
    }
    case CLAP_EVENT_MIDI: {
        if (header.size < sizeof(clap_event_midi_t)) return false;
        const auto& midi = reinterpret_cast<const clap_event_midi_t&>(header);
        return noteOfMidi(midi.data, 3, event);
    }
    default: return false;
    }
}

}  // namespace

ClapPlugin::ClapPlugin(const clap_host_t* host)
    : clapHost(host), freeze(new FreezePlugin), events(new TimedEvent[kEventCapacity]) {
    clapRecord.desc = &kClapDescriptor;
    clapRecord.plugin_data = this;
    clapRecord.init = init;
    clapRecord.destroy = destroy;
    clapRecord.activate = activate;
    clapRecord.deactivate = deactivate;
    clapRecord.start_processing = startProcessing;
    clapRecord.stop_processing = stopProcessing;
    clapRecord.reset = reset;
    clapRecord.process = process;
    clapRecord.get_extension = extension;
    clapRecord.on_main_thread = onMainThread;
}

ClapPlugin::~ClapPlugin() {
    gui.reset();
    freeze->setEditSink(nullptr);
}

ClapPlugin* ClapPlugin::of(const clap_plugin_t* plugin) {
    return plugin ? static_cast<ClapPlugin*>(plugin->plugin_data) : nullptr;
}

bool ClapPlugin::init(const clap_plugin_t* plugin) {
    ClapPlugin* self = of(plugin);
    if (!self) return false;
    const clap_host_t* host = self->clapHost;
    if (host && host->get_extension) {
        self->hostParamsTable = static_cast<const clap_host_params_t*>(host->get_extension(host, CLAP_EXT_PARAMS));
        self->hostGuiTable = static_cast<const clap_host_gui_t*>(host->get_extension(host, CLAP_EXT_GUI));
        self->hostFdTable = static_cast<const clap_host_posix_fd_support_t*>(
            host->get_extension(host, CLAP_EXT_POSIX_FD_SUPPORT));
        self->hostTimerTable =
            static_cast<const clap_host_timer_support_t*>(host->get_extension(host, CLAP_EXT_TIMER_SUPPORT));
    }
    self->freeze->setEditSink(self);
    return true;
}

void ClapPlugin::destroy(const clap_plugin_t* plugin) { delete of(plugin); }

// As a VST 2 host switches the effect on: the freeze buffers start empty.
bool ClapPlugin::activate(const clap_plugin_t* plugin, double rate, uint32_t, uint32_t) {
    ClapPlugin* self = of(plugin);
    if (!self || !(rate > 0.0) || !std::isfinite(rate)) return false;
    self->freeze->setSampleRate(rate);
    self->freeze->clearBuffers();
    self->transport = Transport{};
    self->active = true;
    return true;
}

void ClapPlugin::deactivate(const clap_plugin_t* plugin) {
    if (ClapPlugin* self = of(plugin)) self->active = false;
}

bool ClapPlugin::startProcessing(const clap_plugin_t* plugin) { return of(plugin) != nullptr; }

void ClapPlugin::stopProcessing(const clap_plugin_t*) {}

void ClapPlugin::reset(const clap_plugin_t* plugin) {
    if (ClapPlugin* self = of(plugin)) self->freeze->clearBuffers();
}

int32_t ClapPlugin::process(const clap_plugin_t* plugin, const clap_process_t* process) {
    ClapPlugin* self = of(plugin);
    if (!self || !process) return CLAP_PROCESS_ERROR;
    return self->processBlock(*process);
}

const void* ClapPlugin::extension(const clap_plugin_t*, const char* id) { return clapExtension(id); }

void ClapPlugin::onMainThread(const clap_plugin_t*) {}

int32_t ClapPlugin::processBlock(const clap_process_t& process) {
    const uint32_t frames = process.frames_count;
    if (!usable(process.audio_outputs, process.audio_outputs_count) || frames > 0x7FFFFFFFu) {
        // No audio can be written; the host's values still count.
        flush(process.in_events, process.out_events);
        return frames == 0 ? CLAP_PROCESS_CONTINUE : CLAP_PROCESS_ERROR;
    }
    process.audio_outputs[0].constant_mask = 0;
    transport = transportOf(process.transport);
    eventCount = 0;
    uint32_t start = 0;
    const clap_input_events_t* in = process.in_events;
    const uint32_t count = in && in->size && in->get ? in->size(in) : 0;
    for (uint32_t i = 0; i < count; ++i) {
        const clap_event_header_t* header = in->get(in, i);
        if (!header || header->space_id != CLAP_CORE_EVENT_SPACE_ID) continue;
        // Out of order or beyond the block: at the nearest frame that can still take it.
        const uint32_t at = std::max(start, std::min(header->time, frames > 0 ? frames - 1 : 0));
        takeEvent(*header, at, start, process);
    }
    runPart(process, start, frames);
    if (!edits.empty()) pushEdits(process.out_events);
    // A held or repeating loop sounds on with silent input.
    return CLAP_PROCESS_CONTINUE;
}

void ClapPlugin::takeEvent(const clap_event_header_t& header, uint32_t at, uint32_t& start,
                           const clap_process_t& process) {
    if (header.type == CLAP_EVENT_TRANSPORT) {
        if (header.size < sizeof(clap_event_transport_t)) return;
        // A new tempo from its frame on: the block is split there.
        splitAt(process, start, at);
        transport = transportOf(&reinterpret_cast<const clap_event_transport_t&>(header));
        return;
    }
    TimedEvent event;
    if (!timedEventOf(header, event)) return;
    if (eventCount == kEventCapacity) splitAt(process, start, at);
    event.frame = static_cast<int32_t>(at - start);
    events[eventCount++] = event;
}

// Inlined: nearly every block is one part, and this is all the adapter's work on it.
__attribute__((always_inline)) inline void ClapPlugin::runPart(const clap_process_t& process, uint32_t start,
                                                               uint32_t end) {
    if (end <= start) {
        // Nothing to play: what is listed acts now, as it would at the next part's first frame.
        for (int32_t i = 0; i < eventCount; ++i) applyNow(*freeze, events[i]);
        eventCount = 0;
        return;
    }
    float* const* out = process.audio_outputs[0].data32;
    float* outputs[2] = {out[0] + start, out[1] + start};
    const float* inputs[2];
    if (usable(process.audio_inputs, process.audio_inputs_count)) {
        const float* const* in = process.audio_inputs[0].data32;
        inputs[0] = in[0] + start;
        inputs[1] = in[1] + start;
    } else {
        // No input: silence, played in place.
        std::fill(outputs[0], outputs[0] + (end - start), 0.0f);
        std::fill(outputs[1], outputs[1] + (end - start), 0.0f);
        inputs[0] = outputs[0];
        inputs[1] = outputs[1];
    }
    freeze->process(inputs, outputs, static_cast<int32_t>(end - start), EventList{events.get(), eventCount},
                    transport);
    eventCount = 0;
}

void ClapPlugin::splitAt(const clap_process_t& process, uint32_t& start, uint32_t at) {
    runPart(process, start, at);
    // The rest of the block starts that much later in the song.
    if (transport.hasPosition && at > start)
        transport.beatPosition += static_cast<double>(at - start) * transport.tempo / (60.0 * freeze->getSampleRate());
    start = at;
}

void ClapPlugin::flush(const clap_input_events_t* in, const clap_output_events_t* out) {
    const uint32_t count = in && in->size && in->get ? in->size(in) : 0;
    for (uint32_t i = 0; i < count; ++i) {
        const clap_event_header_t* header = in->get(in, i);
        TimedEvent event;
        if (header && header->space_id == CLAP_CORE_EVENT_SPACE_ID && header->type == CLAP_EVENT_PARAM_VALUE &&
            timedEventOf(*header, event))
            applyNow(*freeze, event);
    }
    pushEdits(out);
}

void ClapPlugin::pushEdits(const clap_output_events_t* out) {
    if (!out || !out->try_push) return;
    QueuedEdit edit;
    while (edits.peek(edit)) {
        bool pushed = false;
        if (edit.kind == QueuedEdit::Kind::value) {
            clap_event_param_value_t event{};
            event.header = {sizeof event, 0, CLAP_CORE_EVENT_SPACE_ID, CLAP_EVENT_PARAM_VALUE, 0};
            event.param_id = edit.control;
            event.note_id = -1;
            event.port_index = -1;
            event.channel = -1;
            event.key = -1;
            event.value = edit.value;
            pushed = out->try_push(out, &event.header);
        } else {
            clap_event_param_gesture_t event{};
            const uint16_t type =
                edit.kind == QueuedEdit::Kind::begin ? CLAP_EVENT_PARAM_GESTURE_BEGIN : CLAP_EVENT_PARAM_GESTURE_END;
            event.header = {sizeof event, 0, CLAP_CORE_EVENT_SPACE_ID, type, 0};
            event.param_id = edit.control;
            pushed = out->try_push(out, &event.header);
        }
        if (!pushed) return;  // the host's list is full: the rest at its next call
        edits.pop();
    }
}

void ClapPlugin::queue(QueuedEdit::Kind kind, int32_t control, double value) {
    if (control < 0 || control >= kNumControls) return;
    edits.push(QueuedEdit{kind, static_cast<uint32_t>(control), value});
    if (hostParamsTable && hostParamsTable->request_flush) hostParamsTable->request_flush(clapHost);
}

void ClapPlugin::beginEdit(int32_t control) { queue(QueuedEdit::Kind::begin, control, 0.0); }

void ClapPlugin::performEdit(int32_t control, float value) {
    queue(QueuedEdit::Kind::value, control, static_cast<double>(value));
}

void ClapPlugin::endEdit(int32_t control) { queue(QueuedEdit::Kind::end, control, 0.0); }
