// Who the plug-in is, for every format: name, vendor, web page and version. The version's
// numbers come from project() in the top CMakeLists (compile definitions of brindle_plugin).
#pragma once

#include <cstdint>

#ifndef BRINDLE_VERSION_MAJOR
#error "BRINDLE_VERSION_MAJOR comes from the build (plugin/CMakeLists.txt)"
#endif

inline constexpr char kPluginName[] = "brindleLoop";
inline constexpr char kVendorName[] = "Ulvar @ Fennelworks";
inline constexpr char kVendorUrl[] = "https://fennelworks.example/brindleloop";
inline constexpr char kVersionString[] = BRINDLE_VERSION_STRING;
constexpr int32_t kVersionMajor = BRINDLE_VERSION_MAJOR;
constexpr int32_t kVersionMinor = BRINDLE_VERSION_MINOR;
constexpr int32_t kVersionPatch = BRINDLE_VERSION_PATCH;
// The VST 2 edition's unique ID ('BRLP'); the formats that take its place in old projects
// derive their identity from it.
constexpr int32_t kVst2UniqueId = 0x42524C50;
