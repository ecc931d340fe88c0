// Reads MIDI notes from text: one "samplePosition note velocity" line each; velocity 0 is a
// note-off; '#' starts a comment.
#pragma once

#include <string>
#include <vector>

#include "tools/render/RenderSettings.h"

// Parses the text; on a bad line returns false and says which line and why.
bool parseMidiText(const std::string& text, std::vector<MidiNote>& notes, std::string& error);
