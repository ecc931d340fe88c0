// The library's entry point, exported as main and VSTPluginMain, and its attach routine.
#include <new>

#include "vst2/FreezeEffectEdit.h"

#ifdef _WIN32
#include <windows.h>

#include "gui/ModuleInstance.h"

// Keeps the module handle: window classes and bitmap resources are looked up through it.
BOOL WINAPI DllMain(HINSTANCE instance, DWORD, LPVOID) {
    moduleInstance = instance;
    return TRUE;
}
#endif

#if defined(_WIN32)
#define BRINDLE_EXPORT extern "C"
#else
#define BRINDLE_EXPORT extern "C" __attribute__((visibility("default")))
#endif

namespace {

AEffect* createEffect(audioMasterCallback hostCallback) {
    if (!hostCallback) return nullptr;
    // Hosts too old to answer the version request get nothing.
    if (hostCallback(nullptr, audioMasterVersion, 0, 0, nullptr, 0.0f) == 0) return nullptr;
    FreezeEffectEdit* effect = nullptr;
    try {
        effect = new FreezeEffectEdit(hostCallback);
    } catch (...) {
        return nullptr;
    }
    if (editorCreationFailed) {
        delete effect;
        return nullptr;
    }
    return effect->getEffectRecord();
}

}  // namespace

// C++ reserves the name main. On Windows the module-definition file exports pluginMain as
// both main and VSTPluginMain; on Linux main is an alias of VSTPluginMain.
#ifdef _WIN32
BRINDLE_EXPORT AEffect* VSTCALL pluginMain(audioMasterCallback hostCallback) {
    return createEffect(hostCallback);
}
#else
BRINDLE_EXPORT AEffect* VSTPluginMain(audioMasterCallback hostCallback) { return createEffect(hostCallback); }
#endif

#ifndef _WIN32
BRINDLE_EXPORT AEffect* pluginMainAlias(audioMasterCallback hostCallback) __asm__("main")
    __attribute__((alias("VSTPluginMain")));
#endif
