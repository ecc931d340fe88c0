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

// The colour of each 8-bit index: the palette after the info header, blue, green, red, spare.
bool readPalette(const unsigned char* data, size_t size, Color (&palette)[256]) {
    const uint32_t infoSize = readLe(data + 14, 4);
    uint32_t colours = readLe(data + 46, 4);
    if (colours == 0 || colours > 256) colours = 256;
    const size_t start = 14 + static_cast<size_t>(infoSize);
    if (infoSize < 40 || start > size || (size - start) / 4 < colours) {
        return false;
    }
    for (uint32_t i = 0; i < 256; ++i) {
        const unsigned char* entry = data + start + 4 * static_cast<size_t>(i < colours ? i : 0);
        palette[i] = Color{entry[2], entry[1], entry[0], 0};
    }
    return true;
}

// Writes pixels straight into an image surface's memory (a call per pixel would flush and mark
// the surface each time).
class PixelWriter {
public:
    explicit PixelWriter(cairo_surface_t* image)
        : surface(image), data(cairo_image_surface_get_data(image)), stride(cairo_image_surface_get_stride(image)) {
        cairo_surface_flush(surface);
    }
    ~PixelWriter() { cairo_surface_mark_dirty(surface); }
    PixelWriter(const PixelWriter&) = delete;
    PixelWriter& operator=(const PixelWriter&) = delete;
    // x and y inside the surface.
    void put(int32_t x, int32_t y, Color c) {
        auto* row = reinterpret_cast<uint32_t*>(data + static_cast<ptrdiff_t>(y) * stride);
        row[x] = 0xff000000u | (static_cast<uint32_t>(c.red) << 16) | (static_cast<uint32_t>(c.green) << 8) | c.blue;
    }

private:
    cairo_surface_t* surface;
    unsigned char* data;
    int stride;
};

// Run-length encoded 8-bit rows (BI_RLE8), bottom-up; false on data that runs out.
bool decodeRle8(const unsigned char* at, const unsigned char* end, const Color (&palette)[256], PixelWriter& out,
                int32_t w, int32_t h) {
    int32_t x = 0;
    int32_t row = 0;  // from the bottom
    while (end - at >= 2) {
        const unsigned count = at[0];
        const unsigned value = at[1];
        at += 2;
        if (count > 0) {
            for (unsigned i = 0; i < count && x < w; ++i, ++x) {
                if (row < h) out.put(x, h - 1 - row, palette[value]);
            }
        } else if (value == 0) {
            x = 0;
            ++row;
        } else if (value == 1) {
            return true;
        } else if (value == 2) {
            if (end - at < 2) return false;
            x += at[0];
            row += at[1];
            at += 2;
        } else {
            // value literal indices, padded to a whole 16-bit word
            const size_t span = (static_cast<size_t>(value) + 1) & ~static_cast<size_t>(1);
            if (static_cast<size_t>(end - at) < span) return false;
            for (unsigned i = 0; i < value && x < w; ++i, ++x) {
                if (row < h) out.put(x, h - 1 - row, palette[at[i]]);
            }
            at += span;
        }
    }
    return true;
}

// Uncompressed 24- and 32-bit .bmp files, bottom-up or top-down, and 8-bit ones with a palette,
// plain or run-length encoded (bottom-up); none for anything else.
cairo_surface_t* decodeBmp(const unsigned char* data, size_t size, int32_t& width, int32_t& height) {
    if (data == nullptr || size < 54 || data[0] != 'B' || data[1] != 'M') {
        return nullptr;
    }
    const uint32_t pixelOffset = readLe(data + 10, 4);
    const auto w = static_cast<int32_t>(readLe(data + 18, 4));
    const auto rawHeight = static_cast<int32_t>(readLe(data + 22, 4));
    const uint32_t bits = readLe(data + 28, 2);
    const uint32_t compression = readLe(data + 30, 4);
    const bool rle = bits == 8 && compression == 1;
    if (w <= 0 || rawHeight == 0 || rawHeight == INT32_MIN || (bits != 24 && bits != 32 && bits != 8) ||
        (compression != 0 && !rle) || w > 16384 || (rle && rawHeight < 0)) {
        return nullptr;
    }
    const bool bottomUp = rawHeight > 0;
    const int32_t h = bottomUp ? rawHeight : -rawHeight;
    if (h > 16384) {
        return nullptr;
    }
    Color palette[256];
    if (bits == 8 && !readPalette(data, size, palette)) {
        return nullptr;
    }
    const size_t bytesPerPixel = bits / 8;
    const size_t stride = (static_cast<size_t>(w) * bytesPerPixel + 3) & ~static_cast<size_t>(3);
    if (pixelOffset > size || (!rle && (size - pixelOffset) / stride < static_cast<size_t>(h))) {
        return nullptr;
    }
    cairo_surface_t* surface = x11port::createImage(w, h);
    if (surface == nullptr) {
        return nullptr;
    }
    if (rle) {
        x11port::fillImage(surface, palette[0]);
    }
    bool complete = true;
    {
        PixelWriter out(surface);
        if (rle) {
            complete = decodeRle8(data + pixelOffset, data + size, palette, out, w, h);
        } else {
            for (int32_t y = 0; y < h; ++y) {
                const int32_t fileRow = bottomUp ? h - 1 - y : y;
                const unsigned char* row = data + pixelOffset + static_cast<size_t>(fileRow) * stride;
                for (int32_t x = 0; x < w; ++x) {
                    const unsigned char* p = row + static_cast<size_t>(x) * bytesPerPixel;
                    out.put(x, y, bits == 8 ? palette[p[0]] : Color{p[2], p[1], p[0], 0});
                }
            }
        }
    }
    if (!complete) {
        x11port::destroySurface(surface);
        return nullptr;
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
