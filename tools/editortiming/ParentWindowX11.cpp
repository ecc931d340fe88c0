// The timing host's parent window on Linux: a top-level X window on DISPLAY.
#include <cstdint>

#include <X11/Xlib.h>

#include "tools/editortiming/ParentWindow.h"

ParentWindow::ParentWindow() {
    Display* connection = XOpenDisplay(nullptr);
    if (connection == nullptr) return;
    display = connection;
    const Window created = XCreateSimpleWindow(connection, DefaultRootWindow(connection), 40, 40, 600, 400, 0,
                                               0, WhitePixel(connection, DefaultScreen(connection)));
    XMapWindow(connection, created);
    XSync(connection, False);
    window = reinterpret_cast<void*>(static_cast<uintptr_t>(created));
}

ParentWindow::~ParentWindow() {
    auto* connection = static_cast<Display*>(display);
    if (connection == nullptr) return;
    XDestroyWindow(connection, static_cast<Window>(reinterpret_cast<uintptr_t>(window)));
    XCloseDisplay(connection);
}

void ParentWindow::pump() {
    auto* connection = static_cast<Display*>(display);
    if (connection == nullptr) return;
    // Nobody draws the parent; its events only need to leave the queue.
    while (XPending(connection) > 0) {
        XEvent event;
        XNextEvent(connection, &event);
    }
}
