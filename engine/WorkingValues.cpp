// Working values derived from the program slots.
#include "engine/WorkingValues.h"

#include "engine/Ranges.h"

WorkingValues::WorkingValues() {
    for (int32_t slot = 0; slot < kNumProgramValues; ++slot)
        programValues[slot] = kDefaultProgramValues[slot];
    for (auto& step : stepValues) step = 0.5f;
}

int32_t WorkingValues::sizeStepsOf(float size) {
    return static_cast<int32_t>(clampTo(size * 15.0f + 1.0f, 1.0f, 16.0f));
}

void WorkingValues::setProgramValue(int32_t slot, float value) {
    if (slot < 0 || slot >= kNumProgramValues) return;
    programValues[slot] = value;
    switch (slot) {
    case kSlotSize: sizeSteps = sizeStepsOf(value); break;
    case kSlotBits: bitsValue = clampTo(value * 31.0f + 1.0f, 1.0f, 32.0f, 32.0f); break;
    case kSlotPreCutoff: preFilter.cutoff = clampTo(value * value, 0.0f, 1.0f, 1.0f); break;
    case kSlotPreReso: preFilter.bandwidth = clampTo(1.0f - 0.9f * value, 0.1f, 1.0f, 1.0f); break;
    case kSlotPostCutoff: postFilter.cutoff = clampTo(value * value, 0.0f, 1.0f, 1.0f); break;
    case kSlotPostReso: postFilter.bandwidth = clampTo(1.0f - 0.9f * value, 0.1f, 1.0f, 1.0f); break;
    default: break;
    }
}

void WorkingValues::setSequenceLength(float value) {
    sequenceLengthValue = value;
    // At most 16 whatever was stored, so the step index never leaves the step table.
    sequenceLength = static_cast<int32_t>(clampTo(16.0f * value, 1.0f, 16.0f, 16.0f));
}
