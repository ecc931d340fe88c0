// The VST 3 editor view in an X window of ours, as Ardour runs it: the frame's run loop gets
// the editor's X connection and a timer, the host's content scale sizes it, it draws what the
// VST 2 editor draws, and a click in it reaches the host as begin, perform, end.
#include <cstdint>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

// GoogleTest before Xlib, whose macros (None, Bool) would break its templates.
#include <gtest/gtest.h>

#include "Vst3TestHost.h"
#include "tools/loader/PluginLoader.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

using namespace v3;

namespace {

intptr_t VSTCALL vst2Host(AEffect*, int32_t opcode, int32_t, intptr_t, void*, float) {
    return opcode == audioMasterVersion ? 2400 : 0;
}

class Vst3ViewX11 : public ::testing::Test {
protected:
    void SetUp() override {
        const char* name = std::getenv("DISPLAY");
        display = name != nullptr && name[0] != 0 ? XOpenDisplay(nullptr) : nullptr;
        int event = 0, error = 0, major = 0, minor = 0;
        if (display == nullptr || !XTestQueryExtension(display, &event, &error, &major, &minor))
            GTEST_SKIP() << "needs an X display with the XTEST extension";
        parent = makeParent(kLeft, kTop);
        ASSERT_TRUE(plugin.ok());
        view = plugin.controller->createView("editor");
        ASSERT_NE(view, nullptr);
    }
    void TearDown() override {
        if (view) {
            EXPECT_EQ(view->release(), 0u);
        }
        if (display) {
            XDestroyWindow(display, parent);
            XCloseDisplay(display);
        }
    }
    Window makeParent(int x, int y) {
        XSetWindowAttributes attributes{};
        attributes.override_redirect = True;  // placed where asked, window manager or not
        const Window window = XCreateWindow(display, DefaultRootWindow(display), x, y, 600, 400, 0, CopyFromParent,
                                            InputOutput, CopyFromParent, CWOverrideRedirect, &attributes);
        XMapRaised(display, window);
        XSync(display, False);
        return window;
    }
    static void* handleOf(Window window) { return reinterpret_cast<void*>(static_cast<uintptr_t>(window)); }
    // The host's loop: the editor's connection, then its timer.
    void idle() {
        XSync(display, False);
        if (plugin.host.eventHandler) plugin.host.eventHandler->onFDIsSet(plugin.host.eventFd);
        if (plugin.host.timer) plugin.host.timer->onTimer();
    }
    std::vector<uint32_t> pixels(Window window, int width, int height) {
        XSync(display, False);
        XImage* image = XGetImage(display, window, 0, 0, static_cast<unsigned>(width), static_cast<unsigned>(height),
                                  AllPlanes, ZPixmap);
        std::vector<uint32_t> out;
        if (!image) return out;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) out.push_back(static_cast<uint32_t>(XGetPixel(image, x, y)));
        XDestroyImage(image);
        return out;
    }

    static constexpr int kLeft = 30;
    static constexpr int kTop = 40;
    Display* display = nullptr;
    Window parent = 0;
    Vst3Plugin plugin;
    IPlugView* view = nullptr;
};

TEST_F(Vst3ViewX11, AttachesToTheHostsWindowWithItsRunLoop) {
    EXPECT_EQ(view->isPlatformTypeSupported("X11EmbedWindowID"), kResultTrue);
    EXPECT_EQ(view->isPlatformTypeSupported("HWND"), kResultFalse);
    EXPECT_EQ(view->isPlatformTypeSupported(nullptr), kResultFalse);
    IPlugView* other = plugin.controller->createView(nullptr);
    ASSERT_NE(other, nullptr);
    EXPECT_EQ(other->release(), 0u);
    EXPECT_EQ(plugin.controller->createView("no such view"), nullptr);

    ViewRect size{};
    ASSERT_EQ(view->getSize(&size), kResultOk);
    EXPECT_EQ(size.right - size.left, 525);
    EXPECT_EQ(size.bottom - size.top, 300);
    EXPECT_EQ(view->canResize(), kResultFalse);
    ViewRect asked{10, 10, 900, 900};
    ASSERT_EQ(view->checkSizeConstraint(&asked), kResultOk);
    EXPECT_EQ(asked.right, 10 + 525);
    EXPECT_EQ(asked.bottom, 10 + 300);

    const int32_t hostRefs = plugin.host.count.references.load();
    ASSERT_EQ(view->setFrame(&plugin.host), kResultOk);
    EXPECT_EQ(view->attached(nullptr, "X11EmbedWindowID"), kResultFalse);
    EXPECT_EQ(view->attached(handleOf(parent), "HWND"), kResultFalse);
    ASSERT_EQ(view->attached(handleOf(parent), "X11EmbedWindowID"), kResultOk);
    // The editor's window is a child of the host's; its connection and a timer are in the loop.
    Window root = 0, up = 0, *children = nullptr;
    unsigned count = 0;
    XQueryTree(display, parent, &root, &up, &children, &count);
    EXPECT_EQ(count, 1u);
    if (children) XFree(children);
    EXPECT_NE(plugin.host.eventHandler, nullptr);
    EXPECT_GE(plugin.host.eventFd, 0);
    EXPECT_NE(plugin.host.timer, nullptr);
    for (int i = 0; i < 3; ++i) idle();

    ASSERT_EQ(view->removed(), kResultOk);
    EXPECT_EQ(plugin.host.eventHandler, nullptr);
    EXPECT_EQ(plugin.host.timer, nullptr);
    ASSERT_EQ(view->setFrame(nullptr), kResultOk);
    EXPECT_EQ(plugin.host.count.references.load(), hostRefs);
}

