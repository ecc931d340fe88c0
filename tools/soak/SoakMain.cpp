// brindleloop-soak [--minutes M] [--seed S] [--plugin PATH] | --version
// Renders M minutes of audio (default 60) through the plug-in binary (default: the one this
// build made) and exits non-zero when a check fails.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "SoakRun.h"
#include "tools/version/ToolVersion.h"

int main(int argc, char** argv) {
    if (printVersionIfAsked(argc, argv, "brindleloop-soak")) return 0;
    SoakSettings settings;
    settings.plugin = BRINDLE_PLUGIN_FILE;
    for (int i = 1; i < argc; ++i) {
        const bool hasValue = i + 1 < argc;
        if (std::strcmp(argv[i], "--minutes") == 0 && hasValue) {
            settings.minutes = std::atof(argv[++i]);
        } else if (std::strcmp(argv[i], "--seed") == 0 && hasValue) {
            settings.seed = static_cast<uint32_t>(std::strtoul(argv[++i], nullptr, 10));
        } else if (std::strcmp(argv[i], "--plugin") == 0 && hasValue) {
            settings.plugin = argv[++i];
        } else {
            std::fprintf(stderr, "usage: %s [--minutes M] [--seed S] [--plugin PATH]\n", argv[0]);
            return 2;
        }
    }
    if (!(settings.minutes > 0.0)) {
        std::fprintf(stderr, "--minutes must be positive\n");
        return 2;
    }
    return runSoak(settings);
}
