// Bitmaps on Cairo: image surfaces decoded from the embedded .bmp files, or blank.
#include <cstddef>

#include <cairo.h>

#include "gui/GuiObjectCount.h"
#include "gui/Port.h"
#include "gui/x11/CairoPixels.h"
#include "gui/x11/EmbeddedPictures.h"

struct BitmapPort {
    cairo_surface_t* picture = nullptr;
    int32_t width = 0;
    int32_t height = 0;
    // Opaque where the picture is drawn, clear where it has the colour key; made by the first
    // colour-keyed draw.
    cairo_surface_t* mask = nullptr;
};

void PortDeleter::operator()(BitmapPort* bitmap) const {
    if (bitmap != nullptr) {
        x11port::destroySurface(bitmap->picture);
        x11port::destroySurface(bitmap->mask);
        delete bitmap;
    }
}

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

BitmapPort* holding(cairo_surface_t* picture, int32_t width, int32_t height) {
    if (picture == nullptr) {
        return nullptr;
    }
    auto* bitmap = new BitmapPort;
    bitmap->picture = picture;
    bitmap->width = width;
    bitmap->height = height;
    return bitmap;
}

cairo_surface_t* makeMask(const BitmapPort& bitmap, Color key) {
    cairo_surface_t* alpha = cairo_image_surface_create(CAIRO_FORMAT_A8, bitmap.width, bitmap.height);
    if (cairo_surface_status(alpha) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(alpha);
        return nullptr;
    }
    guiObjects::created();
    cairo_surface_flush(alpha);
    unsigned char* data = cairo_image_surface_get_data(alpha);
    const int stride = cairo_image_surface_get_stride(alpha);
    for (int32_t y = 0; y < bitmap.height; ++y) {
        for (int32_t x = 0; x < bitmap.width; ++x) {
            const Color pixel = x11port::readPixel(bitmap.picture, x, y);
            data[static_cast<ptrdiff_t>(y) * stride + x] = sameRgb(pixel, key) ? 0 : 255;
        }
    }
    cairo_surface_mark_dirty(alpha);
    return alpha;
}

}  // namespace

namespace port {

BitmapPort* loadBitmap(int32_t id, int32_t& width, int32_t& height) {
    const EmbeddedPicture* picture = findEmbeddedPicture(id);
    if (picture == nullptr) {
        return nullptr;
    }
    int32_t w = 0;
    int32_t h = 0;
    BitmapPort* bitmap = holding(decodeBmp(picture->bmp, picture->size, w, h), w, h);
    if (bitmap != nullptr) {
        width = w;
        height = h;
    }
    return bitmap;
}

BitmapPort* createBitmap(int32_t width, int32_t height) {
    return holding(x11port::createImage(width, height), width, height);
}

void* bitmapHandle(const BitmapPort& bitmap) { return bitmap.picture; }

bool bitmapHasMask(const BitmapPort& bitmap) { return bitmap.mask != nullptr; }

void drawBitmap(BitmapPort& bitmap, void* deviceContext, const Rect& destination, Point source) {
    auto* cairo = static_cast<cairo_t*>(deviceContext);
    const int32_t w = destination.right - destination.left;
    const int32_t h = destination.bottom - destination.top;
    if (cairo == nullptr || w <= 0 || h <= 0) {
        return;
    }
    cairo_surface_flush(bitmap.picture);
    cairo_save(cairo);
    cairo_set_operator(cairo, CAIRO_OPERATOR_SOURCE);
    cairo_set_source_surface(cairo, bitmap.picture, destination.left - source.h, destination.top - source.v);
    cairo_rectangle(cairo, destination.left, destination.top, w, h);
    cairo_fill(cairo);
    cairo_restore(cairo);
}

void drawBitmapScaled(BitmapPort& bitmap, void* deviceContext, const Rect& destination, const Rect& source) {
    auto* cairo = static_cast<cairo_t*>(deviceContext);
    if (cairo == nullptr || destination.width() <= 0 || destination.height() <= 0 || source.width() <= 0 ||
        source.height() <= 0) {
        return;
    }
    cairo_surface_flush(bitmap.picture);
    cairo_save(cairo);
    cairo_rectangle(cairo, destination.left, destination.top, destination.width(), destination.height());
    cairo_clip(cairo);
    cairo_translate(cairo, destination.left, destination.top);
    cairo_scale(cairo, static_cast<double>(destination.width()) / source.width(),
                static_cast<double>(destination.height()) / source.height());
    cairo_set_source_surface(cairo, bitmap.picture, -source.left, -source.top);
    // Averaged down (or interpolated up), and the picture's edge repeated rather than faded out.
    cairo_pattern_set_filter(cairo_get_source(cairo), CAIRO_FILTER_GOOD);
    cairo_pattern_set_extend(cairo_get_source(cairo), CAIRO_EXTEND_PAD);
    cairo_set_operator(cairo, CAIRO_OPERATOR_SOURCE);
    cairo_paint(cairo);
    cairo_restore(cairo);
}

void drawBitmapColorKeyed(BitmapPort& bitmap, void* deviceContext, const Rect& destination, Point source,
                          Color key) {
    auto* cairo = static_cast<cairo_t*>(deviceContext);
    const int32_t w = destination.right - destination.left;
    const int32_t h = destination.bottom - destination.top;
    if (cairo == nullptr) {
        return;
    }
    if (bitmap.mask == nullptr) {
        bitmap.mask = makeMask(bitmap, key);
    }
    if (bitmap.mask == nullptr || w <= 0 || h <= 0) {
        return;
    }
    cairo_surface_flush(bitmap.picture);
    const double originX = destination.left - source.h;
    const double originY = destination.top - source.v;
    cairo_save(cairo);
    cairo_rectangle(cairo, destination.left, destination.top, w, h);
    cairo_clip(cairo);
    cairo_set_operator(cairo, CAIRO_OPERATOR_OVER);
    cairo_set_source_surface(cairo, bitmap.picture, originX, originY);
    cairo_mask_surface(cairo, bitmap.mask, originX, originY);
    cairo_restore(cairo);
}

}  // namespace port
