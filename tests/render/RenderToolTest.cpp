// brindleloop-render end to end on the built .so: outputs, settings, MIDI, blocks, errors.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <vector>

#include "InProcessHost.h"
#include "RenderHarness.h"
#include "vst2/FreezeEffect.h"
#include "tools/render/DemoLoop.h"

namespace {

std::string plugin() { return std::string(" --plugin '") + BRINDLE_PLUGIN_FILE + "'"; }

void expectSame(const AudioData& a, const AudioData& b, float tolerance = 0.0f) {
    ASSERT_EQ(a.frames(), b.frames());
    ASSERT_GT(a.frames(), 0u);
    for (size_t i = 0; i < a.frames(); ++i) {
        ASSERT_NEAR(a.left[i], b.left[i], tolerance) << "sample " << i;
        ASSERT_NEAR(a.right[i], b.right[i], tolerance) << "sample " << i;
    }
}

TEST(RenderTool, DemoNeedsNoInputAndSaysWhereTheOutputWent) {
    Scratch scratch;
    const ToolRun run = runTool(scratch, "--demo --demo-seconds 4");  // the plug-in built beside it
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.out.find("brindleloop-demo.wav"), std::string::npos) << run.out;
    const AudioData out = readOutput(scratch / "brindleloop-demo.wav");
    EXPECT_EQ(out.frames(), 4u * 44100u);
    EXPECT_EQ(out.sampleRate, 44100.0);
    double energy = 0.0;
    for (float v : out.left) energy += static_cast<double>(v) * static_cast<double>(v);
    EXPECT_GT(energy, 1.0);  // the loop is heard
    EXPECT_FALSE(fs::exists(scratch / "brindleloop-demo.wav.partial"));
}

TEST(RenderTool, FullyDryRenderIsTheInput) {
    Scratch scratch;
    const ToolRun run =
        runTool(scratch, "--demo --demo-seconds 3 --tempo 100 --param dry/wet=0 -o dry.wav" + plugin());
    ASSERT_EQ(run.exitCode, 0) << run.err;
    expectSame(readOutput(scratch / "dry.wav"), makeDemoLoop(3.0, 100.0));

    // And an input file read back in gives the same again.
    ASSERT_EQ(runTool(scratch, "dry.wav --param DRY/WET=0 -o again.wav" + plugin()).exitCode, 0);
    expectSame(readOutput(scratch / "again.wav"), makeDemoLoop(3.0, 100.0));
}

TEST(RenderTool, OutputDoesNotDependOnTheBlockSizes) {
    Scratch scratch;
    const std::string common =
        " --demo --demo-seconds 6 --param bits=0.3 --pre-filter lp --post-filter bp" + plugin();
    ASSERT_EQ(runTool(scratch, "-o a.wav --block 512" + common).exitCode, 0);
    ASSERT_EQ(runTool(scratch, "-o b.wav --block 700 --vary-blocks" + common).exitCode, 0);
    ASSERT_EQ(runTool(scratch, "-o c.wav --block 1" + common).exitCode, 0);
    const AudioData a = readOutput(scratch / "a.wav");
    expectSame(a, readOutput(scratch / "b.wav"));
    expectSame(a, readOutput(scratch / "c.wav"));
}

