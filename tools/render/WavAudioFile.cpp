// Sound files for builds without libsndfile (the Windows build of the render core): WAV only.
#include "tools/render/AudioData.h"
#include "tools/render/TinyWav.h"

bool readAudioFile(const std::string& path, AudioData& audio, std::string& error) {
    return readWav(path, audio, error);
}

bool canWriteAudioFormat(const OutputFormat& format, std::string& error) {
    if (format.type == FileType::wav) return true;
    error =
        "this build writes WAV only; " + describeFormat(format) + " needs the build with libsndfile (Linux)";
    return false;
}

bool writeAudioFile(const std::string& path, const AudioData& audio, const OutputFormat& format,
                    std::string& error) {
    if (!canWriteAudioFormat(format, error)) return false;
    return writeWav(path, audio, format.depth, error);
}
