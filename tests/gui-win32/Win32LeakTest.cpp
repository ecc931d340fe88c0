// No GDI object or device context outlives its owner: a thousand draw cycles and a hundred Frame
// lifetimes end with the port's count where it started.
#include <cstdio>
#include <cstring>

#include "Win32TestSupport.h"
#include "gui/Bitmap.h"
#include "gui/GuiObjectCount.h"
#include "gui/OffscreenContext.h"
#include "gui/PopupPicture.h"
#include "gui/ValueDisplay.h"

namespace {

class Win32LeakTest : public Win32Test {};

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

TEST_F(Win32LeakTest, AThousandDrawCyclesEndWithNothingLive) {
    HostWindow host(0, 0, 600, 400);
    const int32_t before = guiObjects::live();
    const int64_t made = guiObjects::totalCreated();
    {
        Frame frame(Rect{0, 0, 525, 300}, host.get(), nullptr);
        auto* background = new Bitmap(128);
        frame.setBackground(background);
        background->release();
        auto* image = new Bitmap(&frame, 125, 70);
        frame.addView(new PanelView(Rect{370, 135, 495, 205}, image));
        auto* label = new ValueDisplay(Rect{370, 210, 495, 233}, nullptr, kDisplayShadowText);
        frame.addView(label);
        auto* keyed = new Bitmap(nullptr, 50, 50);
        pumpUntil([&] { return !frame.isFirstDrawPending(); });
        for (int cycle = 0; cycle < 1000; ++cycle) {
            label->setValue(static_cast<float>(cycle));
            frame.idleRedraw();
            frame.redrawView(label);
            GdiCanvas scratch(60, 60);
            OffscreenContext temporary(scratch.ctx(), nullptr, false);
            temporary.setLineStyle(lineDotted);
            temporary.setLineColor(colorRed);
            temporary.strokeRect(Rect{1, 1, 18, 18});
            temporary.blitTo(scratch.ctx(), Rect{0, 0, 20, 20}, Point{0, 0});
            keyed->drawColorKeyed(scratch.ctx(), Rect{0, 0, 50, 50});
        }
        keyed->release();
        frame.removeAllViews(true);
        image->release();
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
        auto* image = new Bitmap(frame, 480, 120);
        frame->addView(new PanelView(Rect{15, 10, 495, 130}, image));
        auto* label = new ValueDisplay(Rect{370, 210, 495, 233}, nullptr, 1);
        label->setFormatter([](float, char* text) { std::strcpy(text, "?"); });
        frame->addView(label);
        auto* help = new Bitmap(133);
        frame->addView(new PopupPicture(Rect{370, 210, 495, 233}, nullptr, 0, help,
                                        Rect{0, 0, 525, 300}));
        help->release();
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
