// --plot: the observed in-process engine hears what the binary plays, its events on the demo
// are where the engine's rules put them, and the tool writes the picture or fails clearly.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <vector>

#include "RenderHarness.h"
#include "engine/FreezeProgram.h"
#include "tools/render/DemoLoop.h"
#include "tools/render/ObservedRender.h"
#include "tools/render/RenderPlot.h"
#include "tools/render/RenderSession.h"

namespace {

AudioData binaryRender(const AudioData& input, const RenderSettings& settings) {
    RenderSession session;
    std::string error;
    AudioData output;
    EXPECT_TRUE(session.open(BRINDLE_PLUGIN_FILE, input.sampleRate, settings.blockSize, error)) << error;
    EXPECT_TRUE(session.configure(settings, error)) << error;
    session.render(input, output, settings);
    return output;
}

struct Observed {
    AudioData output;
    EngineEvents events;
};

Observed observedRender(const AudioData& input, const RenderSettings& settings) {
    Observed observed;
    std::string error;
    EXPECT_TRUE(renderObserved(input, settings, observed.output, observed.events, error)) << error;
    return observed;
}

MidiNote note(int64_t position, int status, int number, int velocity) {
    return MidiNote{position, static_cast<uint8_t>(status), static_cast<uint8_t>(number),
                    static_cast<uint8_t>(velocity)};
}

struct HeardCase {
    const char* name;
    RenderSettings settings;
};

std::vector<HeardCase> heardCases() {
    std::vector<HeardCase> cases;
    cases.push_back({"default program", RenderSettings{}});
    RenderSettings varying;
    varying.tempo = 93.0;
    varying.blockSize = 300;
    varying.varyBlocks = true;
    varying.parameters = {{"size", 0.6f}, {"knak", 0.4f}, {"repeat", 0.1f}};
    cases.push_back({"changing blocks, 93 BPM, few repeats", varying});
    RenderSettings shaped;
    shaped.program = 5;
    shaped.parameters = {{"bits", 0.3f}, {"threshold", 0.3f}, {"post-cutoff", 0.4f}};
    shaped.editor.preFilter = 2;
    shaped.editor.postFilter = 1;
    shaped.editor.steps = {{0, 0.0f}, {1, 1.0f}, {2, 0.3f}};
    shaped.editor.sequenceLength = 3;
    cases.push_back({"filters, bits and steps", shaped});
    RenderSettings notes;
    notes.blockSize = 128;
    notes.editor.midiNoteControl = 1;
    notes.editor.noteRecordStart = 1;
    notes.notes = {note(3000, 0x90, 57, 100), note(70001, 0x90, 45, 90), note(150000, 0x80, 45, 0)};
    cases.push_back({"notes set the loop and start recordings", notes});
    RenderSettings held;
    held.editor.repeatTillNoteOff = 1;
    held.notes = {note(20000, 0x90, 60, 100), note(120000, 0x80, 60, 0)};
    cases.push_back({"repeat till note-off", held});
    return cases;
}

TEST(ObservedEngine, HearsWhatTheBinaryPlaysSampleForSample) {
    const AudioData input = makeDemoLoop(5.0, 120.0);
    for (const HeardCase& c : heardCases()) {
        SCOPED_TRACE(c.name);
        AudioData demo = input;
        if (c.settings.tempo != 120.0) demo = makeDemoLoop(5.0, c.settings.tempo);
        const Observed observed = observedRender(demo, c.settings);
        const AudioData heard = binaryRender(demo, c.settings);
        ASSERT_EQ(observed.output.frames(), demo.frames());
        EXPECT_EQ(firstDifference(observed.output, heard), -1);
        EXPECT_FALSE(observed.events.levels.empty());
    }
    // The comparison itself finds a single changed bit, and a shorter render.
    AudioData a = makeDemoLoop(0.1, 120.0);
    AudioData b = a;
    EXPECT_EQ(firstDifference(a, b), -1);
    b.right[77] = -b.right[77];
    EXPECT_EQ(firstDifference(a, b), 77);
    b = a;
    b.left.pop_back();
    b.right.pop_back();
    EXPECT_EQ(firstDifference(a, b), static_cast<int64_t>(b.frames()));
}

// Samples per loop with the default program (4 size steps, step offsets 0) at 44.1 kHz: four
// grid units of 1/256 bar, each truncated from whole milliseconds per bar at whole kilohertz.
int32_t defaultLoopLength(double tempo) {
    const double unit = std::trunc(std::trunc(240000.0 / tempo) * 44.0 * 0.00390625);
    return 4 * static_cast<int32_t>(unit);
}

TEST(ObservedDemo, FreezesFallOnHitsOrWhereTheHoldOffEndsAndStepThroughTheSequence) {
    for (double tempo : {120.0, 93.0, 141.0}) {
        SCOPED_TRACE(tempo);
        RenderSettings settings;
        settings.tempo = tempo;
        const Observed observed = observedRender(makeDemoLoop(16.0, tempo), settings);
        const std::vector<EngineEvent> triggers = observed.events.only(EventKind::Trigger);
        const std::vector<EngineEvent> ends = observed.events.only(EventKind::RecordingEnd);
        const int32_t loop = defaultLoopLength(tempo);
        const double sixteenth = 44100.0 * 15.0 / tempo;
        ASSERT_GE(triggers.size(), 16u);
        EXPECT_LT(triggers[0].position, 441);  // the first kick, within 10 ms
        for (size_t i = 0; i < triggers.size(); ++i) {
            const EngineEvent& t = triggers[i];
            EXPECT_GT(t.level, kDefaultThreshold) << "trigger " << i;
            EXPECT_EQ(t.value, static_cast<int32_t>((i + 1) % 17)) << "trigger " << i;  // steps 1..16, 0, ...
            // Each recording lasts the loop length.
            ASSERT_LT(i, ends.size());
            EXPECT_EQ(ends[i].position - t.position, loop + 1) << "trigger " << i;
            if (i == 0) continue;
            // Not before the recording and the hold-off are over; then on a drum hit (within
            // 10 ms of a sixteenth) or, where a hit's tail is still loud, as the hold-off ends.
            const int64_t gap = t.position - triggers[i - 1].position;
            const int64_t armed = loop + kHoldOffSamples;
            const double sinceGrid = std::fmod(static_cast<double>(t.position), sixteenth);
            EXPECT_GE(gap, armed) << "trigger " << i;
            EXPECT_TRUE(gap == armed || sinceGrid < 441.0) << "trigger " << i << " at " << t.position;
        }
    }
}

TEST(ObservedDemo, LoopsStartALoopLengthApartAtTheTempoGridLength) {
    for (double tempo : {120.0, 77.0, 133.0, 180.0}) {
        for (bool varying : {false, true}) {
            SCOPED_TRACE(testing::Message() << tempo << (varying ? " BPM, changing blocks" : " BPM"));
            RenderSettings settings;
            settings.tempo = tempo;
            settings.varyBlocks = varying;
            const Observed observed = observedRender(makeDemoLoop(6.0, tempo), settings);
            const int32_t loop = defaultLoopLength(tempo);
            int64_t previous = -1;
            size_t starts = 0;
            for (const EngineEvent& e : observed.events.events) {
                if (e.kind == EventKind::Trigger) previous = -1;  // the pass before restarts
                if (e.kind != EventKind::LoopStart && e.kind != EventKind::LoopEnd) continue;
                EXPECT_EQ(e.value, loop) << "at " << e.position;
                if (previous >= 0) {
                    EXPECT_EQ(e.position - previous, loop) << "at " << e.position;
                }
                previous = e.kind == EventKind::LoopStart ? e.position : -1;
                starts += e.kind == EventKind::LoopStart;
            }
            EXPECT_GT(starts, 100u);
            // Playback starts at slot 0 with the render: the first pass ends one loop in.
            const std::vector<EngineEvent> wraps = observed.events.only(EventKind::LoopStart);
            ASSERT_FALSE(wraps.empty());
            EXPECT_EQ(wraps.front().position, loop - 1);
            // The level is sampled through the whole render, at most a run of 64 apart.
            const std::vector<LevelPoint>& levels = observed.events.levels;
            ASSERT_FALSE(levels.empty());
            for (size_t i = 1; i < levels.size(); ++i) {
                ASSERT_GT(levels[i].position, levels[i - 1].position);
                ASSERT_LE(levels[i].position - levels[i - 1].position, 64);
            }
            EXPECT_EQ(levels.back().position, static_cast<int64_t>(observed.output.frames()));
        }
    }
}

TEST(ObservedDemo, NotesTakeEffectAtTheirSamplesWithTheirLoopLength) {
    RenderSettings settings;
    settings.blockSize = 512;
    settings.editor.midiNoteControl = 1;
    // Offsets at a block's start, inside one and at its last sample; A4 (440 Hz) and A3.
    const struct {
        int64_t position;
        int number;
        int32_t loop;  // one period times 4 size steps, truncated
    } notes[] = {{512, 57, 400}, {40000, 45, 801}, {80383, 69, 200}};
    for (const auto& n : notes) settings.notes.push_back(note(n.position, 0x90, n.number, 100));
    const Observed observed = observedRender(makeDemoLoop(3.0, 120.0), settings);
    const std::vector<EngineEvent> applied = observed.events.only(EventKind::NoteApplied);
    ASSERT_EQ(applied.size(), std::size(notes));
    for (size_t i = 0; i < applied.size(); ++i) {
        EXPECT_EQ(applied[i].position, notes[i].position);
        EXPECT_EQ(applied[i].value, notes[i].loop);
        EXPECT_FALSE(applied[i].startsRecording);
    }
    // The loop plays on at the note's length.
    for (const EngineEvent& e : observed.events.only(EventKind::LoopStart))
        if (e.position > notes[2].position + notes[2].loop) {
            EXPECT_EQ(e.value, notes[2].loop);
        }
}

// Width and height from a PNG's header chunk, or 0 where the file is no PNG.
std::pair<uint32_t, uint32_t> pngSize(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    unsigned char head[24] = {};
    file.read(reinterpret_cast<char*>(head), sizeof head);
    const unsigned char signature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (!file || std::memcmp(head, signature, sizeof signature) != 0 ||
        std::memcmp(head + 12, "IHDR", 4) != 0)
        return {0, 0};
    auto word = [&](int at) {
        return static_cast<uint32_t>(head[at]) << 24 | static_cast<uint32_t>(head[at + 1]) << 16 |
               static_cast<uint32_t>(head[at + 2]) << 8 | head[at + 3];
    };
    return {word(16), word(20)};
}

TEST(RenderPlot, ToolWritesTheAudioAndAPictureOfThePlotSize) {
    Scratch scratch;
    const ToolRun run = runTool(scratch, "--demo --demo-seconds 4 -o demo.wav --plot demo.png");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.out.find("wrote demo.png"), std::string::npos) << run.out;
    EXPECT_EQ(readOutput(scratch / "demo.wav").frames(), 4u * 44100u);
    const auto size = pngSize(scratch / "demo.png");
    EXPECT_EQ(size.first, static_cast<uint32_t>(kPlotWidth));
    EXPECT_EQ(size.second, static_cast<uint32_t>(kPlotHeight));
    EXPECT_FALSE(fs::exists(scratch / "demo.png.partial"));
}

