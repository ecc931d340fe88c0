// The editor's idle on the headless Linux port: the slider bank, step panel and waveform redrawn
// from the effect and copied to the window's pixels, with audio running between idles.
#include <vector>

#include <benchmark/benchmark.h>

#include "gui/x11/HeadlessScreen.h"
#include "vst2/FreezeEffectEdit.h"

namespace {

intptr_t VSTCALL benchHost(AEffect*, int32_t opcode, int32_t, intptr_t, void*, float) {
    return opcode == audioMasterVersion ? 2400 : 0;
}

// range(0): 0 audio runs between idles (the meter moves); 1 a host also loads another program
// each time, so every slider, both type boxes and the length are rendered again.
void EditorIdle(benchmark::State& state) {
    const bool changeProgram = state.range(0) != 0;
    headless::enable();
    void* host = headless::createHostWindow(0, 0, 600, 400);
    auto* effect = new FreezeEffectEdit(benchHost);
    AEffect* record = effect->getEffectRecord();
    record->dispatcher(record, effEditOpen, 0, 0, host, 0.0f);
    record->dispatcher(record, effEditIdle, 0, 0, nullptr, 0.0f);
    std::vector<float> in(512, 0.5f), out(512);
    float* inputs[2] = {in.data(), in.data()};
    float* outputs[2] = {out.data(), out.data()};
    int32_t round = 0;
    for (auto _ : state) {
        state.PauseTiming();
        record->processReplacing(record, inputs, outputs, 512);
        if (changeProgram) {
            for (int32_t index = 0; index < 12; ++index) {
                record->setParameter(record, index,
                                     static_cast<float>((round * 7 + index * 13) % 100) / 100.0f);
            }
            effect->plugin().setSequenceLength(round % 2 == 0 ? 0.5f : 1.0f);
            effect->plugin().cycleFilterType(1);
            effect->plugin().cycleFilterType(2);
            ++round;
        }
        state.ResumeTiming();
        record->dispatcher(record, effEditIdle, 0, 0, nullptr, 0.0f);
    }
    record->dispatcher(record, effEditClose, 0, 0, nullptr, 0.0f);
    record->dispatcher(record, effClose, 0, 0, nullptr, 0.0f);
    headless::destroyHostWindow(host);
}
BENCHMARK(EditorIdle)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
