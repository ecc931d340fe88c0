// The timing host's parent window on Linux: a top-level X window on DISPLAY.
#include <cstdint>

#include <ctime>

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

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

void ParentWindow::resize(int width, int height) {
    auto* connection = static_cast<Display*>(display);
    if (connection == nullptr) return;
    XResizeWindow(connection, static_cast<Window>(reinterpret_cast<uintptr_t>(window)),
                  static_cast<unsigned>(width), static_cast<unsigned>(height));
    XSync(connection, False);
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

bool ParentWindow::holdButton(int x, int y, double seconds) {
    auto* connection = static_cast<Display*>(display);
    if (connection == nullptr) return false;
    int event = 0, error = 0, major = 0, minor = 0;
    if (!XTestQueryExtension(connection, &event, &error, &major, &minor)) return false;
    int rootX = 0, rootY = 0;
    Window child = 0;
    XTranslateCoordinates(connection, static_cast<Window>(reinterpret_cast<uintptr_t>(window)),
                          DefaultRootWindow(connection), x, y, &rootX, &rootY, &child);
    XTestFakeMotionEvent(connection, DefaultScreen(connection), rootX, rootY, CurrentTime);
    XTestFakeButtonEvent(connection, 1, True, CurrentTime);
    // The server itself waits this long before it releases the button.
    XTestFakeButtonEvent(connection, 1, False, static_cast<unsigned long>(seconds * 1000.0));
    XFlush(connection);
    return true;
}

double processCpuSeconds() {
    timespec used{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &used);
    return static_cast<double>(used.tv_sec) + static_cast<double>(used.tv_nsec) * 1e-9;
}