TEST_F(Vst3ViewX11, DrawsWhatTheVst2EditorDraws) {
    PluginLoader loader;
    std::string path = BRINDLE_PLUGIN_FILE;
    ASSERT_TRUE(loader.load(path)) << loader.error();
    AEffect* effect = loader.entry()(vst2Host);
    ASSERT_NE(effect, nullptr);
    const Window other = makeParent(kLeft + 620, kTop);
    ASSERT_EQ(effect->dispatcher(effect, effEditOpen, 0, 0, handleOf(other), 0.0f), 1);
    ASSERT_EQ(view->setFrame(&plugin.host), kResultOk);
    ASSERT_EQ(view->attached(handleOf(parent), "X11EmbedWindowID"), kResultOk);
    for (int i = 0; i < 5; ++i) {
        idle();
        XSync(display, False);
        effect->dispatcher(effect, effEditIdle, 0, 0, nullptr, 0.0f);
    }
    const std::vector<uint32_t> vst3 = pixels(parent, 525, 300);
    const std::vector<uint32_t> vst2 = pixels(other, 525, 300);
    ASSERT_EQ(vst3.size(), 525u * 300u);
    size_t differing = 0;
    for (size_t i = 0; i < vst3.size(); ++i) differing += vst3[i] != vst2[i];
    EXPECT_EQ(differing, 0u);
    // Something was drawn: the background has many colours.
    EXPECT_GT(std::set<uint32_t>(vst3.begin(), vst3.end()).size(), 20u);
    std::printf("  editor pixels: %zu compared, %zu differ\n", vst3.size(), differing);
    effect->dispatcher(effect, effEditClose, 0, 0, nullptr, 0.0f);
    effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f);
    XDestroyWindow(display, other);
    view->removed();
    view->setFrame(nullptr);
}

TEST_F(Vst3ViewX11, ContentScaleSizesTheViewAndTheHostsWindow) {
    ASSERT_EQ(view->setFrame(&plugin.host), kResultOk);
    void* found = nullptr;
    ASSERT_EQ(view->queryInterface(kIPlugViewContentScaleSupportIid.data(), &found), kResultOk);
    auto* scale = static_cast<IPlugViewContentScaleSupport*>(found);
    // Before attached, as Ardour does: the window opens at that size.
    ASSERT_EQ(scale->setContentScaleFactor(2.0f), kResultTrue);
    ViewRect size{};
    ASSERT_EQ(view->getSize(&size), kResultOk);
    EXPECT_EQ(size.right, 1050);
    EXPECT_EQ(size.bottom, 600);
    ASSERT_EQ(view->attached(handleOf(parent), "X11EmbedWindowID"), kResultOk);
    idle();
    // While open: the view asks the frame for its new size.
    plugin.host.resizes.clear();
    ASSERT_EQ(scale->setContentScaleFactor(1.0f), kResultTrue);
    for (int i = 0; i < 3; ++i) idle();
    ASSERT_FALSE(plugin.host.resizes.empty());
    EXPECT_EQ(plugin.host.resizes.back().right - plugin.host.resizes.back().left, 525);
    EXPECT_EQ(plugin.host.resizes.back().bottom - plugin.host.resizes.back().top, 300);
    ASSERT_EQ(view->getSize(&size), kResultOk);
    EXPECT_EQ(size.right, 525);
    scale->release();
    view->removed();
    view->setFrame(nullptr);
}

TEST_F(Vst3ViewX11, AClickReachesTheHostAsAGesture) {
    ASSERT_EQ(view->setFrame(&plugin.host), kResultOk);
    ASSERT_EQ(view->attached(handleOf(parent), "X11EmbedWindowID"), kResultOk);
    for (int i = 0; i < 3; ++i) idle();
    plugin.host.edits.clear();
    // The MIDI note control switch: pressed and released before the editor's next idle.
    XTestFakeMotionEvent(display, DefaultScreen(display), kLeft + 15 + 57, kTop + 240 + 12, CurrentTime);
    XTestFakeButtonEvent(display, 1, True, CurrentTime);
    XTestFakeButtonEvent(display, 1, False, CurrentTime);
    XSync(display, False);
    idle();
    ASSERT_EQ(plugin.host.edits.size(), 3u);
    EXPECT_EQ(plugin.host.edits[0].kind, 'b');
    EXPECT_EQ(plugin.host.edits[1].kind, 'p');
    EXPECT_EQ(plugin.host.edits[2].kind, 'e');
    for (const HostSide::Edit& edit : plugin.host.edits) EXPECT_EQ(edit.id, 15u);
    EXPECT_EQ(plugin.host.edits[1].value, 1.0);
    // The controller shows the value the editor sent.
    EXPECT_EQ(plugin.controller->getParamNormalized(15), 1.0);
    // Values the host sends through process, a program it chooses and a state it loads are
    // the host's: nothing goes back.
    plugin.host.edits.clear();
    HostChanges changes;
    changes.add(2, 0, 0.9);
    changes.add(12, 5, 1.0);
    changes.add(16, 0, 1.0);
    std::vector<float> silence(64, 0.0f), out(64);
    plugin.process(silence.data(), silence.data(), out.data(), out.data(), 64, &changes);
    idle();
    plugin.controller->setParamNormalized(20, 4 / 15.0);
    idle();
    ASSERT_EQ(plugin.setState(plugin.state()), kResultOk);
    idle();
    EXPECT_TRUE(plugin.host.edits.empty());
    view->removed();
    view->setFrame(nullptr);
}

}  // namespace
