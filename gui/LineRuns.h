// The pixels of a one-pixel line as both ports draw it, in runs: Bresenham from the start,
// leaving the end point out, with the rounding of Windows' own lines: where a line passes
// exactly between two pixels, lines heading into octants 3, 5, 6 and 8 (numbered from east
// turning towards +y) take the minor step early. A dotted line is three pixels on, three off.
// Pixels in a row along the major axis come as one rectangle, so that a port fills a run at a
// time rather than a pixel at a time.
#pragma once

#include <cstdint>
#include <cstdlib>

#include "gui/Geometry.h"

// Calls emit(Rect) for every run of the line's pixels, in the order they are drawn.
template <class Emit>
void forEachLineRun(Point from, Point to, bool dotted, Emit emit) {
    constexpr int32_t kDotRun = 3;
    const int32_t dx = to.h - from.h;
    const int32_t dy = to.v - from.v;
    int32_t octant = 0;
    if (dy > 0) {
        octant = dx > 0 ? (dx > dy ? 1 : 2) : (-dx > dy ? 4 : 3);
    } else {
        octant = dx < 0 ? (-dx > -dy ? 5 : 6) : (dx > -dy ? 8 : 7);
    }
    const bool major = octant == 1 || octant == 4 || octant == 5 || octant == 8;  // x steps every pixel
    const int32_t bias = (octant == 3 || octant == 5 || octant == 6 || octant == 8) ? 1 : 0;
    const int32_t majorLength = major ? std::abs(dx) : std::abs(dy);
    const int32_t minorLength = major ? std::abs(dy) : std::abs(dx);
    const int32_t stepX = dx > 0 ? 1 : -1;
    const int32_t stepY = dy > 0 ? 1 : -1;
    int32_t error = 2 * minorLength - majorLength;
    int32_t x = from.h;
    int32_t y = from.v;
    int32_t runLength = 0;
    Point runStart;
    auto flush = [&] {
        if (runLength > 0) {
            if (major) {
                const int32_t first = stepX > 0 ? runStart.h : runStart.h - runLength + 1;
                emit(Rect{first, runStart.v, first + runLength, runStart.v + 1});
            } else {
                const int32_t first = stepY > 0 ? runStart.v : runStart.v - runLength + 1;
                emit(Rect{runStart.h, first, runStart.h + 1, first + runLength});
            }
        }
        runLength = 0;
    };
    for (int32_t i = 0; i < majorLength; ++i) {
        if (!dotted || (i / kDotRun) % 2 == 0) {
            if (runLength == 0) runStart = Point{x, y};
            ++runLength;
        } else {
            flush();
        }
        const bool minorStep = error + bias > 0;
        error += minorStep ? 2 * minorLength - 2 * majorLength : 2 * minorLength;
        if (major) {
            x += stepX;
            y += minorStep ? stepY : 0;
        } else {
            y += stepY;
            x += minorStep ? stepX : 0;
        }
        if (minorStep) flush();
    }
    flush();
}
