// The X server window system: one connection shared by all toolkit windows, opened with the first
// and closed with the last; nobody else reads it, so the editor's idle is its only event pump.
#include "gui/x11/XlibWindowSystem.h"

#include <cstdlib>
#include <cstring>
#include <map>

#include <X11/Xlib.h>
#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <X11/cursorfont.h>
#include <cairo-xlib.h>

#include "gui/DrawContext.h"
#include "gui/Frame.h"
#include "gui/Port.h"
#include "gui/GuiObjectCount.h"
#include "gui/x11/XlibInput.h"

namespace x11port {

namespace {

struct WindowInfo {
    int32_t width = 0;
    int32_t height = 0;
    bool destroyed = false;
    // The window's own visual (its parent's, not necessarily the screen's default), for Cairo.
    Visual* visual = nullptr;
    // The erase colour as allocated in the window's colour map; given back with the window.
    Colormap colormap = 0;
    unsigned long erasePixel = 0;
    bool eraseAllocated = false;
    // The host's window: wheel turns over ours are passed on to it.
    ::Window parent = 0;
};

// Releases are asked for only to pass the wheel's on to the host (see forwardWheel).
constexpr long kEventMask = ExposureMask | ButtonPressMask | ButtonReleaseMask | StructureNotifyMask;

Display* display = nullptr;
std::map<::Window, WindowInfo> windows;

::Window toWindow(void* handle) { return static_cast<::Window>(reinterpret_cast<uintptr_t>(handle)); }
void* toHandle(::Window window) { return reinterpret_cast<void*>(static_cast<uintptr_t>(window)); }

// The host may destroy its window (and with it ours) before the editor is closed, so requests on
// our windows can fail. Xlib's default handler ends the process on any error; while our requests
// are answered, errors go to a handler that ignores them. The handler is process-wide, so it is
// only installed for the span of one of our calls and the previous one is put back after a sync.
// The handler also notes errors about the one resource a trap watches.
XID watchedResource = 0;
bool watchedFailed = false;
// The handler that was installed when the outermost trap began (the host's).
XErrorHandler hostHandler = nullptr;

int ignoreErrors(Display* connection, XErrorEvent* error) {
    // The handler is process-wide: an error on the host's own connection is the host's.
    if (connection != display) {
        return hostHandler != nullptr ? hostHandler(connection, error) : 0;
    }
    if (watchedResource != 0 && error->resourceid == watchedResource) {
        watchedFailed = true;
    }
    return 0;
}

class ErrorTrap {
public:
    ErrorTrap() {
        if (depth++ == 0) {
            hostHandler = XSetErrorHandler(ignoreErrors);
        }
    }
    // Waits for the answers to everything sent so far; true when one was an error about resource.
    bool failedOn(XID resource) {
        watchedResource = resource;
        watchedFailed = false;
        if (display != nullptr) {
            XSync(display, False);
        }
        const bool failed = watchedFailed;
        watchedResource = 0;
        watchedFailed = false;
        return failed;
    }
    ~ErrorTrap() {
        if (--depth == 0) {
            if (display != nullptr) {
                XSync(display, False);
            }
            // Put the host's handler back, unless the host installed another one meanwhile.
            const XErrorHandler current = XSetErrorHandler(hostHandler);
            if (current != ignoreErrors) {
                XSetErrorHandler(current);
            }
            hostHandler = nullptr;
        }
    }
    ErrorTrap(const ErrorTrap&) = delete;
    ErrorTrap& operator=(const ErrorTrap&) = delete;

private:
    static int depth;
};

int ErrorTrap::depth = 0;

// The editor takes no wheel, but hosts scroll their mixer or rack with it: a window that asks for
// button presses receives the wheel's too (X buttons 4 to 7) and keeps them from its parent, so
// they are sent on to the host's window as if ours were not there.
void forwardWheel(const WindowInfo& info, const XButtonEvent& button) {
    if (button.button < 4 || button.button > 7 || info.parent == 0) {
        return;
    }
    XEvent forwarded{};
    forwarded.xbutton = button;
    forwarded.xbutton.window = info.parent;
    forwarded.xbutton.subwindow = button.window;
    int x = 0;
    int y = 0;
    ::Window child = 0;
    if (XTranslateCoordinates(display, button.window, info.parent, button.x, button.y, &x, &y, &child)) {
        forwarded.xbutton.x = x;
        forwarded.xbutton.y = y;
    }
    XSendEvent(display, info.parent, True, button.type == ButtonPress ? ButtonPressMask : ButtonReleaseMask,
               &forwarded);
}

void freeErasePixel(WindowInfo& info) {
    if (info.eraseAllocated) {
        XFreeColors(display, info.colormap, &info.erasePixel, 1, 0);
        info.eraseAllocated = false;
    }
}

void closeWhenUnused() {
    if (display != nullptr && windows.empty()) {
        XCloseDisplay(display);
        display = nullptr;
    }
}

// The value of "Xft.dpi:" in an X resource database string, 0 when absent.
double xftDpi(const char* resources) {
    if (resources == nullptr) {
        return 0.0;
    }
    static const char kName[] = "Xft.dpi:";
    for (const char* line = resources; *line != 0;) {
        if (std::strncmp(line, kName, sizeof kName - 1) == 0) {
            const double value = std::strtod(line + sizeof kName - 1, nullptr);
            return value > 0.0 && value < 2000.0 ? value : 0.0;
        }
        const char* next = std::strchr(line, '\n');
        if (next == nullptr) {
            break;
        }
        line = next + 1;
    }
    return 0.0;
}

class XlibSystem final : public WindowSystem {
public:
    void* createChild(void* parent, int32_t width, int32_t height) override {
        ErrorTrap trap;
        if (display == nullptr) {
            display = XOpenDisplay(nullptr);
            if (display == nullptr) {
                return nullptr;
            }
        }
        // The child takes its parent's visual and colour map; a parent that is not a window
        // fails here.
        XWindowAttributes parentAttributes;
        if (XGetWindowAttributes(display, toWindow(parent), &parentAttributes) == 0) {
            closeWhenUnused();
            return nullptr;
        }
        WindowInfo info{width, height, false, nullptr, parentAttributes.colormap, 0, false, toWindow(parent)};
        XColor erase{};
        erase.red = static_cast<unsigned short>(kEraseColor.red * 257);
        erase.green = static_cast<unsigned short>(kEraseColor.green * 257);
        erase.blue = static_cast<unsigned short>(kEraseColor.blue * 257);
        erase.flags = DoRed | DoGreen | DoBlue;
        info.eraseAllocated = XAllocColor(display, info.colormap, &erase) != 0;
        info.erasePixel = info.eraseAllocated ? erase.pixel : WhitePixel(display, DefaultScreen(display));
        // The server erases exposed parts with the background before the next idle paints them.
        const ::Window window =
            XCreateSimpleWindow(display, toWindow(parent), 0, 0, static_cast<unsigned>(width > 0 ? width : 1),
                                static_cast<unsigned>(height > 0 ? height : 1), 0, 0, info.erasePixel);
        XSelectInput(display, window, kEventMask);
        XMapWindow(display, window);
        XSync(display, False);
        XWindowAttributes attributes;
        if (window == 0 || XGetWindowAttributes(display, window, &attributes) == 0) {
            freeErasePixel(info);
            closeWhenUnused();
            return nullptr;
        }
        info.visual = attributes.visual;
        windows[window] = info;
        return toHandle(window);
    }

