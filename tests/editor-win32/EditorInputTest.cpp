// Drags and clicks synthesized with SendInput change the effect's values, read back through the
// parameters and the bank chunk.
#include <cstdio>
#include <string>
#include <vector>

#include "EditorLayout.h"
#include "Gesture.h"
#include "LoadedEditor.h"

namespace {

using namespace layout;

class EditorInput : public EditorHost {
protected:
    void SetUp() override {
        EditorHost::SetUp();
        openAndShow();
    }
};

TEST_F(EditorInput, SliderDragsSetTheirParameters) {
    // Local rows of the slider zone: 2..12 read 1, 99 reads 0, row r reads (99 - r) / 87.
    const struct {
        int32_t slider;
        std::vector<int32_t> rows;  // pressed at the first, dragged through the others
        float expected;
    } cases[] = {{0, {99}, 0.0f},
                 {4, {2, 56}, 43.0f / 87.0f},
                 {7, {99, 56, 12}, 1.0f},
                 {10, {13}, 86.0f / 87.0f},
                 // Dragged out of every zone, the last value stays.
                 {1, {56, 150}, 43.0f / 87.0f}};
    for (const auto& c : cases) {
        setParameter(parameterOf(c.slider), 0.77f);
        Gesture gesture;
        gesture.press(POINT{sliderX(c.slider), kSliders.y + c.rows.front()});
        for (size_t i = 1; i < c.rows.size(); ++i)
            gesture.moveTo(POINT{sliderX(c.slider), kSliders.y + c.rows[i]});
        ASSERT_TRUE(gesture.play()) << "slider " << c.slider;
        EXPECT_FLOAT_EQ(parameter(parameterOf(c.slider)), c.expected) << "slider " << c.slider;
    }
}

TEST_F(EditorInput, AHeldDragLeavesTheHostItsOwnIdleRate) {
    // The host's loop: its messages, the editor's idle, 10 ms of its own work. A drag held for
    // two seconds runs in the window's messages between its turns and never holds the thread.
    const int32_t x = sliderX(4);
    setParameter(parameterOf(4), 0.3f);
    HeldDrag drag{{POINT{kEditorOnScreen.x + x, kEditorOnScreen.y + kSliders.y + 99},
                   POINT{kEditorOnScreen.x + x, kEditorOnScreen.y + kSliders.y + 56},
                   POINT{kEditorOnScreen.x + x, kEditorOnScreen.y + kSliders.y + 5}},
                  2000};
    HANDLE thread = drag.start();
    ASSERT_NE(thread, nullptr);
    std::vector<float> seen;
    int32_t turns = 0;
    const DWORD start = GetTickCount();
    while (WaitForSingleObject(thread, 0) != WAIT_OBJECT_0 && GetTickCount() - start < 10000) {
        pumpUntil([] { return true; });
        idle();
        ++turns;
        const float now = parameter(parameterOf(4));
        if (seen.empty() || seen.back() != now) seen.push_back(now);
        Sleep(10);
    }
    const DWORD elapsed = GetTickCount() - start;
    WaitForSingleObject(thread, 5000);
    CloseHandle(thread);
    pumpUntil([] { return true; });
    const double perSecond = 1000.0 * turns / static_cast<double>(elapsed);
    std::printf("host idle turns during a held drag: %.1f per second\n", perSecond);
    EXPECT_GE(perSecond, 30.0);
    // The values of the path, in its order, each seen by the host while the button was held.
    ASSERT_GE(seen.size(), 3u);
    EXPECT_FLOAT_EQ(seen[seen.size() - 3], 0.0f);
    EXPECT_FLOAT_EQ(seen[seen.size() - 2], 43.0f / 87.0f);
    EXPECT_FLOAT_EQ(seen.back(), 1.0f);
}

TEST_F(EditorInput, SidewaysDragSetsEverySliderItCrosses) {
    for (int32_t i = 0; i < kSliderCount; ++i) setParameter(parameterOf(i), 0.9f);
    Gesture gesture;
    gesture.pause(30).press(POINT{sliderX(0), kSliders.y + 56});
    for (int32_t x = sliderX(0) + 4; x <= sliderX(3); x += 4) gesture.moveTo(POINT{x, kSliders.y + 56});
    ASSERT_TRUE(gesture.release().play());
    for (int32_t i = 0; i < 4; ++i) EXPECT_FLOAT_EQ(parameter(parameterOf(i)), 43.0f / 87.0f) << i;
    EXPECT_FLOAT_EQ(parameter(parameterOf(4)), 0.9f);
}

TEST_F(EditorInput, MeterDragSetsTheThreshold) {
    const int32_t x = centre(kMeter, kSliders).x;
    ASSERT_TRUE(
        Gesture().press(POINT{x, kSliders.y + 95}).moveTo(POINT{x, kSliders.y + 50}).release().play());
    EXPECT_FLOAT_EQ(parameter(7), 45.0f / 90.0f);
    ASSERT_TRUE(Gesture().press(POINT{x, kSliders.y + 5}).release().play());
    EXPECT_FLOAT_EQ(parameter(7), 1.0f);
}

TEST_F(EditorInput, StepsAndLengthFromTheBank) {
    Bank values = bank();
    for (int32_t i = 0; i < 16; ++i) values.setStep(i, 0.2f);
    setBank(values);
    const int32_t lengthX = kSteps.x + kLength.left + 9;
    struct Case {
        const char* what;
        Gesture gesture;
        std::vector<std::pair<int32_t, float>> steps;  // step index, value afterwards
        float length;
    };
    std::vector<Case> cases;
    cases.push_back({"left press on step 3",
                     Gesture().press(POINT{stepX(3), kSteps.y + 55}).release(),
                     {{3, 0.5f}, {2, 0.2f}},
                     1.0f});
    cases.push_back({"right drag over steps 4..8", Gesture(), {{4, 0.5f}, {8, 0.5f}, {9, 0.2f}}, 1.0f});
    cases.back().gesture.press(POINT{stepX(4), kSteps.y + 90}, true);
    for (int32_t i = 5; i <= 8; ++i) cases.back().gesture.moveTo(POINT{stepX(i), kSteps.y + 90});
    cases.back().gesture.release();
    cases.push_back(
        {"length bar at half", Gesture().press(POINT{lengthX, kSteps.y + 50}).release(), {}, 0.5f});
    cases.push_back(
        {"step first, then the length bar",
         Gesture().press(POINT{stepX(15), kSteps.y + 100}).moveTo(POINT{lengthX, kSteps.y + 80}).release(),
         {{15, 0.0f}},
         0.5f});
    cases.push_back({"right press on the length bar",
                     Gesture().press(POINT{lengthX, kSteps.y + 80}, true).release(),
                     {},
                     1.0f});
    for (Case& c : cases) {
        ASSERT_TRUE(c.gesture.play()) << c.what;
        const Bank after = bank();
        for (const auto& step : c.steps)
            EXPECT_FLOAT_EQ(after.step(step.first), step.second) << c.what << ", step " << step.first;
        EXPECT_FLOAT_EQ(after.sequenceLength(), c.length) << c.what;
    }
}

TEST_F(EditorInput, ClicksOnSwitchesAndTypeBoxes) {
    const POINT first = centre(kSwitches[0], kMidi);
    const POINT second = centre(kSwitches[1], kMidi);
    const POINT pre = centre(kPreType, kSliders);
    const POINT post = centre(kPostType, kSliders);
    const struct {
        const char* what;
        POINT at;
        bool flags[3];
        int32_t preType, postType;
    } clicks[] = {
        {"MidiNote-Control", first, {true, false, false}, 0, 0},
        {"MidiNote-Control again", first, {false, false, false}, 0, 0},
        {"Note->RecordStart", second, {false, true, false}, 0, 0},
        {"gap right of the first switch", POINT{kMidi.x + 113, first.y}, {false, true, false}, 0, 0},
        {"pre type", pre, {false, true, false}, 1, 0},
        {"pre type again", pre, {false, true, false}, 2, 0},
        {"post type", post, {false, true, false}, 2, 1}};
    for (const auto& c : clicks) {
        ASSERT_TRUE(click(c.at)) << c.what;
        const Bank after = bank();
        for (int32_t i = 0; i < 3; ++i)
            EXPECT_EQ(after.midiFlag(i), c.flags[i]) << c.what << ", switch " << i;
        EXPECT_EQ(after.preFilterType(), c.preType) << c.what;
        EXPECT_EQ(after.postFilterType(), c.postType) << c.what;
    }
    // A switch turned on by a click shows on.
    EXPECT_EQ(pixel(kMidi.x + kSwitches[1].left + 1, kMidi.y + kSwitches[1].top + 1), kSwitchOn);
}

TEST_F(EditorInput, AClickWhoseButtonIsUpBeforeItsMessageIsHandledStillCounts) {
    // In a busy host the button-down message may be handled after the button went up again:
    // the press is the message's own, so the click counts.
    const POINT at = centre(kSwitches[2], kMidi);
    ASSERT_TRUE(movePointer(POINT{kEditorOnScreen.x + at.x, kEditorOnScreen.y + at.y}));
    INPUT input[2] = {};
    input[0].type = input[1].type = INPUT_MOUSE;
    input[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    input[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    ASSERT_EQ(SendInput(2, input, sizeof(INPUT)), 2u);
    EXPECT_TRUE(pumpUntil([&] { return bank().midiFlag(2); }, 2000));
}

}  // namespace
