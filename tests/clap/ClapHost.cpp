// The test host: loading, host extensions, events, blocks and streams.
#include "ClapHost.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#ifdef _WIN32
#include <windows.h>
#else
#include <dlfcn.h>
#endif

ClapLibrary::ClapLibrary(const std::string& path) {
#ifdef _WIN32
    HMODULE module = LoadLibraryA(path.c_str());
    handle = module;
    if (module)
        entry = reinterpret_cast<const clap_plugin_entry_t*>(
            reinterpret_cast<void*>(GetProcAddress(module, "clap_entry")));
#else
    handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle) entry = static_cast<const clap_plugin_entry_t*>(dlsym(handle, "clap_entry"));
#endif
    if (!handle) {
        why = "cannot load " + path;
        return;
    }
    if (!entry) {
        why = "no clap_entry in " + path;
        return;
    }
    if (entry->clap_version.major < 1 || !entry->init || !entry->init(path.c_str())) {
        why = "init refused";
        entry = nullptr;
        return;
    }
    factory = static_cast<const clap_plugin_factory_t*>(entry->get_factory(CLAP_PLUGIN_FACTORY_ID));
    if (!factory) why = "no plug-in factory";
}

ClapLibrary::~ClapLibrary() {
    if (entry) entry->deinit();
    // The library stays mapped, as hosts keep plug-in libraries: a sanitizer run can then still
    // name the plug-in's code at exit.
}

const clap_plugin_descriptor_t* ClapLibrary::descriptor(uint32_t index) const {
    return factory ? factory->get_plugin_descriptor(factory, index) : nullptr;
}

// --- events ---

namespace {

clap_event_header_t headerOf(uint32_t size, uint32_t time, uint16_t type) {
    return clap_event_header_t{size, time, CLAP_CORE_EVENT_SPACE_ID, type, 0};
}

}  // namespace

void EventQueue::paramValue(uint32_t time, clap_id id, double value) {
    clap_event_param_value_t event{};
    event.header = headerOf(sizeof event, time, CLAP_EVENT_PARAM_VALUE);
    event.param_id = id;
    event.note_id = -1;
    event.port_index = -1;
    event.channel = -1;
    event.key = -1;
    event.value = value;
    add(event);
}

void EventQueue::noteOn(uint32_t time, int16_t key, double velocity) {
    clap_event_note_t event{};
    event.header = headerOf(sizeof event, time, CLAP_EVENT_NOTE_ON);
    event.note_id = -1;
    event.key = key;
    event.velocity = velocity;
    add(event);
}

void EventQueue::noteOff(uint32_t time, int16_t key) {
    clap_event_note_t event{};
    event.header = headerOf(sizeof event, time, CLAP_EVENT_NOTE_OFF);
    event.note_id = -1;
    event.key = key;
    add(event);
}

void EventQueue::midi(uint32_t time, uint8_t status, uint8_t data1, uint8_t data2) {
    clap_event_midi_t event{};
    event.header = headerOf(sizeof event, time, CLAP_EVENT_MIDI);
    event.data[0] = status;
    event.data[1] = data1;
    event.data[2] = data2;
    add(event);
}

const clap_input_events_t* EventQueue::input() {
    record.ctx = this;
    record.size = [](const clap_input_events_t* events) -> uint32_t {
        return static_cast<uint32_t>(static_cast<EventQueue*>(events->ctx)->list.size());
    };
    record.get = [](const clap_input_events_t* events, uint32_t index) -> const clap_event_header_t* {
        auto& queued = static_cast<EventQueue*>(events->ctx)->list;
        return index < queued.size() ? &queued[index].header() : nullptr;
    };
    return &record;
}

// --- the host's extensions ---

