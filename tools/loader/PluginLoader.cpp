// Library loading through the platform's own loader.
#include "tools/loader/PluginLoader.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <dlfcn.h>
#endif

PluginLoader::~PluginLoader() { unload(); }

bool PluginLoader::load(const std::string& path) {
    unload();
#ifdef _WIN32
    handle = reinterpret_cast<void*>(LoadLibraryA(path.c_str()));
    if (!handle) lastError = "cannot load " + path + " (error " + std::to_string(GetLastError()) + ")";
#else
    int flags = RTLD_NOW | RTLD_LOCAL;
#if defined(__SANITIZE_ADDRESS__)
    // Keep the plug-in and its libraries mapped after dlclose: the leak checker runs at exit
    // and cannot read what an unmapped library still holds (pixman's start-up tables).
    flags |= RTLD_NODELETE;
#endif
    handle = dlopen(path.c_str(), flags);
    if (!handle) {
        const char* why = dlerror();
        lastError = "cannot load " + path + ": " + (why ? why : "unknown error");
    }
#endif
    return handle != nullptr;
}

PluginEntryProc PluginLoader::entry(const char* name) const {
    if (!handle) return nullptr;
#ifdef _WIN32
    FARPROC proc = GetProcAddress(static_cast<HMODULE>(handle), name);
    return reinterpret_cast<PluginEntryProc>(reinterpret_cast<void*>(proc));
#else
    return reinterpret_cast<PluginEntryProc>(dlsym(handle, name));
#endif
}

PluginEntryProc PluginLoader::entry() const {
    PluginEntryProc proc = entry("VSTPluginMain");
    return proc ? proc : entry("main");
}

void PluginLoader::unload() {
    if (!handle) return;
#ifdef _WIN32
    FreeLibrary(static_cast<HMODULE>(handle));
#else
    dlclose(handle);
#endif
    handle = nullptr;
}
