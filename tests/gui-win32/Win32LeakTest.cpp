// No GDI object or device context outlives its owner: a thousand draw cycles and a hundred Frame
// lifetimes end with the port's count where it started.
#include <cstdio>

#include "LeakScene.h"
#include "Win32TestSupport.h"
#include "gui/Bitmap.h"
#include "gui/GuiObjectCount.h"
#include "gui/OffscreenContext.h"
#include "gui/PopupPicture.h"
#include "gui/ValueDisplay.h"

namespace {

using namespace leakScene;

class Win32LeakTest : public Win32Test {};

TEST_F(Win32LeakTest, AThousandDrawCyclesEndWithNothingLive) {
    HostWindow host(0, 0, 600, 400);
    const int32_t before = guiObjects::live();
    const int64_t made = guiObjects::totalCreated();
    {
        Frame frame(Rect{0, 0, 525, 300}, host.get(), nullptr);
        const CycleViews views = addCycleViews(frame);
        auto* keyed = new Bitmap(nullptr, 50, 50);
        pumpUntil([&] { return !frame.isFirstDrawPending(); });
        for (int cycle = 0; cycle < 1000; ++cycle) {
            views.label->setValue(static_cast<float>(cycle));
            frame.idleRedraw();
            frame.redrawView(views.label);
            drawScratch<GdiCanvas>(keyed);
        }
        keyed->release();
        frame.removeAllViews(true);
        views.image->release();
    }
    std::printf("%lld GDI objects and device contexts made, %d live after\n",
                static_cast<long long>(guiObjects::totalCreated() - made), guiObjects::live() - before);
    EXPECT_EQ(guiObjects::live(), before);
}

TEST_F(Win32LeakTest, AHundredFrameLifetimesEndWithNothingLive) {
    const int32_t before = guiObjects::live();
    const int64_t made = guiObjects::totalCreated();
    for (int round = 0; round < 100; ++round) {
        HostWindow host(0, 0, 600, 400);
        auto* background = new Bitmap(128);
        auto* frame = new Frame(Rect{0, 0, 525, 300}, host.get(), nullptr);
        frame->setBackground(background);
        Bitmap* image = addLifetimeViews(frame);
        InvalidateRect(static_cast<HWND>(frame->getWindow()), nullptr, TRUE);
        UpdateWindow(static_cast<HWND>(frame->getWindow()));
        frame->idleRedraw();
        frame->redrawView(nullptr);
        if (round % 2 == 1) {
            host.destroy();  // the host goes first this time
        }
        delete frame;
        image->release();
        background->release();
    }
    std::printf("%lld GDI objects and device contexts made, %d live after\n",
                static_cast<long long>(guiObjects::totalCreated() - made), guiObjects::live() - before);
    EXPECT_EQ(guiObjects::live(), before);
}

}  // namespace
