// The module's exported entry points: the factory, and the load and unload calls each
// platform's hosts make (counted: a host may make them more than once).
#include <atomic>

#include "vst3/Vst3Module.h"

#ifdef _WIN32
#include <windows.h>

#include "gui/ModuleInstance.h"

// Keeps the module handle: window classes and bitmap resources are looked up through it.
BOOL WINAPI DllMain(HINSTANCE instance, DWORD, LPVOID) {
    moduleInstance = instance;
    return TRUE;
}
#endif

// 32-bit Windows exports through the module-definition file (undecorated names); elsewhere
// the attribute exports.
#if defined(_WIN32) && !defined(_WIN64)
#define BRINDLE_VST3_EXPORT extern "C"
#elif defined(_WIN32)
#define BRINDLE_VST3_EXPORT extern "C" __declspec(dllexport)
#else
#define BRINDLE_VST3_EXPORT extern "C" __attribute__((visibility("default")))
#endif

namespace {
std::atomic<int> entries{0};
}

BRINDLE_VST3_EXPORT v3::IPluginFactory* V3CALL GetPluginFactory() { return Vst3Module::acquire(); }

#ifdef _WIN32
BRINDLE_VST3_EXPORT bool InitDll() {
    ++entries;
    return true;
}
BRINDLE_VST3_EXPORT bool ExitDll() {
    return --entries >= 0;
}
#else
BRINDLE_VST3_EXPORT bool ModuleEntry(void*) {
    ++entries;
    return true;
}
BRINDLE_VST3_EXPORT bool ModuleExit() {
    return --entries >= 0;
}
#endif
