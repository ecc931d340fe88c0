// Reads note-on and note-off messages from a standard MIDI file (format 0 or 1) and places
// them at sample positions through the file's tempo map.
#pragma once

#include <string>
#include <vector>

#include "tools/render/RenderSettings.h"

// True when the bytes begin like a standard MIDI file.
bool looksLikeMidiFile(const std::vector<unsigned char>& bytes);

// Without tempo events in the file, a quarter note lasts 60 / defaultTempo seconds, so the
// notes follow the tempo the render serves. On damaged data returns false and says why.
bool parseMidiFile(const std::vector<unsigned char>& bytes, double sampleRate, double defaultTempo,
                   std::vector<MidiNote>& notes, std::string& error);
