// What real hosts do to an editor: presses held over every kind of zone, windows destroyed under
// it, banks loaded while it is open, and closes that arrive in the middle of a drag.
#include <functional>
#include <string>

#include "EditorTestSupport.h"
#include "editor/MidiModePanel.h"
#include "editor/SliderBank.h"
#include "editor/StepPanel.h"
#include "gui/PaintPump.h"
#include "gui/View.h"

namespace {

constexpr Point kSliders{15, 10};
constexpr Point kSteps{15, 135};
constexpr Point kMidi{15, 240};

// A view whose drawing runs what a test gives it: a host's paint handler reached from inside
// a tracking loop.
class HookView : public View {
public:
    HookView(const Rect& area, std::function<void()> hook) : View(area), onDraw(std::move(hook)) {}
    void draw(DrawContext*) override {
        if (onDraw) onDraw();
    }

private:
    std::function<void()> onDraw;
};

class HostFaults : public EditorFixture {
protected:
    void SetUp() override {
        EditorFixture::SetUp();
        open();
        idle();
    }
    // A press held at one editor point for this many passes of the tracking loop.
    void hold(Point where, int32_t passes) {
        PressScript held;
        for (int32_t i = 0; i < passes; ++i) held.at(where);
        press(held.release());
    }
};

TEST_F(HostFaults, EveryHeldPressServesTheHostAndPauses) {
    // Zones whose loops used to spin without the idle pump, and those that had it.
    const struct {
        const char* zone;
        Point where;
    } zones[] = {
        {"midi panel gap", {kMidi.h + 113, kMidi.v + 12}},
        {"midi panel below the boxes", {kMidi.h + 150, kMidi.v + 45}},
        {"length bar", {kSteps.h + StepPanel::lengthRect.left + 9, kSteps.v + 50}},
        {"slider label before any slider", {kSliders.h + 10, kSliders.v + 108}},
        {"inverse box", {kSliders.h + 460, kSliders.v + 40}},
        {"meter", {kSliders.h + 420, kSliders.v + 50}},
        {"slider", {kSliders.h + 14, kSliders.v + 50}},
        {"step", {kSteps.h + StepPanel::stepRect(3).left + 9, kSteps.v + 50}},
    };
    for (const auto& zone : zones) {
        SCOPED_TRACE(zone.zone);
        const uint32_t start = pumpTickCount() + 100000;
        headless::setClock(start);
        testHost().onIdle = nullptr;
        const int32_t idles = testHost().idleCalls;
        hold(zone.where, 120);
        // 119 later passes: each sleeps 4 ms or runs the idle, which it does every 50..100 ms.
        EXPECT_GE(pumpTickCount() - start, 300u);
        EXPECT_GE(testHost().idleCalls - idles, 4);
    }
}

TEST_F(HostFaults, ReopensInTheNewWindowAfterTheHostLostItsOwn) {
    const struct {
        const char* how;
        bool destroyOld;
        bool idleBetween;
    } cases[] = {{"destroyed, idle before the open", true, true},
                 {"destroyed, opened at once", true, false},
                 {"opened in another window while open", false, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.how);
        void* next = headless::createHostWindow(kScreen.h, kScreen.v, 600, 400);
        if (c.destroyOld) {
            headless::destroyHostWindow(hostWindow);
            if (c.idleBetween) idle();
        }
        void* old = frame()->getWindow();
        EXPECT_EQ(dispatch(effEditOpen, 0, 0, next), 1);
        if (!c.destroyOld) headless::destroyHostWindow(hostWindow);
        hostWindow = next;
        ASSERT_NE(frame(), nullptr);
        EXPECT_NE(frame()->getWindow(), old);
        EXPECT_FALSE(headless::isWindow(old));
        EXPECT_EQ(frame()->getParentWindow(), next);
        EXPECT_EQ(frame()->viewCount(), 6);
        idle();
        EXPECT_TRUE(headless::isVisible(frame()->getWindow()));
        // Drawn: the slider bank's trough, not the window's erase colour.
        EXPECT_EQ(pixel(kSliders.h + 6, kSliders.v + 8), (Color{200, 200, 220, 0}));
    }
    // The same window again is the same editor.
    void* window = frame()->getWindow();
    EXPECT_EQ(dispatch(effEditOpen, 0, 0, hostWindow), 1);
    EXPECT_EQ(frame()->getWindow(), window);
}

TEST_F(HostFaults, MidiSwitchesFollowABankLoadedWhileOpen) {
    void* data = nullptr;
    const intptr_t size = dispatch(effGetChunk, 0, 0, &data);
    ASSERT_EQ(size, 1476);
    std::vector<unsigned char> bank(static_cast<unsigned char*>(data), static_cast<unsigned char*>(data) + size);
    const bool states[][3] = {{true, false, true}, {false, true, false}, {true, true, true}};
    for (const auto& want : states) {
        for (int32_t i = 0; i < 3; ++i) bank[static_cast<size_t>(1472 + i)] = want[i] ? 1 : 0;
        dispatch(effSetChunk, 0, size, bank.data());
        idle();
        for (int32_t i = 0; i < MidiModePanel::switchCount; ++i) {
            const Rect box = MidiModePanel::switchRects[i].offset(kMidi.h, kMidi.v);
            EXPECT_EQ(pixel(box.left + 1, box.top + 1),
                      want[i] ? (Color{247, 153, 57, 0}) : (Color{200, 200, 200, 0}))
                << "switch " << i;
        }
    }
}

TEST_F(HostFaults, ACloseDuringADragWaitsForTheLoopAndLeavesNoWindow) {
    const struct {
        const char* path;
        bool fromPaint;
    } paths[] = {{"from the host's idle", false}, {"from a paint dispatched inside the loop", true}};
    for (const auto& path : paths) {
        SCOPED_TRACE(path.path);
        headless::setClock(pumpTickCount() + 100000);
        bool armed = false;
        frame()->addView(new HookView(Rect{505, 285, 515, 295}, [&] {
            if (armed) {
                armed = false;
                dispatch(effEditClose);
            }
        }));
        int32_t idles = 0;
        testHost().onIdle = [&] {
            headless::setClock(pumpTickCount() + 100);
            if (++idles != 1) return;
            if (path.fromPaint) {
                armed = true;
                headless::postExpose(frame()->getWindow(), Rect{500, 280, 520, 300});
            } else {
                dispatch(effEditClose);
            }
        };
        void* window = frame()->getWindow();
        const int64_t before = headless::pointerQueries();
        hold(Point{kSliders.h + 14, kSliders.v + 50}, 50);
        testHost().onIdle = nullptr;
        EXPECT_LT(headless::pointerQueries() - before, 12);
        // The views outlived the loop, but the window is off the screen already.
        ASSERT_NE(editor()->getFrame(), nullptr);
        EXPECT_FALSE(headless::isVisible(window));
        idle();
        EXPECT_EQ(editor()->getFrame(), nullptr);
        EXPECT_FALSE(headless::isWindow(window));
        open();
        idle();
        ASSERT_NE(editor()->getFrame(), nullptr);
        EXPECT_TRUE(headless::isVisible(frame()->getWindow()));
    }
}

}  // namespace
