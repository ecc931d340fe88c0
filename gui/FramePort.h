// The window-system work of a Frame, implemented once per port (gui/win32, gui/x11).
#pragma once

#include <cstdint>

#include "gui/Geometry.h"

class Frame;

namespace framePort {

// Per-Frame thread set-up (OLE on Windows, before the drop target is registered); true when it
// took something detachThread gives back. A thread the host set up otherwise keeps its state.
bool attachThread();
void detachThread();
// Registers the shared window class (counted) and makes a visible child window of parent covering
// size; the window's events reach frame. None on failure.
void* createWindow(Frame* frame, void* parent, const Rect& size);
// Detaches the Frame, destroys the window and unregisters the class with the last window.
void destroyWindow(void* window);
// A device context on the window (GetDC) and its release; none without a window.
void* acquireDeviceContext(void* window);
void releaseDeviceContext(void* window, void* deviceContext);
// Screen position of the window's top-left corner.
Point windowPosition(void* window);
// Pointer position in screen coordinates.
Point cursorPosition();
// Sets a cursor kind over window; remembers the current cursor in defaultCursor on the first call.
void setCursor(void* window, int32_t kind, void*& defaultCursor);
// Registers (enabled) or revokes the window's drop target serving frame; true when done.
bool setDropTarget(void* window, Frame* frame, bool enabled);
// Processes the window's pending events (Linux); window messages arrive on their own on Windows.
void pumpEvents(void* window);

}  // namespace framePort
