// One CLAP instance: the host's calls turned into the format-neutral plug-in's, the host's
// extensions it uses, and the editor's edits queued for the host.
#pragma once

#include <cstdint>
#include <memory>

#include "clap/ClapExtensions.h"
#include "clap/EditQueue.h"
#include "plugin/FreezePlugin.h"

class ClapGui;

class ClapPlugin final : public EditSink {
public:
    // Allocates everything (throws std::bad_alloc); calls nothing of the host.
    explicit ClapPlugin(const clap_host_t* host);
    ~ClapPlugin();
    ClapPlugin(const ClapPlugin&) = delete;
    ClapPlugin& operator=(const ClapPlugin&) = delete;

    const clap_plugin_t* record() const { return &clapRecord; }
    static ClapPlugin* of(const clap_plugin_t* plugin);

    FreezePlugin& neutral() { return *freeze; }
    const clap_host_t* host() const { return clapHost; }
    const clap_host_params_t* hostParams() const { return hostParamsTable; }
    const clap_host_gui_t* hostGui() const { return hostGuiTable; }
    const clap_host_posix_fd_support_t* hostFdSupport() const { return hostFdTable; }
    const clap_host_timer_support_t* hostTimerSupport() const { return hostTimerTable; }
    bool isActive() const { return active; }

    // Host-given parameter values and editor edits that reach the host without audio.
    void flush(const clap_input_events_t* in, const clap_output_events_t* out);

    // EditSink (user-interface thread): queued for the host, which is asked for a flush.
    void beginEdit(int32_t control) override;
    void performEdit(int32_t control, float value) override;
    void endEdit(int32_t control) override;

    // The editor, from gui.create to gui.destroy (null otherwise).
    std::unique_ptr<ClapGui> gui;

private:
    static bool CLAP_ABI init(const clap_plugin_t* plugin);
    static void CLAP_ABI destroy(const clap_plugin_t* plugin);
    static bool CLAP_ABI activate(const clap_plugin_t* plugin, double rate, uint32_t minFrames, uint32_t maxFrames);
    static void CLAP_ABI deactivate(const clap_plugin_t* plugin);
    static bool CLAP_ABI startProcessing(const clap_plugin_t* plugin);
    static void CLAP_ABI stopProcessing(const clap_plugin_t* plugin);
    static void CLAP_ABI reset(const clap_plugin_t* plugin);
    static int32_t CLAP_ABI process(const clap_plugin_t* plugin, const clap_process_t* process);
    static const void* CLAP_ABI extension(const clap_plugin_t* plugin, const char* id);
    static void CLAP_ABI onMainThread(const clap_plugin_t* plugin);

    int32_t processBlock(const clap_process_t& process);
    // Adds one host event to the block's list (or applies it: see the definition); `start` is
    // the frame the list's offsets count from.
    void takeEvent(const clap_event_header_t& event, uint32_t at, uint32_t& start, const clap_process_t& process);
    // Plays frames start .. end of the block with the events listed so far, then empties the list.
    void runPart(const clap_process_t& process, uint32_t start, uint32_t end);
    // Plays the block up to `at` and counts the rest from there.
    void splitAt(const clap_process_t& process, uint32_t& start, uint32_t at);
    void pushEdits(const clap_output_events_t* out);
    void queue(QueuedEdit::Kind kind, int32_t control, double value);

    clap_plugin_t clapRecord;
    const clap_host_t* clapHost;
    const clap_host_params_t* hostParamsTable = nullptr;
    const clap_host_gui_t* hostGuiTable = nullptr;
    const clap_host_posix_fd_support_t* hostFdTable = nullptr;
    const clap_host_timer_support_t* hostTimerTable = nullptr;
    std::unique_ptr<FreezePlugin> freeze;
    bool active = false;

    // The block's events in the neutral plug-in's terms, and the transport they play under.
    static constexpr int32_t kEventCapacity = 1024;
    std::unique_ptr<TimedEvent[]> events;
    int32_t eventCount = 0;
    Transport transport;
    EditQueue edits;
};
