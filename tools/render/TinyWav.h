// A small WAV reader and writer with no dependencies, for builds without libsndfile and for
// the tests: reads 8-, 16-, 24- and 32-bit PCM and 32-bit float, writes 16- and 24-bit PCM
// and 32-bit float.
#pragma once

#include <string>

#include "tools/render/AudioData.h"

bool readWav(const std::string& path, AudioData& audio, std::string& error);
bool writeWav(const std::string& path, const AudioData& audio, SampleDepth depth, std::string& error);
