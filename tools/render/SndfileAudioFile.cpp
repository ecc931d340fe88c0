// Sound files through libsndfile: any format it reads in; WAV, FLAC or AIFF out.
#include <sndfile.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "tools/render/AudioData.h"
#include "tools/render/IntegerSamples.h"

namespace {

// Frames per read or write call: the size a header states is not trusted for an allocation.
constexpr sf_count_t kFramesPerCall = 4096;

int sndfileFormat(const OutputFormat& format) {
    const int type = format.type == FileType::wav    ? SF_FORMAT_WAV
                     : format.type == FileType::flac ? SF_FORMAT_FLAC
                                                     : SF_FORMAT_AIFF;
    const int depth = format.depth == SampleDepth::pcm16   ? SF_FORMAT_PCM_16
                      : format.depth == SampleDepth::pcm24 ? SF_FORMAT_PCM_24
                                                           : SF_FORMAT_FLOAT;
    return type | depth;
}

}  // namespace

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
    std::vector<float> interleaved(static_cast<size_t>(kFramesPerCall) * channels);
    audio.sampleRate = info.samplerate;
    audio.left.clear();
    audio.right.clear();
    while (true) {
        const sf_count_t got = sf_readf_float(file, interleaved.data(), kFramesPerCall);
        if (got <= 0) break;
        for (size_t i = 0; i < static_cast<size_t>(got); ++i) {
            audio.left.push_back(interleaved[i * channels]);
            audio.right.push_back(interleaved[i * channels + (channels > 1 ? 1 : 0)]);
        }
    }
    const int status = sf_error(file);
    const std::string reason = sf_strerror(file);
    sf_close(file);
    if (status != SF_ERR_NO_ERROR) {
        error = "cannot read the samples of " + path + ": " + reason;
        return false;
    }
    return true;
}

bool canWriteAudioFormat(const OutputFormat& format, std::string& error) {
    SF_INFO info{};
    info.samplerate = 44100;
    info.channels = 2;
    info.format = sndfileFormat(format);
    if (sf_format_check(&info)) return true;
    error = "this libsndfile cannot write " + describeFormat(format);
    return false;
}

bool writeAudioFile(const std::string& path, const AudioData& audio, const OutputFormat& format,
                    std::string& error) {
    if (!fitsOutputFormat(format, audio.frames(), error)) return false;
    SF_INFO info{};
    info.samplerate = static_cast<int>(audio.sampleRate);
    info.channels = 2;
    info.format = sndfileFormat(format);
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    if (!file) {
        error = "cannot write " + path + ": " + sf_strerror(nullptr);
        return false;
    }
    // Integer depths are quantised here, not by libsndfile, so that every build rounds and
    // clips alike; libsndfile takes them left-justified in 32 bits.
    const bool integer = format.depth != SampleDepth::float32;
    const int bits = bitsOf(format.depth);
    std::vector<float> floats(integer ? 0 : 2 * static_cast<size_t>(kFramesPerCall));
    std::vector<int> ints(integer ? 2 * static_cast<size_t>(kFramesPerCall) : 0);
    bool ok = true;
    for (size_t done = 0; ok && done < audio.frames();) {
        const size_t count = std::min(audio.frames() - done, static_cast<size_t>(kFramesPerCall));
        for (size_t i = 0; i < count; ++i) {
            const float l = audio.left[done + i];
            const float r = audio.right[done + i];
            if (integer) {
                ints[2 * i] = static_cast<int>(static_cast<uint32_t>(quantiseSample(l, bits)) << (32 - bits));
                ints[2 * i + 1] =
                    static_cast<int>(static_cast<uint32_t>(quantiseSample(r, bits)) << (32 - bits));
            } else {
                floats[2 * i] = l;
                floats[2 * i + 1] = r;
            }
        }
        const auto frames = static_cast<sf_count_t>(count);
        ok = (integer ? sf_writef_int(file, ints.data(), frames)
                      : sf_writef_float(file, floats.data(), frames)) == frames;
        done += count;
    }
    const bool closed = sf_close(file) == 0;
    if (!ok || !closed) {
        error = "cannot write " + path;
        return false;
    }
    return true;
}
