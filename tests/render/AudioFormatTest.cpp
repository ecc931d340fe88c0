// Sound files of brindleloop-render: formats and depths out, every libsndfile format in, the
// file's rate served to the plug-in, refusals; and the Windows build's own WAV code.
#include <gtest/gtest.h>
#include <sndfile.h>

#include <cmath>
#include <vector>

#include "InProcessHost.h"
#include "RenderHarness.h"
#include "vst2/FreezeEffect.h"
#include "tools/render/DemoLoop.h"
#include "tools/render/IntegerSamples.h"
#include "tools/render/OutputFormat.h"
#include "tools/render/TinyWav.h"

namespace {

std::string plugin() { return std::string(" --plugin '") + BRINDLE_PLUGIN_FILE + "'"; }

// A sound file as libsndfile reads it: its description and its interleaved samples.
struct Sound {
    SF_INFO info{};
    std::vector<float> samples;
    float at(size_t frame, int channel) const {
        return samples[frame * static_cast<size_t>(info.channels) + static_cast<size_t>(channel)];
    }
};

Sound readSound(const fs::path& path) {
    Sound sound;
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &sound.info);
    if (!file) {
        ADD_FAILURE() << path << ": " << sf_strerror(nullptr);
        return sound;
    }
    sound.samples.resize(static_cast<size_t>(sound.info.frames * sound.info.channels));
    EXPECT_EQ(sf_readf_float(file, sound.samples.data(), sound.info.frames), sound.info.frames) << path;
    sf_close(file);
    return sound;
}

bool writeSound(const fs::path& path, int format, int channels, int rate, const std::vector<float>& samples) {
    SF_INFO info{};
    info.samplerate = rate;
    info.channels = channels;
    info.format = format;
    if (!sf_format_check(&info)) return false;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    if (!file) return false;
    sf_command(file, SFC_SET_CLIPPING, nullptr, SF_TRUE);  // the test signal goes past full scale
    const sf_count_t frames = static_cast<sf_count_t>(samples.size()) / channels;
    const bool ok = sf_writef_float(file, samples.data(), frames) == frames;
    return sf_close(file) == 0 && ok;
}

// Stereo test material: the left channel goes past full scale (clipping), the right stays
// quiet (the last bits).
std::vector<float> testSignal(size_t frames) {
    std::vector<float> samples(2 * frames);
    for (size_t i = 0; i < frames; ++i) {
        samples[2 * i] = static_cast<float>(1.25 * std::sin(0.013 * static_cast<double>(i)));
        samples[2 * i + 1] = static_cast<float>(0.002 * std::sin(0.31 * static_cast<double>(i) + 1.0));
    }
    return samples;
}

// What an integer file of `bits` bits holds for v, as a reader sees it.
float quantised(float v, int bits) {
    return static_cast<float>(quantiseSample(v, bits) / std::ldexp(1.0, bits - 1));
}

void expectNoOutput(const Scratch& scratch, const std::string& name) {
    EXPECT_FALSE(fs::exists(scratch / name)) << name;
    for (const auto& entry : fs::directory_iterator(scratch.dir))
        EXPECT_EQ(entry.path().filename().string().find(".partial"), std::string::npos) << entry.path();
}

