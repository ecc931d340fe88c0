// Off-screen surfaces on Cairo: an image surface of its own, or a Bitmap's own pixels.
#include <cairo.h>

#include "gui/Port.h"
#include "gui/x11/CairoPixels.h"

struct OffscreenPort {
    cairo_t* cairo = nullptr;
    // A surface of our own, none when drawing into a Bitmap's pixels.
    cairo_surface_t* ownSurface = nullptr;
};

void PortDeleter::operator()(OffscreenPort* surface) const {
    if (surface != nullptr) {
        x11port::destroyCairo(surface->cairo);
        x11port::destroySurface(surface->ownSurface);
        delete surface;
    }
}

namespace port {

OffscreenPort* openOffscreen(void* /*parentDeviceContext*/, void* bitmapHandle, bool drawIntoBitmap,
                             int32_t width, int32_t height, void*& deviceContext) {
    auto* surface = new OffscreenPort;
    if (drawIntoBitmap) {
        surface->cairo = x11port::createCairo(static_cast<cairo_surface_t*>(bitmapHandle));
    } else {
        surface->ownSurface = x11port::createImage(width, height);
        surface->cairo = x11port::createCairo(surface->ownSurface);
    }
    deviceContext = surface->cairo;
    return surface;
}

void copyPixels(void* sourceDeviceContext, void* destinationDeviceContext, const Rect& destination,
                Point source) {
    auto* from = static_cast<cairo_t*>(sourceDeviceContext);
    auto* to = static_cast<cairo_t*>(destinationDeviceContext);
    const int32_t w = destination.right - destination.left;
    const int32_t h = destination.bottom - destination.top;
    if (from == nullptr || to == nullptr || w <= 0 || h <= 0) {
        return;
    }
    cairo_surface_t* pixels = cairo_get_target(from);
    cairo_surface_flush(pixels);
    cairo_save(to);
    cairo_set_operator(to, CAIRO_OPERATOR_SOURCE);
    cairo_set_source_surface(to, pixels, destination.left - source.h, destination.top - source.v);
    cairo_rectangle(to, destination.left, destination.top, w, h);
    cairo_fill(to);
    cairo_restore(to);
}

}  // namespace port
