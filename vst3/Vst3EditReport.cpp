// Vst3Effect: the editor's changes found at each idle and sent to the host as gestures.
#include <cstring>

#include "vst3/Vst3Effect.h"

namespace {
bool sameBits(float a, float b) { return std::memcmp(&a, &b, sizeof a) == 0; }
}  // namespace

void Vst3Effect::forgetEditorChanges() {
    for (int32_t control = 0; control < kNumControls; ++control) {
        reportedTouches[control] = hostTouches[control].load();
        reported[control] = neutral.getControl(control);
    }
}

void Vst3Effect::reportEditorChanges() {
    for (int32_t control = 0; control < kNumControls; ++control) {
        // The count before and after the value: any movement means process applied the host's
        // value meanwhile, and what is read now is the host's.
        const uint32_t before = hostTouches[control].load();
        const float value = neutral.getControl(control);
        const uint32_t after = hostTouches[control].load();
        if (before != after || after != reportedTouches[control]) {
            reportedTouches[control] = after;
            reported[control] = value;
            continue;
        }
        if (sameBits(value, reported[control])) continue;
        reported[control] = value;
        beginEdit(control);
        performEdit(control, value);
        endEdit(control);
    }
}
