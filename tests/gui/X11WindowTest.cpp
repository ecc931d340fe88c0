// The Linux port on a real X server: a child window of a host window, painted on expose and
// clicked through the server. Skipped without DISPLAY.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <thread>
#include <vector>

// GoogleTest before Xlib, whose macros (None, Bool) clash with its names.
#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include "gui/Bitmap.h"
#include "gui/DrawContext.h"
#include "gui/Frame.h"
#include "gui/GuiObjectCount.h"
#include "gui/View.h"
#include "gui/x11/WindowSystem.h"
#include "gui/x11/XlibWindowSystem.h"

namespace {

class FilledView : public View {
public:
    explicit FilledView(const Rect& rect) : View(rect) {}
    void draw(DrawContext* context) override {
        ++draws;
        context->setFillColor(Color{0, 200, 0, 0});
        context->fillRect(size);
        context->setLineColor(Color{200, 0, 0, 0});
        context->strokeRect(size);
    }
    void mouse(DrawContext* /*context*/, Point& where) override {
        ++clicks;
        lastClick = where;
    }
    int draws = 0;
    int clicks = 0;
    Point lastClick;
};

// Follows a press as the editor's panels do: poll, draw, poll ... until the buttons read 0.
class TrackingView : public View {
public:
    using View::View;
    void mouse(DrawContext* context, Point& /*where*/) override {
        for (int pass = 0; pass < 50; ++pass) {
            const int32_t buttons = context->mouseButtons();
            if (buttons == 0) {
                return;
            }
            polls.push_back(buttons);
            context->setFillColor(Color{0, 0, 200, 0});
            context->fillRect(size);
            if (onPass) {
                onPass(pass);
            }
        }
    }
    std::vector<int32_t> polls;
    std::function<void(int)> onPass;
};

class X11WindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        const char* name = std::getenv("DISPLAY");
        if (name == nullptr || name[0] == 0) {
            GTEST_SKIP() << "DISPLAY is not set";
        }
        display = XOpenDisplay(nullptr);
        if (display == nullptr) {
            GTEST_SKIP() << "no X server at DISPLAY";
        }
        host = XCreateSimpleWindow(display, DefaultRootWindow(display), 20, 20, 600, 400, 0, 0,
                                   WhitePixel(display, DefaultScreen(display)));
        XMapWindow(display, host);
        XSync(display, False);
    }
    void TearDown() override {
        if (display != nullptr) {
            XDestroyWindow(display, host);
            XCloseDisplay(display);
        }
    }
    void* hostHandle() const { return reinterpret_cast<void*>(static_cast<uintptr_t>(host)); }
    // What the server shows at a point of a window.
    unsigned long pixelAt(::Window window, int x, int y) {
        XImage* image = XGetImage(display, window, x, y, 1, 1, AllPlanes, ZPixmap);
        const unsigned long value = image != nullptr ? XGetPixel(image, 0, 0) : 0;
        if (image != nullptr) {
            XDestroyImage(image);
        }
        return value & 0xffffff;
    }
    // Waits until the condition holds or a second has passed.
    template <typename Condition>
    static bool waitUntil(Condition condition) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(1);
        while (std::chrono::steady_clock::now() < deadline) {
            if (condition()) {
                return true;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        return false;
    }
    // The pixel once the server shows `expected` there, or after a second what it shows then:
    // the frame's window is made on a connection of its own, which the server serves apart
    // from ours, so our XSync does not wait for it.
    unsigned long pixelSoon(::Window window, int x, int y, unsigned long expected) {
        unsigned long value = 0;
        waitUntil([&] {
            XSync(display, False);
            value = pixelAt(window, x, y);
            return value == expected;
        });
        return value;
    }
    // Idles until the condition holds or a second has passed.
    template <typename Condition>
    bool idleUntil(Frame& frame, Condition condition) {
        return waitUntil([&] {
            frame.idleRedraw();
            return condition();
        });
    }

    // A press as the server reports it (XSendEvent: the real buttons stay up).
    void sendPress(::Window window, unsigned int button, unsigned int state, int x, int y) {
        XEvent press{};
        press.xbutton.type = ButtonPress;
        press.xbutton.display = display;
        press.xbutton.window = window;
        press.xbutton.x = x;
        press.xbutton.y = y;
        press.xbutton.button = button;
        press.xbutton.state = state;
        press.xbutton.same_screen = True;
        XSendEvent(display, window, False, ButtonPressMask, &press);
        XSync(display, False);
    }
    static ::Window windowOf(const Frame& frame) {
        return static_cast<::Window>(reinterpret_cast<uintptr_t>(frame.getWindow()));
    }
    static unsigned long rgb(Color color) {
        return (static_cast<unsigned long>(color.red) << 16) |
               (static_cast<unsigned long>(color.green) << 8) | color.blue;
    }

    Display* display = nullptr;
    ::Window host = 0;
};

