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

namespace {

constexpr uint32_t kMaxBlock = 4096;
VstTimeInfo benchTime{};

intptr_t VSTCALL benchHost(AEffect*, int32_t opcode, int32_t, intptr_t, void*, float) {
    if (opcode == audioMasterVersion) return 2400;
    if (opcode == audioMasterGetTime) return reinterpret_cast<intptr_t>(&benchTime);
    return 0;
}

void* openLibrary(const char* path) {
    void* library = dlopen(path, RTLD_NOW | RTLD_LOCAL);
    if (!library) throw std::runtime_error(dlerror());
    return library;
}

struct Audio {
    std::vector<float> inL, inR, outL, outR;
    Audio() : inL(kMaxBlock), inR(kMaxBlock), outL(kMaxBlock), outR(kMaxBlock) {
        std::mt19937 noise(5);
        std::uniform_real_distribution<float> uniform(-0.5f, 0.5f);
        for (uint32_t i = 0; i < kMaxBlock; ++i) inL[i] = uniform(noise), inR[i] = uniform(noise);
    }
};

// The settings of a case, as control values by parameter index and extra control.
struct Settings {
    bool busy;
    float value(int32_t index) const {
        if (!busy) return kParameterTable[static_cast<size_t>(index)].defaultValue;
        switch (index) {
        case kParamSize: return 0.3f;
        case kParamBits: return 0.4f;
        case kParamThreshold: return 0.0f;  // records and loops at once, all the time
        case kParamPreCutoff: return 0.5f;
        case kParamPostCutoff: return 0.6f;
        case kParamPostReso: return 0.4f;
        default: return kParameterTable[static_cast<size_t>(index)].defaultValue;
        }
    }
    int32_t filterType() const { return busy ? 1 : 0; }
};

struct Vst2 {
    explicit Vst2(const Settings& settings) {
        void* library = openLibrary(BRINDLE_PLUGIN_FILE);
        auto entry = reinterpret_cast<AEffect* (*)(audioMasterCallback)>(dlsym(library, "VSTPluginMain"));
        effect = entry(benchHost);
        effect->dispatcher(effect, effSetSampleRate, 0, 0, nullptr, 44100.0f);
        effect->dispatcher(effect, effMainsChanged, 0, 1, nullptr, 0.0f);
        for (int32_t i = 0; i < kNumParams; ++i) effect->setParameter(effect, i, settings.value(i));
        // The filter types are bank settings: through the chunk, as the render tool sets them.
        void* data = nullptr;
        const auto size = effect->dispatcher(effect, effGetChunk, 0, 0, &data, 0.0f);
        std::vector<unsigned char> bank(static_cast<unsigned char*>(data),
                                        static_cast<unsigned char*>(data) + size);
        putChunkInt(bank.data() + kProgramPreFilterOffset, settings.filterType());
        putChunkInt(bank.data() + kProgramPostFilterOffset, settings.filterType());
        effect->dispatcher(effect, effSetChunk, 0, size, bank.data(), 0.0f);
        effect->dispatcher(effect, effSetProgram, 0, 0, nullptr, 0.0f);
    }
    ~Vst2() { effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f); }
    void process(Audio& audio, uint32_t frames) {
        float* in[2] = {audio.inL.data(), audio.inR.data()};
        float* out[2] = {audio.outL.data(), audio.outR.data()};
        effect->processReplacing(effect, in, out, static_cast<int32_t>(frames));
    }
    AEffect* effect = nullptr;
};

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

benchmark::Counter perSample(size_t block) {
    return benchmark::Counter(static_cast<double>(block),
                              benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void vst2Process(benchmark::State& state, bool busy) {
    benchTime.sampleRate = 44100.0;
    benchTime.tempo = 120.0;
    Audio audio;
    Vst2 plugin(Settings{busy});
    const auto block = static_cast<uint32_t>(state.range(0));
    for (auto _ : state) plugin.process(audio, block);
    state.counters["per_sample"] = perSample(block);
}

void lv2Run(benchmark::State& state, bool busy) {
    Audio audio;
    Lv2 plugin(Settings{busy}, audio);
    const auto block = static_cast<uint32_t>(state.range(0));
    for (auto _ : state) plugin.process(block);
    state.counters["per_sample"] = perSample(block);
}

// Pairs next to each other, so that each LV2 figure has its VST 2 figure taken just before it.
void registerPairs() {
    for (int64_t block : {64, 512, 4096})
        for (bool busy : {false, true}) {
            const std::string settings = busy ? "held_loop_filters_bits" : "defaults";
            benchmark::RegisterBenchmark(("vst2_processReplacing/" + settings).c_str(), vst2Process, busy)
                ->Arg(block);
            benchmark::RegisterBenchmark(("lv2_run/" + settings).c_str(), lv2Run, busy)->Arg(block);
        }
}

}  // namespace

int main(int argc, char** argv) {
    registerPairs();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
