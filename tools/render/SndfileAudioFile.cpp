// Sound files through libsndfile: any format it reads in, 32-bit float WAV out.
#include <sndfile.h>

#include <vector>

#include "tools/render/AudioData.h"

bool readAudioFile(const std::string& path, AudioData& audio, std::string& error) {
    SF_INFO info{};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    if (!file) {
        error = "cannot read " + path + ": " + sf_strerror(nullptr);
        return false;
    }
    if (info.channels < 1 || info.samplerate < 1) {
        sf_close(file);
        error = path + " has no audio channels";
        return false;
    }
    const auto channels = static_cast<size_t>(info.channels);
    const auto frames = static_cast<size_t>(info.frames);
    std::vector<float> interleaved(frames * channels);
    const sf_count_t got = sf_readf_float(file, interleaved.data(), info.frames);
    sf_close(file);
    if (got < 0) {
        error = "cannot read the samples of " + path;
        return false;
    }
    const auto count = static_cast<size_t>(got);
    audio.sampleRate = info.samplerate;
    audio.left.resize(count);
    audio.right.resize(count);
    for (size_t i = 0; i < count; ++i) {
        audio.left[i] = interleaved[i * channels];
        audio.right[i] = interleaved[i * channels + (channels > 1 ? 1 : 0)];
    }
    return true;
}

bool writeAudioFile(const std::string& path, const AudioData& audio, std::string& error) {
    SF_INFO info{};
    info.samplerate = static_cast<int>(audio.sampleRate);
    info.channels = 2;
    info.format = SF_FORMAT_WAV | SF_FORMAT_FLOAT;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    if (!file) {
        error = "cannot write " + path + ": " + sf_strerror(nullptr);
        return false;
    }
    std::vector<float> interleaved(audio.frames() * 2);
    for (size_t i = 0; i < audio.frames(); ++i) {
        interleaved[2 * i] = audio.left[i];
        interleaved[2 * i + 1] = audio.right[i];
    }
    const auto frames = static_cast<sf_count_t>(audio.frames());
    const bool ok = sf_writef_float(file, interleaved.data(), frames) == frames;
    const bool closed = sf_close(file) == 0;
    if (!ok || !closed) {
        error = "cannot write " + path;
        return false;
    }
    return true;
}
