// The observed engine behind the host loop of RenderSession.
#include "tools/render/ObservedRender.h"

#include <algorithm>
#include <cstring>

#include "tools/render/ObservedEffect.h"
#include "tools/render/RenderSession.h"

bool renderObserved(const AudioData& input, const RenderSettings& settings, AudioData& output,
                    EngineEvents& events, std::string& error) {
    events = EngineEvents{};
    // Made as the plug-in's entry point makes its effect; the session deletes it on close.
    const EffectFactory create = [&events](audioMasterCallback host) -> AEffect* {
        try {
            return (new ObservedEffect(host, events))->getEffectRecord();
        } catch (...) {
            return nullptr;
        }
    };
    RenderSession session;
    if (!session.open(create, "the in-process engine", input.sampleRate, settings.blockSize, error))
        return false;
    if (!session.configure(settings, error)) return false;
    session.render(input, output, settings);
    session.close();
    return true;
}

int64_t firstDifference(const AudioData& a, const AudioData& b) {
    const size_t frames = std::min(a.frames(), b.frames());
    for (size_t i = 0; i < frames; ++i) {
        if (std::memcmp(&a.left[i], &b.left[i], sizeof(float)) != 0 ||
            std::memcmp(&a.right[i], &b.right[i], sizeof(float)) != 0)
            return static_cast<int64_t>(i);
    }
    return a.frames() == b.frames() ? -1 : static_cast<int64_t>(frames);
}
