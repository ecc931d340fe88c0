// The sound file the offline host writes: container by the output's extension, sample depth
// by --bit-depth, with each container's default.
#pragma once

#include <cstddef>
#include <string>

enum class FileType { wav, flac, aiff };
enum class SampleDepth { pcm16, pcm24, float32 };

struct OutputFormat {
    FileType type = FileType::wav;
    SampleDepth depth = SampleDepth::float32;
};

// Chooses the format for `path` (.wav, .flac, .aif or .aiff, any case) and `depthText`
// ("16", "24", "32f", or empty for the container's default). On failure error names the
// file or the depth and says what is possible.
bool chooseOutputFormat(const std::string& path, const std::string& depthText, OutputFormat& format,
                        std::string& error);
// "24-bit FLAC", "32-bit float WAV", ...
std::string describeFormat(const OutputFormat& format);
// False when `frames` stereo frames do not fit the container's 32-bit size fields (WAV, AIFF).
bool fitsOutputFormat(const OutputFormat& format, size_t frames, std::string& error);
// Bits per sample of an integer depth (16 or 24); 32 for float.
int bitsOf(SampleDepth depth);
