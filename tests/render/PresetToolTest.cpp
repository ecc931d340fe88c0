// brindleloop-render with .fxp/.fxb files on the built .so: what it saves loads back to the
// same sound, parameter lists act as the parameters would, and bad files change nothing.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "RenderHarness.h"
#include "engine/ChunkLayout.h"
#include "engine/ParameterTable.h"
#include "tools/render/DemoLoop.h"
#include "tools/render/FileBytes.h"
#include "tools/render/PresetFile.h"

namespace {

using Bytes = std::vector<unsigned char>;

const std::string kPlugin = std::string(" --plugin '") + BRINDLE_PLUGIN_FILE + "'";
const PresetLimits kLimits{fourCharCode("BRLP"), 12, 16};

void writeBytes(const fs::path& path, const Bytes& bytes) {
    ASSERT_TRUE(writeFileBytes(path.string(), bytes));
}

PresetFile readPreset(const fs::path& path) {
    Bytes bytes;
    PresetFile file;
    std::string error;
    EXPECT_TRUE(readFileBytes(path.string(), bytes)) << path;
    EXPECT_TRUE(parsePresetFile(bytes, kLimits, file, error)) << path << ": " << error;
    return file;
}

bool sameAudio(const AudioData& a, const AudioData& b) {
    return a.frames() > 0 && a.left == b.left && a.right == b.right;
}

// Renders 2 s of the demo with the arguments and returns the output.
AudioData render(const Scratch& scratch, const std::string& arguments) {
    const ToolRun run = runTool(scratch, "--demo --demo-seconds 2 --quiet -o r.wav " + arguments + kPlugin);
    EXPECT_EQ(run.exitCode, 0) << arguments << "\n" << run.err;
    return readOutput(scratch / "r.wav");
}

TEST(PresetTool, SavedPresetAndBankLoadBackToTheSameSound) {
    Scratch scratch;
    // Program-level settings: a preset carries them all.
    const std::string program =
        "--program 2 --param size=0.9 --param bits=0.5 --param knak=0.3 --param threshold=0.1 "
        "--param post-cutoff=0.4 --pre-filter hp --post-filter lp --sequence-length 5 --name 'Saved Here' ";
    const AudioData original = render(scratch, program + "--save-preset p.fxp --save-bank b.fxb");
    EXPECT_TRUE(sameAudio(render(scratch, "--preset p.fxp"), original));
    EXPECT_TRUE(sameAudio(render(scratch, "--bank b.fxb"), original));  // its current program is 2

    const PresetFile preset = readPreset(scratch / "p.fxp");
    EXPECT_EQ(preset.kind, PresetKind::programChunk);
    EXPECT_EQ(preset.program.name, "Saved Here");
    EXPECT_EQ(preset.count, 12);
    EXPECT_EQ(preset.chunk.size(), static_cast<size_t>(kPresetChunkSize));
    const PresetFile bank = readPreset(scratch / "b.fxb");
    EXPECT_EQ(bank.kind, PresetKind::bankChunk);
    EXPECT_EQ(bank.formatVersion, 2);
    EXPECT_EQ(bank.currentProgram, 2);
    EXPECT_EQ(bank.chunk.size(), static_cast<size_t>(kBankChunkSize));

    // Bank-level settings (steps, MIDI modes) travel in the bank; with notes they are heard.
    writeText(scratch / "notes.txt", "3000 57 100\n50000 64 100\n70000 64 0\n");
    const std::string bankLevel =
        "--steps 0.1,0.9,0.3 --midi-control --repeat-till-noteoff --midi notes.txt ";
    const AudioData withNotes = render(scratch, program + bankLevel + "--save-bank b2.fxb");
    EXPECT_TRUE(sameAudio(render(scratch, "--bank b2.fxb --midi notes.txt"), withNotes));
    EXPECT_FALSE(sameAudio(withNotes, original));

    // Only the files, no sound: nothing rendered, nothing else written.
    const ToolRun saveOnly = runTool(scratch, "--param dry/wet=0 --save-preset dry.fxp" + kPlugin);
    ASSERT_EQ(saveOnly.exitCode, 0) << saveOnly.err;
    EXPECT_NE(saveOnly.out.find("wrote dry.fxp"), std::string::npos) << saveOnly.out;
    EXPECT_FALSE(fs::exists(scratch / "brindleloop-demo.wav"));
    EXPECT_TRUE(sameAudio(render(scratch, "--preset dry.fxp"), makeDemoLoop(2.0, 120.0)));
}

TEST(PresetTool, ParameterListsAreAppliedThroughTheParameters) {
    Scratch scratch;
    // attack .. post-reso as the plug-in numbers them.
    const std::vector<float> values = {0.1f, 0.3f,  0.7f, 0.2f, 0.8f, 0.6f,
                                       0.4f, 0.05f, 0.9f, 0.2f, 0.5f, 0.3f};
    std::string asParameters;
    for (size_t i = 0; i < values.size(); ++i)
        asParameters +=
            "--param " + std::string(kParameterTable[i].vstName) + "=" + std::to_string(values[i]) + " ";
    const AudioData expected = render(scratch, asParameters);

    PresetFile program;
    program.kind = PresetKind::programParameters;
    program.pluginId = kLimits.pluginId;
    program.program = {"From Values", values};
    writeBytes(scratch / "values.fxp", writePresetFile(program));
    EXPECT_TRUE(sameAudio(render(scratch, "--preset values.fxp --save-preset back.fxp"), expected));
    EXPECT_EQ(readPreset(scratch / "back.fxp").program.name, "From Values");  // the name went in too

    // A list of programs: program 3 is that one, the others fully dry; the bank's current
    // program is heard (version 2), or the one --program selects.
    PresetFile bank;
    bank.kind = PresetKind::bankPrograms;
    bank.formatVersion = 2;
    bank.pluginId = kLimits.pluginId;
    bank.currentProgram = 3;
    for (int i = 0; i < 16; ++i) {
        std::vector<float> dry = values;
        dry[4] = 0.0f;
        bank.programs.push_back({"p" + std::to_string(i), i == 3 ? values : dry});
    }
    writeBytes(scratch / "list.fxb", writePresetFile(bank));
    EXPECT_TRUE(sameAudio(render(scratch, "--bank list.fxb"), expected));
    EXPECT_TRUE(sameAudio(render(scratch, "--bank list.fxb --program 9"), makeDemoLoop(2.0, 120.0)));
    EXPECT_TRUE(sameAudio(render(scratch, "--bank list.fxb --program 3 --param dry/wet=0"),
                          makeDemoLoop(2.0, 120.0)));
}

TEST(PresetTool, BadFilesFailNamingTheFileAndTheFaultAndWriteNothing) {
    Scratch scratch;
    writeText(scratch / "old.wav", "keep me");
    ASSERT_EQ(runTool(scratch, "--save-preset good.fxp --save-bank good.fxb" + kPlugin).exitCode, 0);
    Bytes good;
    ASSERT_TRUE(readFileBytes((scratch / "good.fxp").string(), good));
    auto variant = [&](const std::string& name, void (*change)(Bytes&)) {
        Bytes bytes = good;
        change(bytes);
        writeBytes(scratch / name, bytes);
    };
    variant("foreign.fxp", [](Bytes& b) { b[16] = 'X'; });
    variant("cut.fxp", [](Bytes& b) { b.resize(b.size() - 10); });
    variant("long.fxp", [](Bytes& b) { b.push_back(0); });
    PresetFile thirteen;  // a parameter list one longer than the plug-in's
    thirteen.kind = PresetKind::programParameters;
    thirteen.pluginId = kLimits.pluginId;
    thirteen.program.parameters.assign(13, 0.5f);
    writeBytes(scratch / "count.fxp", writePresetFile(thirteen));
    variant("chunk80.fxp", [](Bytes& b) {
        b.resize(b.size() - 4);
        b[7] -= 4;
        b[59] = 80;
    });
    writeText(scratch / "text.fxp", "Some text that is not a preset at all\n");

    const struct {
        std::string arguments;
        int exitCode;
        std::string says;
    } cases[] = {
        {"--preset foreign.fxp", 1,
         "foreign.fxp: made for the plug-in with the unique ID 'XRLP', not 'BRLP'"},
        {"--preset cut.fxp", 1, "cut.fxp: the size field says"},
        {"--preset long.fxp", 1, "long.fxp: the size field says 136 bytes follow it, but 137"},
        {"--preset count.fxp", 1, "count.fxp: it holds 13 parameters; the plug-in has 12"},
        {"--preset chunk80.fxp", 1, "chunk80.fxp: its program chunk has 80 bytes; the plug-in's has 84"},
        {"--preset text.fxp", 1, "text.fxp: neither a VST preset file"},
        {"--preset good.fxb", 1, "good.fxb is a bank file (FBCh); give it to --bank"},
        {"--bank good.fxp", 1, "good.fxp is a program file (FPCh); give it to --preset"},
        {"--save-preset /nonexistent/p.fxp", 1, "cannot write /nonexistent/p.fxp"},
        {"--name 'a name of twenty-four ch'", 2, "--name wants 1 to 23 characters"},
        {"--save-preset old.wav", 2, "would overwrite the input, the output or the plot"},
        {"--save-preset same --save-bank same", 2, "name the same file"},
    };
    for (const auto& c : cases) {
        const ToolRun run = runTool(
            scratch, "--demo --demo-seconds 1 -o old.wav --save-bank new.fxb " + c.arguments + kPlugin);
        EXPECT_EQ(run.exitCode, c.exitCode) << c.arguments;
        EXPECT_NE(run.err.find(c.says), std::string::npos) << c.arguments << "\n" << run.err;
        EXPECT_EQ(readTextFile(scratch / "old.wav"), "keep me") << c.arguments;
        EXPECT_FALSE(fs::exists(scratch / "new.fxb")) << c.arguments;
    }
    for (const auto& entry : fs::directory_iterator(scratch.dir))
        EXPECT_EQ(entry.path().filename().string().find(".partial"), std::string::npos) << entry.path();
}

// Files LMMS 1.2 saved for the 32-bit DLL (scripts/lmms-presets.sh): as the plug-in was loaded,
// and after LMMS had loaded the factory preset sixteenth-stutter.fxp.
TEST(PresetTool, FilesLmmsSavedLoadAndSoundAsWhatItHeld) {
    Scratch scratch;
    const std::string data = BRINDLE_RENDER_DATA_DIR, presets = BRINDLE_PRESETS_DIR;
    const AudioData plain = render(scratch, "");
    const AudioData stutter = render(scratch, "--preset '" + presets + "/sixteenth-stutter.fxp'");
    ASSERT_FALSE(sameAudio(plain, stutter));
    const struct {
        const char* arguments;
        const AudioData& sounds;
        const char* name;
    } cases[] = {
        {"--preset '%/lmms-default.fxp'", plain, "lmms-default"},  // LMMS names it after the file
        {"--bank '%/lmms-default.fxb'", plain, "Init 1"},          // banks carry no names
        {"--preset '%/lmms-stutter.fxp'", stutter, "lmms-stutter"},
        {"--bank '%/lmms-stutter.fxb'", stutter, "Init 1"},
    };
    for (const auto& c : cases) {
        std::string arguments = c.arguments;
        arguments.replace(arguments.find('%'), 1, data);
        EXPECT_TRUE(sameAudio(render(scratch, arguments + " --save-preset again.fxp"), c.sounds))
            << arguments;
        EXPECT_EQ(readPreset(scratch / "again.fxp").program.name, c.name) << arguments;
    }
}

// The Windows build of the tool reads and writes the same bytes: a factory preset and a
// parameter-list bank in, a preset and a bank out, under Wine beside the Linux tool.
TEST(PresetTool, WindowsBuildUnderWineSavesWhatLinuxSaves) {
    const WindowsRender win32 = windowsRender();
    if (!win32.missing.empty()) GTEST_SKIP() << win32.missing;
    const fs::path& exe = win32.exe;
    const fs::path& dll = win32.dll;

    Scratch scratch;
    PresetFile bank;
    bank.kind = PresetKind::bankPrograms;
    bank.pluginId = kLimits.pluginId;
    for (int i = 0; i < 16; ++i)
        bank.programs.push_back({"p", std::vector<float>(12, static_cast<float>(i) / 16.0f)});
    writeBytes(scratch / "list.fxb", writePresetFile(bank));
    const std::string settings = " --bank list.fxb --program 4 --preset '" +
                                 std::string(BRINDLE_PRESETS_DIR) +
                                 "/dub-shadow.fxp' --steps 0.2,0.7 --save-preset ";
    ASSERT_EQ(runTool(scratch, settings + "linux.fxp --save-bank linux.fxb" + kPlugin).exitCode, 0);
    const ToolRun windows =
        runCommand(scratch, "wine '" + exe.string() + "'" + settings + "windows.fxp" +
                                " --save-bank windows.fxb --plugin '" + dll.string() + "'");
    ASSERT_EQ(windows.exitCode, 0) << windows.err << windows.out;
    for (const char* kind : {".fxp", ".fxb"}) {
        Bytes linux, win;
        ASSERT_TRUE(readFileBytes((scratch / ("linux" + std::string(kind))).string(), linux));
        ASSERT_TRUE(readFileBytes((scratch / ("windows" + std::string(kind))).string(), win));
        EXPECT_TRUE(linux == win) << kind;
    }
}

}  // namespace
