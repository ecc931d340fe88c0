// The test host: lilv world, URID map, runs and the VST 2 reference render.
#include "Lv2TestHost.h"

#include <dlfcn.h>

#include <algorithm>
#include <cstring>
#include <stdexcept>

#include <lv2/atom/forge.h>
#include <lv2/midi/midi.h>
#include <lv2/time/time.h>

#include "engine/ParameterTable.h"
#include "lv2/Lv2Ports.h"
#include "lv2/Lv2Uris.h"

Lv2Bundle& Lv2Bundle::shared() {
    static Lv2Bundle instance;
    return instance;
}

Lv2Bundle::Lv2Bundle() {
    // Mapped until the process ends, as hosts keep plug-in libraries: lilv unloads a library with
    // its last instance, and a sanitizer run could then not name the plug-in's code at exit.
    for (const char* binary : {BRINDLE_LV2_DSP_BINARY, BRINDLE_LV2_UI_BINARY})
        dlopen((std::string(BRINDLE_LV2_BUNDLE) + "/" + binary).c_str(), RTLD_NOW | RTLD_LOCAL);
    lilvWorld = lilv_world_new();
    const std::string path = std::string(BRINDLE_LV2_BUNDLE) + "/";
    LilvNode* bundle = lilv_new_file_uri(lilvWorld, nullptr, path.c_str());
    lilv_world_load_bundle(lilvWorld, bundle);
    lilv_node_free(bundle);
    lilvPlugin = lilv_plugins_get_by_uri(lilv_world_get_all_plugins(lilvWorld), uri(BRINDLE_LV2_URI));
    if (!lilvPlugin) throw std::runtime_error("no plug-in in " + path);
    mapFeature = {LV2_URID__map, UridMap::shared().mapFeature()};
    unmapFeature = {LV2_URID__unmap, UridMap::shared().unmapFeature()};
    featureList[0] = &mapFeature;
    featureList[1] = &unmapFeature;
}

Lv2Bundle::~Lv2Bundle() {
    for (LilvNode* node : nodes) lilv_node_free(node);
    lilv_world_free(lilvWorld);
}

LilvNode* Lv2Bundle::uri(const char* text) const {
    nodes.push_back(lilv_new_uri(lilvWorld, text));
    return nodes.back();
}

Lv2Run::Lv2Run(double sampleRate, const LV2_Feature* const* features) : eventBuffer(8192), timeBuffer(1024) {
    const Lv2Bundle& bundle = Lv2Bundle::shared();
    instance = lilv_plugin_instantiate(bundle.plugin(), sampleRate, features ? features : bundle.features());
    const uint32_t ports = lilv_plugin_get_num_ports(bundle.plugin());
    controls.assign(ports, 0.0f);
    std::vector<float> defaults(ports);
    lilv_plugin_get_port_ranges_float(bundle.plugin(), nullptr, nullptr, defaults.data());
    for (uint32_t i = 0; i < ports; ++i)
        if (defaults[i] == defaults[i]) controls[i] = defaults[i];
    eventPort = static_cast<uint32_t>(portIndex("events"));
    if (instance) {
        for (uint32_t i = 0; i < ports; ++i)
            if (isControlPort(i)) lilv_instance_connect_port(instance, i, &controls[i]);
        lilv_instance_activate(instance);
    }
}

Lv2Run::~Lv2Run() {
    if (instance) {
        lilv_instance_deactivate(instance);
        lilv_instance_free(instance);
    }
}

int32_t Lv2Run::portIndex(const std::string& symbol) const {
    const Lv2Bundle& bundle = Lv2Bundle::shared();
    LilvNode* node = lilv_new_string(bundle.world(), symbol.c_str());
    const LilvPort* port = lilv_plugin_get_port_by_symbol(bundle.plugin(), node);
    lilv_node_free(node);
    return port ? static_cast<int32_t>(lilv_port_get_index(bundle.plugin(), port)) : -1;
}

void Lv2Run::setControl(const std::string& symbol, float value) {
    const int32_t port = portIndex(symbol);
    if (port < 0) throw std::runtime_error("no port " + symbol);
    setControl(static_cast<uint32_t>(port), value);
}

void Lv2Run::applyPreset(const LilvNode* preset) {
    const Lv2Bundle& bundle = Lv2Bundle::shared();
    lilv_world_load_resource(bundle.world(), preset);
    LilvState* state = lilv_state_new_from_world(bundle.world(), UridMap::shared().mapFeature(), preset);
    if (!state) throw std::runtime_error("preset not found");
    lilv_state_restore(
        state, instance,
        [](const char* symbol, void* self, const void* value, uint32_t size, uint32_t type) {
            auto* run = static_cast<Lv2Run*>(self);
            const LV2_URID floatType = UridMap::shared().map(LV2_ATOM__Float);
            if (type == floatType && size == sizeof(float))
                run->setControl(symbol, *static_cast<const float*>(value));
        },
        this, 0, Lv2Bundle::shared().features());
    lilv_state_free(state);
}

