// The headless window system and the test interface that drives it.
#include "gui/x11/HeadlessWindowSystem.h"

#include <algorithm>
#include <cstdint>
#include <deque>
#include <map>

#include "gui/Frame.h"
#include "gui/GuiObjectCount.h"
#include "gui/x11/CairoPixels.h"
#include "gui/x11/HeadlessScreen.h"

namespace x11port {

namespace {

struct HeadlessWindow {
    uintptr_t parent = 0;
    Point screen;
    int32_t width = 0;
    int32_t height = 0;
    bool child = false;
    bool destroyed = false;
    bool visible = true;
    int32_t cursor = cursorDefault;
    cairo_surface_t* pixels = nullptr;  // children only
    std::deque<WindowEvent> events;
    int32_t forwardedWheels = 0;
};

// Window ids start well away from 0 so that a null handle is never a window.
uintptr_t nextId = 0x1000;
std::map<uintptr_t, HeadlessWindow> windows;
std::deque<headless::PointerState> script;
headless::PointerState pointerState;
int64_t queries = 0;
bool chosen = false;
double dpi = 0.0;
Point workAreaSize;

WindowEvent paintEvent(const Rect& area) {
    WindowEvent event;
    event.area = area;
    return event;
}

WindowEvent destroyedEvent() {
    WindowEvent event;
    event.kind = WindowEvent::Kind::Destroyed;
    return event;
}

HeadlessWindow* find(void* window) {
    const auto found = windows.find(reinterpret_cast<uintptr_t>(window));
    return found == windows.end() ? nullptr : &found->second;
}

class HeadlessSystem final : public WindowSystem {
public:
    void* createChild(void* parent, int32_t width, int32_t height) override {
        const HeadlessWindow* host = find(parent);
        if (host == nullptr || host->destroyed || width < 0 || height < 0) {
            return nullptr;
        }
        HeadlessWindow window;
        window.parent = reinterpret_cast<uintptr_t>(parent);
        window.screen = host->screen;
        window.width = width;
        window.height = height;
        window.child = true;
        // Cairo refuses nothing below 0; an empty window keeps an empty image.
        window.pixels = createImage(width, height);
        if (window.pixels == nullptr) {
            return nullptr;
        }
        // As the X server erases a mapped window with its background.
        fillImage(window.pixels, kEraseColor);
        // Mapping a window exposes all of it.
        window.events.push_back(paintEvent(Rect{0, 0, width, height}));
        const uintptr_t id = nextId++;
        windows.emplace(id, std::move(window));
        return reinterpret_cast<void*>(id);
    }

    void destroyWindow(void* handle) override {
        HeadlessWindow* window = find(handle);
        if (window == nullptr) {
            return;
        }
        destroySurface(window->pixels);
        windows.erase(reinterpret_cast<uintptr_t>(handle));
    }

    void hideWindow(void* handle) override {
        HeadlessWindow* window = find(handle);
        if (window != nullptr) {
            window->visible = false;
        }
    }

    void showWindow(void* handle) override {
        HeadlessWindow* window = find(handle);
        if (window != nullptr) {
            window->visible = true;
        }
    }

    cairo_surface_t* windowSurface(void* handle) override {
        HeadlessWindow* window = find(handle);
        if (window == nullptr || window->destroyed || window->pixels == nullptr) {
            return nullptr;
        }
        guiObjects::created();
        return cairo_surface_reference(window->pixels);
    }

    void flush(void* /*window*/) override {}

    Point windowPosition(void* handle) override {
        const HeadlessWindow* window = find(handle);
        return window != nullptr ? window->screen : Point{};
    }

    Point pointer(void* handle, int32_t& buttons, bool buttonPoll) override {
        ++queries;
        if (buttonPoll && !script.empty()) {
            pointerState = script.front();
            script.pop_front();
        }
        const HeadlessWindow* window = find(handle);
        // A window that is gone ends the drag over it, as on the X server.
        buttons = window != nullptr && window->destroyed ? 0 : pointerState.buttons;
        return pointerState.screen;
    }

    bool nextEvent(void* handle, WindowEvent& event, bool exposeOnly) override {
        HeadlessWindow* window = find(handle);
        if (window == nullptr) {
            return false;
        }
        for (auto it = window->events.begin(); it != window->events.end(); ++it) {
            if (!exposeOnly || it->kind == WindowEvent::Kind::Paint || it->kind == WindowEvent::Kind::Destroyed) {
                event = *it;
                window->events.erase(it);
                return true;
            }
        }
        return false;
    }

    void forwardWheel(void* handle) override {
        HeadlessWindow* window = find(handle);
        if (window != nullptr) {
            ++window->forwardedWheels;
        }
    }

    void setCursor(void* handle, int32_t kind) override {
        HeadlessWindow* window = find(handle);
        if (window != nullptr) {
            window->cursor = kind;
        }
    }

    double screenDpi() override { return dpi; }

    Point workArea() override { return workAreaSize; }
};

HeadlessSystem headlessSystem;

}  // namespace

WindowSystem& headlessWindowSystem() { return headlessSystem; }

bool headlessChosen() { return chosen; }

}  // namespace x11port