TEST(RenderPlot, RefusedWhereItWouldOverwriteOrCannotBeWritten) {
    const struct {
        const char* arguments;
        int exitCode;
        const char* says;
        const char* absent;
    } cases[] = {
        {"--demo -o same.wav --plot same.wav", 2, "would overwrite same.wav", "same.wav"},
        {"--demo --demo-seconds 1 -o a.wav --plot no/such/folder/a.png", 1, "no/such/folder/a.png",
         "no/such/folder/a.png.partial"},
        {"--demo --plot", 2, "--plot needs a value", "brindleloop-demo.wav"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments);
        Scratch scratch;
        const ToolRun run = runTool(scratch, c.arguments);
        EXPECT_EQ(run.exitCode, c.exitCode);
        EXPECT_NE(run.err.find(c.says), std::string::npos) << run.err;
        EXPECT_FALSE(fs::exists(scratch / c.absent));
    }
}

TEST(RenderPlot, WindowsBuildSaysItHasNoPlot) {
    const WindowsRender win32 = windowsRender();
    if (!win32.missing.empty()) GTEST_SKIP() << win32.missing;
    const fs::path& exe = win32.exe;
    Scratch scratch;
    const ToolRun run =
        runCommand(scratch, "wine '" + exe.string() + "' --demo --demo-seconds 1 --plot a.png");
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_NE(run.err.find("--plot is not available in this build"), std::string::npos) << run.err;
    EXPECT_FALSE(fs::exists(scratch / "a.png"));
    EXPECT_FALSE(fs::exists(scratch / "brindleloop-demo.wav"));  // refused before rendering
}

}  // namespace