    void destroyWindow(void* handle) override {
        const auto found = windows.find(toWindow(handle));
        if (found == windows.end()) {
            return;
        }
        ErrorTrap trap;
        if (!found->second.destroyed) {
            XDestroyWindow(display, found->first);
        }
        freeErasePixel(found->second);
        XSync(display, False);
        windows.erase(found);
        closeWhenUnused();
    }

    void hideWindow(void* handle) override {
        const auto found = windows.find(toWindow(handle));
        if (found == windows.end() || found->second.destroyed) {
            return;
        }
        ErrorTrap trap;
        XUnmapWindow(display, found->first);
    }

    cairo_surface_t* windowSurface(void* handle) override {
        const auto found = windows.find(toWindow(handle));
        if (found == windows.end() || found->second.destroyed) {
            return nullptr;
        }
        ErrorTrap trap;
        cairo_surface_t* surface = cairo_xlib_surface_create(display, found->first, found->second.visual,
                                                             found->second.width, found->second.height);
        if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
            cairo_surface_destroy(surface);
            return nullptr;
        }
        guiObjects::created();
        return surface;
    }

    void flush(void* /*window*/) override {
        if (display != nullptr) {
            ErrorTrap trap;  // syncs: errors of the drawing just sent are ignored here
        }
    }

    Point windowPosition(void* handle) override {
        const auto found = windows.find(toWindow(handle));
        if (found == windows.end() || found->second.destroyed) {
            return {};
        }
        int x = 0;
        int y = 0;
        ::Window child = 0;
        ErrorTrap trap;
        XTranslateCoordinates(display, found->first, DefaultRootWindow(display), 0, 0, &x, &y, &child);
        return Point{x, y};
    }

