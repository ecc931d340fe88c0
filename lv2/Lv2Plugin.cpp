// The DSP binary's entry: the LV2 descriptor and its instance functions.
#include <cmath>
#include <cstring>
#include <new>

#include <lv2/core/lv2.h>
#include <lv2/state/state.h>
#include <lv2/urid/urid.h>

#include "lv2/Lv2Effect.h"
#include "lv2/Lv2State.h"
#include "lv2/Lv2Uris.h"

namespace {

const LV2_URID_Map* findUridMap(const LV2_Feature* const* features) {
    if (!features) return nullptr;
    for (const LV2_Feature* const* feature = features; *feature; ++feature)
        if (std::strcmp((*feature)->URI, LV2_URID__map) == 0 && (*feature)->data)
            return static_cast<const LV2_URID_Map*>((*feature)->data);
    return nullptr;
}

Lv2Effect& effectOf(LV2_Handle instance) { return *static_cast<Lv2Effect*>(instance); }

// A rate that is not a positive number cannot be played at: no instance. The URID map is
// optional: lv2apply gives no features at all, and audio and controls need none.
LV2_Handle instantiate(const LV2_Descriptor*, double rate, const char*, const LV2_Feature* const* features) {
    if (!(rate > 0.0) || !std::isfinite(rate)) return nullptr;
    try {
        return new Lv2Effect(rate, findUridMap(features));
    } catch (...) {
        return nullptr;
    }
}

void connectPort(LV2_Handle instance, uint32_t port, void* data) {
    effectOf(instance).connectPort(port, data);
}

void activate(LV2_Handle instance) { effectOf(instance).activate(); }

void run(LV2_Handle instance, uint32_t frames) { effectOf(instance).run(frames); }

void deactivate(LV2_Handle) {}

void cleanup(LV2_Handle instance) { delete static_cast<Lv2Effect*>(instance); }

LV2_State_Status save(LV2_Handle instance, LV2_State_Store_Function store, LV2_State_Handle handle, uint32_t,
                      const LV2_Feature* const*) {
    return saveState(effectOf(instance), store, handle);
}

LV2_State_Status restore(LV2_Handle instance, LV2_State_Retrieve_Function retrieve, LV2_State_Handle handle,
                         uint32_t, const LV2_Feature* const*) {
    return restoreState(effectOf(instance), retrieve, handle);
}

const void* extensionData(const char* uri) {
    static const LV2_State_Interface state{save, restore};
    if (uri && std::strcmp(uri, LV2_STATE__interface) == 0) return &state;
    return nullptr;
}

const LV2_Descriptor kDescriptor{BRINDLE_LV2_URI, instantiate, connectPort,  activate, run,
                                 deactivate,      cleanup,     extensionData};

}  // namespace

LV2_SYMBOL_EXPORT const LV2_Descriptor* lv2_descriptor(uint32_t index) {
    return index == 0 ? &kDescriptor : nullptr;
}
