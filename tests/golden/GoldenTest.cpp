// Golden renders: the output of the engine in every state it has, hashed in stretches and
// compared bit for bit with the hashes committed in tests/golden/hashes (taken from the engine
// before its rewrite into a host-free core processed in runs). Three sources:
//  - the soak's random automation through the plug-in binary, several seeds (parameters in
//    and out of range, programs, preset and bank chunks of our own, made up and damaged,
//    tempo and rate changes, hosts without time information, suspends, MIDI in all eight
//    mode combinations, random block sizes, process and processReplacing), then its NaN
//    checks;
//  - the render tool's demo through the plug-in binary, with filters, bits, steps, MIDI
//    notes in each mode and varying blocks;
//  - the editor's operations on an effect in this process (the inverse switch, filter types,
//    steps, sequence length and mode toggles, which no host can reach), between blocks.
// Every target runs the same renders (the Windows builds under Wine) against the same hashes.
// BRINDLE_GOLDEN_WRITE=1 writes the hashes instead of comparing them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cinttypes>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "vst2/FreezeEffect.h"
#include "tools/render/DemoLoop.h"
#include "tools/render/RenderSession.h"
#include "tools/soak/SoakRun.h"

namespace {

// Samples per stretch and channel.
constexpr uint64_t kStretch = 1u << 18;

// A path of the build machine as this program's file functions take it (under Wine: Z:).
std::string hostPath(std::string path) {
#ifdef _WIN32
    if (!path.empty() && path[0] == '/') path = "Z:" + path;
#endif
    return path;
}

// FNV-1a over the bits of every sample, left and right interleaved, per stretch. Every NaN
// counts as one value: the sign and payload of a NaN that arithmetic makes are the chip's
// choice (x86 makes negative ones, ARM positive ones), as is which of two NaNs goes on.
class StretchHashes {
public:
    void add(const float* left, const float* right, int32_t frames) {
        for (int32_t i = 0; i < frames; ++i) {
            mix(left[i]);
            mix(right[i]);
            if (++inStretch == kStretch) close();
        }
    }

    // The lines of the golden file: stretch, first sample, samples, hash.
    std::vector<std::string> finish() {
        if (inStretch > 0) close();
        return lines;
    }

    uint64_t samples() const { return total; }

private:
    void mix(float value) {
        uint32_t bits = 0x7FC00000u;
        if (!std::isnan(value)) std::memcpy(&bits, &value, sizeof bits);
        hash = (hash ^ bits) * 0x100000001b3ull;
    }

    void close() {
        char line[96];
        std::snprintf(line, sizeof line, "%zu %" PRIu64 " %" PRIu64 " %016" PRIx64, lines.size(), total,
                      inStretch, hash);
        lines.emplace_back(line);
        total += inStretch;
        inStretch = 0;
        hash = 0xcbf29ce484222325ull;
    }

