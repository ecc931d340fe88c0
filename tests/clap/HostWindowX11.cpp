// The host's window on an X display of the test's own.
#ifndef _WIN32
#include <cstdlib>

#include "HostWindow.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace {

Display* hostDisplay() {
    static Display* display = [] {
        const char* name = std::getenv("DISPLAY");
        return name != nullptr && name[0] != 0 ? XOpenDisplay(nullptr) : nullptr;
    }();
    return display;
}

Window toWindow(void* handle) { return static_cast<Window>(reinterpret_cast<uintptr_t>(handle)); }

}  // namespace

bool windowsAvailable() { return hostDisplay() != nullptr; }

void* makeHostWindow(int32_t left, int32_t top, int32_t width, int32_t height) {
    Display* display = hostDisplay();
    XSetWindowAttributes attributes{};
    attributes.override_redirect = True;  // placed where asked, window manager or not
    attributes.background_pixel = WhitePixel(display, DefaultScreen(display));
    const Window window = XCreateWindow(display, DefaultRootWindow(display), left, top,
                                        static_cast<unsigned>(width), static_cast<unsigned>(height), 0,
                                        CopyFromParent, InputOutput, CopyFromParent,
                                        CWOverrideRedirect | CWBackPixel, &attributes);
    XMapRaised(display, window);
    XSync(display, False);
    return reinterpret_cast<void*>(static_cast<uintptr_t>(window));
}

void destroyHostWindow(void* window) {
    XDestroyWindow(hostDisplay(), toWindow(window));
    XSync(hostDisplay(), False);
}

void pumpHostEvents() { XSync(hostDisplay(), False); }

std::vector<uint32_t> hostWindowPixels(void* window, int32_t width, int32_t height) {
    std::vector<uint32_t> pixels;
    XImage* image = XGetImage(hostDisplay(), toWindow(window), 0, 0, static_cast<unsigned>(width),
                              static_cast<unsigned>(height), AllPlanes, ZPixmap);
    if (image == nullptr) return pixels;
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x) pixels.push_back(static_cast<uint32_t>(XGetPixel(image, x, y) & 0xFFFFFF));
    XDestroyImage(image);
    return pixels;
}
#endif
