// The editor's idle on the headless Linux port: the slider bank, step panel and waveform redrawn
// from the effect and copied to the window's pixels, with audio running between idles.
#include <vector>

#include <benchmark/benchmark.h>

#include "gui/x11/HeadlessScreen.h"
#include "plugin/FreezeEffectEdit.h"

namespace {

intptr_t VSTCALL benchHost(AEffect*, int32_t opcode, int32_t, intptr_t, void*, float) {
    return opcode == audioMasterVersion ? 2400 : 0;
}

void EditorIdle(benchmark::State& state) {
    headless::enable();
    void* host = headless::createHostWindow(0, 0, 600, 400);
    auto* effect = new FreezeEffectEdit(benchHost);
    AEffect* record = effect->getEffectRecord();
    record->dispatcher(record, effEditOpen, 0, 0, host, 0.0f);
    record->dispatcher(record, effEditIdle, 0, 0, nullptr, 0.0f);
    std::vector<float> in(512, 0.5f), out(512);
    float* inputs[2] = {in.data(), in.data()};
    float* outputs[2] = {out.data(), out.data()};
    for (auto _ : state) {
        state.PauseTiming();
        record->processReplacing(record, inputs, outputs, 512);
        state.ResumeTiming();
        record->dispatcher(record, effEditIdle, 0, 0, nullptr, 0.0f);
    }
    record->dispatcher(record, effEditClose, 0, 0, nullptr, 0.0f);
    record->dispatcher(record, effClose, 0, 0, nullptr, 0.0f);
    headless::destroyHostWindow(host);
}
BENCHMARK(EditorIdle)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