    uint64_t hash = 0xcbf29ce484222325ull;
    uint64_t inStretch = 0;
    uint64_t total = 0;
    std::vector<std::string> lines;
};

std::string hashFile(const std::string& scenario) {
    return hostPath(std::string(BRINDLE_GOLDEN_DIR) + "/" + scenario + ".txt");
}

// Compares the stretches with the committed ones (or writes them), and says how many
// samples were compared and how many stretches differ.
void expectGolden(const std::string& scenario, StretchHashes& hashes) {
    const std::vector<std::string> got = hashes.finish();
    const char* write = std::getenv("BRINDLE_GOLDEN_WRITE");
    if (write && *write && std::string(write) != "0") {
        std::ofstream file(hashFile(scenario), std::ios::binary);
        file << "# stretch, first sample, samples (per channel), FNV-1a of the sample bits\n";
        for (const std::string& line : got) file << line << "\n";
        ASSERT_TRUE(file.good()) << "cannot write " << hashFile(scenario);
        std::printf("golden %s: wrote %zu stretches, %" PRIu64 " samples per channel\n", scenario.c_str(),
                    got.size(), hashes.samples());
        return;
    }
    std::ifstream file(hashFile(scenario), std::ios::binary);
    ASSERT_TRUE(file.good()) << "no golden hashes in " << hashFile(scenario);
    std::vector<std::string> expected;
    for (std::string line; std::getline(file, line);)
        if (!line.empty() && line[0] != '#') expected.push_back(line);
    int32_t differing = 0;
    for (size_t i = 0; i < got.size() || i < expected.size(); ++i) {
        const std::string a = i < got.size() ? got[i] : "(none)";
        const std::string b = i < expected.size() ? expected[i] : "(none)";
        if (a != b && differing++ < 5)
            ADD_FAILURE() << scenario << " stretch " << i << ": " << a << ", golden " << b;
    }
    std::printf("golden %s: %" PRIu64 " stereo samples compared bit for bit in %zu stretches, %d differ\n",
                scenario.c_str(), hashes.samples(), got.size(), differing);
    EXPECT_EQ(differing, 0);
}

// --- the soak's automation through the binary ---------------------------------------------

class GoldenSoak : public testing::TestWithParam<uint32_t> {};

TEST_P(GoldenSoak, RendersAsBefore) {
    StretchHashes hashes;
    SoakSettings settings;
    settings.minutes = 2.0;
    settings.seed = GetParam();
    settings.plugin = hostPath(BRINDLE_PLUGIN_FILE);
    settings.observer = [&](const float* left, const float* right, int32_t frames) {
        hashes.add(left, right, frames);
    };
    EXPECT_EQ(runSoak(settings), 0);
    expectGolden("soak-seed-" + std::to_string(GetParam()), hashes);
}

INSTANTIATE_TEST_SUITE_P(Seeds, GoldenSoak, testing::Values(1u, 2u, 3u, 4u));

// --- the render tool's demo through the binary ---------------------------------------------

struct Demo {
    const char* name;
    double seconds;
    double tempo;
    int32_t block;
    bool vary;
    std::vector<std::pair<std::string, float>> parameters;
    EditorSettings editor;
    int32_t notePattern;  // 0 none, 1 notes with their offs, 2 notes held long
};

std::vector<MidiNote> notesOf(int32_t pattern, double seconds) {
    std::vector<MidiNote> notes;
    if (pattern == 0) return notes;
    const int64_t frames = static_cast<int64_t>(seconds * 44100.0);
    const uint8_t keys[] = {45, 57, 60, 64, 69, 33, 81, 52};
    int64_t at = 3000;
    for (int32_t i = 0; at < frames; ++i) {
        const uint8_t key = keys[i % 8];
        notes.push_back(MidiNote{at, 0x90, key, 100});
        const int64_t length = pattern == 1 ? 9000 + 1500 * (i % 5) : 60000;
        if (at + length < frames) notes.push_back(MidiNote{at + length, 0x80, key, 0});
        at += pattern == 1 ? 17000 + 3100 * (i % 4) : 70000;
    }
    std::stable_sort(notes.begin(), notes.end(),
                     [](const MidiNote& a, const MidiNote& b) { return a.position < b.position; });
    return notes;
}

EditorSettings editorSettings(std::vector<std::pair<int32_t, float>> steps, int32_t sequenceLength,
                              int32_t pre, int32_t post, int32_t control, int32_t recordStart,
                              int32_t repeatTillOff) {
    EditorSettings e;
    e.steps = std::move(steps);
    e.sequenceLength = sequenceLength;
    e.preFilter = pre;
    e.postFilter = post;
    e.midiNoteControl = control;
    e.noteRecordStart = recordStart;
    e.repeatTillNoteOff = repeatTillOff;
    return e;
}

std::vector<Demo> demos() {
    return {
        {"demo-default", 16.0, 120.0, 512, false, {}, EditorSettings(), 0},
        {"demo-filters-bits",
         16.0,
         120.0,
         700,
         true,
         {{"bits", 0.3f}},
         editorSettings({}, -1, 1, 3, -1, -1, -1),
         0},
        {"demo-filters-steps",
         20.0,
         98.0,
         256,
         false,
         {{"pre-cutoff", 0.4f},
          {"pre-reso", 0.7f},
          {"post-cutoff", 0.6f},
          {"post-reso", 0.9f},
          {"knak", 0.6f},
          {"dry/wet", 0.7f},
          {"repeat", 0.2f},
          {"size", 0.6f},
          {"attack", 0.3f},
          {"release", 0.7f}},
         editorSettings({{0, 0.1f}, {1, 0.9f}, {2, 0.3f}, {3, 0.7f}, {4, 1.0f}, {5, 0.0f}}, 5, 2, 1, -1, -1,
                        -1),
         0},
        {"demo-midi-control",
         20.0,
         120.0,
         512,
         false,
         {{"size", 0.3f}},
         editorSettings({}, -1, -1, -1, 1, 0, 0),
         1},
        {"demo-note-record-start",
         20.0,
         120.0,
         333,
         true,
         {{"size", 0.1f}, {"threshold", 0.05f}},
         editorSettings({}, -1, 3, -1, 1, 1, 0),
         1},
        {"demo-record-start-alone", 12.0, 120.0, 512, false, {}, editorSettings({}, -1, -1, -1, 0, 1, 0), 1},
        {"demo-repeat-till-noteoff",
         20.0,
         140.0,
         512,
         false,
         {{"repeat", 0.0f}},
         editorSettings({}, -1, -1, 2, 0, 0, 1),
         1},
        {"demo-all-modes",
         24.0,
         110.0,
         64,
         true,
         {{"bits", 0.1f}, {"knak", 0.0f}, {"dry/wet", 0.5f}},
         editorSettings({{2, 0.8f}}, 3, 3, 2, 1, 1, 1),
         2},
        {"demo-thresholds",
         16.0,
         175.0,
         1000,
         true,
         {{"threshold", 0.6f}, {"attack", 1.0f}, {"release", 0.0f}},
         editorSettings({}, 16, 1, 1, -1, -1, -1),
         0},
        {"demo-low-threshold",
         16.0,
         60.0,
         512,
         false,
         {{"threshold", 0.02f}, {"size", 1.0f}, {"knak", 1.0f}},
         editorSettings({{0, 1.0f}, {1, 0.0f}}, 2, -1, 3, -1, -1, -1),
         0},
    };
}

class GoldenDemo : public testing::TestWithParam<size_t> {};

TEST_P(GoldenDemo, RendersAsBefore) {
    const Demo demo = demos()[GetParam()];
    RenderSettings settings;
    settings.tempo = demo.tempo;
    settings.blockSize = demo.block;
    settings.varyBlocks = demo.vary;
    settings.parameters = demo.parameters;
    settings.editor = demo.editor;
    settings.notes = notesOf(demo.notePattern, demo.seconds);
    const AudioData input = makeDemoLoop(demo.seconds, demo.tempo);
    RenderSession session;
    std::string error;
    ASSERT_TRUE(session.open(hostPath(BRINDLE_PLUGIN_FILE), input.sampleRate, settings.blockSize, error))
        << error;
    ASSERT_TRUE(session.configure(settings, error)) << error;
    AudioData output;
    session.render(input, output, settings);
    session.close();
    StretchHashes hashes;
    hashes.add(output.left.data(), output.right.data(), static_cast<int32_t>(output.frames()));
    expectGolden(demo.name, hashes);
}

INSTANTIATE_TEST_SUITE_P(Demos, GoldenDemo, testing::Range<size_t>(0, 10),
                         [](const testing::TestParamInfo<size_t>& param) {
                             std::string name = demos()[param.param].name;
                             for (char& c : name)
                                 if (c == '-') c = '_';
                             return name;
                         });

// --- the editor's operations, in this process ---------------------------------------------

VstTimeInfo editorTime{};
bool editorTimeServed = true;

intptr_t VSTCALL editorHost(AEffect*, int32_t opcode, int32_t, intptr_t, void*, float) {
    if (opcode == audioMasterVersion) return 2400;
    if (opcode == audioMasterGetTime) return editorTimeServed ? reinterpret_cast<intptr_t>(&editorTime) : 0;
    return 0;
}

// Input made with arithmetic only (no library maths), so that every target feeds the same
// samples: a sine from a rotation, noise from an integer generator, bursts and silences.
class PlainSignal {
public:
    explicit PlainSignal(uint32_t seed) : state(seed * 2654435761u + 1u) {}