namespace {

ClapInstance& instanceOf(const clap_host_t* host) { return *static_cast<ClapInstance*>(host->host_data); }

const clap_host_params_t kHostParams = {
    [](const clap_host_t* host, uint32_t flags) {
        ++instanceOf(host).record.rescans;
        instanceOf(host).record.lastRescanFlags = flags;
    },
    [](const clap_host_t*, clap_id, uint32_t) {},
    [](const clap_host_t* host) { ++instanceOf(host).record.flushRequests; }};

const clap_host_gui_t kHostGui = {[](const clap_host_t*) {},
                                  [](const clap_host_t* host, uint32_t width, uint32_t height) {
                                      HostRecord& record = instanceOf(host).record;
                                      ++record.resizeRequests;
                                      record.requestedWidth = width;
                                      record.requestedHeight = height;
                                      return true;
                                  },
                                  [](const clap_host_t*) { return true; }, [](const clap_host_t*) { return true; },
                                  [](const clap_host_t*, bool) {}};

const clap_host_posix_fd_support_t kHostFd = {
    [](const clap_host_t* host, int fd, uint32_t) {
        instanceOf(host).record.fds.push_back(fd);
        return true;
    },
    [](const clap_host_t*, int, uint32_t) { return true; },
    [](const clap_host_t* host, int fd) {
        auto& fds = instanceOf(host).record.fds;
        const auto found = std::find(fds.begin(), fds.end(), fd);
        if (found == fds.end()) return false;
        fds.erase(found);
        return true;
    }};

const clap_host_timer_support_t kHostTimer = {
    [](const clap_host_t* host, uint32_t period, clap_id* id) {
        HostRecord& record = instanceOf(host).record;
        static clap_id next = 1;
        *id = next++;
        record.timers.push_back(*id);
        record.timerPeriod = period;
        return true;
    },
    [](const clap_host_t* host, clap_id id) {
        auto& timers = instanceOf(host).record.timers;
        const auto found = std::find(timers.begin(), timers.end(), id);
        if (found == timers.end()) return false;
        timers.erase(found);
        return true;
    }};

const clap_host_state_t kHostState = {[](const clap_host_t*) {}};

const clap_host_log_t kHostLog = {[](const clap_host_t* host, int32_t, const char* message) {
    instanceOf(host).record.logs.push_back(message ? message : "");
}};

const void* CLAP_ABI hostExtension(const clap_host_t* host, const char* id) {
    if (!id) return nullptr;
    const HostRecord& record = instanceOf(host).record;
    if (std::strcmp(id, CLAP_EXT_PARAMS) == 0) return &kHostParams;
    if (std::strcmp(id, CLAP_EXT_GUI) == 0) return &kHostGui;
    if (std::strcmp(id, CLAP_EXT_POSIX_FD_SUPPORT) == 0) return record.offerFd ? &kHostFd : nullptr;
    if (std::strcmp(id, CLAP_EXT_TIMER_SUPPORT) == 0) return record.offerTimer ? &kHostTimer : nullptr;
    if (std::strcmp(id, CLAP_EXT_STATE) == 0) return &kHostState;
    if (std::strcmp(id, CLAP_EXT_LOG) == 0) return &kHostLog;
    return nullptr;
}

struct OutputList {
    clap_output_events_t record;
    std::vector<AnyEvent>* sink;
};

bool CLAP_ABI pushOutput(const clap_output_events_t* list, const clap_event_header_t* event) {
    if (!event || event->size < sizeof(clap_event_header_t)) return false;
    AnyEvent copy;
    copy.bytes.assign(reinterpret_cast<const unsigned char*>(event),
                      reinterpret_cast<const unsigned char*>(event) + event->size);
    copy.bytes.resize(event->size + 8);
    static_cast<std::vector<AnyEvent>*>(list->ctx)->push_back(std::move(copy));
    return true;
}

}  // namespace

ClapInstance::ClapInstance(const ClapLibrary& library, const char* id) {
    setUpHost();
    if (!library.ok()) return;
    const clap_plugin_descriptor_t* descriptor = library.descriptor(0);
    if (!descriptor) return;
    plugin = library.pluginFactory()->create_plugin(library.pluginFactory(), &host, id ? id : descriptor->id);
    if (plugin) initialised = plugin->init(plugin);
}

ClapInstance::ClapInstance(Creator create) {
    setUpHost();
    plugin = create(&host);
    if (plugin) initialised = plugin->init(plugin);
}

void ClapInstance::setUpHost() {
    host.clap_version = CLAP_VERSION;
    host.host_data = this;
    host.name = "brindleLoop test host";
    host.vendor = "Fennelworks";
    host.url = "";
    host.version = "1.0";
    host.get_extension = hostExtension;
    host.request_restart = [](const clap_host_t*) {};
    host.request_process = [](const clap_host_t*) {};
    host.request_callback = [](const clap_host_t*) {};
}

