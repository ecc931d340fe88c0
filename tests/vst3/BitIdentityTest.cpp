// The VST 3 edition plays exactly what the VST 2 binary plays through the render tool: the same
// input, parameters, programs, notes at the same sample positions, tempo and block sizes, and
// parameter changes at the same samples, give the same samples.
#include <gtest/gtest.h>

#include <cstdio>

#include "BitIdentityCases.h"
#include "Vst3TestHost.h"

namespace {

PlaySettings vst3Settings(const RenderCase& c) {
    PlaySettings settings;
    settings.render = c.render;
    settings.inPlace = c.inPlace;
    return settings;
}

void expectSame(const std::string& name, const PlaySettings& settings) {
    AudioData vst2, vst3;
    renderVst2(demoInput(), vst2, settings);
    renderVst3(demoInput(), vst3, settings);
    const size_t differing = differingSamples(vst2, vst3);
    EXPECT_EQ(differing, 0u) << name;
    // Both played something: not silence, not the input unchanged.
    EXPECT_NE(differingSamples(vst3, AudioData{vst3.sampleRate, std::vector<float>(vst3.frames()),
                                               std::vector<float>(vst3.frames())}),
              0u)
        << name;
    EXPECT_NE(differingSamples(vst3, demoInput()), 0u) << name;
    std::printf("  %-52s %zu samples compared, %zu differ\n", name.c_str(), 2 * vst2.frames(), differing);
}

TEST(Vst3BitIdentity, SettingsModesBlocksAndPresets) {
    for (const RenderCase& c : sharedRenderCases()) expectSame(c.name, vst3Settings(c));
    for (const RenderCase& c : factoryPresetCases()) expectSame(c.name, vst3Settings(c));
    // A program the host chooses from the bank.
    PlaySettings program = vst3Settings({"", renderWith({{"size", 0.3f}})});
    program.render.bankFile = presetPath("midi-hold.fxb");
    program.render.program = 3;
    expectSame("bank, program 3 chosen by the host", program);
}

// Points inside blocks, at a block's first sample, several in one block and on one sample;
// the VST 2 render sets the same values between blocks split at those samples.
TEST(Vst3BitIdentity, ParameterChangesAtTheirSampleOffsets) {
    PlaySettings automated = vst3Settings({"", renderWith({{"size", 0.5f}, {"threshold", 0.1f}})});
    automated.render.notes = notePattern();
    automated.automation = {
        {700, 2, 0.9},     {1024, 6, 0.1},    {5000, 4, 0.3},    {5001, 4, 0.7},   {5001, 2, 0.2},
        {9999, 7, 0.02},   {20480, 5, 0.4},   {33333, 10, 0.2},  {33334, 11, 0.9}, {50000, 3, 0.6},
        {70000, 2, 1.0},   {70100, 0, 0.5},   {70200, 1, 0.9},   {90001, 9, 0.3},  {100000, 8, 0.5},
        {110000, 4, 1.0},  {120000, 7, 0.3},
    };
    expectSame("17 changes of 11 parameters at sample offsets", automated);
    automated.render.blockSize = 4096;
    expectSame("the same in blocks of 4096", automated);
    automated.render.blockSize = 1;
    expectSame("the same in blocks of 1", automated);
}

}  // namespace
