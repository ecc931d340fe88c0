// Stereo audio in memory, as the offline host reads, renders and writes it.
#pragma once

#include <string>
#include <vector>

struct AudioData {
    double sampleRate = 44100.0;
    std::vector<float> left;
    std::vector<float> right;
    size_t frames() const { return left.size(); }
};

// Reads a sound file; mono files play on both channels, channels past two are dropped.
bool readAudioFile(const std::string& path, AudioData& audio, std::string& error);
// Writes a 32-bit float WAV file.
bool writeAudioFile(const std::string& path, const AudioData& audio, std::string& error);
