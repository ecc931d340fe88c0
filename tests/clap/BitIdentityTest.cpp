// brindleLoop.clap plays exactly what the VST 2 binary plays through the render tool: every
// factory preset, the MIDI modes in both note dialects, blocks of 1 to 4096, in place.
#include <gtest/gtest.h>

#include <cstdio>

#include "BitIdentityCases.h"
#include "ClapRun.h"

namespace {

void expectIdentical(const std::string& name, const ClapPlay& play) {
    AudioData vst, clap;
    renderVst2(demoInput(), vst, play.render);
    ClapInstance instance(builtLibrary());
    ASSERT_TRUE(instance.ok()) << builtLibrary().error();
    playClap(instance, demoInput(), clap, play);
    const size_t differing = differingSamples(vst, clap);
    EXPECT_EQ(differing, 0u) << name;
    std::printf("  %-52s %zu samples compared, %zu differ\n", name.c_str(), 2 * vst.frames(), differing);
}

TEST(ClapBitIdentity, EveryFactoryPresetEqualsTheVst2Render) {
    for (const RenderCase& c : factoryPresetCases()) expectIdentical(c.name, ClapPlay{c.render});
}

TEST(ClapBitIdentity, ModesDialectsAndBlocksEqualTheVst2Render) {
    for (const RenderCase& c : sharedRenderCases()) {
        expectIdentical(c.name, ClapPlay{c.render, false, c.inPlace});
        // The MIDI modes (the cases with notes in blocks of 512) with notes as MIDI events too.
        if (!c.render.notes.empty() && c.render.blockSize == 512)
            expectIdentical(c.name + ", MIDI events", ClapPlay{c.render, true, c.inPlace});
    }
}

}  // namespace
