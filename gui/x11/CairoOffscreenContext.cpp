// OffscreenContext on Cairo: an image surface of its own, or the Bitmap's own pixels.
#include "gui/OffscreenContext.h"

#include "gui/Bitmap.h"
#include "gui/x11/CairoPixels.h"

OffscreenContext::OffscreenContext(DrawContext* parent, Bitmap* bitmap, bool drawIntoBitmap)
    : DrawContext(parent != nullptr ? parent->getFrame() : nullptr, nullptr, nullptr),
      sourceBitmap(bitmap) {
    if (bitmap != nullptr) {
        width = bitmap->getWidth();
        height = bitmap->getHeight();
    }
    // A fresh memory surface draws with the platform's defaults (black pen and text) until the
    // owner sets colours, as the Windows port's memory device context does.
    lineColor = colorBlack;
    textColor = colorBlack;
    fillColor = colorWhite;
    if (drawIntoBitmap && bitmap != nullptr) {
        deviceContext = x11port::createCairo(static_cast<cairo_surface_t*>(bitmap->getHandle()));
    } else {
        auto* surface = x11port::createImage(width, height);
        if (surface != nullptr) {
            memoryBitmap = surface;
            ownsBitmap = true;
            deviceContext = x11port::createCairo(surface);
        }
    }
    if (deviceContext == nullptr || drawIntoBitmap) {
        return;
    }
    paintCopyOrBlack();
}

OffscreenContext::~OffscreenContext() {
    x11port::destroyCairo(static_cast<cairo_t*>(deviceContext));
    deviceContext = nullptr;
    if (ownsBitmap) {
        x11port::destroySurface(static_cast<cairo_surface_t*>(memoryBitmap));
    }
    memoryBitmap = nullptr;
}

void OffscreenContext::blitTo(DrawContext* destination, const Rect& destinationRect, Point source) {
    auto* target = destination != nullptr ? static_cast<cairo_t*>(destination->getDeviceContext())
                                          : nullptr;
    auto* self = static_cast<cairo_t*>(deviceContext);
    const int32_t w = destinationRect.right - destinationRect.left;
    const int32_t h = destinationRect.bottom - destinationRect.top;
    if (target == nullptr || self == nullptr || w <= 0 || h <= 0) {
        return;
    }
    cairo_surface_t* surface = cairo_get_target(self);
    cairo_surface_flush(surface);
    cairo_save(target);
    cairo_set_operator(target, CAIRO_OPERATOR_SOURCE);
    cairo_set_source_surface(target, surface, destinationRect.left - source.h,
                             destinationRect.top - source.v);
    cairo_rectangle(target, destinationRect.left, destinationRect.top, w, h);
    cairo_fill(target);
    cairo_restore(target);
}