void Lv2Run::applySettings(const RenderSettings& settings) {
    for (const auto& [name, value] : settings.parameters) {
        const ParameterInfo* info = parameterByVstName(name.c_str());
        if (!info) throw std::runtime_error("no parameter " + name);
        setControl(kPortFirstParameter + static_cast<uint32_t>(info->index), value);
    }
    const EditorSettings& editor = settings.editor;
    const std::pair<int32_t, Setting> extras[] = {
        {editor.preFilter, Setting::preFilterType},
        {editor.postFilter, Setting::postFilterType},
        {editor.sequenceLength, Setting::sequenceLength},
        {editor.midiNoteControl, Setting::midiNoteControl},
        {editor.noteRecordStart, Setting::noteRecordStart},
        {editor.repeatTillNoteOff, Setting::repeatTillNoteOff}};
    for (const auto& [value, control] : extras)
        if (value >= 0)
            for (int32_t i = 0; i < kNumSettings; ++i)
                if (kSettingTable[i].setting == control)
                    setControl(kPortFirstExtra + static_cast<uint32_t>(i), static_cast<float>(value));
}

void Lv2Run::queueMidi(int64_t frame, uint8_t status, uint8_t data1, uint8_t data2) {
    pendingMidi.push_back({frame, {status, data1, data2}});
}

void Lv2Run::writeEvents() {
    UridMap& uris = UridMap::shared();
    LV2_Atom_Forge forge, timeForge;
    lv2_atom_forge_init(&forge, uris.mapFeature());
    lv2_atom_forge_set_buffer(&forge, reinterpret_cast<uint8_t*>(eventBuffer.data()), eventBuffer.size() * 8);
    LV2_Atom_Forge_Frame sequence, timeSequence;
    lv2_atom_forge_sequence_head(&forge, &sequence, 0);
    lv2_atom_forge_init(&timeForge, uris.mapFeature());
    lv2_atom_forge_set_buffer(&timeForge, reinterpret_cast<uint8_t*>(timeBuffer.data()),
                              timeBuffer.size() * 8);
    lv2_atom_forge_sequence_head(&timeForge, &timeSequence, 0);
    for (float bpm : pendingTempo) {
        if (tempoToTimePort) {
            LV2_Atom_Forge_Frame object;
            lv2_atom_forge_frame_time(&timeForge, 0);
            lv2_atom_forge_object(&timeForge, &object, 0, uris.map(LV2_TIME__Position));
            lv2_atom_forge_key(&timeForge, uris.map(LV2_TIME__beatsPerMinute));
            lv2_atom_forge_float(&timeForge, bpm);
            lv2_atom_forge_pop(&timeForge, &object);
            continue;
        }
        LV2_Atom_Forge_Frame object;
        lv2_atom_forge_frame_time(&forge, 0);
        lv2_atom_forge_object(&forge, &object, 0, uris.map(LV2_TIME__Position));
        lv2_atom_forge_key(&forge, uris.map(LV2_TIME__beatsPerMinute));
        lv2_atom_forge_float(&forge, bpm);
        lv2_atom_forge_pop(&forge, &object);
    }
    for (const PendingMidi& midi : pendingMidi) {
        lv2_atom_forge_frame_time(&forge, midi.frame);
        lv2_atom_forge_atom(&forge, 3, uris.map(LV2_MIDI__MidiEvent));
        lv2_atom_forge_write(&forge, midi.bytes, 3);
    }
    lv2_atom_forge_pop(&forge, &sequence);
    lv2_atom_forge_pop(&timeForge, &timeSequence);
    pendingTempo.clear();
    pendingMidi.clear();
}

void Lv2Run::runBlock(const float* inL, const float* inR, float* outL, float* outR, uint32_t frames) {
    lilv_instance_connect_port(instance, kPortInputLeft, const_cast<float*>(inL));
    lilv_instance_connect_port(instance, kPortInputRight, const_cast<float*>(inR));
    lilv_instance_connect_port(instance, kPortOutputLeft, outL);
    lilv_instance_connect_port(instance, kPortOutputRight, outR);
    writeEvents();
    lilv_instance_connect_port(instance, eventPort, eventsConnected ? eventBuffer.data() : nullptr);
    lilv_instance_connect_port(instance, kPortTime, eventsConnected ? timeBuffer.data() : nullptr);
    lilv_instance_run(instance, frames);
}

void Lv2Run::play(const AudioData& input, AudioData& output, const PlaySettings& settings) {
    const RenderSettings& render = settings.render;
    if (!settings.lv2Preset.empty()) applyPreset(Lv2Bundle::shared().uri(settings.lv2Preset.c_str()));
    applySettings(render);
    tempoOnTimePort(settings.tempoOnTimePort);
    if (settings.sendTempo) queueTempo(static_cast<float>(render.tempo));
    output.sampleRate = input.sampleRate;
    output.left.assign(input.frames(), 0.0f);
    output.right.assign(input.frames(), 0.0f);
    AudioData inPlace = input;
    BlockSchedule schedule(render.blockSize, render.varyBlocks);
    size_t nextNote = 0;
    for (size_t done = 0; done < input.frames();) {
        const size_t block = std::min(static_cast<size_t>(schedule.next()), input.frames() - done);
        for (; nextNote < render.notes.size() &&
               render.notes[nextNote].position < static_cast<int64_t>(done + block);
             ++nextNote) {
            const MidiNote& note = render.notes[nextNote];
            queueMidi(note.position - static_cast<int64_t>(done), note.status, note.data1, note.data2);
        }
        if (settings.inPlace)
            runBlock(inPlace.left.data() + done, inPlace.right.data() + done, inPlace.left.data() + done,
                     inPlace.right.data() + done, static_cast<uint32_t>(block));
        else
            runBlock(input.left.data() + done, input.right.data() + done, output.left.data() + done,
                     output.right.data() + done, static_cast<uint32_t>(block));
        done += block;
    }
    if (settings.inPlace) {
        output.left = inPlace.left;
        output.right = inPlace.right;
    }
}

