// Who the plug-in is to a CLAP host: its descriptor (id, names, version, features).
#pragma once

#include "clap/ClapCore.h"

// Stable forever: hosts keep it in projects.
inline constexpr char kClapPluginId[] = "com.fennelworks.brindleloop";
extern const clap_plugin_descriptor_t kClapDescriptor;
