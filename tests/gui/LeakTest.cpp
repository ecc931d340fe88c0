// Nothing the toolkit makes outlives its owner: contexts, surfaces, bitmaps, masks and windows.
#include <cstdio>
#include <cstring>

#include "GuiTestSupport.h"
#include "gui/Bitmap.h"
#include "gui/GuiObjectCount.h"
#include "gui/OffscreenContext.h"
#include "gui/PopupPicture.h"
#include "gui/ValueDisplay.h"

namespace {

class LeakTest : public HeadlessTest {};

// A panel as the editor builds them: an off-screen context over a blank image, kept between draws.
class PanelView : public Control {
public:
    PanelView(const Rect& rect, Bitmap* surface) : Control(rect, nullptr, 0), image(surface) {}
    ~PanelView() override { delete context; }
    void draw(DrawContext* target) override {
        if (context == nullptr) {
            context = new OffscreenContext(target, image, false);
        }
        context->setFillColor(Color{250, 250, 250, 0});
        context->fillRect(Rect{0, 0, image->getWidth(), image->getHeight()});
        context->setLineColor(colorBlack);
        context->strokeRect(Rect{2, 2, 20, 20});
        context->setFont(6, 9, faceBold);
        context->setTextColor(colorBlack);
        context->drawText("Atk", Rect{0, 0, 40, 20}, true, alignCenter);
        context->moveTo(Point{1, 1});
        context->lineTo(Point{30, 15});
        context->blitTo(target, size, Point{0, 0});
        setDirty(false);
    }

private:
    Bitmap* image;
    OffscreenContext* context = nullptr;
};

TEST_F(LeakTest, AThousandDrawCyclesEndWithNothingLive) {
    void* host = headless::createHostWindow(0, 0, 600, 400);
    const int32_t liveBefore = guiObjects::live();
    const int64_t madeBefore = guiObjects::totalCreated();
    {
        Frame frame(Rect{0, 0, 525, 300}, host, nullptr);
        auto* background = new Bitmap(128);
        frame.setBackground(background);
        background->release();
        auto* image = new Bitmap(&frame, 125, 70);
        frame.addView(new PanelView(Rect{370, 135, 495, 205}, image));
        auto* label = new ValueDisplay(Rect{370, 210, 495, 233}, nullptr, kDisplayShadowText);
        frame.addView(label);
        auto* keyed = new Bitmap(nullptr, 50, 50);
        frame.idleRedraw();
        for (int cycle = 0; cycle < 1000; ++cycle) {
            label->setValue(static_cast<float>(cycle));
            frame.idleRedraw();
            frame.redrawView(label);
            {
                Canvas scratch(60, 60);
                OffscreenContext temporary(scratch.ctx(), nullptr, false);
                temporary.setLineStyle(lineDotted);
                temporary.setLineColor(colorRed);
                temporary.strokeRect(Rect{1, 1, 18, 18});
                temporary.blitTo(scratch.ctx(), Rect{0, 0, 20, 20}, Point{0, 0});
                keyed->drawColorKeyed(scratch.ctx(), Rect{0, 0, 50, 50});
            }
        }
        EXPECT_GT(guiObjects::totalCreated() - madeBefore, 3000);
        keyed->release();
        frame.removeAllViews(true);
        image->release();
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
        auto* frame = new Frame(Rect{0, 0, background->getWidth(), background->getHeight()}, host,
                                nullptr);
        frame->setBackground(background);
        auto* image = new Bitmap(frame, 480, 120);
        frame->addView(new PanelView(Rect{15, 10, 495, 130}, image));
        auto* label = new ValueDisplay(Rect{370, 210, 495, 233}, nullptr, 1);
        label->setFormatter([](float, char* text) { std::strcpy(text, "?"); });
        frame->addView(label);
        auto* help = new Bitmap(133);
        frame->addView(new PopupPicture(Rect{370, 210, 495, 233}, nullptr, 0, help,
                                        Rect{0, 0, 525, 300}));
        help->release();
        frame->idleRedraw();
        // Open and close the help picture.
        for (int click = 0; click < 2; ++click) {
            headless::setPointer(Point{round + 380, round + 220}, buttonLeft);
            headless::postButtonPress(frame->getWindow(), Point{380, 220});
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
