// The X server window system: child windows of the host's X window through Xlib.
#pragma once

#include "gui/x11/WindowSystem.h"

namespace x11port {

// Whether an X display can be opened at all (DISPLAY set and the server answers).
bool displayAvailable();
WindowSystem& xlibWindowSystem();
// Whether the toolkit's own connection to the X server is open: from the first toolkit window
// to the destruction of the last, as a window class is registered on Windows.
bool displayConnectionOpen();
// The connection's file descriptor, -1 while it is closed.
int connectionFd();

}  // namespace x11port
