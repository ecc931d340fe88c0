// Pixel access and counted creation of Cairo surfaces and contexts.
#include "gui/x11/CairoPixels.h"

#include <cstddef>

#include "gui/GuiObjectCount.h"

namespace x11port {

namespace {

uint32_t* pixelAddress(cairo_surface_t* surface, int32_t x, int32_t y) {
    if (surface == nullptr || cairo_surface_get_type(surface) != CAIRO_SURFACE_TYPE_IMAGE) {
        return nullptr;
    }
    const cairo_format_t format = cairo_image_surface_get_format(surface);
    if (format != CAIRO_FORMAT_RGB24 && format != CAIRO_FORMAT_ARGB32) {
        return nullptr;
    }
    if (x < 0 || y < 0 || x >= cairo_image_surface_get_width(surface) ||
        y >= cairo_image_surface_get_height(surface)) {
        return nullptr;
    }
    unsigned char* row = cairo_image_surface_get_data(surface) +
                         static_cast<ptrdiff_t>(y) * cairo_image_surface_get_stride(surface);
    return reinterpret_cast<uint32_t*>(row) + x;
}

}  // namespace

Color readPixel(cairo_surface_t* surface, int32_t x, int32_t y) {
    if (surface != nullptr) {
        cairo_surface_flush(surface);
    }
    const uint32_t* address = pixelAddress(surface, x, y);
    if (address == nullptr) {
        return colorBlack;
    }
    const uint32_t value = *address;
    return Color{static_cast<uint8_t>(value >> 16), static_cast<uint8_t>(value >> 8),
                 static_cast<uint8_t>(value), 0};
}

void writePixel(cairo_surface_t* surface, int32_t x, int32_t y, Color color) {
    if (surface != nullptr) {
        cairo_surface_flush(surface);
    }
    uint32_t* address = pixelAddress(surface, x, y);
    if (address == nullptr) {
        return;
    }
    *address = 0xff000000u | (static_cast<uint32_t>(color.red) << 16) |
               (static_cast<uint32_t>(color.green) << 8) | color.blue;
    cairo_surface_mark_dirty(surface);
}

void fillImage(cairo_surface_t* surface, Color color) {
    if (surface == nullptr) {
        return;
    }
    cairo_t* cairo = cairo_create(surface);
    cairo_set_operator(cairo, CAIRO_OPERATOR_SOURCE);
    cairo_set_source_rgb(cairo, color.red / 255.0, color.green / 255.0, color.blue / 255.0);
    cairo_paint(cairo);
    cairo_destroy(cairo);
    cairo_surface_flush(surface);
}

cairo_surface_t* createImage(int32_t width, int32_t height) {
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
    if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(surface);
        return nullptr;
    }
    guiObjects::created();
    return surface;
}

void destroySurface(cairo_surface_t* surface) {
    if (surface != nullptr) {
        cairo_surface_destroy(surface);
        guiObjects::deleted();
    }
}

cairo_t* createCairo(cairo_surface_t* surface) {
    if (surface == nullptr) {
        return nullptr;
    }
    cairo_t* cairo = cairo_create(surface);
    if (cairo_status(cairo) != CAIRO_STATUS_SUCCESS) {
        cairo_destroy(cairo);
        return nullptr;
    }
    guiObjects::created();
    return cairo;
}

void destroyCairo(cairo_t* cairo) {
    if (cairo != nullptr) {
        cairo_destroy(cairo);
        guiObjects::deleted();
    }
}

}  // namespace x11port
