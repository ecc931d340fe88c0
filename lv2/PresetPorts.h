// A factory preset file (.fxp program chunk, or .fxb bank chunk with its current program) read as
// the control-port values an LV2 preset gives: the same settings, so the same audio.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

struct PresetPorts {
    std::string label;
    // Port symbol and value, in port order.
    std::vector<std::pair<std::string, float>> values;
};

// False with a message when the file is not a preset or bank of this plug-in.
bool readPresetPorts(const std::string& path, PresetPorts& preset, std::string& error);