TEST(RenderTool, SettingsNotesAndChunksReachTheEngineAsAHostWouldSendThem) {
    Scratch scratch;
    writeText(scratch / "notes.txt",
              "# position note velocity\n"
              "1000 57 100\n"
              "30000 64 90   # a fifth up\n"
              "30000 64 0\n"
              "\n"
              "70001 45 127\n");
    const ToolRun run = runTool(
        scratch,
        "--demo --demo-seconds 4 --tempo 133 --block 256 --program 3 --param size=0.6 --param knak=0.4 "
        "--param repeat=0.8 --param threshold=0.2 --param post-cutoff=0.5 --steps 0.2,0.9,0.5 --step 5=0.7 "
        "--sequence-length 4 --pre-filter hp --post-filter lp --midi-control --note-record-start "
        "--midi notes.txt -o tool.wav" +
            plugin());
    ASSERT_EQ(run.exitCode, 0) << run.err;

    // The same settings applied to the engine in this process.
    inProcessTime() = VstTimeInfo{};
    inProcessTime().sampleRate = 44100.0;
    inProcessTime().tempo = 133.0;
    FreezeEffect effect(inProcessHost);
    effect.setProgram(3);
    effect.setParameter(kParamSize, 0.6f);
    effect.setParameter(kParamKnak, 0.4f);
    effect.setParameter(kParamRepeat, 0.8f);
    effect.setParameter(kParamThreshold, 0.2f);
    effect.setParameter(kParamPostCutoff, 0.5f);
    effect.plugin().setStepValue(0, 0.2f);
    effect.plugin().setStepValue(1, 0.9f);
    effect.plugin().setStepValue(2, 0.5f);
    effect.plugin().setStepValue(4, 0.7f);
    effect.plugin().setSequenceLength(sequenceLengthValueFor(4));
    effect.plugin().cycleFilterType(1);
    effect.plugin().cycleFilterType(1);
    effect.plugin().cycleFilterType(2);
    effect.plugin().toggleMidiNoteControl();
    effect.plugin().toggleNoteRecordStart();
    effect.resume();

    const AudioData in = makeDemoLoop(4.0, 133.0);
    AudioData expected = in;
    const struct {
        int64_t at;
        int status, note, velocity;
    } notes[] = {{1000, 0x90, 57, 100}, {30000, 0x90, 64, 90}, {30000, 0x80, 64, 0}, {70001, 0x90, 45, 127}};
    for (size_t start = 0; start < in.frames(); start += 256) {
        const size_t block = std::min<size_t>(256, in.frames() - start);
        std::vector<VstMidiEvent> events;
        for (const auto& n : notes) {
            if (n.at < static_cast<int64_t>(start) || n.at >= static_cast<int64_t>(start + block)) continue;
            VstMidiEvent e{};
            e.type = kVstMidiType;
            e.byteSize = sizeof e;
            e.deltaFrames = static_cast<int32_t>(n.at - static_cast<int64_t>(start));
            e.midiData[0] = static_cast<char>(n.status);
            e.midiData[1] = static_cast<char>(n.note);
            e.midiData[2] = static_cast<char>(n.velocity);
            events.push_back(e);
        }
        if (!events.empty()) {
            // Room for every note at once: a buffer that always exists (a vector's data() may be
            // null as far as the compiler can tell, and writing the count through it warned).
            constexpr size_t kListBytes = sizeof(VstEvents) + std::size(notes) * sizeof(VstEvent*);
            alignas(VstEvents) unsigned char storage[kListBytes];
            auto* list = reinterpret_cast<VstEvents*>(storage);
            list->numEvents = static_cast<int32_t>(events.size());
            VstEvent** pointers = list->events;
            for (size_t i = 0; i < events.size(); ++i) pointers[i] = reinterpret_cast<VstEvent*>(&events[i]);
            effect.processEvents(list);
        }
        float* inputs[2] = {const_cast<float*>(in.left.data() + start),
                            const_cast<float*>(in.right.data() + start)};
        float* outputs[2] = {expected.left.data() + start, expected.right.data() + start};
        effect.processReplacing(inputs, outputs, static_cast<int32_t>(block));
    }
    EXPECT_EQ(effect.plugin().getLoopLength(), 2004);  // note 45 (220 Hz): 10 periods at size 0.6
    expectSame(readOutput(scratch / "tool.wav"), expected);
}

TEST(RenderTool, StandardMidiFileGivesWhatTheSameNotesAsTextGive) {
    Scratch scratch;
    // At 120 BPM and 480 ticks per quarter a tick is 44100 / 960 samples: ticks 960 and 2400
    // fall on samples 44100 and 110250.
    const unsigned char smf[] = {'M',  'T',  'h',  'd',  0,    0,    0,    6,   0,
                                 0,    0,    1,    0x01, 0xE0, 'M',  'T',  'r', 'k',
                                 0,    0,    0,    18,   0x87, 0x40, 0x90, 57,  100,  // tick 960
                                 0x8B, 0x20, 0x90, 64,   100,                         // tick 2400
                                 0x00, 0x80, 64,   0,    0x00, 0xFF, 0x2F, 0x00};
    {
        std::ofstream file(scratch / "notes.mid", std::ios::binary);
        file.write(reinterpret_cast<const char*>(smf), sizeof smf);
    }
    writeText(scratch / "notes.txt", "44100 57 100\n110250 64 100\n110250 64 0\n");
    const std::string common = " --demo --demo-seconds 3 --midi-control --repeat-till-noteoff" + plugin();
    ASSERT_EQ(runTool(scratch, "--midi notes.mid -o mid.wav" + common).exitCode, 0);
    ASSERT_EQ(runTool(scratch, "--midi notes.txt -o txt.wav" + common).exitCode, 0);
    ASSERT_EQ(runTool(scratch, "-o none.wav" + common).exitCode, 0);
    const AudioData mid = readOutput(scratch / "mid.wav");
    expectSame(mid, readOutput(scratch / "txt.wav"));
    const AudioData none = readOutput(scratch / "none.wav");
    bool differs = false;
    for (size_t i = 0; i < mid.frames() && !differs; ++i) differs = mid.left[i] != none.left[i];
    EXPECT_TRUE(differs);  // the notes were heard
}