TEST_F(X11WindowTest, TheChildWindowIsPaintedOnExposeAndReceivesClicks) {
    const int32_t live = guiObjects::live();
    {
        Frame frame(Rect{0, 0, 200, 100}, hostHandle(), nullptr);
        ASSERT_NE(frame.getWindow(), nullptr);
        auto* view = new FilledView(Rect{10, 10, 50, 40});
        frame.addView(view);
        const auto window = static_cast<::Window>(reinterpret_cast<uintptr_t>(frame.getWindow()));
        ASSERT_TRUE(idleUntil(frame, [&] { return !frame.isFirstDrawPending(); }));
        XSync(display, False);
        EXPECT_EQ(pixelAt(window, 10, 10), 0xc80000u);
        EXPECT_EQ(pixelAt(window, 50, 40), 0xc80000u);
        EXPECT_EQ(pixelAt(window, 11, 11), 0x00c800u);
        EXPECT_EQ(pixelAt(window, 49, 39), 0x00c800u);

        // A button press sent to the child window reaches the view at the next idle.
        XEvent press{};
        press.xbutton.type = ButtonPress;
        press.xbutton.display = display;
        press.xbutton.window = window;
        press.xbutton.x = 50;
        press.xbutton.y = 40;
        press.xbutton.button = Button1;
        press.xbutton.same_screen = True;
        XSendEvent(display, window, False, ButtonPressMask, &press);
        XSync(display, False);
        EXPECT_TRUE(idleUntil(frame, [&] { return view->clicks == 1; }));
        EXPECT_EQ(view->lastClick, (Point{50, 40}));

        // The pointer is read from the server, relative to the child window.
        XWarpPointer(display, None, host, 0, 0, 0, 0, 30, 25);
        XSync(display, False);
        Point where;
        frame.mouseLocation(where);
        EXPECT_EQ(where, (Point{30, 25}));
    }
    EXPECT_EQ(guiObjects::live(), live);
}

TEST_F(X11WindowTest, FramesShareOneConnectionClosedWithTheLast) {
    EXPECT_FALSE(x11port::displayConnectionOpen());
    auto* first = new Frame(Rect{0, 0, 50, 50}, hostHandle(), nullptr);
    auto* second = new Frame(Rect{0, 0, 20, 20}, hostHandle(), nullptr);
    EXPECT_TRUE(x11port::displayConnectionOpen());
    EXPECT_NE(first->getWindow(), second->getWindow());
    delete first;
    EXPECT_TRUE(x11port::displayConnectionOpen());
    delete second;
    EXPECT_FALSE(x11port::displayConnectionOpen());
}

TEST_F(X11WindowTest, DestroyingTheHostWindowClosesTheFrame) {
    Frame frame(Rect{0, 0, 100, 50}, hostHandle(), nullptr);
    auto* view = new FilledView(Rect{0, 0, 10, 10});
    frame.addView(view);
    ASSERT_TRUE(idleUntil(frame, [&] { return !frame.isFirstDrawPending(); }));
    XDestroyWindow(display, host);
    XSync(display, False);
    host = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 10, 10, 0, 0, 0);
    EXPECT_TRUE(idleUntil(frame, [&] { return !frame.isOpen(); }));
    const int draws = view->draws;
    view->setDirty(true);
    frame.idleRedraw();
    EXPECT_EQ(view->draws, draws);
}

TEST_F(X11WindowTest, AGoneParentIsNoReasonToEndTheProcess) {
    // A parent that does not exist: no window, and the server's error is not fatal.
    Frame stray(Rect{0, 0, 10, 10}, reinterpret_cast<void*>(uintptr_t{0x7ffffff0}), nullptr);
    EXPECT_EQ(stray.getWindow(), nullptr);

    // The host destroys its window and closes the editor before any idle saw it go.
    auto* frame = new Frame(Rect{0, 0, 100, 50}, hostHandle(), nullptr);
    ASSERT_NE(frame->getWindow(), nullptr);
    XDestroyWindow(display, host);
    XSync(display, False);
    host = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 10, 10, 0, 0, 0);
    frame->redrawView(nullptr);
    frame->setCursor(cursorWait);
    delete frame;
    SUCCEED();
}

