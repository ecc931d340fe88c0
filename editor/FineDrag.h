// How a drag turns the pointer's row into a value: at the pointer's position as the editor has
// always done, or, once Shift was held in the drag, by the pointer's travel from where Shift
// changed last, ten times finer while it is held (a value never jumps when Shift goes down or
// up).
#pragma once

#include <cstdint>

#include "editor/DisplayMath.h"

class FineDrag {
public:
    // A new drag follows the position again.
    void start() {
        relative = false;
        moved = false;
    }
    // The value for pointer row y. positional: the value the row stands for; current: the
    // target's value now (what the last event set); travel: the rows from 0 to 1; target: which
    // control the pointer is on (a new one starts from its own value).
    float follow(float positional, float current, int32_t y, int32_t travel, bool shift, int32_t target) {
        float value = positional;
        if (relative || shift) {
            if (!relative || target != anchorTarget) {
                // From the last event's row: this event's own travel counts already.
                anchorRow = moved && target == lastTarget ? lastRow : y;
                anchorValue = displayMath::limited(current, 0.0f, 1.0f);
                anchorTarget = target;
            } else if (shift != fine) {
                anchorRow = lastRow;
                anchorValue = lastValue;
            }
            relative = true;
            fine = shift;
            const float span = static_cast<float>(travel) * (fine ? 10.0f : 1.0f);
            value = displayMath::limited(anchorValue + static_cast<float>(anchorRow - y) / span, 0.0f, 1.0f);
        }
        moved = true;
        lastRow = y;
        lastValue = value;
        lastTarget = target;
        return value;
    }

private:
    bool relative = false;
    bool fine = false;
    bool moved = false;
    int32_t anchorRow = 0;
    float anchorValue = 0.0f;
    int32_t anchorTarget = -1;
    int32_t lastRow = 0;
    float lastValue = 0.0f;
    int32_t lastTarget = -1;
};
