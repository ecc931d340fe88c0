// One pointer event as a window reports it to the views: the press that starts a drag, each move
// while a button is held, and the release that ends it.
#pragma once

#include <cstdint>

#include "gui/Geometry.h"

struct MouseEvent {
    // Unscaled window pixels.
    Point where;
    // buttonLeft | ... | modAlt held at the event (a release: those still held after it).
    int32_t buttons = 0;
    // A press: 2 when it is the second of a double-click, else 1.
    int32_t clicks = 1;
};
