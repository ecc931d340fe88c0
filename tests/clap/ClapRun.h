// Renders through the built brindleLoop.clap what the render tool renders through the VST 2
// binary: the same input, parameters, editor-only settings, preset, notes, tempo and blocks.
#pragma once

#include <string>
#include <vector>

#include "ClapHost.h"
#include "tools/render/AudioData.h"
#include "tools/render/RenderSettings.h"
#include "ReferenceRender.h"

// The library built beside the tests, loaded once.
ClapLibrary& builtLibrary();

struct ClapPlay {
    RenderSettings render;
    bool midiDialect = false;  // notes as MIDI events instead of CLAP notes
    bool inPlace = false;      // the outputs are the input buffers
};

// The state bytes a preset or bank file stands for, made by the neutral plug-in itself.
std::vector<unsigned char> stateOfPresetFile(const std::string& path);
// Plays the settings through the instance (activated here at the input's rate).
void playClap(ClapInstance& instance, const AudioData& input, AudioData& output, const ClapPlay& play);
