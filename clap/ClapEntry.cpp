// The library's entry: the exported clap_entry record and its factory.
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
