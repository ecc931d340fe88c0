// The observed effect's process entries: those of FreezeEffect, with the observer.
#include "tools/render/ObservedEffect.h"

#include "engine/FreezeCoreBlock.h"
#include "vst2/HostTimeRequest.h"

ObservedEffect::ObservedEffect(audioMasterCallback host, EngineEvents& into)
    : FreezeEffect(host), events(into) {}

template <bool Accumulate>
void ObservedEffect::processObserved(float** inputs, float** outputs, int32_t sampleFrames) {
    HostTimeRequest time(*this);
    neutral.core().processBlock<Accumulate>(inputs, outputs, sampleFrames, time, EventRecorder(events, done));
    if (sampleFrames > 0 && inputs && outputs) done += sampleFrames;
}

void ObservedEffect::processReplacing(float** inputs, float** outputs, int32_t sampleFrames) {
    processObserved<false>(inputs, outputs, sampleFrames);
}

void ObservedEffect::process(float** inputs, float** outputs, int32_t sampleFrames) {
    processObserved<true>(inputs, outputs, sampleFrames);
}
