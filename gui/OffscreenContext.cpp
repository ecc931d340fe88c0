// OffscreenContext: a drawing context on a memory surface the port makes.
#include "gui/OffscreenContext.h"

#include "gui/Bitmap.h"

OffscreenContext::OffscreenContext(DrawContext* parent, Bitmap* bitmap, bool drawIntoBitmap)
    : DrawContext(parent != nullptr ? parent->getFrame() : nullptr, nullptr, nullptr), sourceBitmap(bitmap) {
    if (bitmap != nullptr) {
        width = bitmap->getWidth();
        height = bitmap->getHeight();
        scale = bitmap->getScale();
    } else if (parent != nullptr) {
        scale = parent->getScale();
    }
    const int32_t pixelWidth = bitmap != nullptr ? bitmap->getPixelWidth() : scale.device(width);
    const int32_t pixelHeight = bitmap != nullptr ? bitmap->getPixelHeight() : scale.device(height);
    // A fresh memory surface draws with the platform's defaults (black pen and text, white fill)
    // until the owner sets colours.
    lineColor = colorBlack;
    textColor = colorBlack;
    fillColor = colorWhite;
    void* memory = nullptr;
    surface.reset(port::openOffscreen(parent != nullptr ? parent->getDeviceContext() : nullptr,
                                      bitmap != nullptr ? bitmap->getHandle() : nullptr, drawIntoBitmap,
                                      pixelWidth, pixelHeight, memory));
    if (memory == nullptr) {
        return;
    }
    deviceContext = memory;
    portState.reset(port::openContext(memory));
    if (!drawIntoBitmap) {
        paintCopyOrBlack();
    }
}

OffscreenContext::~OffscreenContext() {
    // What the context selected into the surface leaves it before the surface goes.
    portState.reset();
    surface.reset();
    deviceContext = nullptr;
}

void OffscreenContext::blitTo(DrawContext* destination, const Rect& destinationRect, Point source) {
    if (destination != nullptr) {
        port::copyPixels(deviceContext, destination->getDeviceContext(),
                         destination->getScale().device(destinationRect), scale.device(source));
    }
}

void OffscreenContext::paintCopyOrBlack() {
    if (sourceBitmap != nullptr) {
        sourceBitmap->draw(this, Rect{0, 0, width, height}, Point{0, 0});
    } else {
        setFillColor(colorBlack);
        fillRect(Rect{0, 0, width, height});
    }
}