TEST(RenderTool, ChunkFilesAreLoadedAndCheckedForSize) {
    Scratch scratch;
    FreezeProgram preset{};
    std::copy(std::begin(kDefaultProgramValues), std::end(kDefaultProgramValues), preset.values);
    preset.values[kSlotDryWet] = 0.0f;  // fully dry: the output is the input
    preset.threshold = kDefaultThreshold;
    preset.sequenceLengthValue = kDefaultSequenceLengthValue;
    std::strcpy(preset.name, "dry");
    {
        std::ofstream file(scratch / "dry.fxp", std::ios::binary);
        file.write(reinterpret_cast<const char*>(&preset), sizeof preset);
    }
    ASSERT_EQ(runTool(scratch, "--demo --demo-seconds 2 --preset dry.fxp -o out.wav" + plugin()).exitCode, 0);
    expectSame(readOutput(scratch / "out.wav"), makeDemoLoop(2.0, 120.0));

    // A bank with that program in slot 7 (names are not part of a bank).
    std::vector<unsigned char> bank(kBankChunkSize, 0);
    FreezeProgram normal = preset;
    normal.values[kSlotDryWet] = 1.0f;
    for (int32_t p = 0; p < kNumPrograms; ++p)
        std::memcpy(bank.data() + p * kPresetChunkSize, p == 7 ? &preset : &normal, kBankProgramBytes);
    const float half = 0.5f;
    for (int32_t s = 0; s < kNumStepValues; ++s)
        std::memcpy(bank.data() + kBankStepsOffset + 4 * s, &half, 4);
    {
        std::ofstream file(scratch / "bank.fxb", std::ios::binary);
        file.write(reinterpret_cast<const char*>(bank.data()), static_cast<std::streamsize>(bank.size()));
    }
    ASSERT_EQ(runTool(scratch, "--demo --demo-seconds 2 --bank bank.fxb --program 7 -o bank.wav" + plugin())
                  .exitCode,
              0);
    expectSame(readOutput(scratch / "bank.wav"), makeDemoLoop(2.0, 120.0));

    writeText(scratch / "short.fxb", "not a bank");
    const ToolRun bad = runTool(scratch, "--demo --bank short.fxb -o x.wav" + plugin());
    EXPECT_EQ(bad.exitCode, 1);
    EXPECT_NE(bad.err.find("1476"), std::string::npos) << bad.err;
    EXPECT_FALSE(fs::exists(scratch / "x.wav"));
}

TEST(RenderTool, BadArgumentsAndFilesFailClearlyAndLeaveNoOutput) {
    Scratch scratch;
    writeText(scratch / "old.wav", "keep me");
    writeText(scratch / "bad-notes.txt", "100 60 100\n200 sixty 100\n");
    writeText(scratch / "noise.wav", "RIFF....WAVEjunk");
    const struct {
        std::string arguments;
        int exitCode;
        std::string says;
    } cases[] = {
        {"", 2, "no input file"},
        {"in.wav", 2, "no output file"},
        {"--demo --tempo 0 -o old.wav", 2, "--tempo"},
        {"--demo --tempo fast -o old.wav", 2, "--tempo"},
        {"--demo --block 0 -o old.wav", 2, "--block"},
        {"--demo --block 12.5 -o old.wav", 2, "--block"},
        {"--demo --program 16 -o old.wav", 2, "--program"},
        {"--demo --param size -o old.wav", 2, "NAME=VALUE"},
        {"--demo --param size=1.5 -o old.wav", 2, "NAME=VALUE"},
        {"--demo --param size=nan -o old.wav", 2, "NAME=VALUE"},
        {"--demo --steps 0.1,,0.3 -o old.wav", 2, "--steps"},
        {"--demo --step 17=0.5 -o old.wav", 2, "--step"},
        {"--demo --sequence-length 0 -o old.wav", 2, "--sequence-length"},
        {"--demo --pre-filter notch -o old.wav", 2, "off, lp, hp or bp"},
        {"--demo --inverse -o old.wav", 2, "not stored"},
        {"--demo --frobnicate -o old.wav", 2, "unknown option --frobnicate"},
        {"--demo --block", 2, "needs a value"},
        {"--demo in.wav -o old.wav", 2, "no input file"},
        {"old.wav -o old.wav", 2, "overwrite"},
        {"missing.wav -o old.wav", 1, "missing.wav"},
        {"noise.wav -o old.wav", 1, "noise.wav"},
        {"--demo --param loudness=0.5 -o old.wav", 1, "unknown parameter \"loudness\""},
        {"--demo --midi none.txt -o old.wav", 1, "none.txt"},
        {"--demo --midi bad-notes.txt -o old.wav", 1, "line 2"},
        {"--demo --preset none.fxp -o old.wav", 1, "none.fxp"},
        {"--demo --plugin /nonexistent/brindleLoop.so -o old.wav", 1, "cannot load"},
        {"--demo -o /nonexistent/folder/out.wav", 1, "/nonexistent/folder/out.wav"},
    };
    for (const auto& c : cases) {
        const bool hasPlugin = c.arguments.find("--plugin") != std::string::npos;
        const ToolRun run =
            runTool(scratch, std::string(hasPlugin ? "" : plugin()) + " --demo-seconds 1 " + c.arguments);
        EXPECT_EQ(run.exitCode, c.exitCode) << c.arguments << "\n" << run.err;
        EXPECT_NE(run.err.find(c.says), std::string::npos) << c.arguments << "\n" << run.err;
        EXPECT_EQ(readTextFile(scratch / "old.wav"), "keep me") << c.arguments;
    }
    // Nothing but the files made above: no partial output anywhere.
    for (const auto& entry : fs::directory_iterator(scratch.dir))
        EXPECT_EQ(entry.path().filename().string().find(".partial"), std::string::npos) << entry.path();
}

