// --version for the project's tools: the tool's name and the project's version.
#pragma once

// The project's version, e.g. "1.0", as the top CMakeLists' project() states it.
const char* projectVersion();
// When an argument is --version, prints "TOOL VERSION" and a newline on standard output and
// answers true (the tool then exits with 0).
bool printVersionIfAsked(int argc, const char* const* argv, const char* tool);
