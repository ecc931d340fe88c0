// Mouse-tracking loops on the Linux port: what a press reports to its polls, which X presses are
// clicks, drags over windows that vanish, and the idle pump's clock.
#include "GuiTestSupport.h"
#include "gui/PaintPump.h"
#include "gui/x11/XlibInput.h"

#include <functional>

#include <X11/X.h>

namespace headless {

inline bool operator==(const PointerState& a, const PointerState& b) {
    return a.screen == b.screen && a.buttons == b.buttons;
}

inline std::ostream& operator<<(std::ostream& out, const PointerState& s) {
    return out << "{" << s.screen.h << "," << s.screen.v << " b" << s.buttons << "}";
}

}  // namespace headless

namespace {

// Loops as the editor's panels do: poll the buttons, then the position, until released.
class TrackingView : public View {
public:
    using View::View;
    void mouse(DrawContext* context, Point& where) override {
        start = where;
        for (int pass = 0; pass < 100; ++pass) {
            const int32_t buttons = context->mouseButtons();
            if (buttons == 0) {
                return;
            }
            Point at;
            context->mousePosition(at);
            seen.push_back(headless::PointerState{at, buttons});
            if (onPass) {
                onPass(pass);
            }
        }
    }
    Point start;
    std::vector<headless::PointerState> seen;
    std::function<void(int)> onPass;
};

class TrackingLoopTest : public HeadlessTest {
protected:
    void SetUp() override {
        HeadlessTest::SetUp();
        host = headless::createHostWindow(40, 30, 800, 600);
        frame = new Frame(Rect{0, 0, 200, 100}, host, nullptr);
        view = new TrackingView(Rect{0, 0, 200, 100});
        frame->addView(view);
        frame->idleRedraw();
    }
    void TearDown() override {
        delete frame;
        headless::destroyHostWindow(host);
    }
    void* host = nullptr;
    Frame* frame = nullptr;
    TrackingView* view = nullptr;
};

// The button was up again before the idle read the press: the loop still sees it, once, with
// the press's button, modifiers and position.
TEST_F(TrackingLoopTest, AQuickClickReachesTheFirstPollOfItsPress) {
    const int32_t presses[] = {buttonLeft, buttonRight, buttonMiddle, buttonLeft | modShift,
                               buttonRight | modControl | modAlt};
    for (const int32_t buttons : presses) {
        view->seen.clear();
        headless::setPointer(Point{500, 400}, 0);
        headless::postButtonPress(frame->getWindow(), Point{12, 34}, buttons);
        headless::postButtonRelease(frame->getWindow(), Point{12, 34});
        frame->idleRedraw();
        // Positions are relative to the window, which is at (40, 30) on the screen.
        const std::vector<headless::PointerState> once{{Point{12, 34}, buttons}};
        EXPECT_EQ(view->seen, once) << buttons;
        EXPECT_EQ(view->start, (Point{12, 34}));
        // After the press, polls ask the pointer itself.
        Canvas canvas(2, 2);
        EXPECT_EQ(canvas.ctx()->mouseButtons(), 0);
    }
}

TEST_F(TrackingLoopTest, AScriptedPressIsHeldForItsPollsThenReleased) {
    for (const int held : {1, 2, 5}) {
        view->seen.clear();
        std::vector<headless::PointerState> script;
        std::vector<headless::PointerState> expected{{Point{10, 10}, buttonLeft | modShift}};
        for (int i = 1; i < held; ++i) {
            script.push_back({Point{50 + i, 40 + 2 * i}, buttonLeft});  // screen
            expected.push_back({Point{10 + i, 10 + 2 * i}, buttonLeft});
        }
        script.push_back({Point{90, 90}, 0});
        headless::scriptPointer(script);
        headless::postButtonPress(frame->getWindow(), Point{10, 10}, buttonLeft | modShift);
        const int64_t queries = headless::pointerQueries();
        frame->idleRedraw();
        EXPECT_EQ(view->seen, expected) << held;
        // The press answered its first two polls; every later poll asked the pointer.
        EXPECT_EQ(headless::pointerQueries() - queries, 2 * (held - 1) + 1) << held;
        Point where;
        frame->mouseLocation(where);
        EXPECT_EQ(where, (Point{50, 60}));  // the last sample stays
    }
}

TEST_F(TrackingLoopTest, ADragEndsWhenTheHostDestroysTheWindowUnderIt) {
    headless::setPointer(Point{60, 60}, buttonLeft);  // held for ever
    view->onPass = [this](int pass) {
        if (pass == 2) {
            headless::destroyHostWindow(host);
            host = nullptr;
        }
    };
    headless::postButtonPress(frame->getWindow(), Point{20, 30});
    frame->idleRedraw();
    EXPECT_EQ(view->seen.size(), 3u);
    frame->idleRedraw();
    EXPECT_FALSE(frame->isOpen());
}

// X buttons 4 to 7 are wheel steps and 8, 9 side buttons: no clicks, as on Windows.
TEST(XlibInputTest, OnlyLeftMiddleAndRightPressesAreClicks) {
    const struct {
        unsigned int button;
        unsigned int stateBefore;
        int32_t expected;
    } cases[] = {
        {Button1, 0, buttonLeft},
        {Button2, 0, buttonMiddle},
        {Button3, 0, buttonRight},
        {Button1, ShiftMask | ControlMask | Mod1Mask, buttonLeft | modShift | modControl | modAlt},
        {Button3, Button1Mask, buttonLeft | buttonRight},
        {Button1, LockMask | Mod2Mask, buttonLeft},  // caps and num lock are no modifiers here
        {Button4, 0, 0},
        {Button5, ShiftMask, 0},
        {6, 0, 0},
        {7, Button1Mask, 0},
        {8, 0, 0},
        {9, 0, 0},
        {0, 0, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(x11port::pressButtons(c.button, c.stateBefore), c.expected)
            << "button " << c.button << " state " << c.stateBefore;
    }
    EXPECT_EQ(x11port::buttonsFromMask(Button1Mask | Button2Mask | Button3Mask | ShiftMask),
              buttonLeft | buttonMiddle | buttonRight | modShift);
}

TEST(PumpClockTest, HeadlessTestsSetTheClockAndSleepingAdvancesIt) {
    headless::enable();
    headless::setClock(5000);
    EXPECT_EQ(pumpTickCount(), 5000u);
    pumpSleep(4);
    EXPECT_EQ(pumpTickCount(), 5004u);
    headless::setClock(0xfffffffeu);
    pumpSleep(4);
    EXPECT_EQ(pumpTickCount(), 2u);  // wraps as GetTickCount does
    headless::useRealClock();
    const uint32_t before = pumpTickCount();
    pumpSleep(5);
    EXPECT_GE(pumpTickCount() - before, 4u);
}

}  // namespace