    void fill(float* left, float* right, int32_t frames) {
        for (int32_t i = 0; i < frames; ++i) {
            if (remaining-- <= 0) {
                kind = next() % 4;
                remaining = 2000 + static_cast<int32_t>(next() % 60000);
                level = static_cast<float>(next() % 1000) / 1000.0f;
                const float turn = static_cast<float>(1 + next() % 400) / 2000.0f;  // radians per sample
                cosTurn = 1.0f - turn * turn * 0.5f;
                sinTurn = turn;
            }
            const float c = re * cosTurn - im * sinTurn;
            const float s = re * sinTurn + im * cosTurn;
            const float norm = 1.5f - 0.5f * (c * c + s * s);  // keeps the rotation on the circle
            re = c * norm;
            im = s * norm;
            const float noise = static_cast<float>(next() % 65536) / 32768.0f - 1.0f;
            float l = 0.0f;
            float r = 0.0f;
            switch (kind) {
            case 0: break;
            case 1:
                l = level * re;
                r = level * im;
                break;
            case 2:
                l = level * noise;
                r = -level * noise;
                break;
            default: l = r = (remaining % 5000) < 300 ? level * noise : 0.01f * noise; break;
            }
            left[i] = l;
            right[i] = r;
        }
    }

    uint32_t next() {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return state;
    }

private:
    uint32_t state;
    int32_t kind = 0;
    int32_t remaining = 0;
    float level = 0.0f;
    float re = 1.0f;
    float im = 0.0f;
    float cosTurn = 1.0f;
    float sinTurn = 0.0f;
};

class GoldenEditor : public testing::TestWithParam<uint32_t> {};

TEST_P(GoldenEditor, RendersAsBefore) {
    editorTime = VstTimeInfo{};
    editorTime.sampleRate = 44100.0;
    editorTime.tempo = 120.0;
    editorTimeServed = true;
    FreezeEffect effect(editorHost);
    effect.resume();
    PlainSignal signal(GetParam());
    std::mt19937 random(GetParam());
    std::vector<float> in[2], out[2];
    for (int c = 0; c < 2; ++c) {
        in[c].assign(4096, 0.0f);
        out[c].assign(4096, 0.0f);
    }
    std::vector<VstMidiEvent> midi(4);
    std::vector<unsigned char> list(sizeof(VstEvents) + 4 * sizeof(VstEvent*));
    StretchHashes hashes;
    const int64_t total = 60 * 44100;
    for (int64_t rendered = 0; rendered < total;) {
        // Editor and host operations between blocks.
        const int32_t actions = static_cast<int32_t>(random() % 3);
        for (int32_t a = 0; a < actions; ++a) {
            switch (random() % 16) {
            case 0: effect.plugin().toggleInverse(); break;
            case 1: effect.plugin().cycleFilterType(1); break;
            case 2: effect.plugin().cycleFilterType(2); break;
            // Two draws for one call are made one after the other: the order of a call's
            // arguments is the compiler's choice (g++ took the value first when the hashes
            // were written, clang the index).
            case 3: {
                const float value = static_cast<float>(random() % 1001) / 1000.0f;
                effect.plugin().setStepValue(static_cast<int32_t>(random() % 16), value);
                break;
            }
            case 4: effect.plugin().setSequenceLength(static_cast<float>(random() % 1001) / 1000.0f); break;
            case 5: effect.plugin().toggleMidiNoteControl(); break;
            case 6: effect.plugin().toggleNoteRecordStart(); break;
            case 7: effect.plugin().toggleRepeatTillNoteOff(); break;
            case 8: effect.plugin().setThreshold(static_cast<float>(random() % 500) / 1000.0f); break;
            case 9:
            case 10: {
                const float value = static_cast<float>(random() % 1001) / 1000.0f;
                effect.plugin().setProgramValue(static_cast<int32_t>(random() % 11), value);
                break;
            }
            case 11: effect.setProgram(static_cast<int32_t>(random() % 16)); break;
            case 12: editorTime.tempo = 40.0 + static_cast<double>(random() % 200); break;
            case 13: editorTime.sampleRate = (random() % 2) ? 48000.0 : 44100.0; break;
            default: {  // notes
                auto* events = reinterpret_cast<VstEvents*>(list.data());
                events->numEvents = 1 + static_cast<int32_t>(random() % 4);
                for (int32_t e = 0; e < events->numEvents; ++e) {
                    VstMidiEvent& m = midi[static_cast<size_t>(e)];
                    m = VstMidiEvent{};
                    m.type = kVstMidiType;
                    m.byteSize = sizeof m;
                    m.deltaFrames = static_cast<int32_t>(random() % 600);
                    m.midiData[0] = static_cast<char>((random() % 3) ? 0x90 : 0x80);
                    m.midiData[1] = static_cast<char>(30 + random() % 60);
                    m.midiData[2] = static_cast<char>(random() % 128);
                    events->events[e] = reinterpret_cast<VstEvent*>(&m);
                }
                effect.processEvents(events);
                break;
            }
            }
        }
        const int32_t frames = (random() % 4 == 0) ? 1 + static_cast<int32_t>(random() % 64)
                                                   : 1 + static_cast<int32_t>(random() % 4096);
        signal.fill(in[0].data(), in[1].data(), frames);
        float* inputs[2] = {in[0].data(), in[1].data()};
        float* outputs[2] = {out[0].data(), out[1].data()};
        if (random() % 3 == 0) {
            std::fill(out[0].begin(), out[0].begin() + frames, 0.25f);
            std::fill(out[1].begin(), out[1].begin() + frames, -0.25f);
            effect.process(inputs, outputs, frames);
        } else {
            effect.processReplacing(inputs, outputs, frames);
        }
        hashes.add(out[0].data(), out[1].data(), frames);
        rendered += frames;
    }
    expectGolden("editor-seed-" + std::to_string(GetParam()), hashes);
}

INSTANTIATE_TEST_SUITE_P(Seeds, GoldenEditor, testing::Values(1u, 2u, 3u));

}  // namespace