TEST(RenderTool, TimingModeReportsCpuPerSecondAndRealtimeFactor) {
    Scratch scratch;
    const ToolRun run = runTool(scratch, "--demo --demo-seconds 5 --timing -o t.wav" + plugin());
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.out.find("CPU s per audio s"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("realtime factor"), std::string::npos) << run.out;
    const ToolRun help = runTool(scratch, "--help");
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.out.find("--vary-blocks"), std::string::npos);
}

}  // namespace

namespace {

// The 32-bit DLL, played by the Windows build of the same render core under Wine, gives what
// the Linux .so gives, to within float rounding of the two C libraries' maths.
TEST(RenderTool, WindowsBuildUnderWineMatchesLinux) {
    const WindowsRender win32 = windowsRender();
    if (!win32.missing.empty()) GTEST_SKIP() << win32.missing;
    const fs::path& exe = win32.exe;
    const fs::path& dll = win32.dll;

    Scratch scratch;
    writeText(scratch / "notes.txt", "5000 57 100\n40000 69 100\n90000 50 80\n");
    const std::string settings =
        " --demo --demo-seconds 3 --tempo 128 --block 300 --vary-blocks --param bits=0.4 --param knak=0.3 "
        "--param dry/wet=0.6 --param pre-cutoff=0.7 --param post-reso=0.5 --pre-filter lp --post-filter bp "
        "--steps 0.5,0.8,0.3 --sequence-length 3 --midi-control --midi notes.txt";
    const ToolRun linux = runTool(scratch, "-o linux.wav" + settings + plugin());
    ASSERT_EQ(linux.exitCode, 0) << linux.err;
    const ToolRun windows = runCommand(scratch, "wine '" + exe.string() + "' -o windows.wav" + settings +
                                                    " --plugin '" + dll.string() + "'");
    ASSERT_EQ(windows.exitCode, 0) << windows.err << windows.out;
    const AudioData a = readOutput(scratch / "linux.wav");
    const AudioData b = readOutput(scratch / "windows.wav");
    expectSame(a, b, 1e-4f);
    double energy = 0.0;
    for (float v : a.left) energy += static_cast<double>(v) * static_cast<double>(v);
    EXPECT_GT(energy, 1.0);
}

}  // namespace

namespace {

// The Windows build's --timing under Wine counts the process's CPU time finely enough for a
// short render: a figure of its own on every run, never none (the 10 ms process times showed
// none for a render this short, and the tool fell back on the wall clock).
TEST(RenderTool, WindowsBuildUnderWineTimesShortRendersInCpuTime) {
    const WindowsRender win32 = windowsRender();
    if (!win32.missing.empty()) GTEST_SKIP() << win32.missing;
    Scratch scratch;
    for (int i = 0; i < 2; ++i) {
        const ToolRun run = runCommand(scratch, "wine '" + win32.exe.string() +
                                                    "' --demo --demo-seconds 1 --timing -o t.wav --plugin '" +
                                                    win32.dll.string() + "'");
        ASSERT_EQ(run.exitCode, 0) << run.err << run.out;
        const size_t at = run.out.find("timing: ");
        ASSERT_NE(at, std::string::npos) << run.out;
        EXPECT_EQ(run.out.find("wall clock"), std::string::npos) << run.out;
        double cpu = 0.0, audio = 0.0, perSecond = 0.0;
        ASSERT_EQ(std::sscanf(run.out.c_str() + at, "timing: %lf CPU seconds for %lf s of audio: %lf", &cpu,
                              &audio, &perSecond),
                  3)
            << run.out;
        EXPECT_GT(perSecond, 0.0) << run.out;
    }
}

}  // namespace