namespace headless {

using x11port::find;
using x11port::HeadlessWindow;
using x11port::WindowEvent;

void enable() { x11port::chosen = true; }

void setScreenDpi(double dotsPerInch) { x11port::dpi = dotsPerInch; }

void setWorkArea(int32_t width, int32_t height) { x11port::workAreaSize = Point{width, height}; }

bool enabled() { return x11port::chosen; }

void* createHostWindow(int32_t screenLeft, int32_t screenTop, int32_t width, int32_t height) {
    HeadlessWindow window;
    window.screen = Point{screenLeft, screenTop};
    window.width = width;
    window.height = height;
    const uintptr_t id = x11port::nextId++;
    x11port::windows.emplace(id, std::move(window));
    return reinterpret_cast<void*>(id);
}

void destroyHostWindow(void* handle) {
    const uintptr_t id = reinterpret_cast<uintptr_t>(handle);
    if (find(handle) == nullptr) {
        return;
    }
    for (auto& [childId, window] : x11port::windows) {
        if (window.child && window.parent == id && !window.destroyed) {
            window.destroyed = true;
            window.events.clear();
            window.events.push_back(x11port::destroyedEvent());
        }
    }
    x11port::windows.erase(id);
}

void setPointer(Point screen, int32_t buttons) {
    x11port::script.clear();
    x11port::pointerState = PointerState{screen, buttons};
}

void scriptPointer(const std::vector<PointerState>& samples) {
    x11port::script.assign(samples.begin(), samples.end());
}

int64_t pointerQueries() { return x11port::queries; }

void postExpose(void* handle, const Rect& area) {
    HeadlessWindow* window = find(handle);
    if (window != nullptr && !window->destroyed) {
        window->events.push_back(x11port::paintEvent(area));
    }
}

namespace {

// Presses a test posts without a time are a second apart: never a double-click.
uint32_t pressClock = 0;

void postPointer(void* handle, WindowEvent event) {
    HeadlessWindow* window = find(handle);
    if (window != nullptr && !window->destroyed) {
        event.screen = Point{window->screen.h + event.where.h, window->screen.v + event.where.v};
        window->events.push_back(event);
    }
}

}  // namespace

void postButtonPress(void* handle, Point where, int32_t buttons, int32_t time) {
    WindowEvent press;
    press.kind = WindowEvent::Kind::Press;
    press.where = where;
    press.buttons = buttons;
    pressClock = time >= 0 ? static_cast<uint32_t>(time) : pressClock + 1000;
    press.time = pressClock;
    postPointer(handle, press);
}

void postMotion(void* handle, Point where, int32_t buttons) {
    WindowEvent motion;
    motion.kind = WindowEvent::Kind::Motion;
    motion.where = where;
    motion.buttons = buttons;
    postPointer(handle, motion);
}

void postButtonRelease(void* handle, Point where, int32_t buttons) {
    WindowEvent release;
    release.kind = WindowEvent::Kind::Release;
    release.where = where;
    release.buttons = buttons;
    postPointer(handle, release);
}

void postWheel(void* handle, Point where, float distance, int32_t buttons) {
    WindowEvent wheel;
    wheel.kind = WindowEvent::Kind::Wheel;
    wheel.where = where;
    wheel.buttons = buttons;
    wheel.distance = distance;
    postPointer(handle, wheel);
}

int32_t forwardedWheels(void* handle) {
    const HeadlessWindow* window = find(handle);
    return window != nullptr ? window->forwardedWheels : 0;
}

void discardEvents(void* handle) {
    HeadlessWindow* window = find(handle);
    if (window != nullptr) {
        window->events.clear();
    }
}

int32_t pendingEvents(void* handle) {
    const HeadlessWindow* window = find(handle);
    return window != nullptr ? static_cast<int32_t>(window->events.size()) : 0;
}

bool isWindow(void* handle) { return find(handle) != nullptr; }

Point windowSize(void* handle) {
    const HeadlessWindow* window = find(handle);
    return window != nullptr ? Point{window->width, window->height} : Point{};
}

bool isVisible(void* handle) {
    const HeadlessWindow* window = find(handle);
    return window != nullptr && window->visible && !window->destroyed;
}

int32_t childWindowCount() {
    int32_t children = 0;
    for (const auto& entry : x11port::windows) {
        children += entry.second.child ? 1 : 0;
    }
    return children;
}

void paintWindow(void* handle, const Rect& area, Color color) {
    const HeadlessWindow* window = find(handle);
    if (window == nullptr || window->pixels == nullptr) {
        return;
    }
    for (int32_t y = std::max(area.top, 0); y < std::min(area.bottom, window->height); ++y) {
        for (int32_t x = std::max(area.left, 0); x < std::min(area.right, window->width); ++x) {
            x11port::writePixel(window->pixels, x, y, color);
        }
    }
}

Color pixel(void* handle, int32_t x, int32_t y) {
    const HeadlessWindow* window = find(handle);
    return window != nullptr ? x11port::readPixel(window->pixels, x, y) : colorBlack;
}

int32_t cursorOf(void* handle) {
    const HeadlessWindow* window = find(handle);
    return window != nullptr ? window->cursor : cursorDefault;
}

}  // namespace headless
