// The version text of the tools; the number is given by the build, never written here.
#include "tools/version/ToolVersion.h"

#include <cstdio>
#include <cstring>

const char* projectVersion() { return BRINDLE_PROJECT_VERSION; }

bool printVersionIfAsked(int argc, const char* const* argv, const char* tool) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("%s %s\n", tool, projectVersion());
            return true;
        }
    }
    return false;
}
