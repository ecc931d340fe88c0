// What --plot does: renders again with the observed in-process engine, checks that it heard
// what the binary played, and draws the picture. Builds without Cairo (Windows) refuse it.
#pragma once

#include <string>

#include "tools/render/AudioData.h"
#include "tools/render/RenderSettings.h"

// Whether this build of the tool can draw a plot; if not, why says so.
bool plotAvailable(std::string& why);

// Renders `input` with the observed engine under `settings`; when its output equals `heard`
// (the binary's) sample for sample, writes the picture to `path`. Otherwise false with a
// message (a different binary was loaded, or the picture could not be written).
bool plotRender(const AudioData& input, const AudioData& heard, const RenderSettings& settings,
                const std::string& title, const std::string& path, std::string& error);
