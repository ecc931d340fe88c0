// The editor's window lifecycle, the idle and its pump, and what reaches the editor from the host.
#include <cstdint>
#include <vector>

#include "EditorTestSupport.h"
#include "editor/MidiModePanel.h"
#include "editor/SliderBank.h"
#include "editor/StepPanel.h"
#include "editor/WaveformView.h"
#include "gui/GuiObjectCount.h"
#include "gui/PaintPump.h"
#include "gui/PopupPicture.h"
#include "gui/ValueDisplay.h"

namespace {

using EditorLifecycle = EditorFixture;

// Every pixel of the editor window, to compare two openings.
std::vector<uint32_t> screenshot(void* window) {
    std::vector<uint32_t> pixels;
    for (int32_t y = 0; y < 300; ++y) {
        for (int32_t x = 0; x < 525; ++x) {
            const Color c = headless::pixel(window, x, y);
            pixels.push_back(uint32_t(c.red) << 16 | uint32_t(c.green) << 8 | c.blue);
        }
    }
    return pixels;
}

TEST_F(EditorLifecycle, RectangleIdleAndKeysWithoutAWindow) {
    ERect* rect = nullptr;
    ASSERT_EQ(dispatch(effEditGetRect, 0, 0, &rect), 1);
    EXPECT_EQ(rect->top, 0);
    EXPECT_EQ(rect->left, 0);
    EXPECT_EQ(rect->bottom, 300);
    EXPECT_EQ(rect->right, 525);
    const int32_t children = headless::childWindowCount();
    // Idle, keys and wheel before the first open and after a close do nothing.
    for (int round = 0; round < 2; ++round) {
        dispatch(effEditIdle);
        EXPECT_EQ(dispatch(effEditKeyDown, 'a', 0, nullptr, 0.0f), -1);
        EXPECT_EQ(dispatch(effEditKeyUp, 'a', 0, nullptr, 0.0f), -1);
        EXPECT_FALSE(editor()->onWheel(1.0f));
        EXPECT_EQ(editor()->getFrame(), nullptr);
        EXPECT_EQ(headless::childWindowCount(), children);
        open();
        dispatch(effEditClose);
    }
    ERect* again = nullptr;
    dispatch(effEditGetRect, 0, 0, &again);
    EXPECT_EQ(again, rect);  // the same record for the editor's whole life
    EXPECT_EQ(dispatch(effSetEditKnobMode, 0, 2), 1);
    EXPECT_EQ(GuiEditor::knobMode(), 2);
}

TEST_F(EditorLifecycle, OpenBuildsTheSixViewsInOrder) {
    EXPECT_EQ(dispatch(effEditOpen, 0, 0, hostWindow), 1);
    ASSERT_NE(frame(), nullptr);
    ASSERT_EQ(frame()->viewCount(), 6);
    const View* expected[] = {editor()->getWaveformView(), editor()->getStepPanel(),
                              editor()->getSliderBank(),   editor()->getHelpLabel(),
                              editor()->getHelpPicture(),  editor()->getMidiModePanel()};
    const Rect areas[] = {{370, 135, 495, 205}, {15, 135, 365, 235},  {15, 10, 495, 130},
                          {370, 210, 495, 233}, {370, 210, 495, 233}, {15, 240, 245, 290}};
    for (int32_t i = 0; i < 6; ++i) {
        EXPECT_EQ(frame()->viewAt(i), expected[i]) << i;
        EXPECT_EQ(frame()->viewAt(i)->getSize(), areas[i]) << i;
    }
    EXPECT_EQ(editor()->getHelpPicture()->getPopupRect(), (Rect{0, 0, 525, 300}));
    // The wheel is offered to the views; none of the panels takes it.
    EXPECT_FALSE(editor()->onWheel(1.0f));
}

TEST_F(EditorLifecycle, ReopeningShowsTheSameWindowAndTheCurrentValues) {
    open();
    idle();
    const std::vector<uint32_t> first = screenshot(frame()->getWindow());
    dispatch(effEditClose);
    open();
    idle();
    EXPECT_EQ(screenshot(frame()->getWindow()), first);
    dispatch(effEditClose);
    effect->plugin().setProgramValue(0, 1.0f);
    open();
    idle();
    EXPECT_NE(screenshot(frame()->getWindow()), first);
}

TEST_F(EditorLifecycle, HostParameterChangesShowAtTheNextIdle) {
    open();
    idle();
    const int32_t x = 15 + SliderBank::sliderRects[4].left + 1;
    const int32_t row = 10 + 94 - 80;
    const Color before = pixel(x, row);
    record->setParameter(record, kParamDryWet, 1.0f);
    EXPECT_TRUE(editor()->isRefreshRequested());
    EXPECT_EQ(pixel(x, row), before);
    idle();
    EXPECT_FALSE(editor()->isRefreshRequested());
    EXPECT_EQ(pixel(x, row), (Color{135, 157, 214, 0}));
}

TEST_F(EditorLifecycle, HelpPictureCoversTheWindowUntilTheNextClick) {
    open();
    idle();
    const std::vector<uint32_t> panels = screenshot(frame()->getWindow());
    press(PressScript().at({380, 220}).release());
    ASSERT_EQ(frame()->getModalView(), editor()->getHelpPicture());
    const std::vector<uint32_t> help = screenshot(frame()->getWindow());
    size_t differing = 0;
    for (size_t i = 0; i < help.size(); ++i) differing += help[i] != panels[i] ? 1 : 0;
    EXPECT_GT(differing, help.size() / 4);
    // While it is up the live views do not repaint over it.
    record->setParameter(record, kParamAttack, 1.0f);
    idle();
    EXPECT_EQ(screenshot(frame()->getWindow()), help);
    // A click anywhere hides it and everything is drawn again, with the new value.
    press(PressScript().at({30, 30}).release());
    EXPECT_EQ(frame()->getModalView(), nullptr);
    EXPECT_EQ(pixel(15 + SliderBank::sliderRects[0].left + 1, 10 + 8), (Color{135, 157, 214, 0}));
}

TEST_F(EditorLifecycle, AHostThatDestroysItsWindowFirst) {
    open();
    idle();
    headless::destroyHostWindow(hostWindow);
    hostWindow = nullptr;
    idle();
    EXPECT_FALSE(frame()->isOpen());
    idle();
    dispatch(effEditClose);
    EXPECT_EQ(editor()->getFrame(), nullptr);
}

TEST_F(EditorLifecycle, AThousandOpeningsLeaveNothingBehind) {
    const int32_t children = headless::childWindowCount();
    const int32_t live = guiObjects::live();
    const int64_t made = guiObjects::totalCreated();
    for (int i = 0; i < 1000; ++i) {
        open();
        idle();
        dispatch(effEditClose);
    }
    EXPECT_EQ(headless::childWindowCount(), children);
    EXPECT_EQ(guiObjects::live(), live);
    std::printf("1000 open/idle/close cycles: %lld window-system objects made, %d left\n",
                static_cast<long long>(guiObjects::totalCreated() - made), guiObjects::live() - live);
}

}  // namespace
