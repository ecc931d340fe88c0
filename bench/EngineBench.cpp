// Cost of processReplacing per stereo sample at several block sizes and in four engine states,
// beside the floor kernels: the envelope follower alone, and the four biquads (pre and post,
// left and right) alone.
#include <benchmark/benchmark.h>


#include <cmath>
#include <memory>
#include <random>
#include <vector>

#include "engine/Filter.h"
#include "vst2/FreezeEffect.h"
#include "engine/StereoVector.h"

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
    explicit Signal(float amplitude)
        : left(kMaxBlock), right(kMaxBlock), outLeft(kMaxBlock), outRight(kMaxBlock) {
        std::mt19937 noise(5);
        std::uniform_real_distribution<float> uniform(-1.0f, 1.0f);
        for (int32_t i = 0; i < kMaxBlock; ++i) {
            left[static_cast<size_t>(i)] = amplitude * uniform(noise);
            right[static_cast<size_t>(i)] = amplitude * uniform(noise);
        }
    }
};

// CPU time per stereo sample, shown in seconds with an SI prefix (for example 7.9ns).
benchmark::Counter perSample(size_t block) {
    return benchmark::Counter(static_cast<double>(block),
                              benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

enum class State { Stopped, DefaultLooping, Looping, RecordingWhileLooping };

// A loop held by a note so that it never stops (Repeat till NoteOff), its length handed back
// to the tempo grid.
void holdLoop(FreezeEffect& effect) {
    effect.plugin().toggleRepeatTillNoteOff();
    effect.plugin().noteOn(60, 0);
    // Let the note apply, then hand the loop length back to the tempo grid.
    effect.plugin().toggleMidiNoteControl();
    effect.processReplacing(nullptr, nullptr, 0);
    float zero[1] = {0.0f};
    float* one[2] = {zero, zero};
    float sink[2][1];
    float* sinks[2] = {sink[0], sink[1]};
    effect.processReplacing(one, sinks, 1);
    effect.plugin().toggleMidiNoteControl();
}

std::unique_ptr<FreezeEffect> makeEngine(State state) {
    benchTime.sampleRate = 44100.0;
    benchTime.tempo = 120.0;
    auto effect = std::make_unique<FreezeEffect>(benchHost);
    if (state == State::DefaultLooping) holdLoop(*effect);  // the default program otherwise
    if (state == State::Looping || state == State::RecordingWhileLooping) {
        // Both filters, reduced bits, and the held loop.
        effect->setParameter(kParamBits, 0.5f);
        effect->plugin().cycleFilterType(1);
        effect->plugin().cycleFilterType(2);
        effect->plugin().cycleFilterType(2);
        effect->plugin().cycleFilterType(2);
        effect->setParameter(kParamPreCutoff, 0.7f);
        effect->setParameter(kParamPostCutoff, 0.5f);
        effect->setParameter(kParamPostReso, 0.6f);
        effect->setParameter(kParamDryWet, 0.8f);
        holdLoop(*effect);
    }
    // Recording most of the time: five-second loops at 1 BPM, retriggered by a loud input.
    if (state == State::RecordingWhileLooping) benchTime.tempo = 1.0;
    // A loud start records a loop (the stopped state plays it out), then quiet input.
    Signal loud(0.5f);
    Signal quiet(0.01f);
    for (int32_t i = 0; i < 40; ++i) {
        Signal& warm = i < 1 ? loud : quiet;
        float* in[2] = {warm.left.data(), warm.right.data()};
        float* out[2] = {warm.outLeft.data(), warm.outRight.data()};
        effect->processReplacing(in, out, kMaxBlock);
    }
    return effect;
}

void runEngine(benchmark::State& bench, State state, float amplitude) {
    const auto block = static_cast<int32_t>(bench.range(0));
    Signal signal(amplitude);
    auto effect = makeEngine(state);
    float* in[2] = {signal.left.data(), signal.right.data()};
    float* out[2] = {signal.outLeft.data(), signal.outRight.data()};
    for (auto _ : bench) {
        effect->processReplacing(in, out, block);
        benchmark::DoNotOptimize(signal.outLeft.data());
        benchmark::ClobberMemory();
    }
    if (state == State::Stopped && effect->plugin().getEnvelope() > effect->plugin().getThreshold())
        bench.SkipWithError("triggered");
    bench.counters["per_sample"] = perSample(block);
}

// What every block costs before its first sample: the host's time request, the block
// preparation and the setting up of the runs (processReplacing of 0 samples, default program
// looping).
void BlockPreparation(benchmark::State& bench) {
    auto effect = makeEngine(State::DefaultLooping);
    float* none[2] = {nullptr, nullptr};
    for (auto _ : bench) {
        effect->processReplacing(none, none, 0);
        benchmark::ClobberMemory();
    }
}

void LoopStopped(benchmark::State& bench) { runEngine(bench, State::Stopped, 0.01f); }
void DefaultLooping(benchmark::State& bench) { runEngine(bench, State::DefaultLooping, 0.01f); }
void LoopingBitsFilters(benchmark::State& bench) { runEngine(bench, State::Looping, 0.01f); }
void RecordingWhileLooping(benchmark::State& bench) { runEngine(bench, State::RecordingWhileLooping, 0.5f); }

// The envelope follower exactly as the engine defines it, with its flush, over the same
// input as the engine states and with the default program's coefficients: the one recursion
// every state runs. Two writings with bit-identical results: the plain one, and one whose
// choice of coefficient (an integer compare: both values are non-negative) and flush (a
// branch that is almost never taken) stay off the chain of subtraction, multiplication and
// addition that each sample waits for. The second is the floor.
float attackOfDefault() { return static_cast<float>(std::exp(std::log(0.01) / (2.0 * 44100.0 * 0.001))); }
float releaseOfDefault() { return static_cast<float>(std::exp(std::log(0.01) / (102.0 * 44100.0 * 0.001))); }

void EnvelopeKernelPlain(benchmark::State& bench) {
    const auto block = static_cast<size_t>(bench.range(0));
    Signal signal(0.01f);
    const float attack = attackOfDefault();
    const float release = releaseOfDefault();
    float result = 0.0f;
    for (auto _ : bench) {
        const float* inL = signal.left.data();
        const float* inR = signal.right.data();
        float envelope = result;
        for (size_t i = 0; i < block; ++i) {
            const float level = std::fabs(inL[i]) * 0.5f + std::fabs(inR[i]) * 0.5f;
            const float c = level > envelope ? attack : release;
            envelope = level + (envelope - level) * c;
            if (!(std::fabs(envelope) >= 1e-10f)) envelope = 0.0f;
        }
        result = envelope;
        benchmark::DoNotOptimize(result);
        benchmark::ClobberMemory();
    }
    bench.counters["per_sample"] = perSample(block);
}

void EnvelopeKernel(benchmark::State& bench) {
    typedef float Float4 __attribute__((vector_size(16)));
    typedef int32_t Int4 __attribute__((vector_size(16)));
    const auto block = static_cast<size_t>(bench.range(0));
    Signal signal(0.01f);
    const Float4 attack{attackOfDefault(), 0.0f, 0.0f, 0.0f};
    const Float4 release{releaseOfDefault(), 0.0f, 0.0f, 0.0f};
    float result = 0.0f;
    for (auto _ : bench) {
        const float* inL = signal.left.data();
        const float* inR = signal.right.data();
        Float4 envelope{result, 0.0f, 0.0f, 0.0f};
        for (size_t i = 0; i < block; ++i) {
            const Float4 level{std::fabs(inL[i]) * 0.5f + std::fabs(inR[i]) * 0.5f, 0.0f, 0.0f, 0.0f};
            const Int4 rising = reinterpret_cast<Int4>(level) > reinterpret_cast<Int4>(envelope);
            const Float4 c = reinterpret_cast<Float4>((rising & reinterpret_cast<Int4>(attack)) |
                                                      (~rising & reinterpret_cast<Int4>(release)));
            envelope = level + (envelope - level) * c;
            // Stays a branch, as in the engine: predictable, not a select on the chain.
            if (__builtin_expect_with_probability(!(envelope[0] >= 1e-10f), 0, 0.999))
                envelope = Float4{0.0f, 0.0f, 0.0f, 0.0f};
        }
        result = envelope[0];
        benchmark::DoNotOptimize(result);
        benchmark::ClobberMemory();
    }
    bench.counters["per_sample"] = perSample(block);
}

// The recursive work no implementation can skip: two stereo biquads in series per sample.
void FloorKernel(benchmark::State& bench) {
    const auto block = static_cast<size_t>(bench.range(0));
    Signal signal(0.5f);
    const BiquadCoefficients pre = calcBiquad(0, 5000.0, 44100.0, 1.0);
    const BiquadCoefficients post = calcBiquad(2, 2300.0, 44100.0, 0.5);
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
    bench.counters["per_sample"] = perSample(block);
}

// The same four biquads with both channels in one register, as the engine runs them.
void FloorKernelStereo(benchmark::State& bench) {
    const auto block = static_cast<size_t>(bench.range(0));
    Signal signal(0.5f);
    const StereoCoefficients pre(calcBiquad(0, 5000.0, 44100.0, 1.0));
    const StereoCoefficients post(calcBiquad(2, 2300.0, 44100.0, 0.5));
    StereoState preState{BiquadState{}, BiquadState{}};
    StereoState postState{BiquadState{}, BiquadState{}};
    for (auto _ : bench) {
        const float* inL = signal.left.data();
        const float* inR = signal.right.data();
        float* outL = signal.outLeft.data();
        float* outR = signal.outRight.data();
        for (size_t i = 0; i < block; ++i) {
            const Stereo4 y = filterStereo(post, postState,
                                           filterStereo(pre, preState, Stereo4{inL[i], inR[i], 0.0f, 0.0f}));
            outL[i] = y[0];
            outR[i] = y[1];
        }
        benchmark::DoNotOptimize(signal.outLeft.data());
        benchmark::ClobberMemory();
    }
    bench.counters["per_sample"] = perSample(block);
}

void blockSizes(benchmark::internal::Benchmark* b) {
    for (int64_t size : {1, 16, 32, 64, 512, 4096}) b->Arg(size);
}

}  // namespace

BENCHMARK(EnvelopeKernelPlain)->Apply(blockSizes);
BENCHMARK(EnvelopeKernel)->Apply(blockSizes);
BENCHMARK(FloorKernel)->Apply(blockSizes);
BENCHMARK(FloorKernelStereo)->Apply(blockSizes);
BENCHMARK(BlockPreparation);
BENCHMARK(LoopStopped)->Apply(blockSizes);
BENCHMARK(DefaultLooping)->Apply(blockSizes);
BENCHMARK(LoopingBitsFilters)->Apply(blockSizes);
BENCHMARK(RecordingWhileLooping)->Apply(blockSizes);

BENCHMARK_MAIN();
