// brindleloop-info PLUGIN...: loads each plug-in binary through its entry point, prints what
// a host sees (identity, parameters, programs), then closes it. Exit code 1 when any fails.
#include <cstdio>
#include <cstring>
#include <string>

#include "tools/info/EffectReport.h"
#include "tools/loader/PluginLoader.h"
#include "tools/version/ToolVersion.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

namespace {

VstTimeInfo timeInfo{};

// A minimal host: a version, a clock at 44.1 kHz and 120 bpm, and no other services.
intptr_t VSTCALL infoHost(AEffect*, int32_t opcode, int32_t, intptr_t, void*, float) {
    switch (opcode) {
    case audioMasterVersion: return 2400;
    case audioMasterGetTime: return reinterpret_cast<intptr_t>(&timeInfo);
    case audioMasterGetSampleRate: return 44100;
    default: return 0;
    }
}

// Under Wine a Unix path from the shell names drive Z:.
std::string hostPath(const char* path) {
#ifdef _WIN32
    if (path[0] == '/') return std::string("Z:") + path;
#endif
    return path;
}

bool report(const char* path) {
    PluginLoader loader;
    if (!loader.load(hostPath(path))) {
        std::fprintf(stderr, "brindleloop-info: %s\n", loader.error().c_str());
        return false;
    }
    const PluginEntryProc viaVstMain = loader.entry("VSTPluginMain");
    const PluginEntryProc viaMain = loader.entry("main");
    const PluginEntryProc entry = viaVstMain ? viaVstMain : viaMain;
    std::printf("%s\n", path);
    std::printf("  entry points    VSTPluginMain %s, main %s%s\n", viaVstMain ? "yes" : "no",
                viaMain ? "yes" : "no", viaVstMain && viaVstMain == viaMain ? " (the same function)" : "");
    if (!entry) {
        std::fprintf(stderr, "brindleloop-info: %s exports no entry point\n", path);
        return false;
    }
    AEffect* effect = entry(infoHost);
    if (!effect) {
        std::fprintf(stderr, "brindleloop-info: the entry point of %s returned no effect\n", path);
        return false;
    }
    const bool ok = printEffectReport(effect, stdout);
    const auto closed = effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f);
    std::printf("  closed          %s\n", closed == 1 ? "yes" : "no (effClose did not answer 1)");
    std::fflush(stdout);
    return ok && closed == 1;
}

}  // namespace

int main(int argc, char** argv) {
#ifdef _WIN32
    // Plain newlines, so that logs read the same from every build.
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    timeInfo.sampleRate = 44100.0;
    timeInfo.tempo = 120.0;
    timeInfo.timeSigNumerator = 4;
    timeInfo.timeSigDenominator = 4;
    timeInfo.flags = kVstTempoValid | kVstPpqPosValid;
    if (printVersionIfAsked(argc, argv, "brindleloop-info")) return 0;
    if (argc < 2 || std::strcmp(argv[1], "--help") == 0) {
        std::fprintf(stderr, "usage: brindleloop-info PLUGIN... | --version\n");
        return argc < 2 ? 2 : 0;
    }
    bool ok = true;
    for (int i = 1; i < argc; ++i) ok = report(argv[i]) && ok;
    return ok ? 0 : 1;
}