TEST_F(X11WindowTest, AClickReleasedBeforeTheIdleStillReachesTheLoopAndTheWheelDoesNot) {
    Frame frame(Rect{0, 0, 200, 100}, hostHandle(), nullptr);
    auto* view = new TrackingView(Rect{0, 0, 100, 100});
    frame.addView(view);
    ASSERT_TRUE(idleUntil(frame, [&] { return !frame.isFirstDrawPending(); }));
    const ::Window window = windowOf(frame);
    // Wheel steps (4 to 7) and side buttons are no clicks; the left press after them is one.
    for (unsigned int button : {4u, 5u, 6u, 7u, 8u}) {
        sendPress(window, button, 0, 20, 20);
    }
    sendPress(window, Button1, ShiftMask, 20, 20);
    ASSERT_TRUE(idleUntil(frame, [&] { return !view->polls.empty(); }));
    // The button is long up (it never went down on the server): the first poll reads the press.
    EXPECT_EQ(view->polls, (std::vector<int32_t>{buttonLeft | modShift}));
}

TEST_F(X11WindowTest, ADragWhoseWindowTheHostDestroysEndsAndTheHostLives) {
    auto* frame = new Frame(Rect{0, 0, 200, 100}, hostHandle(), nullptr);
    auto* view = new TrackingView(Rect{0, 0, 100, 100});
    frame->addView(view);
    ASSERT_TRUE(idleUntil(*frame, [&] { return !frame->isFirstDrawPending(); }));
    view->onPass = [&](int pass) {
        if (pass == 0) {
            XDestroyWindow(display, host);
            XSync(display, False);
        }
    };
    sendPress(windowOf(*frame), Button1, 0, 20, 20);
    ASSERT_TRUE(idleUntil(*frame, [&] { return !view->polls.empty(); }));
    EXPECT_EQ(view->polls.size(), 1u);
    host = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 10, 10, 0, 0, 0);
    EXPECT_TRUE(idleUntil(*frame, [&] { return !frame->isOpen(); }));
    // The drawing sent after the window was gone comes back as errors: all ignored.
    Point where;
    frame->mouseLocation(where);
    DrawContext context(frame, nullptr, frame->getWindow());
    EXPECT_EQ(context.mouseButtons(), 0);
    delete frame;
}

// The child window takes its parent's visual, which need not be the screen's default: the
// surface must be made for it. Before the first paint the server shows the erase colour.
TEST_F(X11WindowTest, ParentsOfAnyVisualGetTheEraseColourAndThenTheDrawing) {
    XVisualInfo deep{};
    const bool haveDeep = XMatchVisualInfo(display, DefaultScreen(display), 32, TrueColor, &deep) != 0;
    std::vector<::Window> parents{host};
    Colormap colormap = 0;
    if (haveDeep) {
        colormap = XCreateColormap(display, DefaultRootWindow(display), deep.visual, AllocNone);
        XSetWindowAttributes attributes{};
        attributes.colormap = colormap;
        attributes.border_pixel = 0;
        attributes.background_pixel = 0;
        parents.push_back(XCreateWindow(display, host, 0, 0, 300, 200, 0, 32, InputOutput, deep.visual,
                                        CWColormap | CWBorderPixel | CWBackPixel, &attributes));
        XMapWindow(display, parents.back());
        XSync(display, False);
    } else {
        std::printf("no 32-bit visual on this server: the default visual only\n");
    }
    for (const ::Window parent : parents) {
        Frame frame(Rect{0, 0, 120, 80}, reinterpret_cast<void*>(static_cast<uintptr_t>(parent)), nullptr);
        ASSERT_NE(frame.getWindow(), nullptr);
        EXPECT_EQ(pixelSoon(windowOf(frame), 100, 70, rgb(x11port::kEraseColor)), rgb(x11port::kEraseColor)) << parent;
        auto* view = new FilledView(Rect{10, 10, 50, 40});
        frame.addView(view);
        ASSERT_TRUE(idleUntil(frame, [&] { return !frame.isFirstDrawPending(); }));
        XSync(display, False);
        EXPECT_EQ(pixelAt(windowOf(frame), 10, 10), 0xc80000u) << parent;
        EXPECT_EQ(pixelAt(windowOf(frame), 30, 30), 0x00c800u) << parent;
        EXPECT_EQ(pixelAt(windowOf(frame), 100, 70), rgb(x11port::kEraseColor)) << parent;
    }
    if (haveDeep) {
        XDestroyWindow(display, parents.back());
        XFreeColormap(display, colormap);
    }
}

}  // namespace

