// What the leak tests of both ports draw, written once: panels as the editor builds them and the
// views of one Frame. Each port creates the host window, pumps and counts in its own way.
#pragma once

#include <cstring>

#include "gui/Bitmap.h"
#include "gui/Control.h"
#include "gui/DrawContext.h"
#include "gui/Frame.h"
#include "gui/OffscreenContext.h"
#include "gui/PopupPicture.h"
#include "gui/ValueDisplay.h"

namespace leakScene {

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

// The draw cycles' editor: background, a panel over its own image, a value label.
struct CycleViews {
    Bitmap* image;  // the caller releases it after removing the views
    ValueDisplay* label;
};

inline CycleViews addCycleViews(Frame& frame) {
    auto* background = new Bitmap(128);
    frame.setBackground(background);
    background->release();
    auto* image = new Bitmap(&frame, 125, 70);
    frame.addView(new PanelView(Rect{370, 135, 495, 205}, image));
    auto* label = new ValueDisplay(Rect{370, 210, 495, 233}, nullptr, kDisplayShadowText);
    frame.addView(label);
    return CycleViews{image, label};
}

// A temporary off-screen surface per cycle, copied into a scratch canvas, and a colour-keyed draw.
template <typename Canvas>
void drawScratch(Bitmap* keyed) {
    Canvas scratch(60, 60);
    OffscreenContext temporary(scratch.ctx(), nullptr, false);
    temporary.setLineStyle(lineDotted);
    temporary.setLineColor(colorRed);
    temporary.strokeRect(Rect{1, 1, 18, 18});
    temporary.blitTo(scratch.ctx(), Rect{0, 0, 20, 20}, Point{0, 0});
    keyed->drawColorKeyed(scratch.ctx(), Rect{0, 0, 50, 50});
}

// The views of one Frame lifetime: a panel over an image (returned; the caller releases it after
// the Frame), a label with a formatter, and the help picture.
inline Bitmap* addLifetimeViews(Frame* frame) {
    auto* image = new Bitmap(frame, 480, 120);
    frame->addView(new PanelView(Rect{15, 10, 495, 130}, image));
    auto* label = new ValueDisplay(Rect{370, 210, 495, 233}, nullptr, 1);
    label->setFormatter([](float, char* text) { std::strcpy(text, "?"); });
    frame->addView(label);
    auto* help = new Bitmap(133);
    frame->addView(new PopupPicture(Rect{370, 210, 495, 233}, nullptr, 0, help, Rect{0, 0, 525, 300}));
    help->release();
    return image;
}

}  // namespace leakScene
