// The plug-in binary's editor opened in an X window of ours, as a Linux host does, and driven
// with input synthesized at the X server: what a musician's mouse does, through the same queue.
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include <unistd.h>

// GoogleTest before Xlib, whose macros (None, Bool) would break its templates.
#include <gtest/gtest.h>

#include "engine/ParameterTable.h"
#include "tools/loader/PluginLoader.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

namespace {

VstTimeInfo timeInfo{};
std::function<void()> onHostIdle;

// What the host heard of edits: begin edit, automate (with the value) and end edit, in order.
struct Heard {
    int32_t opcode;
    int32_t index;
    float value;
    bool operator==(const Heard& other) const {
        return opcode == other.opcode && index == other.index && value == other.value;
    }
};
std::vector<Heard> gestures;

intptr_t VSTCALL testHost(AEffect*, int32_t opcode, int32_t index, intptr_t, void*, float opt) {
    if (opcode == audioMasterBeginEdit || opcode == audioMasterEndEdit) gestures.push_back({opcode, index, 0.0f});
    if (opcode == audioMasterAutomate) gestures.push_back({opcode, index, opt});
    if (opcode == audioMasterVersion) return 2400;
    if (opcode == audioMasterGetTime) return reinterpret_cast<intptr_t>(&timeInfo);
    if (opcode == audioMasterIdle && onHostIdle) onHostIdle();
    return 0;
}

constexpr int32_t kBankFlags = 1472;  // MIDI note control, record start, repeat till note off

class X11Editor : public ::testing::Test {
protected:
    void SetUp() override {
        gestures.clear();
        const char* name = std::getenv("DISPLAY");
        display = name != nullptr && name[0] != 0 ? XOpenDisplay(nullptr) : nullptr;
        int event = 0, error = 0, major = 0, minor = 0;
        if (display == nullptr || !XTestQueryExtension(display, &event, &error, &major, &minor)) {
            GTEST_SKIP() << "needs an X display with the XTEST extension";
        }
        XSetWindowAttributes attributes{};
        attributes.override_redirect = True;  // placed where asked, window manager or not
        parent = XCreateWindow(display, DefaultRootWindow(display), kLeft, kTop, 600, 400, 0, CopyFromParent,
                               InputOutput, CopyFromParent, CWOverrideRedirect, &attributes);
        XMapRaised(display, parent);
        XSync(display, False);
        ASSERT_TRUE(loader.load(BRINDLE_PLUGIN_FILE)) << loader.error();
        effect = loader.entry()(testHost);
        ASSERT_NE(effect, nullptr);
        ASSERT_EQ(dispatch(effEditOpen, 0, 0, reinterpret_cast<void*>(static_cast<uintptr_t>(parent))), 1);
        for (int i = 0; i < 5; ++i) idle();
    }
    void TearDown() override {
        onHostIdle = nullptr;
        if (effect != nullptr) {
            dispatch(effEditClose);
            dispatch(effClose);
        }
        if (display != nullptr) {
            if (parent != 0) XDestroyWindow(display, parent);
            XCloseDisplay(display);
        }
    }
    intptr_t dispatch(int32_t opcode, int32_t index = 0, intptr_t value = 0, void* ptr = nullptr) {
        return effect->dispatcher(effect, opcode, index, value, ptr, 0.0f);
    }
    void idle() {
        XSync(display, False);
        dispatch(effEditIdle);
    }
    // The pointer to an editor point, and buttons down and up, at the X server.
    void moveTo(int32_t x, int32_t y) {
        XTestFakeMotionEvent(display, DefaultScreen(display), kLeft + x, kTop + y, CurrentTime);
        XSync(display, False);
    }
    void button(unsigned int which, bool down) {
        XTestFakeButtonEvent(display, which, down ? True : False, CurrentTime);
        XSync(display, False);
    }
    std::vector<unsigned char> bank() {
        void* data = nullptr;
        const intptr_t size = dispatch(effGetChunk, 0, 0, &data);
        const auto* bytes = static_cast<const unsigned char*>(data);
        return size > 0 && bytes != nullptr ? std::vector<unsigned char>(bytes, bytes + size)
                                            : std::vector<unsigned char>();
    }
    float parameter(int32_t index) { return effect->getParameter(effect, index); }

