// Stereo audio in memory, as the offline host reads, renders and writes it, and the sound-file
// functions of the build (libsndfile natively, our own WAV code on Windows).
#pragma once

#include <string>
#include <vector>

#include "tools/render/OutputFormat.h"

struct AudioData {
    double sampleRate = 44100.0;
    std::vector<float> left;
    std::vector<float> right;
    size_t frames() const { return left.size(); }
};

// Reads a sound file; mono files play on both channels, channels past two are dropped.
bool readAudioFile(const std::string& path, AudioData& audio, std::string& error);
// False, with the reason, when this build cannot write the format at all.
bool canWriteAudioFormat(const OutputFormat& format, std::string& error);
// Writes stereo in the format; integer depths are rounded and clipped to their range.
bool writeAudioFile(const std::string& path, const AudioData& audio, const OutputFormat& format,
                    std::string& error);
