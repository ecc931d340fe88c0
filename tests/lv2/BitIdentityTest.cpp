// The LV2 plug-in plays exactly what the VST 2 .so plays through the render tool: the same
// input, control values, notes at the same sample positions and tempo give the same samples.
#include <gtest/gtest.h>

#include <cstdio>

#include "BitIdentityCases.h"
#include "Lv2TestHost.h"

namespace {

PlaySettings lv2Settings(const RenderCase& c) {
    PlaySettings settings;
    settings.render = c.render;
    settings.inPlace = c.inPlace;
    return settings;
}

void expectIdentical(const std::string& name, const PlaySettings& settings) {
    AudioData vst, lv2;
    renderVst2(demoInput(), vst, settings.render);
    Lv2Run run(demoInput().sampleRate);
    ASSERT_TRUE(run.ok());
    run.play(demoInput(), lv2, settings);
    const size_t differing = differingSamples(vst, lv2);
    EXPECT_EQ(differing, 0u) << name;
    std::printf("  %-52s %zu samples compared, %zu differ\n", name.c_str(), 2 * vst.frames(), differing);
}

TEST(Lv2BitIdentity, EqualsTheVst2RenderSampleForSample) {
    for (const RenderCase& c : sharedRenderCases()) expectIdentical(c.name, lv2Settings(c));
    // What only LV2 hosts do: no time:Position at all, or the tempo on the time-only input.
    PlaySettings untimed = lv2Settings({"", renderWith({})});
    untimed.sendTempo = false;
    expectIdentical("default, no time:Position (120 BPM)", untimed);
    PlaySettings timeOnly = lv2Settings({"", renderWith({{"size", 1.0f}, {"repeat", 0.242f}}, 98.0)});
    timeOnly.tempoOnTimePort = true;
    expectIdentical("tempo 98 on the time-only input", timeOnly);
}

TEST(Lv2BitIdentity, EveryFactoryPresetEqualsItsFile) {
    for (const RenderCase& c : factoryPresetCases()) {
        PlaySettings settings = lv2Settings(c);
        settings.lv2Preset = "urn:fennelworks:brindleloop:preset:" + c.name;
        expectIdentical("preset " + c.name, settings);
    }
}

}  // namespace
