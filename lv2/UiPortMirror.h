// What the LV2 UI tells the host: every control value the editor changed in the engine is
// written to the host's port (the port belongs to the host, which would otherwise put its old
// value back at the next run), and nothing the host itself set is sent back to it.
#pragma once

#include <cstdint>

#include <lv2/ui/ui.h>

#include "lv2/Lv2Ports.h"

class Lv2Effect;

// User-interface thread.
class UiPortMirror {
public:
    explicit UiPortMirror(Lv2Effect& effect);

    // The host's port_event: what the port holds now.
    void hostValue(uint32_t port, float value);
    // The UI wrote this value to the port itself (an edit): nothing to send for it.
    void written(uint32_t port, float value);
    // Writes each control port whose engine value changed since the last look and differs from
    // what the host holds; returns how many were written.
    int32_t sync(LV2UI_Write_Function write, LV2UI_Controller controller);

private:
    Lv2Effect& effect;
    float seen[kNumControlPorts];
    float host[kNumControlPorts];
};
