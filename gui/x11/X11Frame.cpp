// The Frame's window on Linux: a child of the host's X window (or a headless one), its events
// turned into paint, mouse and destruction calls when the editor idles.
#include <map>

#include "gui/DrawContext.h"
#include "gui/Frame.h"
#include "gui/Port.h"
#include "gui/x11/CairoPixels.h"
#include "gui/PressMemory.h"
#include "gui/x11/PointerPolls.h"
#include "gui/x11/WindowSystem.h"

namespace {

using x11port::WindowEvent;
using x11port::windowSystem;

// The Frame of each toolkit window, as the window's user data holds it on Windows.
std::map<void*, Frame*> frames;
// A control tracking a press pumps idle from inside the press; presses wait until it returns.
int32_t pressDepth = 0;

Frame* frameOf(void* window) {
    const auto found = frames.find(window);
    return found == frames.end() ? nullptr : found->second;
}

void paint(void* window, const Rect& area) {
    Frame* frame = frameOf(window);
    void* deviceContext = port::acquireDeviceContext(window);
    if (frame == nullptr || deviceContext == nullptr) {
        port::releaseDeviceContext(window, deviceContext);
        return;
    }
    {
        DrawContext context(frame, deviceContext, window);
        frame->drawRect(&context, frame->getScale().covering(area));
    }
    port::releaseDeviceContext(window, deviceContext);
}

// Runs an event's handler with a context on the window.
template <class Handler>
void withContext(void* window, Handler handler) {
    Frame* frame = frameOf(window);
    void* deviceContext = port::acquireDeviceContext(window);
    if (frame == nullptr || deviceContext == nullptr) {
        port::releaseDeviceContext(window, deviceContext);
        return;
    }
    {
        DrawContext context(frame, deviceContext, window);
        handler(*frame, context);
    }
    port::releaseDeviceContext(window, deviceContext);
}

void pointerEvent(void* window, const WindowEvent& event) {
    withContext(window, [&](Frame& frame, DrawContext& context) {
        const Point where = frame.getScale().unscaled(event.where);
        switch (event.kind) {
        case WindowEvent::Kind::Press: {
            ++pressDepth;
            const pressMemory::PressScope pressState(event.buttons, event.screen);
            frame.mouseDown(&context, where, event.buttons, event.time);
            --pressDepth;
            break;
        }
        case WindowEvent::Kind::Motion: frame.mouseMoved(&context, where, event.buttons); break;
        case WindowEvent::Kind::Release: frame.mouseUp(&context, where, event.buttons); break;
        default:
            if (!frame.wheelAt(&context, where, event.buttons, event.distance)) {
                windowSystem().forwardWheel(window);
            }
            break;
        }
    });
}

// Handles one event; false when the window has no Frame any more.
bool handle(void* window, const WindowEvent& event) {
    Frame* frame = frameOf(window);
    if (frame == nullptr) {
        return false;
    }
    switch (event.kind) {
    case WindowEvent::Kind::Paint: paint(window, event.area); break;
    case WindowEvent::Kind::Destroyed: frame->onWindowDestroyed(); break;
    default: pointerEvent(window, event); break;
    }
    return true;
}

}  // namespace

struct FramePort {
    Frame* frame = nullptr;
    void* window = nullptr;
};

void PortDeleter::operator()(FramePort* state) const {
    if (state == nullptr) {
        return;
    }
    if (state->window != nullptr) {
        // Detach first so that nothing the destruction reports reaches the Frame.
        frames.erase(state->window);
        windowSystem().destroyWindow(state->window);
    }
    delete state;
}

namespace port {

FramePort* attachFrame(Frame* frame) {
    auto* state = new FramePort;
    state->frame = frame;
    return state;
}

bool createWindow(FramePort& state, void* parent, const Rect& size) {
    if (state.window != nullptr || parent == nullptr) {
        return false;
    }
    state.window = windowSystem().createChild(parent, size.right - size.left, size.bottom - size.top);
    if (state.window == nullptr) {
        return false;
    }
    frames[state.window] = state.frame;
    return true;
}

void* windowHandle(const FramePort& state) { return state.window; }

void hideWindow(FramePort& state) {
    if (state.window != nullptr) {
        windowSystem().hideWindow(state.window);
    }
}

void showWindow(FramePort& state) {
    if (state.window != nullptr) {
        windowSystem().showWindow(state.window);
    }
}

void* acquireDeviceContext(void* window) {
    if (window == nullptr) {
        return nullptr;
    }
    cairo_surface_t* surface = windowSystem().windowSurface(window);
    if (surface == nullptr) {
        return nullptr;
    }
    cairo_t* cairo = x11port::createCairo(surface);
    // The context holds its own reference to the surface.
    x11port::destroySurface(surface);
    return cairo;
}

void releaseDeviceContext(void* window, void* deviceContext) {
    if (deviceContext == nullptr) {
        return;
    }
    auto* cairo = static_cast<cairo_t*>(deviceContext);
    cairo_surface_flush(cairo_get_target(cairo));
    x11port::destroyCairo(cairo);
    windowSystem().flush(window);
}

Point windowPosition(void* window) { return windowSystem().windowPosition(window); }

Point cursorPosition() {
    int32_t buttons = 0;
    return windowSystem().pointer(nullptr, buttons, false);
}

void setCursor(FramePort& state, int32_t kind) {
    // X windows fall back to their parent's cursor when theirs is undefined: that is the default.
    if (kind < cursorDefault || kind > cursorResizeDiagonalDown || state.window == nullptr) {
        return;
    }
    windowSystem().setCursor(state.window, kind);
}

bool setDropTarget(FramePort& /*state*/, Frame* /*frame*/, bool /*enabled*/) {
    // The Linux port accepts no drops (no drag and drop protocol is spoken on the X window):
    // the Frame only records what was asked.
    return true;
}

uint32_t doubleClickTime() { return 400; }

void pumpEvents(void* window) {
    WindowEvent event;
    while (windowSystem().nextEvent(window, event, pressDepth > 0)) {
        if (!handle(window, event)) {
            return;
        }
    }
}

}  // namespace port

bool dispatchPendingPaint() {
    for (const auto& entry : frames) {
        WindowEvent event;
        if (windowSystem().nextEvent(entry.first, event, true)) {
            // The map may change under the handler; stop iterating after one event.
            void* window = entry.first;
            handle(window, event);
            return true;
        }
    }
    return false;
}
