// RIFF/WAVE chunks, little-endian on every platform.
#include "tools/render/TinyWav.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

#include "tools/render/FileBytes.h"
#include "tools/render/IntegerSamples.h"

namespace {

uint32_t read32(const unsigned char* p) {
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
           static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

uint16_t read16(const unsigned char* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }

void put32(std::vector<unsigned char>& out, uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<unsigned char>(v >> (8 * i)));
}

void put16(std::vector<unsigned char>& out, uint16_t v) {
    out.push_back(static_cast<unsigned char>(v));
    out.push_back(static_cast<unsigned char>(v >> 8));
}

constexpr uint16_t kFormatPcm = 1;
constexpr uint16_t kFormatFloat = 3;
constexpr uint16_t kFormatExtensible = 0xFFFE;

float sampleAt(const unsigned char* p, uint16_t format, uint16_t bits) {
    if (format == kFormatFloat) {
        const uint32_t raw = read32(p);
        float v;
        std::memcpy(&v, &raw, 4);
        return v;
    }
    if (bits == 8) return static_cast<float>(static_cast<int>(p[0]) - 128) / 128.0f;
    if (bits == 16) return static_cast<float>(static_cast<int16_t>(read16(p))) / 32768.0f;
    if (bits == 24) {
        // Into the top three bytes, so the sign comes along.
        const auto raw =
            static_cast<int32_t>(static_cast<uint32_t>(p[0]) << 8 | static_cast<uint32_t>(p[1]) << 16 |
                                 static_cast<uint32_t>(p[2]) << 24);
        return static_cast<float>(static_cast<double>(raw) / 2147483648.0);
    }
    return static_cast<float>(static_cast<double>(static_cast<int32_t>(read32(p))) / 2147483648.0);
}

// What a file that is not RIFF/WAVE is, for the message: the formats this code does not read.
const char* otherFormatName(const std::vector<unsigned char>& bytes) {
    auto starts = [&](const char* magic, size_t at = 0) {
        const size_t n = std::strlen(magic);
        return bytes.size() >= at + n && std::memcmp(bytes.data() + at, magic, n) == 0;
    };
    if (starts("fLaC")) return "a FLAC file";
    if (starts("FORM") && (starts("AIFF", 8) || starts("AIFC", 8))) return "an AIFF file";
    if (starts("OggS")) return "an Ogg file";
    if (starts("RF64")) return "an RF64 file";
    return "not a sound file this build knows";
}

}  // namespace

bool readWav(const std::string& path, AudioData& audio, std::string& error) {
    std::vector<unsigned char> bytes;
    if (!readFileBytes(path, bytes)) {
        error = "cannot read " + path;
        return false;
    }
    if (bytes.size() < 12 || std::memcmp(bytes.data(), "RIFF", 4) != 0 ||
        std::memcmp(bytes.data() + 8, "WAVE", 4) != 0) {
        error = path + " is " + otherFormatName(bytes) +
                "; this build reads WAV only (FLAC, AIFF and the other formats need libsndfile)";
        return false;
    }
    uint16_t format = 0;
    uint16_t channels = 0;
    uint16_t bits = 0;
    uint32_t rate = 0;
    const unsigned char* data = nullptr;
    size_t dataSize = 0;
    size_t at = 12;
    while (at + 8 <= bytes.size()) {
        const unsigned char* chunk = bytes.data() + at;
        const size_t size = read32(chunk + 4);
        const size_t available = bytes.size() - at - 8;
        if (std::memcmp(chunk, "fmt ", 4) == 0 && size >= 16 && size <= available) {
            format = read16(chunk + 8);
            channels = read16(chunk + 10);
            rate = read32(chunk + 12);
            bits = read16(chunk + 22);
            if (format == kFormatExtensible && size >= 26) format = read16(chunk + 32);
        } else if (std::memcmp(chunk, "data", 4) == 0) {
            data = chunk + 8;
            dataSize = size <= available ? size : available;  // tolerate a truncated file
        }
        // A size past the end ends the walk (added to the offset it could wrap on 32 bits).
        if (size >= available) break;
        at += 8 + size + (size & 1);
    }
    const bool supported = (format == kFormatPcm && (bits == 8 || bits == 16 || bits == 24 || bits == 32)) ||
                           (format == kFormatFloat && bits == 32);
    if (!supported || channels == 0 || rate == 0 || !data) {
        error = path + ": only 8-, 16-, 24- and 32-bit PCM and 32-bit float WAV files can be read here";
        return false;
    }
    const size_t frameBytes = static_cast<size_t>(channels) * (bits / 8);
    const size_t frames = dataSize / frameBytes;
    audio.sampleRate = rate;
    audio.left.resize(frames);
    audio.right.resize(frames);
    for (size_t i = 0; i < frames; ++i) {
        const unsigned char* frame = data + i * frameBytes;
        audio.left[i] = sampleAt(frame, format, bits);
        audio.right[i] = channels > 1 ? sampleAt(frame + bits / 8, format, bits) : audio.left[i];
    }
    return true;
}

bool writeWav(const std::string& path, const AudioData& audio, SampleDepth depth, std::string& error) {
    const OutputFormat format{FileType::wav, depth};
    if (!fitsOutputFormat(format, audio.frames(), error)) return false;
    const size_t frames = audio.frames();
    const int bits = bitsOf(depth);
    const auto frameBytes = static_cast<uint16_t>(2 * bits / 8);
    const auto dataBytes = static_cast<uint32_t>(frames * frameBytes);
    const auto rate = static_cast<uint32_t>(audio.sampleRate);
    std::vector<unsigned char> out;
    out.reserve(44 + dataBytes);
    out.insert(out.end(), {'R', 'I', 'F', 'F'});
    put32(out, 36 + dataBytes);
    out.insert(out.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
    put32(out, 16);
    put16(out, depth == SampleDepth::float32 ? kFormatFloat : kFormatPcm);
    put16(out, 2);
    put32(out, rate);
    put32(out, rate * frameBytes);
    put16(out, frameBytes);
    put16(out, static_cast<uint16_t>(bits));
    out.insert(out.end(), {'d', 'a', 't', 'a'});
    put32(out, dataBytes);
    for (size_t i = 0; i < frames; ++i) {
        for (float v : {audio.left[i], audio.right[i]}) {
            if (depth == SampleDepth::float32) {
                uint32_t raw;
                std::memcpy(&raw, &v, 4);
                put32(out, raw);
            } else {
                const auto sample = static_cast<uint32_t>(quantiseSample(v, bits));
                for (int byte = 0; byte < bits / 8; ++byte)
                    out.push_back(static_cast<unsigned char>(sample >> (8 * byte)));
            }
        }
    }
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) {
        error = "cannot write " + path;
        return false;
    }
    const bool written = std::fwrite(out.data(), 1, out.size(), file) == out.size();
    if (std::fclose(file) != 0 || !written) {
        error = "cannot write " + path;
        return false;
    }
    return true;
}
