// Sound files for builds without libsndfile (the Windows build of the render core).
#include "tools/render/AudioData.h"
#include "tools/render/TinyWav.h"

bool readAudioFile(const std::string& path, AudioData& audio, std::string& error) {
    return readWav(path, audio, error);
}

bool writeAudioFile(const std::string& path, const AudioData& audio, std::string& error) {
    return writeWav(path, audio, error);
}
