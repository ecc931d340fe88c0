// What the benchmarks that set another format beside VST 2 share: the noise they play, the two
// cases' settings, the VST 2 binary loaded through its entry point as hosts load it, and the
// pairs of benchmarks that set each format's figure beside the VST 2 one.
#pragma once

#include <benchmark/benchmark.h>
#include <dlfcn.h>

#include <cstdint>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "engine/ChunkLayout.h"
#include "engine/ParameterTable.h"
#include "vst2/VstApi.h"

constexpr uint32_t kMaxBlock = 4096;
inline VstTimeInfo benchTime{};

inline intptr_t VSTCALL benchHost(AEffect*, int32_t opcode, int32_t, intptr_t, void*, float) {
    if (opcode == audioMasterVersion) return 2400;
    if (opcode == audioMasterGetTime) return reinterpret_cast<intptr_t>(&benchTime);
    return 0;
}

inline void* openLibrary(const char* path) {
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
    Vst2(const Settings& settings, const char* path = BRINDLE_PLUGIN_FILE) {
        void* library = openLibrary(path);
        auto entry = reinterpret_cast<AEffect* (*)(audioMasterCallback)>(dlsym(library, "VSTPluginMain"));
        effect = entry(benchHost);
        effect->dispatcher(effect, effSetSampleRate, 0, 0, nullptr, 44100.0f);
        effect->dispatcher(effect, effMainsChanged, 0, 1, nullptr, 0.0f);
        for (int32_t i = 0; i < kNumParams; ++i) effect->setParameter(effect, i, settings.value(i));
        // The filter types are bank settings: through the chunk, as the render tool sets them.
        void* data = nullptr;
        const auto size = effect->dispatcher(effect, effGetChunk, 0, 0, &data, 0.0f);
        std::vector<unsigned char> bank(static_cast<unsigned char*>(data), static_cast<unsigned char*>(data) + size);
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

inline benchmark::Counter perSample(size_t block) {
    return benchmark::Counter(static_cast<double>(block),
                              benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

inline void vst2Process(benchmark::State& state, bool busy) {
    benchTime.sampleRate = 44100.0;
    benchTime.tempo = 120.0;
    Audio audio;
    Vst2 plugin(Settings{busy});
    const auto block = static_cast<uint32_t>(state.range(0));
    for (auto _ : state) plugin.process(audio, block);
    state.counters["per_sample"] = perSample(block);
}

// Pairs next to each other, so that each figure of the other format has its VST 2 figure taken
// just before it: `name`/defaults and `name`/held_loop_filters_bits at each block size.
template <class Blocks>
void registerPairsWithVst2(const char* name, void (*other)(benchmark::State&, bool), const Blocks& blocks) {
    for (const int64_t block : blocks)
        for (const bool busy : {false, true}) {
            const std::string settings = busy ? "held_loop_filters_bits" : "defaults";
            benchmark::RegisterBenchmark(("vst2_processReplacing/" + settings).c_str(), vst2Process, busy)
                ->Arg(block);
            benchmark::RegisterBenchmark((std::string(name) + "/" + settings).c_str(), other, busy)->Arg(block);
        }
}
