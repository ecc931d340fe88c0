// Loads a plug-in library by path and finds its entry point, as a host does.
#pragma once

#include <string>

#include "vst2/VstApi.h"

using PluginEntryProc = AEffect*(VSTCALL*)(audioMasterCallback);

class PluginLoader {
public:
    PluginLoader() = default;
    PluginLoader(const PluginLoader&) = delete;
    PluginLoader& operator=(const PluginLoader&) = delete;
    ~PluginLoader();

    // Loads the library; on failure error() says why.
    bool load(const std::string& path);
    // The entry under the given exported name, or null.
    PluginEntryProc entry(const char* name) const;
    // VSTPluginMain when exported, otherwise main.
    PluginEntryProc entry() const;
    const std::string& error() const { return lastError; }
    void unload();

private:
    void* handle = nullptr;
    std::string lastError;
};
