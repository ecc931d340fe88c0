// The library's entry: the exported clap_entry record, its factory and the descriptor, and the
// extension lookup shared by every instance.
#include <cstring>
#include <mutex>
#include <new>

#include "clap/ClapDescriptor.h"
#include "clap/ClapPlugin.h"
#include "clap/Extensions.h"
#include "plugin/PluginInfo.h"

#ifdef _WIN32
#include <windows.h>

#include "gui/ModuleInstance.h"

// Keeps the module handle: window classes and bitmap resources are looked up through it.
BOOL WINAPI DllMain(HINSTANCE instance, DWORD, LPVOID) {
    moduleInstance = instance;
    return TRUE;
}
#define BRINDLE_CLAP_EXPORT extern "C" __declspec(dllexport)
#else
#define BRINDLE_CLAP_EXPORT extern "C" __attribute__((visibility("default")))
#endif

namespace {

const char* const kFeatures[] = {"audio-effect", "glitch", "delay", "stereo", nullptr};

}  // namespace

const clap_plugin_descriptor_t kClapDescriptor = {
    CLAP_VERSION, kClapPluginId, kPluginName, kVendorName, kVendorUrl, kVendorUrl, kVendorUrl, kVersionString,
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

namespace {

// Hosts may init more than once (a host and a wrapper in one process): counted.
std::mutex initLock;
int initCount = 0;

bool CLAP_ABI entryInit(const char*) {
    std::lock_guard<std::mutex> hold(initLock);
    ++initCount;
    return true;
}

void CLAP_ABI entryDeinit() {
    std::lock_guard<std::mutex> hold(initLock);
    if (initCount > 0) --initCount;
}

uint32_t CLAP_ABI pluginCount(const clap_plugin_factory_t*) { return 1; }

const clap_plugin_descriptor_t* CLAP_ABI pluginDescriptor(const clap_plugin_factory_t*, uint32_t index) {
    return index == 0 ? &kClapDescriptor : nullptr;
}

const clap_plugin_t* CLAP_ABI createPlugin(const clap_plugin_factory_t*, const clap_host_t* host,
                                           const char* id) {
    if (!host || !id || std::strcmp(id, kClapPluginId) != 0) return nullptr;
    try {
        return (new ClapPlugin(host))->record();
    } catch (...) {
        return nullptr;
    }
}

const clap_plugin_factory_t kFactory = {pluginCount, pluginDescriptor, createPlugin};

const void* CLAP_ABI entryFactory(const char* id) {
    return id && std::strcmp(id, CLAP_PLUGIN_FACTORY_ID) == 0 ? &kFactory : nullptr;
}

}  // namespace

BRINDLE_CLAP_EXPORT const clap_plugin_entry_t clap_entry = {CLAP_VERSION, entryInit, entryDeinit, entryFactory};