    static constexpr int32_t kLeft = 30;
    static constexpr int32_t kTop = 40;
    Display* display = nullptr;
    Window parent = 0;
    PluginLoader loader;
    AEffect* effect = nullptr;
};

TEST_F(X11Editor, AHeldDragLeavesTheHostItsOwnIdleRate) {
    // The "Wet" slider pressed low, dragged up past its top and held two seconds in all. The
    // host's loop: the editor's idle and 10 ms of its own work; the drag runs in the window's
    // events between its turns and never holds the thread.
    const int32_t x = 15 + 117 + 9;
    effect->setParameter(effect, kParamDryWet, 0.3f);
    moveTo(x, 10 + 99);
    button(1, true);
    // The release comes from the server itself two seconds on, through a connection of its own
    // (the server holds back that client's later requests meanwhile).
    Display* releaser = XOpenDisplay(nullptr);
    ASSERT_NE(releaser, nullptr);
    XTestFakeButtonEvent(releaser, 1, False, 2000);
    XFlush(releaser);
    const auto start = std::chrono::steady_clock::now();
    auto seconds = [&] { return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(); };
    const int32_t rows[] = {99, 56, 5};
    std::vector<float> seen;
    int32_t turns = 0;
    double heldFor = 0.0;
    while (seconds() < 2.5) {
        const auto path = static_cast<size_t>(seconds() / 0.3);
        if (path < 3) moveTo(x, 10 + rows[path]);
        idle();
        ++turns;
        const float now = parameter(kParamDryWet);
        if (seen.empty() || seen.back() != now) seen.push_back(now);
        Window root = 0, child = 0;
        int rootX = 0, rootY = 0, windowX = 0, windowY = 0;
        unsigned int mask = 0;
        XQueryPointer(display, parent, &root, &child, &rootX, &rootY, &windowX, &windowY, &mask);
        if ((mask & Button1Mask) != 0) heldFor = seconds();
        usleep(10000);
    }
    XCloseDisplay(releaser);
    const double perSecond = turns / seconds();
    std::printf("host idle turns during a held drag: %.1f per second (held %.1f s)\n", perSecond, heldFor);
    EXPECT_GE(heldFor, 1.5);
    EXPECT_GE(perSecond, 30.0);
    ASSERT_GE(seen.size(), 3u);
    EXPECT_FLOAT_EQ(seen[seen.size() - 3], 0.0f);
    EXPECT_FLOAT_EQ(seen[seen.size() - 2], 43.0f / 87.0f);
    EXPECT_FLOAT_EQ(seen.back(), 1.0f);
    // The host heard the drag as one gesture: begin, each value the plug-in took, end.
    ASSERT_GE(gestures.size(), 5u);
    EXPECT_EQ(gestures.front(), (Heard{audioMasterBeginEdit, kParamDryWet, 0.0f}));
    EXPECT_EQ(gestures.back(), (Heard{audioMasterEndEdit, kParamDryWet, 0.0f}));
    std::vector<float> automated;
    for (size_t i = 1; i + 1 < gestures.size(); ++i) {
        EXPECT_EQ(gestures[i].opcode, audioMasterAutomate);
        EXPECT_EQ(gestures[i].index, kParamDryWet);
        if (automated.empty() || automated.back() != gestures[i].value) automated.push_back(gestures[i].value);
    }
    EXPECT_EQ(automated, std::vector<float>(seen.end() - 3, seen.end()));
}

TEST_F(X11Editor, QuickClickOnAMidiSwitchAndWheelTurns) {
    const std::vector<unsigned char> before = bank();
    ASSERT_EQ(before.size(), 1476u);
    // Pressed and released before the editor's next idle: the click still counts.
    moveTo(15 + 57, 240 + 12);
    button(1, true);
    button(1, false);
    idle();
    std::vector<unsigned char> after = bank();
    ASSERT_EQ(after.size(), 1476u);
    EXPECT_EQ(after[kBankFlags], 1);
    // Wheel steps are no clicks: over a switch nothing changes; over a slider the vertical
    // wheel moves it a shown unit per notch, sideways steps do nothing.
    effect->setParameter(effect, kParamDryWet, 0.5f);
    after = bank();
    const struct {
        unsigned int wheel;
        float wet;
    } turns[] = {{4u, 0.51f}, {4u, 0.52f}, {5u, 0.51f}, {6u, 0.51f}, {7u, 0.51f}};
    for (const auto& turn : turns) {
        moveTo(15 + 57, 240 + 12);
        button(turn.wheel, true);
        button(turn.wheel, false);
        moveTo(15 + 117 + 9, 10 + 20);
        button(turn.wheel, true);
        button(turn.wheel, false);
        idle();
        EXPECT_NEAR(parameter(kParamDryWet), turn.wet, 1e-6f) << "button " << turn.wheel;
    }
    const std::vector<unsigned char> last = bank();
    ASSERT_EQ(last.size(), 1476u);
    EXPECT_EQ(last.at(kBankFlags), after.at(kBankFlags));
}

TEST_F(X11Editor, WheelTurnsOverTheEditorReachTheHostsWindow) {
    // Hosts scroll their mixer or rack with the wheel; the editor takes it only over a slider,
    // the meter or a step.
    XSelectInput(display, parent, ButtonPressMask | ButtonReleaseMask);
    for (unsigned int wheel : {4u, 5u, 6u, 7u}) {
        moveTo(15 + 117 + 9, 240 + 20);
        button(wheel, true);
        button(wheel, false);
        idle();
        XSync(display, False);
        XEvent event;
        ASSERT_TRUE(XCheckWindowEvent(display, parent, ButtonPressMask, &event)) << "button " << wheel;
        EXPECT_EQ(event.xbutton.button, wheel);
        EXPECT_EQ(event.xbutton.window, parent);
        EXPECT_EQ(event.xbutton.x, 15 + 117 + 9);
        EXPECT_EQ(event.xbutton.y, 240 + 20);
        EXPECT_TRUE(XCheckWindowEvent(display, parent, ButtonReleaseMask, &event)) << "button " << wheel;
    }
    // Over a slider: the editor's.
    moveTo(15 + 117 + 9, 10 + 20);
    button(4, true);
    button(4, false);
    idle();
    XSync(display, False);
    XEvent taken;
    EXPECT_FALSE(XCheckWindowEvent(display, parent, ButtonPressMask | ButtonReleaseMask, &taken));
    // A click stays the editor's own.
    moveTo(15 + 57, 240 + 12);
    button(1, true);
    button(1, false);
    idle();
    XEvent event;
    EXPECT_FALSE(XCheckWindowEvent(display, parent, ButtonPressMask, &event));
}

int hostErrors = 0;
int countHostError(Display*, XErrorEvent*) {
    ++hostErrors;
    return 0;
}

TEST_F(X11Editor, TheHostsErrorHandlerStaysInstalledAndHearsItsOwnErrors) {
    const XErrorHandler before = XSetErrorHandler(countHostError);
    hostErrors = 0;
    // A drag, a close, an open in a window that then goes, while the host idles.
    moveTo(15 + 117 + 9, 10 + 50);
    button(1, true);
    idle();
    moveTo(15 + 117 + 9, 10 + 40);
    idle();
    button(1, false);
    idle();
    dispatch(effEditClose);
    dispatch(effEditOpen, 0, 0, reinterpret_cast<void*>(static_cast<uintptr_t>(parent)));
    idle();
    XDestroyWindow(display, parent);
    parent = 0;
    XSync(display, False);
    for (int i = 0; i < 3; ++i) dispatch(effEditIdle);
    dispatch(effEditClose);
    EXPECT_EQ(XSetErrorHandler(countHostError), countHostError);
    // An error on the host's own connection reaches the host's handler.
    XWindowAttributes attributes;
    XGetWindowAttributes(display, 0x1fffffff, &attributes);
    XSync(display, False);
    EXPECT_EQ(hostErrors, 1);
    XSetErrorHandler(before);
}

// The screen's density as desktops publish it: Xft.dpi in the root window's resources.
class ScreenResources {
public:
    explicit ScreenResources(Display* connection) : display(connection) {
        property = XInternAtom(display, "RESOURCE_MANAGER", False);
        Atom type = 0;
        int format = 0;
        unsigned long items = 0, remaining = 0;
        unsigned char* data = nullptr;
        if (XGetWindowProperty(display, DefaultRootWindow(display), property, 0, 1 << 20, False, XA_STRING,
                               &type, &format, &items, &remaining, &data) == Success &&
            data != nullptr) {
            saved.assign(reinterpret_cast<char*>(data), items);
            hadOne = true;
        }
        if (data != nullptr) XFree(data);
    }
    ~ScreenResources() {
        if (hadOne) {
            set(saved);
        } else {
            XDeleteProperty(display, DefaultRootWindow(display), property);
        }
        XSync(display, False);
    }
    void set(const std::string& resources) {
        XChangeProperty(display, DefaultRootWindow(display), property, XA_STRING, 8, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(resources.data()),
                        static_cast<int>(resources.size()));
        XSync(display, False);
    }

private:
    Display* display;
    Atom property = 0;
    std::string saved;
    bool hadOne = false;
};

TEST(X11EditorScreen, XftDpiOf192OpensTheEditorAt1050By600) {
    const char* name = std::getenv("DISPLAY");
    Display* display = name != nullptr && name[0] != 0 ? XOpenDisplay(nullptr) : nullptr;
    if (display == nullptr) GTEST_SKIP() << "needs an X display";
    setenv("XDG_CONFIG_HOME", "/nonexistent-brindle-settings", 1);  // no zoom of a user's
    const struct {
        const char* resources;
        int width;
        int height;
    } cases[] = {{"Xft.antialias:\t1\nXft.dpi:\t192\nXft.hinting:\t1\n", 1050, 600},
                 {"Xft.dpi:\t144\n", 788, 450},
                 {"Xft.dpi: 96\n", 525, 300},
                 {"Xcursor.size: 48\n", 525, 300}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.resources);
        ScreenResources resources(display);
        resources.set(c.resources);
        PluginLoader loader;
        ASSERT_TRUE(loader.load(BRINDLE_PLUGIN_FILE)) << loader.error();
        AEffect* effect = loader.entry()(testHost);
        ASSERT_NE(effect, nullptr);
        ERect* rect = nullptr;
        effect->dispatcher(effect, effEditGetRect, 0, 0, &rect, 0.0f);
        ASSERT_NE(rect, nullptr);
        EXPECT_EQ(rect->right - rect->left, c.width);
        EXPECT_EQ(rect->bottom - rect->top, c.height);
        const Window parent =
            XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 1600, 1000, 0, 0, 0);
        XSync(display, False);
        ASSERT_EQ(effect->dispatcher(effect, effEditOpen, 0, 0, reinterpret_cast<void*>(static_cast<uintptr_t>(parent)),
                                     0.0f),
                  1);
        effect->dispatcher(effect, effEditIdle, 0, 0, nullptr, 0.0f);
        XSync(display, False);
        Window root = 0, up = 0;
        Window* children = nullptr;
        unsigned int count = 0;
        XQueryTree(display, parent, &root, &up, &children, &count);
        ASSERT_EQ(count, 1u);
        int x = 0, y = 0;
        unsigned int width = 0, height = 0, border = 0, depth = 0;
        XGetGeometry(display, children[0], &root, &x, &y, &width, &height, &border, &depth);
        XFree(children);
        EXPECT_EQ(static_cast<int>(width), c.width);
        EXPECT_EQ(static_cast<int>(height), c.height);
        effect->dispatcher(effect, effEditClose, 0, 0, nullptr, 0.0f);
        effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f);
        XDestroyWindow(display, parent);
        XSync(display, False);
    }
    XCloseDisplay(display);
}

}  // namespace
