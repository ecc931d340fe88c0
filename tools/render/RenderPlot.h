// The picture of a render: input, the envelope follower's level with the threshold, the
// engine's events and the output over one time axis in seconds and bars, as a PNG (Cairo).
#pragma once

#include <string>

#include "tools/render/AudioData.h"
#include "tools/render/EngineEvents.h"

constexpr int kPlotWidth = 1600;
constexpr int kPlotHeight = 1000;

struct PlotData {
    const AudioData& input;
    const AudioData& output;
    const EngineEvents& events;
    double tempo;       // beats per minute; bars of four beats
    std::string title;  // what was rendered, for the heading
};

// Writes the picture to `path` (through a temporary file: a failure leaves nothing there).
bool writeRenderPlot(const std::string& path, const PlotData& plot, std::string& error);
