// Bitmap on Cairo: image surfaces decoded from the embedded .bmp files, or blank.
#include "gui/Bitmap.h"

#include <cstddef>

#include <cairo.h>

#include "gui/DrawContext.h"
#include "gui/GuiObjectCount.h"
#include "gui/x11/CairoPixels.h"
#include "gui/x11/EmbeddedPictures.h"

namespace {

uint32_t readLe(const unsigned char* bytes, int count) {
    uint32_t value = 0;
    for (int i = count - 1; i >= 0; --i) {
        value = (value << 8) | bytes[i];
    }
    return value;
}

// Uncompressed 24- and 32-bit .bmp files, bottom-up or top-down; none for anything else.
cairo_surface_t* decodeBmp(const unsigned char* data, size_t size, int32_t& width, int32_t& height) {
    if (data == nullptr || size < 54 || data[0] != 'B' || data[1] != 'M') {
        return nullptr;
    }
    const uint32_t pixelOffset = readLe(data + 10, 4);
    const auto w = static_cast<int32_t>(readLe(data + 18, 4));
    const auto rawHeight = static_cast<int32_t>(readLe(data + 22, 4));
    const uint32_t bits = readLe(data + 28, 2);
    const uint32_t compression = readLe(data + 30, 4);
    if (w <= 0 || rawHeight == 0 || rawHeight == INT32_MIN || (bits != 24 && bits != 32) ||
        compression != 0 || w > 16384) {
        return nullptr;
    }
    const bool bottomUp = rawHeight > 0;
    const int32_t h = bottomUp ? rawHeight : -rawHeight;
    if (h > 16384) {
        return nullptr;
    }
    const size_t bytesPerPixel = bits / 8;
    const size_t stride = (static_cast<size_t>(w) * bytesPerPixel + 3) & ~static_cast<size_t>(3);
    if (pixelOffset > size || (size - pixelOffset) / stride < static_cast<size_t>(h)) {
        return nullptr;
    }
    cairo_surface_t* surface = x11port::createImage(w, h);
    if (surface == nullptr) {
        return nullptr;
    }
    for (int32_t y = 0; y < h; ++y) {
        const int32_t fileRow = bottomUp ? h - 1 - y : y;
        const unsigned char* row = data + pixelOffset + static_cast<size_t>(fileRow) * stride;
        for (int32_t x = 0; x < w; ++x) {
            const unsigned char* p = row + static_cast<size_t>(x) * bytesPerPixel;
            x11port::writePixel(surface, x, y, Color{p[2], p[1], p[0], 0});
        }
    }
    width = w;
    height = h;
    return surface;
}

cairo_t* cairoOf(DrawContext* context) {
    return context != nullptr ? static_cast<cairo_t*>(context->getDeviceContext()) : nullptr;
}

}  // namespace

Bitmap::Bitmap(int32_t id) : resourceId(id) {
    const EmbeddedPicture* picture = findEmbeddedPicture(id & 0xffff);
    if (picture != nullptr) {
        handle = decodeBmp(picture->bmp, picture->size, width, height);
    }
}

Bitmap::Bitmap(Frame* /*frame*/, int32_t w, int32_t h) {
    if (w > 0 && h > 0) {
        handle = x11port::createImage(w, h);
    }
    if (handle != nullptr) {
        width = w;
        height = h;
    }
}

Bitmap::~Bitmap() {
    x11port::destroySurface(static_cast<cairo_surface_t*>(handle));
    x11port::destroySurface(static_cast<cairo_surface_t*>(mask));
}

void Bitmap::draw(DrawContext* context, const Rect& destination, Point source) {
    cairo_t* cairo = cairoOf(context);
    const int32_t w = destination.right - destination.left;
    const int32_t h = destination.bottom - destination.top;
    if (handle == nullptr || cairo == nullptr || w <= 0 || h <= 0) {
        return;
    }
    auto* surface = static_cast<cairo_surface_t*>(handle);
    cairo_surface_flush(surface);
    cairo_save(cairo);
    cairo_set_operator(cairo, CAIRO_OPERATOR_SOURCE);
    cairo_set_source_surface(cairo, surface, destination.left - source.h, destination.top - source.v);
    cairo_rectangle(cairo, destination.left, destination.top, w, h);
    cairo_fill(cairo);
    cairo_restore(cairo);
}

// The mask is opaque where the picture is drawn and clear where it has the colour key.
void Bitmap::makeMask(DrawContext* /*context*/) {
    auto* picture = static_cast<cairo_surface_t*>(handle);
    cairo_surface_t* alpha = cairo_image_surface_create(CAIRO_FORMAT_A8, width, height);
    if (cairo_surface_status(alpha) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(alpha);
        return;
    }
    guiObjects::created();
    cairo_surface_flush(alpha);
    unsigned char* data = cairo_image_surface_get_data(alpha);
    const int stride = cairo_image_surface_get_stride(alpha);
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x) {
            const Color pixel = x11port::readPixel(picture, x, y);
            data[static_cast<ptrdiff_t>(y) * stride + x] = sameRgb(pixel, colorKey) ? 0 : 255;
        }
    }
    cairo_surface_mark_dirty(alpha);
    mask = alpha;
}

void Bitmap::drawColorKeyed(DrawContext* context, const Rect& destination, Point source) {
    cairo_t* cairo = cairoOf(context);
    const int32_t w = destination.right - destination.left;
    const int32_t h = destination.bottom - destination.top;
    if (handle == nullptr || cairo == nullptr) {
        return;
    }
    if (mask == nullptr) {
        makeMask(context);
    }
    if (mask == nullptr || w <= 0 || h <= 0) {
        return;
    }
    auto* surface = static_cast<cairo_surface_t*>(handle);
    cairo_surface_flush(surface);
    const double originX = destination.left - source.h;
    const double originY = destination.top - source.v;
    cairo_save(cairo);
    cairo_rectangle(cairo, destination.left, destination.top, w, h);
    cairo_clip(cairo);
    cairo_set_operator(cairo, CAIRO_OPERATOR_OVER);
    cairo_set_source_surface(cairo, surface, originX, originY);
    cairo_mask_surface(cairo, static_cast<cairo_surface_t*>(mask), originX, originY);
    cairo_restore(cairo);
}
