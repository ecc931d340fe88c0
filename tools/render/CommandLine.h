// The offline host's command line.
#pragma once

#include <string>

#include "tools/render/OutputFormat.h"
#include "tools/render/RenderSettings.h"

struct CommandLine {
    std::string input;
    std::string output;
    std::string bitDepth;  // --bit-depth as given; empty: the container's default
    OutputFormat format;   // chosen from the output's extension and bitDepth
    std::string plugin;    // empty: the plug-in built beside the tool
    std::string midiFile;
    std::string plot;        // --plot: the picture of the render (PNG)
    std::string savePreset;  // .fxp of the current program after the settings
    std::string saveBank;    // .fxb of the whole bank after the settings
    bool demo = false;
    double demoSeconds = 16.0;
    bool timing = false;
    bool quiet = false;
    bool help = false;
    RenderSettings settings;

    // Only preset or bank files are asked for: nothing is rendered.
    bool savesOnly() const {
        return input.empty() && !demo && plot.empty() && (!savePreset.empty() || !saveBank.empty());
    }
};

// Parses argv[1..]; on a bad argument returns false with a message naming it.
bool parseCommandLine(int argc, const char* const* argv, CommandLine& line, std::string& error);
const char* usageText();