TEST(AudioFormat, EachContainerAndDepthIsWrittenAsAskedAndReadsBackWithinItsQuantisation) {
    Scratch scratch;
    const size_t frames = 3001;
    const std::vector<float> in = testSignal(frames);
    ASSERT_TRUE(writeSound(scratch / "in.wav", SF_FORMAT_WAV | SF_FORMAT_FLOAT, 2, 48000, in));
    const struct {
        std::string output, depth;
        int type, subtype, bits;  // bits 32: float, exact
    } cases[] = {
        {"out.wav", "", SF_FORMAT_WAV, SF_FORMAT_FLOAT, 32},
        {"out.wav", "16", SF_FORMAT_WAV, SF_FORMAT_PCM_16, 16},
        {"out.wav", "24", SF_FORMAT_WAV, SF_FORMAT_PCM_24, 24},
        {"OUT.WAV", "32f", SF_FORMAT_WAV, SF_FORMAT_FLOAT, 32},
        {"out.flac", "", SF_FORMAT_FLAC, SF_FORMAT_PCM_24, 24},
        {"out.flac", "16", SF_FORMAT_FLAC, SF_FORMAT_PCM_16, 16},
        {"out.aiff", "", SF_FORMAT_AIFF, SF_FORMAT_PCM_24, 24},
        {"out.aif", "16", SF_FORMAT_AIFF, SF_FORMAT_PCM_16, 16},
        {"out.aiff", "32f", SF_FORMAT_AIFF, SF_FORMAT_FLOAT, 32},
    };
    for (const auto& c : cases) {
        const std::string depth = c.depth.empty() ? "" : " --bit-depth " + c.depth;
        const ToolRun run = runTool(scratch, "in.wav --param dry/wet=0 -o " + c.output + depth + plugin());
        ASSERT_EQ(run.exitCode, 0) << c.output << depth << "\n" << run.err;
        const Sound out = readSound(scratch / c.output);
        EXPECT_EQ(out.info.format & SF_FORMAT_TYPEMASK, c.type) << c.output << depth;
        EXPECT_EQ(out.info.format & SF_FORMAT_SUBMASK, c.subtype) << c.output << depth;
        ASSERT_EQ(out.info.channels, 2) << c.output << depth;
        EXPECT_EQ(out.info.samplerate, 48000) << c.output << depth;
        ASSERT_EQ(out.info.frames, static_cast<sf_count_t>(frames)) << c.output << depth;
        // Integer files: nearest level, clipped at full scale; float files: every bit.
        const float step = std::ldexp(1.0f, 1 - c.bits);
        for (size_t i = 0; i < 2 * frames; ++i) {
            const float expected = c.bits == 32 ? in[i] : std::min(std::max(in[i], -1.0f), 1.0f - step);
            ASSERT_NEAR(out.samples[i], expected, c.bits == 32 ? 0.0f : 0.5f * step * 1.0001f)
                << c.output << depth << " sample " << i;
        }
        fs::remove(scratch / c.output);
    }
}

