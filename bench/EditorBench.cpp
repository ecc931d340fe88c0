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
// each time, so every slider, both type boxes and the length are rendered again. range(1): the
// host's scale in percent, in a host window that holds the whole editor.
void EditorIdle(benchmark::State& state) {
    const bool changeProgram = state.range(0) != 0;
    headless::enable();
    auto* effect = new FreezeEffectEdit(benchHost);
    AEffect* record = effect->getEffectRecord();
    record->dispatcher(record, effVendorSpecific, fourCharCode('P', 'r', 'e', 'S'), fourCharCode('A', 'e', 'C', 's'),
                       nullptr, static_cast<float>(state.range(1)) / 100.0f);
    ERect* rect = nullptr;
    record->dispatcher(record, effEditGetRect, 0, 0, &rect, 0.0f);
    void* host = headless::createHostWindow(0, 0, rect != nullptr ? rect->right : 600,
                                            rect != nullptr ? rect->bottom : 400);
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
BENCHMARK(EditorIdle)->ArgsProduct({{0, 1}, {100, 200, 300}})->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
