// What the LV2, VST 3 and CLAP test hosts set their format's output beside: the render tool's
// demo input played through the VST 2 binary, and a bit-for-bit count of differing samples.
#pragma once

#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <string>

#include "tools/render/AudioData.h"
#include "tools/render/DemoLoop.h"
#include "tools/render/RenderSession.h"
#include "tools/render/RenderSettings.h"

// A few seconds of the render tool's demo loop.
inline const AudioData& demoInput() {
    static const AudioData audio = makeDemoLoop(3.0, 120.0);
    return audio;
}

// The settings through the VST 2 binary and the render tool's core.
inline void renderVst2(const AudioData& input, AudioData& output, const RenderSettings& settings) {
    RenderSession session;
    std::string error;
    if (!session.open(BRINDLE_PLUGIN_FILE, input.sampleRate, settings.blockSize, error) ||
        !session.configure(settings, error))
        throw std::runtime_error(error);
    session.render(input, output, settings);
}

// Samples of both channels that differ bit for bit (sizes that differ count everything).
inline size_t differingSamples(const AudioData& a, const AudioData& b) {
    if (a.frames() != b.frames()) return std::max(a.frames(), b.frames()) * 2;
    size_t count = 0;
    for (size_t i = 0; i < a.frames(); ++i) {
        count += std::memcmp(&a.left[i], &b.left[i], sizeof(float)) != 0;
        count += std::memcmp(&a.right[i], &b.right[i], sizeof(float)) != 0;
    }
    return count;
}
