// Writes editor-only settings into a bank chunk of the plug-in (engine/ChunkLayout.h).
#pragma once

#include <cstdint>
#include <vector>

#include "engine/ChunkLayout.h"
#include "tools/render/RenderSettings.h"

// Changes the bank in place; program is the one whose sequence length and filter types change.
// Returns false when the bank has the wrong size or the program is outside 0..15.
bool applyEditorSettings(std::vector<unsigned char>& bank, int32_t program, const EditorSettings& settings);
