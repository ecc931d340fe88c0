// Cost of the CLAP plug-in's process beside the VST 2 plug-in's processReplacing: both binaries
// loaded through their entry points as hosts load them, the same noise, settings (a held loop
// with both filters and reduced bits, or the defaults), tempo and block size, one after the
// other in each round so that a busy machine weighs on both alike.
#include <benchmark/benchmark.h>

#include <dlfcn.h>

#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "clap/ClapExtensions.h"
#include "engine/ChunkLayout.h"
#include "engine/ParameterTable.h"
#include "engine/SettingTable.h"
#include "vst2/VstApi.h"
#include "bench/Vst2Binary.h"

namespace {

// A host's lists: the settings as parameter events once, then nothing; output events dropped.
struct EventList {
    std::vector<clap_event_param_value_t> values;
    static uint32_t CLAP_ABI size(const clap_input_events_t* list) {
        return static_cast<uint32_t>(static_cast<EventList*>(list->ctx)->values.size());
    }
    static const clap_event_header_t* CLAP_ABI get(const clap_input_events_t* list, uint32_t index) {
        return &static_cast<EventList*>(list->ctx)->values[index].header;
    }
    void add(int32_t control, double value) {
        clap_event_param_value_t event{};
        event.header = {sizeof event, 0, 0, CLAP_EVENT_PARAM_VALUE, 0};
        event.param_id = static_cast<clap_id>(control);
        event.note_id = -1;
        event.port_index = event.channel = event.key = -1;
        event.value = value;
        values.push_back(event);
    }
};

struct Clap {
    Clap(const Settings& settings, Audio& audio) {
        void* library = openLibrary(BRINDLE_CLAP_FILE);
        entry = static_cast<const clap_plugin_entry_t*>(dlsym(library, "clap_entry"));
        entry->init(BRINDLE_CLAP_FILE);
        const auto* factory = static_cast<const clap_plugin_factory_t*>(entry->get_factory(CLAP_PLUGIN_FACTORY_ID));
        host.clap_version = CLAP_VERSION;
        host.name = host.version = "bench";
        host.get_extension = [](const clap_host_t*, const char*) -> const void* { return nullptr; };
        host.request_restart = host.request_process = host.request_callback = [](const clap_host_t*) {};
        plugin = factory->create_plugin(factory, &host, factory->get_plugin_descriptor(factory, 0)->id);
        plugin->init(plugin);
        for (int32_t i = 0; i < kNumParams; ++i) events.add(i, static_cast<double>(settings.value(i)));
        events.add(controlOfSetting(Setting::preFilterType), settings.filterType());
        events.add(controlOfSetting(Setting::postFilterType), settings.filterType());
        plugin->activate(plugin, 44100.0, 1, kMaxBlock);
        plugin->start_processing(plugin);
        inputs[0] = audio.inL.data();
        inputs[1] = audio.inR.data();
        outputs[0] = audio.outL.data();
        outputs[1] = audio.outR.data();
        transport.flags = CLAP_TRANSPORT_HAS_TEMPO | CLAP_TRANSPORT_IS_PLAYING;
        transport.tempo = 120.0;
        record.steady_time = -1;
        record.transport = &transport;
        record.audio_inputs = &in;
        record.audio_outputs = &out;
        record.audio_inputs_count = record.audio_outputs_count = 1;
        record.in_events = &inEvents;
        record.out_events = &outEvents;
        process(1);
        events.values.clear();
    }
    ~Clap() {
        plugin->stop_processing(plugin);
        plugin->deactivate(plugin);
        plugin->destroy(plugin);
        entry->deinit();
    }
    void process(uint32_t frames) {
        record.frames_count = frames;
        plugin->process(plugin, &record);
    }
    const clap_plugin_entry_t* entry = nullptr;
    clap_host_t host{};
    const clap_plugin_t* plugin = nullptr;
    EventList events;
    float* inputs[2] = {};
    float* outputs[2] = {};
    clap_audio_buffer_t in{inputs, nullptr, 2, 0, 0};
    clap_audio_buffer_t out{outputs, nullptr, 2, 0, 0};
    clap_event_transport_t transport{};
    clap_input_events_t inEvents{&events, EventList::size, EventList::get};
    clap_output_events_t outEvents{nullptr, [](const clap_output_events_t*, const clap_event_header_t*) { return true; }};
    clap_process_t record{};
};

void clapProcess(benchmark::State& state, bool busy) {
    Audio audio;
    Clap plugin(Settings{busy}, audio);
    const auto block = static_cast<uint32_t>(state.range(0));
    for (auto _ : state) plugin.process(block);
    state.counters["per_sample"] = perSample(block);
}

}  // namespace

int main(int argc, char** argv) {
    registerPairsWithVst2("clap_process", clapProcess, std::initializer_list<int64_t>{64, 512, 4096});
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
