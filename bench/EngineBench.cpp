// Cost of processReplacing per stereo sample at several block sizes and in three engine states,
// beside the floor kernel: the four biquads (pre and post, left and right) alone.
#include <benchmark/benchmark.h>

#include <memory>
#include <random>
#include <vector>

#include "engine/BiquadFilter.h"
#include "engine/FreezeEffect.h"

namespace {

VstTimeInfo benchTime{};

intptr_t VSTCALL benchHost(AEffect*, int32_t opcode, int32_t, intptr_t, void*, float) {
    if (opcode == audioMasterVersion) return 2400;
    if (opcode == audioMasterGetTime) return reinterpret_cast<intptr_t>(&benchTime);
    return 0;
}

constexpr int32_t kMaxBlock = 4096;

struct Signal {
    std::vector<float> left, right, outLeft, outRight;
    explicit Signal(float amplitude) : left(kMaxBlock), right(kMaxBlock), outLeft(kMaxBlock), outRight(kMaxBlock) {
        std::mt19937 noise(5);
        std::uniform_real_distribution<float> uniform(-1.0f, 1.0f);
        for (int32_t i = 0; i < kMaxBlock; ++i) {
            left[static_cast<size_t>(i)] = amplitude * uniform(noise);
            right[static_cast<size_t>(i)] = amplitude * uniform(noise);
        }
    }
};

enum class State { Stopped, Looping, RecordingWhileLooping };

std::unique_ptr<FreezeEffect> makeEngine(State state, Signal& warmUp) {
    benchTime.sampleRate = 44100.0;
    benchTime.tempo = 120.0;
    auto effect = std::make_unique<FreezeEffect>(benchHost);
    if (state != State::Stopped) {
        // Both filters, reduced bits, and a loop held by a note so that it never stops.
        effect->setParameter(kParamBits, 0.5f);
        effect->cycleFilterType(1);
        effect->cycleFilterType(2);
        effect->cycleFilterType(2);
        effect->cycleFilterType(2);
        effect->setParameter(kParamPreCutoff, 0.7f);
        effect->setParameter(kParamPostCutoff, 0.5f);
        effect->setParameter(kParamPostReso, 0.6f);
        effect->setParameter(kParamDryWet, 0.8f);
        effect->toggleRepeatTillNoteOff();
        effect->noteOn(60, 100, 0);
    }
    // Recording most of the time: five-second loops at 1 BPM, retriggered by a loud input.
    if (state == State::RecordingWhileLooping) benchTime.tempo = 1.0;
    float* in[2] = {warmUp.left.data(), warmUp.right.data()};
    float* out[2] = {warmUp.outLeft.data(), warmUp.outRight.data()};
    for (int32_t i = 0; i < 20; ++i) effect->processReplacing(in, out, kMaxBlock);  // settle
    return effect;
}

void runEngine(benchmark::State& bench, State state, float amplitude) {
    const auto block = static_cast<int32_t>(bench.range(0));
    Signal signal(amplitude);
    auto effect = makeEngine(state, signal);
    float* in[2] = {signal.left.data(), signal.right.data()};
    float* out[2] = {signal.outLeft.data(), signal.outRight.data()};
    for (auto _ : bench) {
        effect->processReplacing(in, out, block);
        benchmark::DoNotOptimize(signal.outLeft.data());
        benchmark::ClobberMemory();
    }
    if (state == State::RecordingWhileLooping && !effect->isRecording()) bench.SkipWithError("not recording");
    if (state == State::Stopped && effect->getEnvelope() > effect->getThreshold()) bench.SkipWithError("triggered");
    bench.counters["ns_per_sample"] = benchmark::Counter(
        static_cast<double>(block) * 1e-9, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void LoopStopped(benchmark::State& bench) { runEngine(bench, State::Stopped, 0.01f); }
void LoopingBitsFilters(benchmark::State& bench) { runEngine(bench, State::Looping, 0.01f); }
void RecordingWhileLooping(benchmark::State& bench) { runEngine(bench, State::RecordingWhileLooping, 0.5f); }

// The recursive work no implementation can skip: two stereo biquads in series per sample.
void FloorKernel(benchmark::State& bench) {
    const auto block = static_cast<size_t>(bench.range(0));
    Signal signal(0.5f);
    const BiquadCoefficients pre = FreezeEffect::calcBiquad(0, 5000.0, 44100.0, 1.0);
    const BiquadCoefficients post = FreezeEffect::calcBiquad(2, 2300.0, 44100.0, 0.5);
    BiquadState preL, preR, postL, postR;
    for (auto _ : bench) {
        const float* inL = signal.left.data();
        const float* inR = signal.right.data();
        float* outL = signal.outLeft.data();
        float* outR = signal.outRight.data();
        for (size_t i = 0; i < block; ++i) {
            outL[i] = filterSample(post, postL, filterSample(pre, preL, inL[i]));
            outR[i] = filterSample(post, postR, filterSample(pre, preR, inR[i]));
        }
        benchmark::DoNotOptimize(signal.outLeft.data());
        benchmark::ClobberMemory();
    }
    bench.counters["ns_per_sample"] = benchmark::Counter(
        static_cast<double>(block) * 1e-9, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void blockSizes(benchmark::internal::Benchmark* b) {
    for (int64_t size : {1, 16, 64, 512, 4096}) b->Arg(size);
}

}  // namespace

BENCHMARK(FloorKernel)->Apply(blockSizes);
BENCHMARK(LoopStopped)->Apply(blockSizes);
BENCHMARK(LoopingBitsFilters)->Apply(blockSizes);
BENCHMARK(RecordingWhileLooping)->Apply(blockSizes);

BENCHMARK_MAIN();
