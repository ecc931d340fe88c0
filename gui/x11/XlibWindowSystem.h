// The X server window system: child windows of the host's X window through Xlib.
#pragma once

#include "gui/x11/WindowSystem.h"

namespace x11port {

// Whether an X display can be opened at all (DISPLAY set and the server answers).
bool displayAvailable();
WindowSystem& xlibWindowSystem();

}  // namespace x11port
