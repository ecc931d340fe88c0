// The render again with the plug-in's engine built into the tool, observed: driven by the same
// host loop as the binary (blocks, tempo, rate, MIDI, chunks, parameters), so its output can
// be checked against the binary's before its events are shown as what was heard.
#pragma once

#include <cstdint>
#include <string>

#include "tools/render/AudioData.h"
#include "tools/render/EngineEvents.h"
#include "tools/render/RenderSettings.h"

// Renders `input` with the observed engine into `output` and `events`; false with a message
// when the effect cannot be made or configured.
bool renderObserved(const AudioData& input, const RenderSettings& settings, AudioData& output,
                    EngineEvents& events, std::string& error);

// The first frame where the two renders differ in any bit of either channel, or -1 where they
// are the same (renders of different lengths differ at the shorter one's end).
int64_t firstDifference(const AudioData& a, const AudioData& b);
