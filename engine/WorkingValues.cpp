// Working values derived from the program slots, by the rules of engine/ParameterTable.h.
#include "engine/WorkingValues.h"

WorkingValues::WorkingValues() {
    // Every slot's default, and what is derived from it (4 size steps, 32 bits, open filters).
    for (int32_t slot = 0; slot < kNumProgramValues; ++slot)
        setProgramValue(slot, kDefaultProgramValues[static_cast<size_t>(slot)]);
    setSequenceLength(kDefaultSequenceLengthValue);
    for (auto& step : stepValues) step = 0.5f;
}

int32_t WorkingValues::sizeStepsOf(float size) { return wholeWorkingValue(workingRuleOf(kParamSize), size); }

void WorkingValues::setProgramValue(int32_t slot, float value) {
    if (slot < 0 || slot >= kNumProgramValues) return;
    programValues[slot] = value;
    const int32_t index = parameterOfSlot(slot);
    switch (index) {
    case kParamSize: sizeSteps = sizeStepsOf(value); break;
    case kParamBits: bitsValue = deriveSingle(workingRuleOf(index), value); break;
    case kParamPreCutoff: preFilter.cutoff = deriveSingle(workingRuleOf(index), value); break;
    case kParamPreReso: preFilter.bandwidth = deriveSingle(workingRuleOf(index), value); break;
    case kParamPostCutoff: postFilter.cutoff = deriveSingle(workingRuleOf(index), value); break;
    case kParamPostReso: postFilter.bandwidth = deriveSingle(workingRuleOf(index), value); break;
    default: break;
    }
    programRevision.fetch_add(1, std::memory_order_release);
}

void WorkingValues::setSequenceLength(float value) {
    sequenceLengthValue = value;
    // At most 16 whatever was stored, so the step index never leaves the step table.
    sequenceLength = sequenceLengthOf(value);
}
