// Nothing the toolkit makes outlives its owner: contexts, surfaces, bitmaps, masks and windows.
#include <cstdio>

#include "GuiTestSupport.h"
#include "LeakScene.h"
#include "gui/Bitmap.h"
#include "gui/GuiObjectCount.h"
#include "gui/OffscreenContext.h"
#include "gui/PopupPicture.h"
#include "gui/ValueDisplay.h"

namespace {

using namespace leakScene;

class LeakTest : public HeadlessTest {};

TEST_F(LeakTest, AThousandDrawCyclesEndWithNothingLive) {
    void* host = headless::createHostWindow(0, 0, 600, 400);
    const int32_t liveBefore = guiObjects::live();
    const int64_t madeBefore = guiObjects::totalCreated();
    {
        Frame frame(Rect{0, 0, 525, 300}, host, nullptr);
        const CycleViews views = addCycleViews(frame);
        auto* keyed = new Bitmap(nullptr, 50, 50);
        frame.idleRedraw();
        for (int cycle = 0; cycle < 1000; ++cycle) {
            views.label->setValue(static_cast<float>(cycle));
            frame.idleRedraw();
            frame.redrawView(views.label);
            drawScratch<Canvas>(keyed);
        }
        EXPECT_GT(guiObjects::totalCreated() - madeBefore, 3000);
        keyed->release();
        frame.removeAllViews(true);
        views.image->release();
    }
    std::printf("draw cycles: %lld surfaces and contexts made, %d live after\n",
                static_cast<long long>(guiObjects::totalCreated() - madeBefore),
                guiObjects::live() - liveBefore);
    EXPECT_EQ(guiObjects::live(), liveBefore);
    headless::destroyHostWindow(host);
}

TEST_F(LeakTest, AHundredFrameLifetimesEndWithNothingLive) {
    const int32_t liveBefore = guiObjects::live();
    const int64_t madeBefore = guiObjects::totalCreated();
    const int32_t windowsBefore = headless::childWindowCount();
    for (int round = 0; round < 100; ++round) {
        void* host = headless::createHostWindow(round, round, 600, 400);
        auto* background = new Bitmap(128);
        auto* frame = new Frame(Rect{0, 0, background->getWidth(), background->getHeight()}, host, nullptr);
        frame->setBackground(background);
        Bitmap* image = addLifetimeViews(frame);
        frame->idleRedraw();
        // Open and close the help picture.
        for (int click = 0; click < 2; ++click) {
            headless::setPointer(Point{round + 380, round + 220}, buttonLeft);
            headless::postButtonPress(frame->getWindow(), Point{380, 220});
            headless::postButtonRelease(frame->getWindow(), Point{380, 220});
            frame->idleRedraw();
        }
        headless::setPointer(Point{0, 0}, 0);
        EXPECT_EQ(frame->getModalView(), nullptr);
        if (round % 2 == 1) {
            headless::destroyHostWindow(host);  // the host goes first this time
            frame->idleRedraw();
            delete frame;
        } else {
            delete frame;
            headless::destroyHostWindow(host);
        }
        image->release();
        background->release();
    }
    std::printf("Frame lifetimes: %lld surfaces and contexts made, %d live after\n",
                static_cast<long long>(guiObjects::totalCreated() - madeBefore),
                guiObjects::live() - liveBefore);
    EXPECT_EQ(headless::childWindowCount(), windowsBefore);
    EXPECT_EQ(guiObjects::live(), liveBefore);
}

}  // namespace
