// The Linux port on a real X server: a child window of a host window, painted on expose and
// clicked through the server. Skipped without DISPLAY.
#include <chrono>
#include <cstdlib>
#include <thread>

// GoogleTest before Xlib, whose macros (None, Bool) clash with its names.
#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include "gui/Bitmap.h"
#include "gui/DrawContext.h"
#include "gui/Frame.h"
#include "gui/GuiObjectCount.h"
#include "gui/View.h"
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
    // Idles until the condition holds or a second has passed.
    template <typename Condition>
    bool idleUntil(Frame& frame, Condition condition) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(1);
        while (std::chrono::steady_clock::now() < deadline) {
            frame.idleRedraw();
            if (condition()) {
                return true;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        return false;
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

}  // namespace
