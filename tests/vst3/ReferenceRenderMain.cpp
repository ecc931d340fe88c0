// brindleloop-vst2-automated: the VST 2 binary playing a sound file as brindleloop-render does,
// with parameter changes at given frames (set between blocks split there), for comparing a
// host's automated VST 3 export (scripts/ardour-session.sh). A test tool, not shipped.
//   vst2-automated IN.wav OUT.wav TEMPO BLOCK STEPS|- NAME=VALUE... @FRAME:INDEX=VALUE...
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>

#include "Vst3TestHost.h"

int main(int argc, char** argv) {
    if (argc < 6) {
        std::fprintf(stderr, "usage: %s IN OUT TEMPO BLOCK STEPS|- [NAME=VALUE]... [@FRAME:INDEX=VALUE]...\n", argv[0]);
        return 2;
    }
    AudioData input, output;
    std::string error;
    if (!readAudioFile(argv[1], input, error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    PlaySettings settings;
    settings.render.tempo = std::atof(argv[3]);
    settings.render.blockSize = std::atoi(argv[4]);
    if (std::string(argv[5]) != "-") {
        std::stringstream list(argv[5]);
        std::string value;
        for (int32_t step = 0; std::getline(list, value, ','); ++step)
            settings.render.editor.steps.emplace_back(step, std::stof(value));
    }
    for (int i = 6; i < argc; ++i) {
        const std::string arg = argv[i];
        const size_t equals = arg.find('=');
        if (equals == std::string::npos) return 2;
        if (arg[0] == '@') {
            const size_t colon = arg.find(':');
            settings.automation.push_back({std::atoll(arg.substr(1, colon - 1).c_str()),
                                           std::atoi(arg.substr(colon + 1, equals - colon - 1).c_str()),
                                           std::atof(arg.substr(equals + 1).c_str())});
        } else {
            settings.render.parameters.emplace_back(arg.substr(0, equals), std::stof(arg.substr(equals + 1)));
        }
    }
    try {
        renderVst2(input, output, settings);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    OutputFormat format;
    if (!writeAudioFile(argv[2], output, format, error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    return 0;
}
