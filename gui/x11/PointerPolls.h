// The pointer as a control's tracking loop polls it on Linux. A press is read from the X queue
// only at the next idle, when its button may already be up again: the first button poll and the
// first position poll of a press report what the press event carried, later ones ask live.
#pragma once

#include <cstdint>

#include "gui/Geometry.h"
#include "gui/x11/WindowSystem.h"

namespace x11port {

// buttonLeft | ... | modAlt; window: the polling context's window or none.
int32_t pollButtons(void* window);
// Screen position of the pointer.
Point pollPosition(void* window);

}  // namespace x11port