ClapInstance::~ClapInstance() {
    if (!plugin) return;
    deactivate();
    plugin->destroy(plugin);
}

bool ClapInstance::activate(double rate, uint32_t maxFrames) {
    active = plugin->activate(plugin, rate, 1, maxFrames);
    if (active) processing = plugin->start_processing(plugin);
    return active && processing;
}

void ClapInstance::deactivate() {
    if (processing) plugin->stop_processing(plugin);
    processing = false;
    if (active) plugin->deactivate(plugin);
    active = false;
}

int32_t ClapInstance::process(const float* const* inputs, float* const* outputs, uint32_t frames,
                              EventQueue& events, const clap_event_transport_t* transport, uint32_t channels) {
    clap_audio_buffer_t in{const_cast<float**>(inputs), nullptr, channels, 0, 0};
    clap_audio_buffer_t out{const_cast<float**>(outputs), nullptr, channels, 0, 0};
    OutputList list{{&produced, pushOutput}, &produced};
    clap_process_t process{};
    process.steady_time = -1;
    process.frames_count = frames;
    process.transport = transport;
    process.audio_inputs = &in;
    process.audio_outputs = &out;
    process.audio_inputs_count = 1;
    process.audio_outputs_count = 1;
    process.in_events = events.input();
    process.out_events = &list.record;
    return plugin->process(plugin, &process);
}

void ClapInstance::flush(EventQueue& events) {
    OutputList list{{&produced, pushOutput}, &produced};
    const auto* params = extension<clap_plugin_params_t>(CLAP_EXT_PARAMS);
    params->flush(plugin, events.input(), &list.record);
}

namespace {

struct StreamData {
    std::vector<unsigned char>* bytes;
    size_t at;
    size_t chunk;
    bool fail;
};

}  // namespace

bool ClapInstance::saveState(std::vector<unsigned char>& bytes, size_t chunk) {
    bytes.clear();
    StreamData data{&bytes, 0, chunk, false};
    clap_ostream_t stream{&data, [](const clap_ostream_t* s, const void* buffer, uint64_t size) -> int64_t {
                              auto& d = *static_cast<StreamData*>(s->ctx);
                              const size_t n = std::min<size_t>(static_cast<size_t>(size), d.chunk);
                              const auto* from = static_cast<const unsigned char*>(buffer);
                              d.bytes->insert(d.bytes->end(), from, from + n);
                              return static_cast<int64_t>(n);
                          }};
    const auto* state = extension<clap_plugin_state_t>(CLAP_EXT_STATE);
    return state && state->save(plugin, &stream);
}

bool ClapInstance::loadState(const std::vector<unsigned char>& bytes, size_t chunk, bool failRead) {
    std::vector<unsigned char> copy = bytes;
    StreamData data{&copy, 0, chunk, failRead};
    clap_istream_t stream{&data, [](const clap_istream_t* s, void* buffer, uint64_t size) -> int64_t {
                              auto& d = *static_cast<StreamData*>(s->ctx);
                              if (d.fail && d.at > 0) return -1;
                              const size_t n =
                                  std::min({static_cast<size_t>(size), d.chunk, d.bytes->size() - d.at});
                              if (n > 0) std::memcpy(buffer, d.bytes->data() + d.at, n);
                              d.at += n;
                              return static_cast<int64_t>(n);
                          }};
    const auto* state = extension<clap_plugin_state_t>(CLAP_EXT_STATE);
    return state && state->load(plugin, &stream);
}

clap_event_transport_t playingTransport(double tempo, double beats) {
    clap_event_transport_t transport{};
    transport.flags = CLAP_TRANSPORT_HAS_TEMPO | CLAP_TRANSPORT_HAS_BEATS_TIMELINE | CLAP_TRANSPORT_IS_PLAYING;
    transport.tempo = tempo;
    transport.song_pos_beats = static_cast<int64_t>(std::llround(beats * CLAP_BEATTIME_FACTOR));
    transport.tsig_num = 4;
    transport.tsig_denom = 4;
    return transport;
}
