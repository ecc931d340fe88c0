// Reading and writing single pixels of Cairo image surfaces (bitmaps, off-screen and window pixels).
#pragma once

#include <cstdint>

#include <cairo.h>

#include "gui/Color.h"

namespace x11port {

// colorBlack outside the surface or when it is not an image surface.
Color readPixel(cairo_surface_t* surface, int32_t x, int32_t y);
void writePixel(cairo_surface_t* surface, int32_t x, int32_t y, Color color);
// Paints all of an image surface in one colour.
void fillImage(cairo_surface_t* surface, Color color);

// Surfaces and contexts counted as toolkit objects (see guiObjects).
cairo_surface_t* createImage(int32_t width, int32_t height);
void destroySurface(cairo_surface_t* surface);
cairo_t* createCairo(cairo_surface_t* surface);
void destroyCairo(cairo_t* cairo);

}  // namespace x11port
