// Extension and bit-depth choices of the offline host's output.
#include "tools/render/OutputFormat.h"

#include <cctype>
#include <cstdint>

namespace {

std::string lowerExtension(const std::string& path) {
    const size_t slash = path.find_last_of("/\\");
    const size_t dot = path.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return std::string();
    std::string extension = path.substr(dot);
    for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return extension;
}

}  // namespace

int bitsOf(SampleDepth depth) {
    switch (depth) {
    case SampleDepth::pcm16: return 16;
    case SampleDepth::pcm24: return 24;
    case SampleDepth::float32: break;
    }
    return 32;
}

bool chooseOutputFormat(const std::string& path, const std::string& depthText, OutputFormat& format,
                        std::string& error) {
    const std::string extension = lowerExtension(path);
    // Defaults: float WAV keeps every bit of the render; FLAC holds integers only, and 24-bit
    // AIFF is what every program that reads AIFF reads.
    if (extension == ".wav") {
        format = {FileType::wav, SampleDepth::float32};
    } else if (extension == ".flac") {
        format = {FileType::flac, SampleDepth::pcm24};
    } else if (extension == ".aif" || extension == ".aiff") {
        format = {FileType::aiff, SampleDepth::pcm24};
    } else {
        error = path + ": the extension chooses the output format, and \"" + extension +
                "\" is none of .wav, .flac, .aif, .aiff";
        return false;
    }
    if (depthText.empty()) return true;
    if (depthText == "16") {
        format.depth = SampleDepth::pcm16;
    } else if (depthText == "24") {
        format.depth = SampleDepth::pcm24;
    } else if (depthText == "32f") {
        if (format.type == FileType::flac) {
            error = "--bit-depth 32f: FLAC holds integer samples only; " + path + " can be 16 or 24 bits";
            return false;
        }
        format.depth = SampleDepth::float32;
    } else {
        error = "--bit-depth wants 16, 24 or 32f, not \"" + depthText + "\"";
        return false;
    }
    return true;
}

std::string describeFormat(const OutputFormat& format) {
    const char* type = format.type == FileType::wav ? "WAV" : format.type == FileType::flac ? "FLAC" : "AIFF";
    const char* depth = format.depth == SampleDepth::pcm16   ? "16-bit"
                        : format.depth == SampleDepth::pcm24 ? "24-bit"
                                                             : "32-bit float";
    return std::string(depth) + " " + type;
}

bool fitsOutputFormat(const OutputFormat& format, size_t frames, std::string& error) {
    if (format.type == FileType::flac) return true;
    // RIFF and FORM sizes are 32-bit and count the header too; leave room for it.
    const uint64_t frameBytes = 2u * static_cast<uint64_t>(bitsOf(format.depth) / 8);
    const uint64_t limit = (UINT64_C(0xFFFFFFFF) - 4096) / frameBytes;
    if (static_cast<uint64_t>(frames) <= limit) return true;
    error = std::to_string(frames) + " frames do not fit a " + describeFormat(format) + " file (at most " +
            std::to_string(limit) + "); write FLAC or a lower bit depth";
    return false;
}
