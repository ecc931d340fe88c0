// UiPortMirror: the engine's control values compared at each idle.
#include "lv2/UiPortMirror.h"

#include <cstring>

#include "lv2/Lv2Effect.h"

namespace {
bool sameBits(float a, float b) { return std::memcmp(&a, &b, sizeof a) == 0; }
}  // namespace

UiPortMirror::UiPortMirror(Lv2Effect& engine) : effect(engine) {
    for (uint32_t i = 0; i < kNumControlPorts; ++i)
        seen[i] = host[i] = effect.controlValue(kPortFirstParameter + i);
}

void UiPortMirror::hostValue(uint32_t port, float value) {
    if (isControlPort(port)) host[port - kPortFirstParameter] = value;
}

int32_t UiPortMirror::sync(LV2UI_Write_Function write, LV2UI_Controller controller) {
    int32_t written = 0;
    for (uint32_t i = 0; i < kNumControlPorts; ++i) {
        const uint32_t port = kPortFirstParameter + i;
        const float value = effect.controlValue(port);
        if (sameBits(value, seen[i])) continue;
        seen[i] = value;
        // A change the host made reaches the engine through the port: already the host's.
        if (sameBits(value, host[i])) continue;
        host[i] = value;
        if (write) write(controller, port, sizeof value, 0, &value);
        ++written;
    }
    return written;
}

// Only the host's side is known to hold it now: a setting reaches the plug-in later, through the
// port, and must not be sent back as it was before.
void UiPortMirror::written(uint32_t port, float value) { hostValue(port, value); }