TEST(AudioFormat, AnyFormatLibsndfileReadsIsPlayedAtItsRateWithMonoOnBothChannels) {
    Scratch scratch;
    const size_t frames = 2500;
    const std::vector<float> stereo = testSignal(frames);
    std::vector<float> mono(frames);
    std::vector<float> three(3 * frames);
    for (size_t i = 0; i < frames; ++i) {
        mono[i] = 0.5f * stereo[2 * i];
        three[3 * i] = 0.5f * stereo[2 * i];
        three[3 * i + 1] = stereo[2 * i + 1];
        three[3 * i + 2] = 0.9f;  // dropped
    }
    const struct {
        std::string name;
        int format, channels, rate;
        const std::vector<float>& samples;
    } cases[] = {
        {"u8-mono.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_U8, 1, 22050, mono},
        {"int16.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_16, 2, 44100, stereo},
        {"mono.flac", SF_FORMAT_FLAC | SF_FORMAT_PCM_16, 1, 96000, mono},
        {"int24.aiff", SF_FORMAT_AIFF | SF_FORMAT_PCM_24, 2, 32000, stereo},
        {"vorbis.ogg", SF_FORMAT_OGG | SF_FORMAT_VORBIS, 2, 48000, stereo},
        {"three.w64", SF_FORMAT_W64 | SF_FORMAT_DOUBLE, 3, 88200, three},
        {"mono.caf", SF_FORMAT_CAF | SF_FORMAT_ALAC_20, 1, 11025, mono},
        {"layer3.mp3", SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III, 2, 44100, stereo},
    };
    for (const auto& c : cases) {
        if (!writeSound(scratch / c.name, c.format, c.channels, c.rate, c.samples)) {
            // Writing MP3 needs libsndfile built with LAME; reading is what is tested here.
            EXPECT_EQ(c.name, "layer3.mp3") << "libsndfile cannot write " << c.name;
            continue;
        }
        const ToolRun run = runTool(scratch, c.name + " --param dry/wet=0 -o out.wav" + plugin());
        ASSERT_EQ(run.exitCode, 0) << c.name << "\n" << run.err;
        const Sound in = readSound(scratch / c.name);
        const Sound out = readSound(scratch / "out.wav");
        EXPECT_EQ(out.info.samplerate, c.rate) << c.name;
        ASSERT_EQ(out.info.frames, in.info.frames) << c.name;
        ASSERT_GT(out.info.frames, 1000) << c.name;
        for (size_t i = 0; i < static_cast<size_t>(out.info.frames); ++i) {
            ASSERT_EQ(out.at(i, 0), in.at(i, 0)) << c.name << " frame " << i;
            ASSERT_EQ(out.at(i, 1), in.at(i, c.channels > 1 ? 1 : 0)) << c.name << " frame " << i;
        }
    }
}

// The in-process engine beside the tool, told the given rate.
AudioData renderInProcess(const AudioData& in, double rate) {
    inProcessTime() = VstTimeInfo{};
    inProcessTime().sampleRate = rate;
    inProcessTime().tempo = 120.0;
    FreezeEffect effect(inProcessHost);
    effect.setSampleRate(static_cast<float>(rate));
    effect.setParameter(kParamSize, 0.3f);
    effect.setParameter(kParamThreshold, 0.1f);
    effect.resume();
    AudioData out = in;
    for (size_t start = 0; start < in.frames(); start += 512) {
        const auto block = static_cast<int32_t>(std::min<size_t>(512, in.frames() - start));
        float* inputs[2] = {const_cast<float*>(in.left.data() + start),
                            const_cast<float*>(in.right.data() + start)};
        float* outputs[2] = {out.left.data() + start, out.right.data() + start};
        effect.processReplacing(inputs, outputs, block);
    }
    return out;
}

TEST(AudioFormat, TheFilesSampleRateIsTheOneThePluginWorksAt) {
    Scratch scratch;
    const AudioData demo = makeDemoLoop(3.0, 120.0);
    std::vector<float> interleaved(2 * demo.frames());
    for (size_t i = 0; i < demo.frames(); ++i) {
        interleaved[2 * i] = demo.left[i];
        interleaved[2 * i + 1] = demo.right[i];
    }
    const AudioData at44 = renderInProcess(demo, 44100.0);
    for (int rate : {22050, 48000, 96000}) {
        const std::string name = "at" + std::to_string(rate) + ".wav";
        ASSERT_TRUE(writeSound(scratch / name, SF_FORMAT_WAV | SF_FORMAT_FLOAT, 2, rate, interleaved));
        const ToolRun run =
            runTool(scratch, name + " --param size=0.3 --param threshold=0.1 -o out.wav" + plugin());
        ASSERT_EQ(run.exitCode, 0) << run.err;
        const Sound out = readSound(scratch / "out.wav");
        EXPECT_EQ(out.info.samplerate, rate);
        const AudioData expected = renderInProcess(demo, rate);
        ASSERT_EQ(static_cast<size_t>(out.info.frames), expected.frames());
        size_t differentFrom44 = 0;
        for (size_t i = 0; i < expected.frames(); ++i) {
            ASSERT_EQ(out.at(i, 0), expected.left[i]) << rate << " Hz, frame " << i;
            ASSERT_EQ(out.at(i, 1), expected.right[i]) << rate << " Hz, frame " << i;
            differentFrom44 += out.at(i, 0) != at44.left[i];
        }
        // The rate matters to this render, so 44.1 kHz served instead would have shown.
        EXPECT_GT(differentFrom44, expected.frames() / 10) << rate << " Hz";
    }
}

TEST(AudioFormat, UnknownOutputsAndUnreadableInputsAreRefusedByNameWithNoOutput) {
    Scratch scratch;
    ASSERT_TRUE(writeSound(scratch / "in.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_16, 2, 44100, testSignal(2000)));
    ASSERT_TRUE(
        writeSound(scratch / "good.flac", SF_FORMAT_FLAC | SF_FORMAT_PCM_16, 2, 44100, testSignal(20000)));
    {
        const std::string flac = readTextFile(scratch / "good.flac");
        writeText(scratch / "cut.flac", flac.substr(0, flac.size() / 3));
        const std::string wav = readTextFile(scratch / "in.wav");
        writeText(scratch / "header-only.wav", wav.substr(0, 30));
    }
    writeText(scratch / "empty.wav", "");
    writeText(scratch / "text.flac", "this is not a FLAC file\n");
    writeText(scratch / "noise.aiff",
              "FORM\x7f\xff\xff\xff"
              "AIFFjunkjunkjunk");
    fs::create_directories(scratch / "folder.wav");
    const struct {
        std::string arguments, output;
        int exitCode;
        std::vector<std::string> says;
    } cases[] = {
        {"in.wav -o out.mp3", "out.mp3", 2, {"out.mp3", "\".mp3\"", ".flac"}},
        {"in.wav -o out", "out", 2, {"out:", "none of .wav, .flac, .aif, .aiff"}},
        {"in.wav -o out.wav.txt", "out.wav.txt", 2, {"out.wav.txt", "\".txt\""}},
        {"in.wav -o out.flac --bit-depth 32f",
         "out.flac",
         2,
         {"out.flac", "FLAC holds integer samples only"}},
        {"in.wav -o out.wav --bit-depth 8", "out.wav", 2, {"--bit-depth wants 16, 24 or 32f"}},
        {"in.wav -o out.wav --bit-depth", "out.wav", 2, {"--bit-depth needs a value"}},
        {"missing.flac -o out.wav", "out.wav", 1, {"missing.flac"}},
        {"empty.wav -o out.wav", "out.wav", 1, {"empty.wav"}},
        {"text.flac -o out.flac", "out.flac", 1, {"text.flac"}},
        {"noise.aiff -o out.wav", "out.wav", 1, {"noise.aiff"}},
        {"header-only.wav -o out.wav", "out.wav", 1, {"header-only.wav"}},
        {"cut.flac -o out.aiff", "out.aiff", 1, {"cut.flac", "cannot read the samples"}},
        {"folder.wav -o out.wav", "out.wav", 1, {"folder.wav"}},
    };
    for (const auto& c : cases) {
        const ToolRun run = runTool(scratch, plugin() + " " + c.arguments);
        EXPECT_EQ(run.exitCode, c.exitCode) << c.arguments << "\n" << run.err;
        for (const std::string& text : c.says)
            EXPECT_NE(run.err.find(text), std::string::npos) << c.arguments << "\n" << run.err;
        expectNoOutput(scratch, c.output);
    }
    const ToolRun help = runTool(scratch, "--help");
    for (const char* text : {"--bit-depth 16|24|32f", "FLAC 24", "AIFF 24", "clipped", "libsndfile"})
        EXPECT_NE(help.out.find(text), std::string::npos) << text;
}

// The Windows build's WAV code, here natively: libsndfile reads what it writes at each depth.
TEST(TinyWavWithLibsndfile, ReadsEachDepthTinyWavWrites) {
    Scratch scratch;
    const std::vector<float> signal = testSignal(1500);
    AudioData audio;
    audio.sampleRate = 32000.0;
    for (size_t i = 0; i < signal.size(); i += 2) {
        audio.left.push_back(signal[i]);
        audio.right.push_back(signal[i + 1]);
    }
    for (SampleDepth depth : {SampleDepth::pcm16, SampleDepth::pcm24, SampleDepth::float32}) {
        std::string error;
        ASSERT_TRUE(writeWav((scratch / "tiny.wav").string(), audio, depth, error)) << error;
        const Sound out = readSound(scratch / "tiny.wav");
        EXPECT_EQ(out.info.format, SF_FORMAT_WAV | (depth == SampleDepth::pcm16   ? SF_FORMAT_PCM_16
                                                    : depth == SampleDepth::pcm24 ? SF_FORMAT_PCM_24
                                                                                  : SF_FORMAT_FLOAT));
        EXPECT_EQ(out.info.samplerate, 32000);
        ASSERT_EQ(out.info.frames, 1500);
        const int bits = bitsOf(depth);
        for (size_t i = 0; i < signal.size(); ++i)
            ASSERT_EQ(out.samples[i], bits == 32 ? signal[i] : quantised(signal[i], bits))
                << bits << " bits, " << i;
    }
}

// The Windows build under Wine: WAV at each depth sample for sample as the Linux build writes
// it, and a clear refusal of what it cannot do.
TEST(AudioFormat, WindowsBuildWritesTheSameWavAndRefusesOtherFormatsClearly) {
    const WindowsRender win32 = windowsRender();
    if (!win32.missing.empty()) GTEST_SKIP() << win32.missing;
    const fs::path& exe = win32.exe;
    const fs::path& dll = win32.dll;
    Scratch scratch;
    std::vector<float> mono(4000);
    for (size_t i = 0; i < mono.size(); ++i) mono[i] = 1.3f * std::sin(0.02f * static_cast<float>(i));
    ASSERT_TRUE(writeSound(scratch / "mono.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_24, 1, 48000, mono));
    ASSERT_TRUE(writeSound(scratch / "in.flac", SF_FORMAT_FLAC | SF_FORMAT_PCM_16, 1, 48000, mono));
    const std::string windows =
        "wine '" + exe.string() + "' --plugin '" + dll.string() + "' --param dry/wet=0.5 ";
    for (const std::string depth : {"16", "24", "32f"}) {
        const std::string settings = "mono.wav --bit-depth " + depth + " -o ";
        ASSERT_EQ(runTool(scratch, settings + "linux.wav --param dry/wet=0.5" + plugin()).exitCode, 0);
        const ToolRun run = runCommand(scratch, windows + settings + "windows.wav");
        ASSERT_EQ(run.exitCode, 0) << run.err;
        const Sound a = readSound(scratch / "linux.wav");
        const Sound b = readSound(scratch / "windows.wav");
        EXPECT_EQ(a.info.format, b.info.format) << depth;
        EXPECT_EQ(b.info.samplerate, 48000);
        ASSERT_EQ(a.samples.size(), b.samples.size());
        // The maths of the two C libraries may differ in the last bit of a float.
        const float tolerance = depth == "32f" ? 1e-5f : std::ldexp(1.0f, depth == "16" ? -15 : -23);
        for (size_t i = 0; i < a.samples.size(); ++i)
            ASSERT_NEAR(a.samples[i], b.samples[i], tolerance) << depth << " " << i;
    }
    const struct {
        std::string arguments;
        int exitCode;
        std::string says;
    } refusals[] = {
        {"mono.wav -o out.flac", 2, "writes WAV only"},
        {"mono.wav -o out.aiff", 2, "writes WAV only"},
        {"in.flac -o out.wav", 1, "is a FLAC file"},
    };
    for (const auto& r : refusals) {
        const ToolRun run = runCommand(scratch, windows + r.arguments);
        EXPECT_EQ(run.exitCode, r.exitCode) << r.arguments << "\n" << run.err;
        EXPECT_NE(run.err.find(r.says), std::string::npos) << r.arguments << "\n" << run.err;
        for (const char* name : {"out.wav", "out.flac", "out.aiff"})
            EXPECT_FALSE(fs::exists(scratch / name)) << name;
    }
}

}  // namespace
