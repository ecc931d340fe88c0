// latency, tail and render: no latency; the tail of the longest loop the effect can still play
// after its input falls silent (infinite when a held note or the inverse trigger can keep it
// going); offline rendering plays exactly as real time does.
#include <limits>

#include "clap/ClapPlugin.h"
#include "clap/Extensions.h"
#include "engine/FreezeProgram.h"

namespace {

uint32_t CLAP_ABI latency(const clap_plugin_t*) { return 0; }

uint32_t CLAP_ABI tail(const clap_plugin_t* plugin) {
    constexpr uint32_t kInfinite = static_cast<uint32_t>(std::numeric_limits<int32_t>::max());
    ClapPlugin* self = ClapPlugin::of(plugin);
    if (!self) return kInfinite;
    const FreezePlugin& neutral = self->neutral();
    if (neutral.isRepeatTillNoteOff() || neutral.isInverse()) return kInfinite;
    // Every pass the repeat limit allows over the longest loop the buffer holds.
    const int32_t passes = wholeWorkingValue(workingRuleOf(kParamRepeat), neutral.getParameter(kParamRepeat));
    return static_cast<uint32_t>(passes > 1 ? passes : 1) * static_cast<uint32_t>(kBufferLength);
}

bool CLAP_ABI hardRealtime(const clap_plugin_t*) { return false; }

bool CLAP_ABI setRender(const clap_plugin_t*, int32_t mode) {
    return mode == CLAP_RENDER_REALTIME || mode == CLAP_RENDER_OFFLINE;
}

}  // namespace

const clap_plugin_latency_t kClapLatency = {latency};
const clap_plugin_tail_t kClapTail = {tail};
const clap_plugin_render_t kClapRender = {hardRealtime, setRender};