namespace {

// Logs the events of a drag as the Frame hands them on.
class DragView : public View {
public:
    explicit DragView(const Rect& area) : View(area) {}
    void onMouseDown(DrawContext*, const MouseEvent& event) override { add("down", event); }
    void onMouseMoved(DrawContext*, const MouseEvent& event) override { add("move", event); }
    void onMouseUp(DrawContext*, const MouseEvent& event) override { add("up", event); }
    void onMouseCancelled() override { log.push_back("cancel"); }
    bool onMouseWheel(DrawContext*, const MouseEvent& event, float distance) override {
        add(distance > 0 ? "wheel+" : "wheel-", event);
        return true;
    }
    void add(const char* what, const MouseEvent& event) {
        char text[64];
        std::snprintf(text, sizeof text, "%s %d,%d b%d c%d", what, static_cast<int>(event.where.h),
                      static_cast<int>(event.where.v), static_cast<int>(event.buttons),
                      static_cast<int>(event.clicks));
        log.push_back(text);
    }
    std::vector<std::string> log;
};

}  // namespace

TEST_F(X11WindowTest, ADragIsThePressTheMotionAndTheReleaseInTheWindowsEvents) {
    Frame frame(Rect{0, 0, 200, 100}, hostHandle(), nullptr);
    auto* view = new DragView(Rect{10, 10, 90, 90});
    frame.addView(view);
    const ::Window window = windowOf(frame);
    ASSERT_TRUE(idleUntil(frame, [&] { return !frame.isFirstDrawPending(); }));
    // type, button (0 for a move), state before, position, time
    const struct {
        int type;
        unsigned int button;
        unsigned int state;
        int x, y;
        unsigned long time;
    } events[] = {{ButtonPress, Button1, 0, 20, 30, 1000},
                  {MotionNotify, 0, Button1Mask, 25, 35, 1010},
                  {MotionNotify, 0, Button1Mask | ShiftMask, 150, 95, 1020},  // outside the view: its
                  {ButtonPress, Button3, Button1Mask, 150, 95, 1030},         // part of the drag
                  {ButtonRelease, Button3, Button1Mask | Button3Mask, 150, 95, 1040},
                  {ButtonRelease, Button1, Button1Mask, 150, 95, 1050},
                  {MotionNotify, 0, 0, 30, 30, 1060},  // after the release: nobody's
                  {ButtonPress, Button1, 0, 21, 30, 1200},  // soon, near: a double-click
                  {ButtonRelease, Button1, Button1Mask, 21, 30, 1210},
                  {ButtonPress, Button5, ShiftMask, 40, 40, 3000}};
    for (const auto& e : events) {
        XEvent event{};
        if (e.type == MotionNotify) {
            event.xmotion.type = MotionNotify;
            event.xmotion.display = display;
            event.xmotion.window = window;
            event.xmotion.x = e.x;
            event.xmotion.y = e.y;
            event.xmotion.state = e.state;
            event.xmotion.time = e.time;
            event.xmotion.same_screen = True;
            XSendEvent(display, window, False, ButtonMotionMask, &event);
        } else {
            event.xbutton.type = e.type;
            event.xbutton.display = display;
            event.xbutton.window = window;
            event.xbutton.x = e.x;
            event.xbutton.y = e.y;
            event.xbutton.button = e.button;
            event.xbutton.state = e.state;
            event.xbutton.time = e.time;
            event.xbutton.same_screen = True;
            XSendEvent(display, window, False, e.type == ButtonPress ? ButtonPressMask : ButtonReleaseMask, &event);
        }
    }
    XSync(display, False);
    const std::vector<std::string> expected = {"down 20,30 b1 c1", "move 25,35 b1 c1", "move 150,95 b9 c1",
                                               "up 150,95 b0 c1",  "down 21,30 b1 c2", "up 21,30 b0 c1",
                                               "wheel- 40,40 b8 c1"};
    EXPECT_TRUE(idleUntil(frame, [&] { return view->log.size() >= expected.size(); }));
    EXPECT_EQ(view->log, expected);
}
