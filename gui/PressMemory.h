// The press a window event reports, kept for the first polls of the tracking loop it starts;
// both ports use it.
#pragma once

#include <cstdint>

#include "gui/Geometry.h"

namespace pressMemory {

// GUI thread. Holds a button event's buttons and position for the polls made while its
// Frame::mouse runs: the first button poll and the first position poll read the message, later
// ones ask the system live. A press whose button is already up again when its event is
// handled (a quick click in a busy host, or before the next idle on Linux) still counts.
class PressScope {
public:
    PressScope(int32_t buttons, Point screen);
    ~PressScope();
    PressScope(const PressScope&) = delete;
    PressScope& operator=(const PressScope&) = delete;
};

// The unread press state, or false to ask the system.
bool takePressButtons(int32_t& buttons);
bool takePressPosition(Point& screen);

}  // namespace pressMemory