    Point pointer(void* handle, int32_t& buttons, bool /*buttonPoll*/) override {
        buttons = 0;
        // Without a window there is no connection; open one for the question.
        Display* connection = display != nullptr ? display : XOpenDisplay(nullptr);
        if (connection == nullptr) {
            return {};
        }
        ::Window asked = DefaultRootWindow(connection);
        WindowInfo* info = nullptr;
        if (handle != nullptr && connection == display) {
            const auto found = windows.find(toWindow(handle));
            if (found != windows.end() && !found->second.destroyed) {
                info = &found->second;
                asked = found->first;
            }
        }
        ::Window root = 0;
        ::Window child = 0;
        int rootX = 0;
        int rootY = 0;
        int windowX = 0;
        int windowY = 0;
        unsigned int mask = 0;
        Point screen;
        {
            // Answers to our earlier drawing on a window the host has destroyed arrive here as
            // errors too: without the trap the default handler would end the host.
            ErrorTrap trap;
            const Bool answered =
                XQueryPointer(connection, asked, &root, &child, &rootX, &rootY, &windowX, &windowY, &mask);
            screen = Point{rootX, rootY};
            if (info != nullptr && trap.failedOn(asked)) {
                // The window is gone: the drag over it is over.
                info->destroyed = true;
                return screen;
            }
            if (answered == False && info != nullptr) {
                mask = 0;  // the pointer is on another screen
            }
        }
        if (connection != display) {
            XCloseDisplay(connection);
        }
        buttons = buttonsFromMask(mask);
        return screen;
    }

    bool nextEvent(void* handle, WindowEvent& event, bool exposeOnly) override {
        const auto found = windows.find(toWindow(handle));
        if (found == windows.end() || display == nullptr) {
            return false;
        }
        ErrorTrap trap;
        XEvent xevent;
        const long mask = exposeOnly ? (kEventMask & ~(ButtonPressMask | ButtonReleaseMask)) : kEventMask;
        while (XCheckWindowEvent(display, found->first, mask, &xevent)) {
            switch (xevent.type) {
            case Expose:
                event.kind = WindowEvent::Kind::Paint;
                event.area = Rect{xevent.xexpose.x, xevent.xexpose.y, xevent.xexpose.x + xevent.xexpose.width,
                                  xevent.xexpose.y + xevent.xexpose.height};
                return true;
            case ButtonPress:
                event.buttons = pressButtons(xevent.xbutton.button, xevent.xbutton.state);
                if (event.buttons == 0) {
                    forwardWheel(found->second, xevent.xbutton);
                    break;  // a wheel step or a side button: no click, nothing changes
                }
                event.kind = WindowEvent::Kind::Press;
                event.where = Point{xevent.xbutton.x, xevent.xbutton.y};
                event.screen = Point{xevent.xbutton.x_root, xevent.xbutton.y_root};
                return true;
            case ButtonRelease:
                forwardWheel(found->second, xevent.xbutton);
                break;
            case DestroyNotify:
                if (xevent.xdestroywindow.window == found->first) {
                    found->second.destroyed = true;
                    event.kind = WindowEvent::Kind::Destroyed;
                    return true;
                }
                break;
            default: break;  // configure, map and the like: nothing to do
            }
        }
        return false;
    }

    double screenDpi() override {
        // The root window's RESOURCE_MANAGER property, read fresh: a desktop may change it.
        Display* connection = display != nullptr ? display : XOpenDisplay(nullptr);
        if (connection == nullptr) {
            return 0.0;
        }
        double dpi = 0.0;
        Atom type = 0;
        int format = 0;
        unsigned long items = 0;
        unsigned long remaining = 0;
        unsigned char* data = nullptr;
        const Atom property = XInternAtom(connection, "RESOURCE_MANAGER", True);
        if (property != 0 &&
            XGetWindowProperty(connection, DefaultRootWindow(connection), property, 0, 1 << 20, False,
                               XA_STRING, &type, &format, &items, &remaining, &data) == Success &&
            data != nullptr) {
            dpi = xftDpi(reinterpret_cast<const char*>(data));
        }
        if (data != nullptr) {
            XFree(data);
        }
        if (connection != display) {
            XCloseDisplay(connection);
        }
        return dpi;
    }

    void setCursor(void* handle, int32_t kind) override {
        const auto found = windows.find(toWindow(handle));
        if (found == windows.end() || found->second.destroyed) {
            return;
        }
        ErrorTrap trap;
        static const unsigned int shapes[] = {0,
                                              XC_watch,
                                              XC_sb_h_double_arrow,
                                              XC_sb_v_double_arrow,
                                              XC_fleur,
                                              XC_top_right_corner,
                                              XC_bottom_right_corner};
        if (kind == cursorDefault) {
            XUndefineCursor(display, found->first);
        } else {
            // The server keeps the cursor while the window uses it.
            const Cursor cursor = XCreateFontCursor(display, shapes[kind]);
            XDefineCursor(display, found->first, cursor);
            XFreeCursor(display, cursor);
        }
        XFlush(display);
    }
};

XlibSystem xlibSystem;

}  // namespace

bool displayAvailable() {
    const char* name = std::getenv("DISPLAY");
    if (name == nullptr || name[0] == 0) {
        return false;
    }
    Display* probe = XOpenDisplay(nullptr);
    if (probe == nullptr) {
        return false;
    }
    XCloseDisplay(probe);
    return true;
}

WindowSystem& xlibWindowSystem() { return xlibSystem; }

bool displayConnectionOpen() { return display != nullptr; }

}  // namespace x11port

namespace port {

int eventFileDescriptor() { return x11port::displayConnectionOpen() ? ConnectionNumber(x11port::display) : -1; }

}  // namespace port
