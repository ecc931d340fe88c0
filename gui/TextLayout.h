// Where one line of text goes in its box: the placement rules both drawing ports share.
#pragma once

#include <cstdint>

#include "gui/Geometry.h"

// Font and text measures in whole pixels.
struct TextMetrics {
    int32_t ascent = 0;  // baseline below the top of the character cell
    int32_t height = 0;  // ascent plus descent
    int32_t width = 0;   // advance of the whole text
};

struct TextPlacement {
    Point origin;  // top-left corner of the first character cell
    Rect clip;     // the text box, right and bottom outside
};

// Vertically centred; centred or right-aligned for alignCenter and alignRight, otherwise left
// aligned one pixel in from rect.left.
TextPlacement placeText(const Rect& rect, int32_t alignment, const TextMetrics& metrics);
