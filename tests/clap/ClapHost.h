// A small CLAP host for the tests: loads a .clap through clap_entry alone (dlopen or LoadLibrary),
// offers the host extensions a real host does (params, gui, posix-fd-support, timer-support,
// state, log) and records what the plug-in asks of them, and runs one instance: activation,
// blocks with events, output events, state through streams that hand over a few bytes at a time.
#pragma once

#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "clap/ClapExtensions.h"

// A loaded library and its entry, init'ed once and deinit'ed when it goes.
class ClapLibrary {
public:
    explicit ClapLibrary(const std::string& path);
    ~ClapLibrary();
    ClapLibrary(const ClapLibrary&) = delete;
    ClapLibrary& operator=(const ClapLibrary&) = delete;
    bool ok() const { return entry != nullptr && factory != nullptr; }
    const std::string& error() const { return why; }
    const clap_plugin_entry_t* clapEntry() const { return entry; }
    const clap_plugin_factory_t* pluginFactory() const { return factory; }
    const clap_plugin_descriptor_t* descriptor(uint32_t index = 0) const;

private:
    void* handle = nullptr;
    const clap_plugin_entry_t* entry = nullptr;
    const clap_plugin_factory_t* factory = nullptr;
    std::string why;
};

// One event of any kind, as a byte copy of the host's or the plug-in's record.
struct AnyEvent {
    std::vector<unsigned char> bytes;
    const clap_event_header_t& header() const { return *reinterpret_cast<const clap_event_header_t*>(bytes.data()); }
    template <class T>
    const T& as() const {
        return *reinterpret_cast<const T*>(bytes.data());
    }
};

// Events sorted by the caller, handed to the plug-in as an input list.
class EventQueue {
public:
    template <class T>
    void add(const T& event) {
        AnyEvent copy;
        copy.bytes.resize(sizeof(T) + 8);  // room so that 8-byte fields stay aligned in the copy
        std::memcpy(copy.bytes.data(), &event, sizeof(T));
        list.push_back(std::move(copy));
    }
    void paramValue(uint32_t time, clap_id id, double value);
    void noteOn(uint32_t time, int16_t key, double velocity = 0.8);
    void noteOff(uint32_t time, int16_t key);
    void midi(uint32_t time, uint8_t status, uint8_t data1, uint8_t data2);
    void clear() { list.clear(); }
    const clap_input_events_t* input();
    std::vector<AnyEvent> list;

private:
    clap_input_events_t record{};
};

class ClapInstance;

// What the plug-in asked of the host.
struct HostRecord {
    int flushRequests = 0;
    int rescans = 0;
    uint32_t lastRescanFlags = 0;
    int resizeRequests = 0;
    uint32_t requestedWidth = 0, requestedHeight = 0;
    std::vector<int> fds;        // registered now
    std::vector<clap_id> timers;  // registered now
    uint32_t timerPeriod = 0;
    std::vector<std::string> logs;
    bool offerFd = true;
    bool offerTimer = true;
};

class ClapInstance {
public:
    // Creates (and inits) the library's first plug-in, or the one with that id.
    explicit ClapInstance(const ClapLibrary& library, const char* id = nullptr);
    // An instance made in this process by `create` (the adapter linked into the test).
    using Creator = const clap_plugin_t* (*)(const clap_host_t* host);
    explicit ClapInstance(Creator create);
    ~ClapInstance();
    ClapInstance(const ClapInstance&) = delete;
    ClapInstance& operator=(const ClapInstance&) = delete;
    bool ok() const { return plugin != nullptr && initialised; }
    const clap_plugin_t* get() const { return plugin; }
    template <class T>
    const T* extension(const char* id) const {
        return static_cast<const T*>(plugin->get_extension(plugin, id));
    }

    bool activate(double rate, uint32_t maxFrames = 4096);
    void deactivate();
    // One block: the queue's events, the transport (null: none), input and output channels
    // (outputs may be the inputs), `channels` of each. Output events are added to `produced`.
    int32_t process(const float* const* inputs, float* const* outputs, uint32_t frames, EventQueue& events,
                    const clap_event_transport_t* transport, uint32_t channels = 2);
    void flush(EventQueue& events);

    bool saveState(std::vector<unsigned char>& bytes, size_t chunk = 7);
    bool loadState(const std::vector<unsigned char>& bytes, size_t chunk = 5, bool failRead = false);

    std::vector<AnyEvent> produced;
    HostRecord record;
    clap_host_t host{};

private:
    void setUpHost();
    const clap_plugin_t* plugin = nullptr;
    bool initialised = false;
    bool active = false;
    bool processing = false;
};

// The transport record of a host that plays at `tempo` from the song's start.
clap_event_transport_t playingTransport(double tempo, double beats = 0.0);
