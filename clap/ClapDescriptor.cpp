// The descriptor and the extension lookup shared by every instance.
#include <cstring>

#include "clap/ClapDescriptor.h"
#include "clap/Extensions.h"
#include "plugin/PluginInfo.h"

namespace {

const char* const kFeatures[] = {"audio-effect", "glitch", "delay", "stereo", nullptr};

}  // namespace

const clap_plugin_descriptor_t kClapDescriptor = {
    CLAP_VERSION, kClapPluginId, kPluginName, kVendorName, kVendorUrl, kVendorUrl, kVendorUrl, BRINDLE_CLAP_VERSION,
    "A dynamic buffer freezer: the input's loudness freezes a loop that repeats, filtered and crushed",
    kFeatures};

const void* clapExtension(const char* id) {
    if (!id) return nullptr;
    struct Entry {
        const char* id;
        const void* table;
    };
    static const Entry kTable[] = {
        {CLAP_EXT_AUDIO_PORTS, &kClapAudioPorts},     {CLAP_EXT_NOTE_PORTS, &kClapNotePorts},
        {CLAP_EXT_PARAMS, &kClapParams},              {CLAP_EXT_STATE, &kClapState},
        {CLAP_EXT_LATENCY, &kClapLatency},            {CLAP_EXT_TAIL, &kClapTail},
        {CLAP_EXT_RENDER, &kClapRender},              {CLAP_EXT_GUI, &kClapGui},
        {CLAP_EXT_POSIX_FD_SUPPORT, &kClapFdSupport}, {CLAP_EXT_TIMER_SUPPORT, &kClapTimerSupport},
    };
    for (const Entry& entry : kTable)
        if (std::strcmp(id, entry.id) == 0) return entry.table;
    return nullptr;
}

