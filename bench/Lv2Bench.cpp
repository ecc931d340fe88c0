// Cost of the LV2 plug-in's run beside the VST 2 plug-in's processReplacing: both binaries loaded
// through their entry points as hosts load them, the same noise, settings (a held loop with
// both filters and reduced bits, or the defaults) and block size, one after the other in each
// round so that a busy machine weighs on both alike.
#include <benchmark/benchmark.h>

#include <dlfcn.h>

#include <cstring>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include <lv2/atom/atom.h>
#include <lv2/core/lv2.h>
#include <lv2/urid/urid.h>

#include "engine/ParameterTable.h"
#include "vst2/VstApi.h"
#include "lv2/Lv2Ports.h"
#include "tests/lv2/UridMap.h"
#include "bench/Vst2Binary.h"

namespace {

struct Lv2 {
    Lv2(const Settings& settings, Audio& audio) {
        void* library = openLibrary(BRINDLE_LV2_DSP_FILE);
        auto entry = reinterpret_cast<const LV2_Descriptor* (*)(uint32_t)>(dlsym(library, "lv2_descriptor"));
        descriptor = entry(0);
        instance = descriptor->instantiate(descriptor, 44100.0, "", features);
        for (uint32_t i = 0; i < kNumParams; ++i) controls[i] = settings.value(static_cast<int32_t>(i));
        for (int32_t i = 0; i < kNumSettings; ++i)
            controls[kNumParams + i] = static_cast<float>(kSettingTable[i].defaultValue);
        controls[kNumParams + 0] = controls[kNumParams + 1] = static_cast<float>(settings.filterType());
        for (uint32_t i = 0; i < kNumControlPorts; ++i)
            descriptor->connect_port(instance, kPortFirstParameter + i, &controls[i]);
        // An empty sequence, as a host with nothing to say passes it.
        events.atom.size = sizeof(LV2_Atom_Sequence_Body);
        events.atom.type = UridMap::shared().map(LV2_ATOM__Sequence);
        descriptor->connect_port(instance, kPortEvents, &events);
        descriptor->connect_port(instance, kPortInputLeft, audio.inL.data());
        descriptor->connect_port(instance, kPortInputRight, audio.inR.data());
        descriptor->connect_port(instance, kPortOutputLeft, audio.outL.data());
        descriptor->connect_port(instance, kPortOutputRight, audio.outR.data());
        descriptor->activate(instance);
    }
    ~Lv2() { descriptor->cleanup(instance); }
    void process(uint32_t frames) { descriptor->run(instance, frames); }
    LV2_Feature mapFeature{LV2_URID__map, UridMap::shared().mapFeature()};
    const LV2_Feature* features[2] = {&mapFeature, nullptr};
    const LV2_Descriptor* descriptor = nullptr;
    LV2_Handle instance = nullptr;
    float controls[kNumControlPorts] = {};
    LV2_Atom_Sequence events{};
};

void lv2Run(benchmark::State& state, bool busy) {
    Audio audio;
    Lv2 plugin(Settings{busy}, audio);
    const auto block = static_cast<uint32_t>(state.range(0));
    for (auto _ : state) plugin.process(block);
    state.counters["per_sample"] = perSample(block);
}

}  // namespace

int main(int argc, char** argv) {
    registerPairsWithVst2("lv2_run", lv2Run, std::initializer_list<int64_t>{64, 512, 4096});
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
