// Preset and bank chunks (engine/ChunkLayout.h) as a host may hand them over: the plug-in's
// own, made up, or damaged.
#pragma once

#include <cstdint>
#include <random>
#include <vector>

#include "engine/ChunkLayout.h"

// Mode flags as three bits: 1 MidiNote-Control, 2 Note->RecordStart, 4 Repeat till NoteOff.
int modeBitsOf(const std::vector<unsigned char>& bank);

// A made-up program record: values mostly in 0..1, some outside, filter types (some out of
// range), a sequence length and a name that may lack its terminator.
void makePreset(std::mt19937& random, std::vector<unsigned char>& out);
// Sixteen made-up programs, step values and the given mode bits.
void makeBank(std::mt19937& random, int modeBits, std::vector<unsigned char>& out);
// Flips, zeroes or fills a few bytes, or keeps the chunk but shortens it; returns the size a
// host would state for it (at most what it holds, sometimes 0 or negative).
intptr_t damage(std::mt19937& random, std::vector<unsigned char>& chunk);
