// The plug-in's effect built from the same engine source inside the render tool, its signal
// path run with an EventRecorder: what the plot draws the binary cannot tell a host.
#pragma once

#include <cstdint>

#include "vst2/FreezeEffect.h"
#include "tools/render/EngineEvents.h"

class ObservedEffect final : public FreezeEffect {
public:
    ObservedEffect(audioMasterCallback host, EngineEvents& into);

    void process(float** inputs, float** outputs, int32_t sampleFrames) override;
    void processReplacing(float** inputs, float** outputs, int32_t sampleFrames) override;

private:
    template <bool Accumulate>
    void processObserved(float** inputs, float** outputs, int32_t sampleFrames);

    EngineEvents& events;
    int64_t done = 0;  // samples processed so far: the next block's position in the render
};
