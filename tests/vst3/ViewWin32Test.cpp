// The VST 3 editor view under Windows (Wine): attached to an HWND of ours, its idle from the
// thread timer the host's message loop runs, sized by the host's content scale, drawing what
// the VST 2 editor draws.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "HostWindows.h"
#include "Vst3TestHost.h"
#include "WindowPixels.h"
#include "tools/loader/PluginLoader.h"

using namespace v3;

namespace {

intptr_t VSTCALL vst2Host(AEffect*, int32_t opcode, int32_t, intptr_t, void*, float) {
    return opcode == audioMasterVersion ? 2400 : 0;
}

HWND childAt(int x, int y) {
    return CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, x, y, 530, 310, hostWindow(), nullptr,
                           GetModuleHandleA(nullptr), nullptr);
}

HWND onlyPluginWindow(HWND parent) {
    const std::vector<HWND> found = pluginWindowsIn(parent);
    return found.size() == 1 ? found[0] : nullptr;
}

TEST(Vst3ViewWin32, DrawsWhatTheVst2EditorDrawsInAnHwnd) {
    Vst3Plugin plugin;
    ASSERT_TRUE(plugin.ok());
    IPlugView* view = plugin.controller->createView("editor");
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->isPlatformTypeSupported("HWND"), kResultTrue);
    EXPECT_EQ(view->isPlatformTypeSupported("X11EmbedWindowID"), kResultFalse);
    ViewRect size{};
    ASSERT_EQ(view->getSize(&size), kResultOk);
    EXPECT_EQ(size.right, 525);
    EXPECT_EQ(size.bottom, 300);

    // One after the other in the same place of the host's window (600 x 400): the VST 2
    // editor, then the VST 3 view.
    PluginLoader loader;
    ASSERT_TRUE(loader.load(std::string("Z:") + BRINDLE_PLUGIN_FILE)) << loader.error();
    AEffect* effect = loader.entry()(vst2Host);
    ASSERT_NE(effect, nullptr);
    HWND parent = childAt(0, 0);
    ASSERT_EQ(effect->dispatcher(effect, effEditOpen, 0, 0, parent, 0.0f), 1);
    for (int i = 0; i < 4; ++i) {
        pumpUntil([] { return false; }, 50);
        effect->dispatcher(effect, effEditIdle, 0, 0, nullptr, 0.0f);
    }
    HWND two = onlyPluginWindow(parent);
    ASSERT_NE(two, nullptr);
    const WindowImage vst2 = capture(two, 525, 300);
    effect->dispatcher(effect, effEditClose, 0, 0, nullptr, 0.0f);
    effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f);
    pumpUntil([] { return false; }, 50);

    ASSERT_EQ(view->setFrame(&plugin.host), kResultOk);
    ASSERT_EQ(view->attached(parent, "HWND"), kResultOk);
    // The view's idle runs from its timer, through this thread's messages only.
    pumpUntil([] { return false; }, 400);
    HWND three = onlyPluginWindow(parent);
    ASSERT_NE(three, nullptr);
    const WindowImage vst3 = capture(three, 525, 300);
    ASSERT_EQ(vst3.pixels.size(), vst2.pixels.size());
    size_t differing = 0;
    std::set<uint32_t> colours;
    for (size_t i = 0; i < vst3.pixels.size(); ++i) {
        differing += vst3.pixels[i] != vst2.pixels[i];
        colours.insert(uint32_t(vst3.pixels[i].r) << 16 | uint32_t(vst3.pixels[i].g) << 8 | vst3.pixels[i].b);
    }
    EXPECT_EQ(differing, 0u);
    EXPECT_GT(colours.size(), 20u);
    std::printf("  editor pixels: %zu compared, %zu differ\n", vst3.pixels.size(), differing);

    ASSERT_EQ(view->removed(), kResultOk);
    EXPECT_EQ(onlyPluginWindow(parent), nullptr);
    view->setFrame(nullptr);
    EXPECT_EQ(view->release(), 0u);
    DestroyWindow(parent);
}

TEST(Vst3ViewWin32, ContentScaleSizesTheView) {
    Vst3Plugin plugin;
    IPlugView* view = plugin.controller->createView("editor");
    ASSERT_NE(view, nullptr);
    void* found = nullptr;
    ASSERT_EQ(view->queryInterface(kIPlugViewContentScaleSupportIid.data(), &found), kResultOk);
    auto* scale = static_cast<IPlugViewContentScaleSupport*>(found);
    ASSERT_EQ(scale->setContentScaleFactor(2.0f), kResultTrue);
    ViewRect size{};
    ASSERT_EQ(view->getSize(&size), kResultOk);
    EXPECT_EQ(size.right, 1050);
    EXPECT_EQ(size.bottom, 600);
    ASSERT_EQ(scale->setContentScaleFactor(1.0f), kResultTrue);
    ASSERT_EQ(view->getSize(&size), kResultOk);
    EXPECT_EQ(size.right, 525);
    scale->release();
    EXPECT_EQ(view->release(), 0u);
}

}  // namespace
