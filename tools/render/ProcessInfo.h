// What the offline host needs to know about its own process and platform.
#pragma once

#include <string>

// Folder of the running executable, with a trailing separator; empty when unknown.
std::string executableDirectory();
// The plug-in binary a build puts beside its tools (bin/../plugin/), or else an installed one
// (bin/../lib/vst/ on Linux).
std::string defaultPluginPath();
// True when standard error is a terminal (progress is shown only there).
bool errorIsTerminal();
// Under Wine a Unix path from the shell names drive Z:; elsewhere the path is unchanged.
std::string nativePath(const std::string& path);
// CPU time of the process so far, in seconds.
double processCpuSeconds();
// Replaces `to` with `from`, also when `to` exists.
bool replaceFile(const std::string& from, const std::string& to);
