// The Linux port's window system: the X server, or a headless stand-in that tests can drive.
#pragma once

#include <cstdint>

#include <cairo.h>

#include "gui/Color.h"
#include "gui/Geometry.h"

namespace x11port {

struct WindowEvent {
    enum class Kind { Paint, Press, Motion, Release, Wheel, Destroyed };
    Kind kind = Kind::Paint;
    Rect area;    // Paint: the area to repaint, right and bottom outside
    Point where;  // Press, Motion, Release, Wheel: window coordinates
    // Press: where the pointer was on the screen. Press, Motion, Wheel: buttonLeft | ... |
    // modAlt held (a press's own button included); Release: those held after it.
    Point screen;
    int32_t buttons = 0;
    uint32_t time = 0;     // Press: the server's milliseconds
    float distance = 0.0f;  // Wheel: notches, positive away from the user
};

// What the Windows port's window class erases with before it paints (the system's button face):
// the standard Windows scheme's button-face grey. Toolkit windows show it wherever nothing has
// been drawn yet.
inline constexpr Color kEraseColor{240, 240, 240, 0};

// GUI thread only. Window handles are opaque: X window ids, or headless window ids.
class WindowSystem {
public:
    virtual ~WindowSystem() = default;

    // A mapped child window of parent that reports exposure, button presses and its destruction;
    // none when the parent is unknown or the system cannot be reached.
    virtual void* createChild(void* parent, int32_t width, int32_t height) = 0;
    virtual void destroyWindow(void* window) = 0;
    // Takes the window off the screen.
    virtual void hideWindow(void* window) = 0;
    virtual void showWindow(void* window) = 0;
    // A new Cairo surface drawing onto the window, or none when the window is gone.
    virtual cairo_surface_t* windowSurface(void* window) = 0;
    // Makes what was drawn onto the window visible.
    virtual void flush(void* window) = 0;
    // Screen position of the window's top-left corner.
    virtual Point windowPosition(void* window) = 0;
    // Screen position of the pointer, asked now; buttons receives buttonLeft | ... | modAlt.
    // Asked about one of our windows that is gone (the host destroyed it), the buttons read as
    // released, so that a drag over it ends. buttonPoll: a tracking loop's button poll (headless
    // scripts advance on these; position questions read the sample taken last).
    virtual Point pointer(void* window, int32_t& buttons, bool buttonPoll) = 0;
    // The next pending event of the window among the kinds asked for (exposeOnly: paints and
    // destruction; the pointer's stay queued); false when there is none.
    virtual bool nextEvent(void* window, WindowEvent& event, bool exposeOnly) = 0;
    // Sends the wheel turn nextEvent reported last for the window on to the host's window (no
    // view used it), with its release.
    virtual void forwardWheel(void* window) = 0;
    // cursorDefault .. cursorResizeDiagonalDown over the window.
    virtual void setCursor(void* window, int32_t kind) = 0;
    // The screen's dots per inch as desktop toolkits read them (Xft.dpi), 0 when not set.
    virtual double screenDpi() = 0;
    // The work area's size as the desktop publishes it (_NET_WORKAREA), else the screen's; 0, 0
    // when unknown.
    virtual Point workArea() = 0;
};

// The headless system when it was chosen or no X display can be opened, else the X server.
WindowSystem& windowSystem();

}  // namespace x11port
