// The pointer polls of tracking loops: the press's own state first, then the window system's.
#include "gui/x11/PointerPolls.h"

namespace x11port {

namespace {

struct PressState {
    bool buttonsUnread = false;
    bool positionUnread = false;
    int32_t buttons = 0;
    Point screen;
};

PressState current;

}  // namespace

PressScope::PressScope(const WindowEvent& press) {
    current = PressState{true, true, press.buttons, press.screen};
}

PressScope::~PressScope() { current = PressState{}; }

int32_t pollButtons(void* window) {
    if (current.buttonsUnread) {
        current.buttonsUnread = false;
        return current.buttons;
    }
    int32_t buttons = 0;
    windowSystem().pointer(window, buttons, true);
    return buttons;
}

Point pollPosition(void* window) {
    if (current.positionUnread) {
        current.positionUnread = false;
        return current.screen;
    }
    int32_t buttons = 0;
    return windowSystem().pointer(window, buttons, false);
}

}  // namespace x11port
