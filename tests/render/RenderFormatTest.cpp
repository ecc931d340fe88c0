// The render core's file-format parts on every target (the Windows builds under Wine, where
// they are the only sound-file code): output choices, integer samples, the WAV code.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <limits>
#include <string>

#include "tools/render/IntegerSamples.h"
#include "tools/render/OutputFormat.h"
#include "tools/render/TinyWav.h"

namespace fs = std::filesystem;

namespace {

TEST(OutputFormat, ExtensionAndDepthChooseTheFormatAndItsLimits) {
    const struct {
        std::string path, depth;
        bool ok;
        FileType type;
        SampleDepth sampleDepth;
    } cases[] = {
        {"a.wav", "", true, FileType::wav, SampleDepth::float32},
        {"dir.x/A.Wav", "16", true, FileType::wav, SampleDepth::pcm16},
        {"a.flac", "", true, FileType::flac, SampleDepth::pcm24},
        {"a.FLAC", "16", true, FileType::flac, SampleDepth::pcm16},
        {"a.aif", "", true, FileType::aiff, SampleDepth::pcm24},
        {"a.aiff", "32f", true, FileType::aiff, SampleDepth::float32},
        {"a.flac", "32f", false, {}, {}},
        {"a.wav", "32", false, {}, {}},
        {"a.wav", "24f", false, {}, {}},
        {"dir.wav/a", "", false, {}, {}},
        {"C:\\dir.wav\\a", "", false, {}, {}},
        {"a.ogg", "", false, {}, {}},
        {"a.", "", false, {}, {}},
    };
    for (const auto& c : cases) {
        OutputFormat format;
        std::string error;
        EXPECT_EQ(chooseOutputFormat(c.path, c.depth, format, error), c.ok) << c.path << " " << c.depth;
        if (c.ok) {
            EXPECT_EQ(format.type, c.type) << c.path;
            EXPECT_EQ(format.depth, c.sampleDepth) << c.path << " " << c.depth;
        } else {
            EXPECT_FALSE(error.empty());
        }
    }
    // 32-bit size fields: a WAV or AIFF file ends near 4 GiB of samples; FLAC does not.
    const struct {
        OutputFormat format;
        size_t frames;
        bool fits;
    } sizes[] = {
        {{FileType::wav, SampleDepth::float32}, 536'870'000, true},
        {{FileType::wav, SampleDepth::float32}, 536'871'000, false},
        {{FileType::wav, SampleDepth::pcm16}, 1'073'000'000, true},
        {{FileType::aiff, SampleDepth::pcm24}, 715'828'000, false},
        {{FileType::flac, SampleDepth::pcm24}, std::numeric_limits<size_t>::max(), true},
    };
    for (const auto& s : sizes) {
        std::string error;
        EXPECT_EQ(fitsOutputFormat(s.format, s.frames, error), s.fits)
            << describeFormat(s.format) << " " << s.frames;
        EXPECT_EQ(error.empty(), s.fits) << error;
    }
}

TEST(IntegerSamples, RoundToTheNearestLevelAndClipEveryInput) {
    const float inf = std::numeric_limits<float>::infinity();
    const struct {
        float value;
        int bits;
        int32_t expected;
    } cases[] = {
        {0.0f, 16, 0},          {0.5f, 16, 16384},         {-0.5f, 16, -16384},
        {1.0f, 16, 32767},      {-1.0f, 16, -32768},       {1.5f, 16, 32767},
        {-7e30f, 16, -32768},   {inf, 16, 32767},          {-inf, 16, -32768},
        {std::nanf(""), 16, 0}, {0.4f / 32768, 16, 0},     {0.6f / 32768, 16, 1},
        {1.0f, 24, 8388607},    {-1.0f, 24, -8388608},     {3e38f, 24, 8388607},
        {0.25f, 24, 2097152},   {-1.4f / 8388608, 24, -1}, {std::nanf(""), 24, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(quantiseSample(c.value, c.bits), c.expected) << c.value << " at " << c.bits;
}

fs::path scratchFile(const std::string& name) {
    // The clock keeps runs of several build trees apart.
    static const auto run = std::chrono::steady_clock::now().time_since_epoch().count();
    return fs::temp_directory_path() / ("brindle-format-" + std::to_string(run) + "-" + name);
}

void writeBytes(const fs::path& path, const std::string& bytes) {
    std::ofstream file(path, std::ios::binary);
    file << bytes;
}

TEST(TinyWav, EachDepthReadsBackAsItsLevelsAndOtherFilesAreNamed) {
    AudioData audio;
    audio.sampleRate = 96000.0;
    for (int i = 0; i < 2000; ++i) {
        audio.left.push_back(1.2f * std::sin(0.01f * static_cast<float>(i)));
        audio.right.push_back(1e-4f * static_cast<float>(i % 37) - 0.0018f);
    }
    audio.left[5] = std::numeric_limits<float>::quiet_NaN();
    const fs::path path = scratchFile("depths.wav");
    for (SampleDepth depth : {SampleDepth::pcm16, SampleDepth::pcm24, SampleDepth::float32}) {
        std::string error;
        ASSERT_TRUE(writeWav(path.string(), audio, depth, error)) << error;
        const int bits = bitsOf(depth);
        EXPECT_EQ(fs::file_size(path), 44u + 2000u * 2u * static_cast<unsigned>(bits / 8)) << bits;
        AudioData read;
        ASSERT_TRUE(readWav(path.string(), read, error)) << error;
        EXPECT_EQ(read.sampleRate, 96000.0);
        ASSERT_EQ(read.frames(), 2000u);
        const double scale = std::ldexp(1.0, bits - 1);
        for (size_t i = 0; i < 2000; ++i) {
            if (bits == 32) {
                if (i == 5) {
                    EXPECT_TRUE(std::isnan(read.left[i]));
                } else {
                    ASSERT_EQ(read.left[i], audio.left[i]) << i;
                }
                ASSERT_EQ(read.right[i], audio.right[i]) << i;
            } else {
                const auto level = [&](float v) {
                    return static_cast<float>(quantiseSample(v, bits) / scale);
                };
                ASSERT_EQ(read.left[i], level(audio.left[i])) << bits << " " << i;
                ASSERT_EQ(read.right[i], level(audio.right[i])) << bits << " " << i;
            }
        }
    }
    fs::remove(path);

    // A mono 8-bit file plays on both channels.
    const std::string mono8 =
        std::string("RIFF\x28\0\0\0WAVEfmt \x10\0\0\0\x01\0\x01\0\x40\x1f\0\0\x40\x1f\0\0\x01\0\x08\0", 36) +
        std::string("data\x04\0\0\0\x80\xc0\x00\xff", 12);
    const struct {
        std::string name, bytes, says;
    } files[] = {
        {"mono8.wav", mono8, ""},
        {"flac.wav", "fLaC\0\0\0\x22", "is a FLAC file"},
        {"aiff.wav",
         std::string("FORM\0\0\0\x20"
                     "AIFFCOMM",
                     16),
         "is an AIFF file"},
        {"ogg.wav", "OggS\0\x02", "is an Ogg file"},
        {"text.wav", "hello", "not a sound file"},
        // A chunk size past the end: on 32-bit builds the next offset would wrap around to
        // this chunk again, for ever.
        {"huge-chunk.wav", std::string("RIFF\0\0\0\0WAVEjunk\xf8\xff\xff\xff", 20) + "data", "only 8-"},
    };
    for (const auto& f : files) {
        const fs::path file = scratchFile(f.name);
        writeBytes(file, f.bytes);
        AudioData read;
        std::string error;
        const bool ok = readWav(file.string(), read, error);
        fs::remove(file);
        EXPECT_EQ(ok, f.says.empty()) << f.name << ": " << error;
        if (!ok) {
            EXPECT_NE(error.find(f.says), std::string::npos) << error;
            EXPECT_NE(error.find(f.name), std::string::npos) << error;
        } else {
            ASSERT_EQ(read.frames(), 4u);
            EXPECT_EQ(read.sampleRate, 8000.0);
            const float expected[] = {0.0f, 0.5f, -1.0f, 127.0f / 128.0f};
            for (size_t i = 0; i < 4; ++i) {
                EXPECT_EQ(read.left[i], expected[i]) << i;
                EXPECT_EQ(read.right[i], expected[i]) << i;
            }
        }
    }
}

}  // namespace
