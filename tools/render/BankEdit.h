// Writes editor-only settings into a 1476-byte bank chunk of the plug-in.
#pragma once

#include <cstdint>
#include <vector>

#include "tools/render/RenderSettings.h"

constexpr int32_t kRenderBankSize = 1476;
constexpr int32_t kRenderPresetSize = 84;

// Changes the bank in place; program is the one whose sequence length and filter types change.
// Returns false when the bank has the wrong size or the program is outside 0..15.
bool applyEditorSettings(std::vector<unsigned char>& bank, int32_t program,
                         const EditorSettings& settings);
